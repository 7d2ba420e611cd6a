#include "settings/SettingsObject.h"
#include "lib/Convert.h"
#include "lib/Ini.h"
#include "settings/AutomaticSettings.h"
#include "settings/DefaultLocations.h"
#include "settings/UserStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace tabulon;

namespace {

DictionaryPtr settingsWith(std::initializer_list<std::pair<const char*, Variant>> entries) {
    auto settings = Dictionary::create();
    auto section = Dictionary::create();
    for (const auto& [key, value] : entries)
        section->set(key, value);
    settings->set(kSettingsSection, section);
    return settings;
}

std::string normalised(const DictionaryPtr& settings, const std::string& key) {
    NormalizeSettings(settings);
    return toText(SettingsSection(settings)->get(key));
}

// The keys the form writes, in their order.
std::vector<std::string_view> writtenKeys() {
    std::vector<std::string_view> keys;
    for (const SettingKey& key : SettingKeys())
        if (key.written)
            keys.push_back(key.name);
    return keys;
}

// A settings object as the form builds it: every key in order, flags as integers.
DictionaryPtr formSettings() {
    auto settings = Dictionary::create();
    auto section = Dictionary::create();
    for (std::string_view key : writtenKeys())
        section->set(std::string(key), key == "sourcetables" ? Variant(StringList{"Orders", "Orders\\Date"})
                                                             : Variant("value of " + std::string(key)));
    section->set("sourcepassword", "secret");
    section->set("destinationpassword", "also secret");
    settings->set(kSettingsSection, section);
    return settings;
}

std::string readAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class SettingsObjectTest : public ::testing::Test {
protected:
    QTemporaryDir m_folder;
    UserStore m_store{m_folder.filePath(QStringLiteral("store.ini")).toStdString()};
    std::string path(const char* name) const { return m_folder.filePath(QString::fromUtf8(name)).toStdString(); }
};

} // namespace

TEST_F(SettingsObjectTest, DefaultsHoldTheirKeysInOrderWithIntegerFlags) {
    m_store.setText("Settings", "LastLoadedSource", "/data/shop.mdb");
    const DictionaryPtr section = SettingsSection(CreateDefaultSettings(m_store));
    ASSERT_NE(section, nullptr);

    const std::vector<std::string> expected = {"sourcefilename",
                                               "sourceusername",
                                               "sourcepassword",
                                               "destinationmethod",
                                               "destinationserver",
                                               "destinationauthentication",
                                               "destinationusername",
                                               "destinationpassword",
                                               "destinationdumpfilename",
                                               "destinationdatabase",
                                               "dropdatabase",
                                               "createtables",
                                               "unicode",
                                               "autocommit",
                                               "transferdefaultvalues",
                                               "transferautonumbers",
                                               "transferindexes",
                                               "transferrecords",
                                               "columnlist",
                                               "tableprefix",
                                               "negativeboolean",
                                               "ignorelargeblobs",
                                               "memotype",
                                               "datetimetype",
                                               "transferrelationships",
                                               "transfervalidationrules",
                                               "transferdescriptions",
                                               "verifycounts",
                                               "transferqueries"};
    EXPECT_EQ(section->keys(), expected);
    EXPECT_EQ(section->get("sourcefilename"), Variant("/data/shop.mdb"));
    EXPECT_EQ(section->get("destinationserver"), Variant(DefaultDestinationServer()));
    EXPECT_EQ(section->get("dropdatabase"), Variant(0));
    EXPECT_EQ(section->get("columnlist"), Variant(1));
    EXPECT_EQ(section->get("ignorelargeblobs"), Variant(0));
    EXPECT_EQ(section->get("memotype"), Variant("LONGTEXT"));
    EXPECT_EQ(section->get("datetimetype"), Variant("DATETIME2"));
    EXPECT_EQ(section->get("verifycounts"), Variant(1));
    EXPECT_EQ(section->get("transferqueries"), Variant(1));
    EXPECT_NE(toText(section->get("destinationdumpfilename")).find("dump.sql"), std::string::npos);
}

TEST_F(SettingsObjectTest, WriteThenReadOfTheDefaultsGivesEveryValueBackAsText) {
    const DictionaryPtr defaults = CreateDefaultSettings(m_store);
    WriteIniFile(*defaults, path("defaults.ini"));
    const DictionaryPtr read = ReadIniFile(path("defaults.ini"));

    const DictionaryPtr written = SettingsSection(defaults), back = SettingsSection(read);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(read->keys(), std::vector<std::string>{kSettingsSection});
    EXPECT_EQ(back->keys(), written->keys());
    for (const std::string& key : written->keys())
        EXPECT_EQ(back->get(key), Variant(toText(written->get(key)))) << key;
    EXPECT_FALSE(back->contains("sourcetables"));
}

TEST(NormalizeSettingsTest, FlagsKeepOnlyTheirAllowedTexts) {
    EXPECT_EQ(normalised(settingsWith({{"dropdatabase", "yes"}}), "dropdatabase"), "0");
    EXPECT_EQ(normalised(settingsWith({{"dropdatabase", "1"}}), "dropdatabase"), "1");
    EXPECT_EQ(normalised(settingsWith({{"dropdatabase", 1}}), "dropdatabase"), "1");
    EXPECT_EQ(normalised(settingsWith({{"createtables", "no"}}), "createtables"), "1");
    EXPECT_EQ(normalised(settingsWith({{"createtables", "0"}}), "createtables"), "0");
    EXPECT_EQ(normalised(settingsWith({{"unicode", StringList{"0"}}}), "unicode"), "1"); // a list reads as ""
    // Files written before the options of what is added after the tables existed turn them on.
    for (const char* key : {"transferrelationships", "transfervalidationrules", "transferdescriptions", "verifycounts",
                            "transferqueries"}) {
        EXPECT_EQ(normalised(settingsWith({}), key), "1") << key;
        EXPECT_EQ(normalised(settingsWith({{key, "no"}}), key), "1") << key;
        EXPECT_EQ(normalised(settingsWith({{key, "0"}}), key), "0") << key;
    }
}

TEST(NormalizeSettingsTest, MissingOrUnreadableBlobAndBooleanFlagsStayOff) {
    EXPECT_EQ(normalised(settingsWith({}), "negativeboolean"), "0");
    EXPECT_EQ(normalised(settingsWith({}), "ignorelargeblobs"), "0");
    EXPECT_EQ(normalised(settingsWith({{"ignorelargeblobs", "on"}}), "ignorelargeblobs"), "0");
    EXPECT_EQ(normalised(settingsWith({{"ignorelargeblobs", "1"}}), "ignorelargeblobs"), "1");
    EXPECT_EQ(normalised(settingsWith({{"negativeboolean", "1"}}), "negativeboolean"), "1");
}

TEST(NormalizeSettingsTest, ColumnTypesAreFixedOrDefaulted) {
    EXPECT_EQ(normalised(settingsWith({{"datetimetype", "datetime"}}), "datetimetype"), "DATETIME2");
    EXPECT_EQ(normalised(settingsWith({{"datetimetype", "DATETIME"}}), "datetimetype"), "DATETIME");
    EXPECT_EQ(normalised(settingsWith({{"memotype", "TEXT"}}), "memotype"), "VARCHAR(MAX)");
}

TEST(NormalizeSettingsTest, MissingKeysAreAddedAtTheEndOtherKeysKept) {
    const DictionaryPtr settings = settingsWith({{"tableprefix", "x_"}, {"storageengine", "brighthouse"}});
    NormalizeSettings(settings);
    const std::vector<std::string> expected = {"tableprefix",
                                               "storageengine",
                                               "dropdatabase",
                                               "createtables",
                                               "unicode",
                                               "autocommit",
                                               "transferdefaultvalues",
                                               "transferindexes",
                                               "transferautonumbers",
                                               "transferrecords",
                                               "columnlist",
                                               "negativeboolean",
                                               "ignorelargeblobs",
                                               "memotype",
                                               "datetimetype",
                                               "transferrelationships",
                                               "transfervalidationrules",
                                               "transferdescriptions",
                                               "verifycounts",
                                               "transferqueries"};
    EXPECT_EQ(SettingsSection(settings)->keys(), expected);
    EXPECT_EQ(SettingsSection(settings)->get("storageengine"), Variant("brighthouse"));
}

TEST(NormalizeSettingsTest, ObjectsWithoutASectionDictionaryAreLeftAlone) {
    NormalizeSettings(nullptr);
    auto settings = Dictionary::create();
    settings->set(kSettingsSection, "not a section");
    NormalizeSettings(settings);
    EXPECT_EQ(settings->get(kSettingsSection), Variant("not a section"));
}

TEST_F(SettingsObjectTest, TheAutomaticFileHoldsEveryKeyInOrderWithoutPasswords) {
    const DictionaryPtr settings = formSettings();
    const std::string file = path("appdata/Corvane/Tabulon/wizard.ini");
    SaveAutomaticSettings(*settings, false, file);

    std::string expected = "[Verdix Tessoral]\r\n";
    for (std::string_view key : writtenKeys()) {
        const std::string name(key);
        if (name == "sourcetables")
            expected += "  sourcetables[]=\"Orders\",\"Orders\\Date\"\r\n";
        else if (name == "sourcepassword" || name == "destinationpassword")
            expected += "  " + name + "=\r\n";
        else
            expected += "  " + name + "=value of " + name + "\r\n";
    }
    EXPECT_EQ(readAll(file), expected);
    EXPECT_EQ(SettingsSection(settings)->get("sourcepassword"), Variant("secret")); // the object is unchanged
}

TEST_F(SettingsObjectTest, TheAutomaticFileKeepsPasswordsWhenAskedTo) {
    SaveAutomaticSettings(*formSettings(), true, path("wizard.ini"));
    const DictionaryPtr read = ReadIniFile(path("wizard.ini"));
    EXPECT_EQ(SettingsSection(read)->get("sourcepassword"), Variant("secret"));
    EXPECT_EQ(SettingsSection(read)->get("destinationpassword"), Variant("also secret"));
}

TEST_F(SettingsObjectTest, SavedSettingsAppendedToByHandReadBackWhole) {
    // Save Settings writes CR LF; `echo key=value >> file` appends LF-only lines, an editor may
    // indent with a tab.
    const std::string file = path("saved.ini");
    WriteIniFile(*formSettings(), file);
    std::ofstream(file, std::ios::binary | std::ios::app) << "destinationdumpfilename=/out/edited.sql\n"
                                                          << "\tcolumnlist=0\n"
                                                          << "  tableprefix=t_\r\n";
    const DictionaryPtr back = SettingsSection(ReadIniFile(file));
    ASSERT_NE(back, nullptr);
    const DictionaryPtr written = SettingsSection(formSettings());
    EXPECT_EQ(back->keys(), written->keys());
    for (const std::string& key : written->keys()) {
        if (key == "destinationdumpfilename")
            EXPECT_EQ(back->get(key), Variant("/out/edited.sql"));
        else if (key == "columnlist")
            EXPECT_EQ(back->get(key), Variant("0"));
        else if (key == "tableprefix")
            EXPECT_EQ(back->get(key), Variant("t_"));
        else if (key == "sourcetables")
            EXPECT_EQ(back->get(key), written->get(key));
        else
            EXPECT_EQ(back->get(key), Variant(toText(written->get(key)))) << key;
    }
}

TEST(DefaultLocationsTest, DoubledSeparatorsCollapseExceptALeadingPair) {
    EXPECT_EQ(CollapseDoubleSeparators("/home//me///dump.sql"), "/home/me/dump.sql");
    EXPECT_EQ(CollapseDoubleSeparators("//server//share/dump.sql"), "//server/share/dump.sql");
    EXPECT_EQ(CollapseDoubleSeparators("///x"), "//x");
    EXPECT_EQ(CollapseDoubleSeparators("a//b"), "a/b");
}

TEST(DefaultLocationsTest, TheApplicationDataFolderFollowsAppDataElseTheConfigFolder) {
    const QByteArray saved = qgetenv("APPDATA"), savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("APPDATA", "/srv/appdata");
    EXPECT_EQ(ApplicationDataFolder(), "/srv/appdata/Corvane/Tabulon");
    EXPECT_EQ(DefaultSettingsPath(), "/srv/appdata/Corvane/Tabulon/wizard.ini");
    EXPECT_EQ(LogFilePath("/usr/local/bin/tabulon-nightly"), "/srv/appdata/Corvane/Tabulon/tabulon-nightly.log");
    qunsetenv("APPDATA");
    qputenv("XDG_CONFIG_HOME", "/srv/config");
    EXPECT_EQ(ApplicationDataFolder(), "/srv/config/Corvane/Tabulon");
    saved.isNull() ? qunsetenv("APPDATA") : qputenv("APPDATA", saved);
    savedConfig.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", savedConfig);
}

TEST_F(SettingsObjectTest, TheUserStoreKeepsTextsPerSectionAndFallsBack) {
    EXPECT_EQ(m_store.text("Settings", "SaveFolder", "/fallback/"), "/fallback/");
    m_store.setText("Settings", "SaveFolder", "/data/");
    m_store.setText("Usage", "SaveFolder", "other");
    EXPECT_EQ(UserStore(path("store.ini")).text("Settings", "SaveFolder"), "/data/"); // on disk at once
}

TEST(DefaultLocationsTest, DocumentsAreTheXdgFolderElseDocumentsElseHomeAndTheDumpLiesInOneThatExists) {
    QTemporaryDir home;
    const QByteArray savedHome = qgetenv("HOME"), savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")).toUtf8());
    const std::string root = home.path().toStdString();

    // No Documents folder: the home folder, never a folder that is not there.
    EXPECT_EQ(DocumentsFolder(), root);
    EXPECT_EQ(DefaultDumpFileName(), root + "/dump.sql");

    QDir(home.path()).mkpath(QStringLiteral("Documents"));
    EXPECT_EQ(DocumentsFolder(), root + "/Documents");
    EXPECT_EQ(DefaultDumpFileName(), root + "/Documents/dump.sql");

    // The folder the desktop names in user-dirs.dirs wins, once it exists.
    QDir(home.path()).mkpath(QStringLiteral(".config"));
    QFile dirs(home.filePath(QStringLiteral(".config/user-dirs.dirs")));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    dirs.close();
    EXPECT_EQ(DocumentsFolder(), root);
    QDir(home.path()).mkpath(QStringLiteral("Dokumente"));
    EXPECT_EQ(DocumentsFolder(), root + "/Dokumente");

    // A home folder that is gone leaves the dump to APPDATA.
    const QByteArray savedAppData = qgetenv("APPDATA");
    qputenv("HOME", home.filePath(QStringLiteral("gone")).toUtf8());
    qputenv("APPDATA", home.path().toUtf8());
    EXPECT_EQ(DefaultDumpFileName(), root + "/dump.sql");
    savedAppData.isNull() ? qunsetenv("APPDATA") : qputenv("APPDATA", savedAppData);

    savedHome.isNull() ? qunsetenv("HOME") : qputenv("HOME", savedHome);
    savedConfig.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", savedConfig);
}
