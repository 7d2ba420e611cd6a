#include "lib/Dictionary.h"
#include "lib/Convert.h"

#include <gtest/gtest.h>

using namespace tabulon;

TEST(Dictionary, keepsInsertionOrder) {
    Dictionary d;
    d.set("b", 1);
    d.set("a", 2);
    d.set("c", 3);
    EXPECT_EQ(d.keys(), (std::vector<std::string>{"b", "a", "c"}));
}

TEST(Dictionary, writingPresentKeyKeepsItsPlace) {
    Dictionary d;
    d.set("a", 1);
    d.set("b", 2);
    d.set("a", "x");
    EXPECT_EQ(d.keys(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(d.get("a"), Variant("x"));
}

TEST(Dictionary, removedKeyAddedAgainMovesToEnd) {
    Dictionary d;
    d.set("a", 1);
    d.set("b", 2);
    d.set("c", 3);
    d.remove("a");
    d.set("a", 4);
    EXPECT_EQ(d.keys(), (std::vector<std::string>{"b", "c", "a"}));
    EXPECT_EQ(d.get("c"), Variant(3));
    d.remove("b");
    EXPECT_EQ(d.get("c"), Variant(3));
    EXPECT_EQ(d.get("a"), Variant(4));
}

TEST(Dictionary, absentKeyReadsAsEmpty) {
    Dictionary d;
    const Variant& v = d.get("missing");
    EXPECT_TRUE(v.isEmpty());
    EXPECT_EQ(toText(v), "");
    EXPECT_EQ(toInteger(v), 0);
    EXPECT_FALSE(toBoolean(v));
    EXPECT_FALSE(d.contains("missing"));
}

TEST(Dictionary, keysCompareWithLetterCase) {
    Dictionary d;
    d.set("Key", 1);
    EXPECT_FALSE(d.contains("key"));
    d.set("key", 2);
    EXPECT_EQ(d.count(), 2u);
}

TEST(Dictionary, holdsListsAndNestedDictionariesByReference) {
    auto top = Dictionary::create();
    auto section = Dictionary::create();
    top->set("Section", section);
    section->set("list", StringList{"a", "", "b"});
    ASSERT_TRUE(top->dictionaryAt("Section"));
    EXPECT_EQ(top->dictionaryAt("Section")->get("list").list().size(), 3u);
    EXPECT_EQ(top->dictionaryAt("missing"), nullptr);
    top->set("scalar", "x");
    EXPECT_EQ(top->dictionaryAt("scalar"), nullptr);
}
