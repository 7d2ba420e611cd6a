// Settings files that hold a password are the user's alone, and a readable one is pointed out.
#include "StartupFixture.h"

#include "lib/Convert.h"
#include "lib/Ini.h"
#include "settings/AutomaticSettings.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsObject.h"

#include <filesystem>

#include <sys/stat.h>

using namespace tabulon;
using namespace tabulon::test;
namespace fs = std::filesystem;

namespace {

unsigned modeOf(const std::string& path) {
    return static_cast<unsigned>(fs::status(path).permissions()) & 0777u;
}

DictionaryPtr settingsWith(const std::string& sourcePassword, const std::string& destinationPassword) {
    const DictionaryPtr settings = Dictionary::create();
    const DictionaryPtr section = Dictionary::create();
    section->set("sourcefilename", "orders.mdb");
    section->set("sourcepassword", sourcePassword);
    section->set("destinationpassword", destinationPassword);
    settings->set(kSettingsSection, section);
    return settings;
}

// Files are created under a umask that leaves them readable by everyone, as most systems have it.
class SettingsFileTest : public StartupFixture {
protected:
    SettingsFileTest() : m_savedMask(::umask(022)) {}
    ~SettingsFileTest() override { ::umask(m_savedMask); }

private:
    mode_t m_savedMask;
};

} // namespace

TEST_F(SettingsFileTest, AFileWithAPasswordIsTheOwnersAloneNewOrOverwritten) {
    const std::string created = path("created.ini");
    WriteSettingsFile(*settingsWith("", "sa-secret"), created);
    EXPECT_EQ(modeOf(created), 0600u);

    const std::string existing = path("existing.ini");
    writeFile("existing.ini", "[Verdix Tessoral]\r\n");
    fs::permissions(existing, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                  fs::perms::group_write | fs::perms::others_read);
    WriteSettingsFile(*settingsWith("db-secret", ""), existing);
    EXPECT_EQ(modeOf(existing), 0600u);
    EXPECT_EQ(toText(SettingsSection(ReadIniFile(existing))->get("sourcepassword")), "db-secret");
}

TEST_F(SettingsFileTest, AFileWithoutAPasswordKeepsTheUsualRightsAndIsNeverWidened) {
    const std::string plain = path("plain.ini");
    WriteSettingsFile(*settingsWith("", ""), plain);
    EXPECT_EQ(modeOf(plain), 0644u);

    const std::string narrow = path("narrow.ini");
    WriteSettingsFile(*settingsWith("secret", ""), narrow);
    WriteSettingsFile(*settingsWith("", ""), narrow);
    EXPECT_EQ(modeOf(narrow), 0600u);
}

TEST_F(SettingsFileTest, TheAutomaticFileIsPrivateOnlyWhenItKeepsThePasswords) {
    const std::string kept = path("appdata/kept/wizard.ini");
    SaveAutomaticSettings(*settingsWith("secret", ""), true, kept);
    EXPECT_EQ(modeOf(kept), 0600u);

    const std::string blanked = path("appdata/blanked/wizard.ini");
    SaveAutomaticSettings(*settingsWith("secret", "other"), false, blanked);
    EXPECT_EQ(modeOf(blanked), 0644u);
    EXPECT_FALSE(HoldsPassword(*ReadIniFile(blanked)));
}

TEST_F(SettingsFileTest, LoadingAReadableFileWithAPasswordWarnsInTheLog) {
    const std::string readable = path("readable.ini");
    writeFile("readable.ini", "[Verdix Tessoral]\r\n  sourcepassword=secret\r\n");
    fs::permissions(readable, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(start("-settings=" + readable), -1);

    const std::string warning = "Warning: the settings file " + readable +
                                " holds a password that other users of this computer can read. Make it yours "
                                "alone with: chmod 600 '" +
                                readable + "'";
    EXPECT_EQ(logEntries().at(3), warning);
    EXPECT_TRUE(m_ui.messages.empty()); // a note in the log, not a question
}

TEST_F(SettingsFileTest, NoWarningForAPrivateFileOrOneWithoutPassword) {
    writeFile("private.ini", "[Verdix Tessoral]\r\n  destinationpassword=secret\r\n");
    fs::permissions(path("private.ini"), fs::perms::owner_read | fs::perms::owner_write);
    start("-settings=" + path("private.ini"));
    EXPECT_EQ(logEntries().size(), 3u) << logEntries().back();

    writeFile("open.ini", "[Verdix Tessoral]\r\n  sourcepassword=\r\n");
    fs::permissions(path("open.ini"), fs::perms::all);
    start("-settings=" + path("open.ini"));
    EXPECT_EQ(logEntries().size(), 3u) << logEntries().back();
}
