#include "StartupFixture.h"

#include "lib/Error.h"
#include "settings/DependencyCheck.h"
#include "settings/ErrorReport.h"
#include "settings/ExitStatus.h"

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace tabulon;
using namespace tabulon::test;

namespace {

const std::string kDependencyFailed = "Dependency check failed.\r\n\r\nThe program will now exit.";

} // namespace

using ErrorHandlerTest = StartupFixture;

TEST_F(ErrorHandlerTest, ReportsOnTheClipboardTheLogAndAMessageBoxThenEnds) {
    m_log.init();
    int ended = -1;
    try {
        m_reporter.ErrorHandler("cmdNext_Click", 3024, "Could not find file 'x.mdb'.", "Initializing");
    } catch (const ProgramEnded& end) {
        ended = end.exitStatus;
    }

    // The clipboard empties when the program ends: a copy stays beside the log, and the report says where.
    const std::string saved = path("appdata/Corvane/Tabulon/error-report.txt");
    const std::string report =
        ComposeErrorReport("cmdNext_Click", 3024, "Could not find file 'x.mdb'.", "Initializing", saved);
    EXPECT_NE(report.find("\r\nThis error message is on the clipboard.\r\nA copy is saved in " + saved + "\r\n"),
              std::string::npos);
    EXPECT_EQ(ended, exitstatus::Failed);
    EXPECT_EQ(m_ui.clipboard, std::vector<std::string>{report});
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text, report);
    EXPECT_EQ(m_ui.messages[0].style, msgbox::Critical);
    EXPECT_EQ(m_ui.messages[0].title, "Tabulon");
    EXPECT_EQ(logEntries(), (std::vector<std::string>{report, "End"}));
    std::ifstream file(saved, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), report + "\r\n");
}

TEST_F(ErrorHandlerTest, AReportThatCannotBeSavedStillReachesTheUserWithoutNamingAFile) {
    m_log.init();
    // A folder where the file should be: the copy cannot be written.
    std::filesystem::create_directories(path("appdata/Corvane/Tabulon/error-report.txt"));
    EXPECT_THROW(m_reporter.ErrorHandler("cmdNext_Click", 5, "Invalid procedure call", "Initializing"), ProgramEnded);
    const std::string report = ComposeErrorReport("cmdNext_Click", 5, "Invalid procedure call", "Initializing");
    EXPECT_EQ(m_ui.clipboard, std::vector<std::string>{report});
    EXPECT_EQ(logEntries(), (std::vector<std::string>{report, "End"}));
}

TEST_F(ErrorHandlerTest, HideLeavesTheClipboardAloneAndShowsNothing) {
    m_state.hideMode = true;
    m_log.init();
    EXPECT_THROW(m_reporter.ErrorHandler("Form_Load", 5, "Invalid procedure call", "Init form"), ProgramEnded);

    EXPECT_TRUE(m_ui.clipboard.empty());
    EXPECT_TRUE(m_ui.messages.empty());
    const std::vector<std::string> entries = logEntries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_NE(entries[0].find("This error message is on the clipboard."), std::string::npos);
    EXPECT_EQ(entries[1], "End");
}

TEST_F(ErrorHandlerTest, AFailingDependencyCheckIsReportedUnderFormLoad) {
    m_components = {
        {"Access reader (libmdb)", "The Access reader is missing.",
         [] { throw Error(errc::ComponentMissing, "", ""); }},
        {"XML parser (pugixml)", "", [] {}},
        {"Temporary folder", "", [] { throw Error(errc::PermissionDenied, "", "Permission denied"); }},
    };
    EXPECT_EQ(start("-hide"), exitstatus::Failed);

    const std::string first = "The Access reader is missing.\r\n\r\nThis message has been placed on the clipboard.";
    const std::string second = "An error occured while trying to create an object of type 'Temporary folder'.\r\n"
                               "Error: 70 (0x46)\r\nReason: Permission denied\r\n\r\n"
                               "This message has been placed on the clipboard.";
    // The component messages reach the clipboard even under "hide"; the error report does not.
    EXPECT_EQ(m_ui.clipboard, (std::vector<std::string>{first, second}));
    EXPECT_TRUE(m_ui.messages.empty());

    const std::vector<std::string> entries = logEntries();
    ASSERT_EQ(entries.size(), 7u);
    EXPECT_EQ(entries[3], "The Access reader is missing.  This message has been placed on the clipboard.");
    EXPECT_EQ(entries[4].substr(0, 80),
              "An error occured while trying to create an object of type 'Temporary folder'. Er");
    EXPECT_EQ(entries[5], ComposeErrorReport("Form_Load", 1000, kDependencyFailed, "Check dependencies",
                                             path("appdata/Corvane/Tabulon/error-report.txt")));
    EXPECT_EQ(entries[6], "End");
}

TEST_F(ErrorHandlerTest, AFailingComponentShowsItsMessageWithTheInformationIcon) {
    m_components = {{"ODBC driver manager (unixODBC)", "", [] { throw Error(errc::ComponentMissing, "", ""); }}};
    EXPECT_EQ(start(""), exitstatus::Failed);

    ASSERT_EQ(m_ui.messages.size(), 2u);
    EXPECT_EQ(m_ui.messages[0].text, "The program is missing the component 'ODBC driver manager (unixODBC)'\r\n\r\n"
                                     "This message has been placed on the clipboard.");
    EXPECT_EQ(m_ui.messages[0].style, msgbox::Information);
    EXPECT_EQ(m_ui.messages[1].style, msgbox::Critical);
    EXPECT_EQ(m_ui.clipboard.size(), 2u);
}

TEST_F(ErrorHandlerTest, HaltErrorLogsTheMessageAndEndsQuietly) {
    m_log.init();
    try {
        m_reporter.HaltError("Stopped.\r\nSecond line.", exitstatus::NoSettings);
        FAIL() << "HaltError returned";
    } catch (const ProgramEnded& end) {
        EXPECT_EQ(end.exitStatus, exitstatus::NoSettings);
    }
    EXPECT_TRUE(m_ui.messages.empty());
    EXPECT_TRUE(m_ui.clipboard.empty());
    EXPECT_EQ(logEntries(), (std::vector<std::string>{"Stopped.\r\nSecond line.", "End"}));
}

TEST(DependencyCheckTest, EveryComponentOfThisBuildIsThere) {
    for (const Component& component : RequiredComponents())
        EXPECT_NO_THROW(component.probe()) << component.identifier;
}

TEST(DependencyCheckTest, AnUnwritableTemporaryFolderIsAMissingComponent) {
    const QByteArray saved = qgetenv("TEMP");
    qputenv("TEMP", "/nonexistent/tabulon/temp");
    const std::vector<Component> components = RequiredComponents();
    if (saved.isNull())
        qunsetenv("TEMP");
    else
        qputenv("TEMP", saved);

    const Component& temporary = components.back();
    try {
        temporary.probe();
        FAIL() << "the probe wrote into a folder that does not exist";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), errc::ComponentMissing);
    }
    EXPECT_NE(temporary.missingMessage.find("'/nonexistent/tabulon/temp'"), std::string::npos);
}
