#include "StartupFixture.h"

#include "lib/Convert.h"
#include "settings/DefaultLocations.h"
#include "settings/ExitStatus.h"
#include "settings/SettingsObject.h"

using namespace tabulon;
using namespace tabulon::test;

namespace {

const std::string kNoSettingsMessage =
    "When you set the \"autorun\" parameter you must also specify a value for the \"settings\" prarameter.";

std::string setting(const DictionaryPtr& settings, const std::string& key) {
    return toText(SettingsSection(settings)->get(key));
}

} // namespace

using StartupTest = StartupFixture;

TEST_F(StartupTest, AutorunWithoutSettingsLogsTheMessageAndEndsWithoutConverting) {
    EXPECT_EQ(start("-autorun -hide"), exitstatus::NoSettings);

    const std::vector<std::string> expected = {"Begin", "Run count is 1", "Commandline: -autorun -hide",
                                               kNoSettingsMessage, "End"};
    EXPECT_EQ(logEntries(), expected);
    EXPECT_TRUE(m_ui.messages.empty());
    EXPECT_EQ(m_form.steps, std::vector<std::string>{"initForm"}); // ended before the settings
    EXPECT_EQ(m_state.currentSchema, nullptr);
}

TEST_F(StartupTest, AutorunWithoutSettingsShowsTheMessageUnlessHidden) {
    EXPECT_EQ(start("/AutoRun"), exitstatus::NoSettings);

    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text, kNoSettingsMessage);
    EXPECT_EQ(m_ui.messages[0].style, msgbox::Exclamation);
    EXPECT_EQ(m_ui.messages[0].title, "Tabulon");
}

TEST_F(StartupTest, AutorunWithAMissingSettingsFileHaltsAndLogsWhy) {
    const std::string missing = path("no such folder/settings.ini");
    EXPECT_EQ(start("-autorun -settings=\"" + missing + "\" -hide"), exitstatus::NoSettings);

    const std::vector<std::string> entries = logEntries();
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[3], "Unable to load ini file: " + missing + "\r\nDefault settings applied.");
    EXPECT_EQ(entries[4], "End");
    EXPECT_EQ(m_state.currentSchema, nullptr);
}

TEST_F(StartupTest, AutorunNeverConvertsWithTheDefaultSettings) {
    writeFile("other.ini", "[Another Section]\r\n  sourcefilename=x.mdb\r\n");
    EXPECT_EQ(start("-autorun -hide -settings=" + path("other.ini")), exitstatus::NoSettings);
    EXPECT_EQ(logEntries().at(3), "Unable to load ini file: " + path("other.ini") +
                                      "\r\nIt has no section [Verdix Tessoral]. An unattended run does not convert "
                                      "with the default settings.");
    EXPECT_EQ(m_form.applied, nullptr);

    // wizard.ini is read silently when it is missing, but an unattended run stops all the same.
    EXPECT_EQ(start("-autorun -hide -settings=\"" + DefaultSettingsPath() + "\""), exitstatus::NoSettings);
    EXPECT_EQ(logEntries().at(3), "Unable to load ini file: " + DefaultSettingsPath() +
                                      "\r\nAn unattended run does not convert with the default settings.");
    EXPECT_EQ(m_state.currentSchema, nullptr);
}

TEST_F(StartupTest, InteractiveStartWithAMissingSettingsFileWarnsAndAppliesTheDefaults) {
    EXPECT_EQ(start("-settings=" + path("missing.ini")), -1);

    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text,
              "Unable to load ini file: " + path("missing.ini") + "\r\nDefault settings applied.");
    EXPECT_EQ(m_ui.messages[0].style, msgbox::Exclamation);
    ASSERT_NE(m_form.applied, nullptr);
    EXPECT_EQ(setting(m_form.applied, "destinationdatabase"), "verdix");
    EXPECT_EQ(SettingsSection(m_form.applied)->get("createtables"), Variant(1)); // defaults are not normalised
}

TEST_F(StartupTest, AMissingDefaultSettingsFileIsSilentAlsoWhenNamedExplicitly) {
    EXPECT_EQ(start(""), -1);
    EXPECT_EQ(start("-settings=\"" + DefaultSettingsPath() + "\""), -1);

    EXPECT_TRUE(m_ui.messages.empty());
    EXPECT_EQ(setting(m_state.settings, "destinationmethod"), "DIRECT");
}

TEST_F(StartupTest, InteractiveStartRunsTheWindowStepsInOrder) {
    EXPECT_EQ(start(""), -1);

    const std::vector<std::string> expected = {"initForm", "applySettingsToForm", "scaleDialog", "navigateFromInit"};
    EXPECT_EQ(m_form.steps, expected);
}

TEST_F(StartupTest, AFileWithOnlyTheSectionLineLoadsNormalised) {
    writeFile("only-section.ini", "[Verdix Tessoral]\r\n");
    EXPECT_EQ(start("-settings=" + path("only-section.ini")), -1);

    const DictionaryPtr section = SettingsSection(m_form.applied);
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(toText(section->get("dropdatabase")), "0");
    for (const char* flag : {"createtables", "unicode", "autocommit", "transferdefaultvalues", "transferindexes",
                             "transferautonumbers", "transferrecords", "columnlist"})
        EXPECT_EQ(toText(section->get(flag)), "1") << flag;
    EXPECT_EQ(toText(section->get("negativeboolean")), "0");
    EXPECT_EQ(toText(section->get("ignorelargeblobs")), "0");
    EXPECT_EQ(toText(section->get("memotype")), "VARCHAR(MAX)");
    EXPECT_EQ(toText(section->get("datetimetype")), "DATETIME2");
    EXPECT_EQ(toText(section->get("sourcefilename")), "");
    EXPECT_NE(toText(section->get("destinationmethod")), "DIRECT"); // the dump option is selected
}

TEST_F(StartupTest, AFileWithoutTheSectionGivesTheDefaultsSilently) {
    writeFile("other.ini", "[Another Section]\r\n  sourcefilename=x.mdb\r\n");
    EXPECT_EQ(start("-settings=" + path("other.ini")), -1);

    EXPECT_TRUE(m_ui.messages.empty());
    EXPECT_EQ(setting(m_state.settings, "destinationdatabase"), "verdix");
}

TEST_F(StartupTest, TheRunCounterCountsStartsAndRecoversFromBadValues) {
    start("");
    EXPECT_EQ(m_store.text("Usage", "RunCount"), "1");
    start("");
    EXPECT_EQ(m_store.text("Usage", "RunCount"), "2");

    m_store.setText("Usage", "RunCount", "abc");
    start("");
    EXPECT_EQ(m_store.text("Usage", "RunCount"), "1");
    EXPECT_EQ(logEntries()[1], "Run count is 1");
}

TEST(RunCountTest, WrapsAtTheLargest32BitValueInsteadOfFailing) {
    EXPECT_EQ(NextRunCount("2147483647"), 1);
    EXPECT_EQ(NextRunCount("2147483646"), 2147483647);
    EXPECT_EQ(NextRunCount("41"), 42);
    EXPECT_EQ(NextRunCount(" 7 "), 8);
    EXPECT_EQ(NextRunCount("-3"), -2);
    EXPECT_EQ(NextRunCount(""), 1);
    EXPECT_EQ(NextRunCount("12abc"), 1);
    EXPECT_EQ(NextRunCount("99999999999"), 1);
}

TEST_F(StartupTest, SavePasswordsIsOnOnlyForExactlyOneAndIsRewrittenNormalised) {
    m_store.setText("Settings", "SavePasswords", "yes");
    start("");
    EXPECT_FALSE(m_state.savePasswords);
    EXPECT_EQ(m_store.text("Settings", "SavePasswords"), "0");

    m_store.setText("Settings", "SavePasswords", "1");
    start("");
    EXPECT_TRUE(m_state.savePasswords);
    EXPECT_EQ(m_store.text("Settings", "SavePasswords"), "1");
}

TEST_F(StartupTest, TheCommandLineSetsTheProcessFlags) {
    start("-AutoRun /settings=\"" + path("my screenShotMode folder/x.ini") + "\" -hide -clearlog -unittest");

    EXPECT_TRUE(m_state.autorunMode);
    EXPECT_TRUE(m_state.hideMode);
    EXPECT_TRUE(m_state.clearLogMode);
    EXPECT_TRUE(m_state.run.unitTestMode);
    EXPECT_TRUE(m_state.screenshotMode); // the word inside the path counts too
    EXPECT_EQ(logEntries()[3],
              "Unable to load ini file: " + path("my screenShotMode folder/x.ini") + "\r\nDefault settings applied.");
}

TEST_F(StartupTest, EveryStartBeginsANewLog) {
    start("");
    start("");
    EXPECT_EQ(logEntries().front(), "Begin");
    EXPECT_EQ(logEntries().size(), 3u);
}

// A script that runs Tabulon unattended tells a finished run from one that stopped or failed.
TEST(ExitStatusTest, EachOutcomeOfARunHasItsStatus) {
    EXPECT_EQ(ExitStatusOf(RunResult::Completed), exitstatus::Completed);
    EXPECT_EQ(ExitStatusOf(RunResult::Cancelled), exitstatus::Aborted);
    EXPECT_EQ(ExitStatusOf(RunResult::TableFailed), exitstatus::Aborted);
    for (RunResult failed :
         {RunResult::TablesNotFound, RunResult::DestinationFailed, RunResult::DumpFailed, RunResult::Error})
        EXPECT_EQ(ExitStatusOf(failed), exitstatus::Failed);
}
