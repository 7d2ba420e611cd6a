// The table of settings keys: the order files are written in, each key's default and normalisation,
// the dump header's listing, and the typed options a run reads from a section.
#include "engine/SettingsKeys.h"
#include "engine/RunOptions.h"
#include "lib/Convert.h"

#include <gtest/gtest.h>

using namespace tabulon;

namespace {

std::vector<std::string> writtenKeys() {
    std::vector<std::string> keys;
    for (const SettingKey& key : SettingKeys())
        if (key.written)
            keys.emplace_back(key.name);
    return keys;
}

// The normalised text of `key` after a file held `value` there (nothing: the key was missing).
std::string normalised(const std::string& key, const std::optional<Variant>& value) {
    Dictionary section;
    if (value)
        section.set(key, *value);
    NormalizeSection(section);
    return toText(section.get(key));
}

RunOptions optionsWith(std::initializer_list<std::pair<const char*, Variant>> entries) {
    Dictionary section;
    for (const auto& [key, value] : entries)
        section.set(key, value);
    return ReadRunOptions(section);
}

} // namespace

TEST(SettingsKeys, theFormWritesTheKeysInTheirFixedOrder) {
    EXPECT_EQ(writtenKeys(), (std::vector<std::string>{"sourcefilename",
                                                       "sourceusername",
                                                       "sourcepassword",
                                                       "sourcesystemdatabase",
                                                       "destinationmethod",
                                                       "destinationserver",
                                                       "destinationauthentication",
                                                       "destinationusername",
                                                       "destinationpassword",
                                                       "destinationdatabase",
                                                       "destinationdumpfilename",
                                                       "sourcetables",
                                                       "dropdatabase",
                                                       "createtables",
                                                       "unicode",
                                                       "autocommit",
                                                       "transferdefaultvalues",
                                                       "transferindexes",
                                                       "transferautonumbers",
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
                                                       "transferqueries"}));
    // Read by the form and the run, never written: a file written by the system never holds it.
    ASSERT_NE(FindSettingKey("storageengine"), nullptr);
    EXPECT_FALSE(FindSettingKey("storageengine")->written);
}

TEST(SettingsKeys, defaultsComeInTheirOwnOrderWithComputedValuesAndIntegerFlags) {
    const DictionaryPtr section = DefaultSection({"/data/shop.mdb", "HOST\\SQLEXPRESS", "/home/me/dump.sql"});
    const std::vector<std::pair<std::string, Variant>> expected = {
        {"sourcefilename", "/data/shop.mdb"},
        {"sourceusername", ""},
        {"sourcepassword", ""},
        {"destinationmethod", "DIRECT"},
        {"destinationserver", "HOST\\SQLEXPRESS"},
        {"destinationauthentication", "Windows"},
        {"destinationusername", "sa"},
        {"destinationpassword", ""},
        {"destinationdumpfilename", "/home/me/dump.sql"},
        {"destinationdatabase", "verdix"},
        {"dropdatabase", 0},
        {"createtables", 1},
        {"unicode", 1},
        {"autocommit", 1},
        {"transferdefaultvalues", 1},
        {"transferautonumbers", 1},
        {"transferindexes", 1},
        {"transferrecords", 1},
        {"columnlist", 1},
        {"tableprefix", ""},
        {"negativeboolean", 0},
        {"ignorelargeblobs", 0},
        {"memotype", "LONGTEXT"},
        {"datetimetype", "DATETIME2"},
        {"transferrelationships", 1},
        {"transfervalidationrules", 1},
        {"transferdescriptions", 1},
        {"verifycounts", 1},
        {"transferqueries", 1},
    };
    EXPECT_EQ(section->entries(), expected);
    EXPECT_EQ(DefaultValue(*FindSettingKey("sourcetables"), {}), Variant(StringList{}));
    EXPECT_EQ(DefaultValue(*FindSettingKey("sourcesystemdatabase"), {}), Variant(""));
}

TEST(SettingsKeys, eachNormalisedKeyKeepsOnlyItsAllowedTexts) {
    const std::optional<Variant> missing;
    // Flags on by default: only "0" switches them off.
    for (const char* key : {"createtables", "unicode", "autocommit", "transferdefaultvalues", "transferindexes",
                            "transferautonumbers", "transferrecords", "columnlist", "transferrelationships",
                            "transfervalidationrules", "transferdescriptions", "verifycounts", "transferqueries"}) {
        EXPECT_EQ(normalised(key, Variant("0")), "0") << key;
        EXPECT_EQ(normalised(key, Variant(0)), "0") << key;
        EXPECT_EQ(normalised(key, Variant("no")), "1") << key;
        EXPECT_EQ(normalised(key, missing), "1") << key;
        EXPECT_EQ(normalised(key, Variant(StringList{"0"})), "1") << key; // a list reads as ""
    }
    // Flags off by default: only "1" switches them on.
    for (const char* key : {"dropdatabase", "negativeboolean", "ignorelargeblobs"}) {
        EXPECT_EQ(normalised(key, Variant("1")), "1") << key;
        EXPECT_EQ(normalised(key, Variant(1)), "1") << key;
        EXPECT_EQ(normalised(key, Variant("yes")), "0") << key;
        EXPECT_EQ(normalised(key, Variant(" 1")), "0") << key;
        EXPECT_EQ(normalised(key, missing), "0") << key;
    }
    EXPECT_EQ(normalised("memotype", Variant("TEXT")), "VARCHAR(MAX)");
    EXPECT_EQ(normalised("memotype", missing), "VARCHAR(MAX)");
    EXPECT_EQ(normalised("datetimetype", Variant("DATETIME")), "DATETIME");
    EXPECT_EQ(normalised("datetimetype", Variant("DATETIME2")), "DATETIME2");
    EXPECT_EQ(normalised("datetimetype", Variant("datetime")), "DATETIME2");
    EXPECT_EQ(normalised("datetimetype", Variant("")), "DATETIME2");
    // Texts keep what was read, and a missing one stays missing.
    for (const char* key : {"sourcefilename", "destinationmethod", "destinationauthentication", "tableprefix",
                            "storageengine", "sourcetables"}) {
        Dictionary section;
        NormalizeSection(section);
        EXPECT_FALSE(section.contains(key)) << key;
    }
    EXPECT_EQ(normalised("destinationmethod", Variant("direct")), "direct");
}

TEST(SettingsKeys, theHeaderListsEveryKeyButDestinationsLoginsAndTablesAndHidesThePassword) {
    Dictionary section;
    section.set("sourcefilename", "C:\\Data\\shop.mdb");
    section.set("SourcePassword", "secret"); // a hand-written file may capitalise a key
    section.set("destinationmethod", "DUMP");
    section.set("destinationhost", "h");
    section.set("destinationport", "1433");
    section.set("destinationusername", "sa");
    section.set("destinationpassword", "pw");
    section.set("destinationdumpfilename", "/x.sql");
    section.set("destinationserver", "srv");
    section.set("sourcetables", StringList{"T"});
    section.set("storageengine", "brighthouse");
    section.set("extra", StringList{"a", "b"});
    section.set("dropdatabase", 1);
    EXPECT_EQ(ListedOptions(section),
              (std::vector<std::string>{"sourcefilename=C:/Data/shop.mdb", "SourcePassword=** HIDDEN **",
                                        "destinationserver=srv", "storageengine=brighthouse", "extra=a, b",
                                        "dropdatabase=1"}));
    section.set("SourcePassword", "");
    EXPECT_EQ(ListedOptions(section)[1], "SourcePassword=");
}

TEST(RunOptions, readsEachKeyByItsOwnRule) {
    const RunOptions defaults = optionsWith({});
    EXPECT_FALSE(defaults.direct);
    EXPECT_TRUE(defaults.definition.unicode); // on unless it says 0
    EXPECT_FALSE(defaults.dropDatabase);
    EXPECT_FALSE(defaults.unreadable);
    EXPECT_THROW(defaults.selection.contains("T"), Error); // no list: the run's loop reports it
    // Files written before these keys existed turn them on.
    EXPECT_TRUE(defaults.transferRelationships && defaults.transferValidationRules);
    EXPECT_TRUE(defaults.transferDescriptions && defaults.verifyCounts);
    EXPECT_FALSE(optionsWith({{"transferrelationships", "0"}}).transferRelationships);
    EXPECT_FALSE(optionsWith({{"verifycounts", 0}}).verifyCounts);
    EXPECT_FALSE(optionsWith({{"transferqueries", "0"}}).transferQueries);
    EXPECT_TRUE(optionsWith({{"transferdescriptions", "no"}}).transferDescriptions);

    EXPECT_TRUE(optionsWith({{"destinationmethod", "DIRECT"}}).direct);
    EXPECT_FALSE(optionsWith({{"destinationmethod", "direct"}}).direct);
    EXPECT_FALSE(optionsWith({{"unicode", "0"}}).definition.unicode);
    EXPECT_FALSE(optionsWith({{"unicode", 0}}).definition.unicode);
    EXPECT_TRUE(optionsWith({{"unicode", "no"}}).definition.unicode);
    EXPECT_EQ(optionsWith({{"storageengine", "BrightHouse"}}).definition.storageEngine, "brighthouse");
    EXPECT_TRUE(optionsWith({{"destinationauthentication", "WINDOWS"}}).login.windowsAuthentication);
    EXPECT_FALSE(optionsWith({{"destinationauthentication", ""}}).login.windowsAuthentication);

    const RunOptions files = optionsWith({{"createtables", "1"}, {"columnlist", "true"}, {"transferindexes", "0"}});
    EXPECT_TRUE(files.createTables);
    EXPECT_TRUE(files.columnList);
    EXPECT_FALSE(files.definition.transferIndexes);
}

TEST(RunOptions, aFlagThatDoesNotConvertIsKeptForTheRunToReport) {
    const RunOptions options = optionsWith({{"columnlist", "maybe"}, {"createtables", "yes"}, {"dropdatabase", "x"}});
    EXPECT_FALSE(options.columnList); // counts as off
    ASSERT_TRUE(options.unreadable);
    EXPECT_EQ(options.unreadable->number(), errc::TypeMismatch);
    // The first one read names itself.
    EXPECT_EQ(options.unreadable->description(),
              "Type mismatch: the setting 'dropdatabase' holds 'x', which is neither 0 nor 1");
}
