#include "wizard/SortDictionary.h"

#include "lib/Error.h"

#include <gtest/gtest.h>

namespace tabulon {
namespace {

DictionaryPtr make(std::initializer_list<std::pair<std::string, Variant>> entries) {
    DictionaryPtr dictionary = Dictionary::create();
    for (const auto& [key, value] : entries)
        dictionary->set(key, value);
    return dictionary;
}

TEST(SortDictionary, emptyDictionaryStaysEmpty) {
    Dictionary empty;
    SortDictionary(empty, std::nullopt, false);
    EXPECT_TRUE(empty.empty());
}

TEST(SortDictionary, withoutSelectorSortsByKey) {
    DictionaryPtr dictionary = make({{"b", 1}, {"c", 2}, {"a", 3}});
    SortDictionary(*dictionary, std::nullopt, false);
    EXPECT_EQ(dictionary->keys(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(dictionary->get("a"), Variant(3));
}

TEST(SortDictionary, emptySelectorSortsByValue) {
    DictionaryPtr dictionary =
        make({{"x", "00000200,00000010"}, {"y", "00000010,00000300"}, {"z", "00000010,00000020"}});
    SortDictionary(*dictionary, std::string(), false);
    EXPECT_EQ(dictionary->keys(), (std::vector<std::string>{"z", "y", "x"}));
}

TEST(SortDictionary, numbersCompareAsNumbers) {
    DictionaryPtr dictionary = make({{"ten", 10}, {"nine", 9}, {"hundred", 100.5}});
    SortDictionary(*dictionary, std::string(), false);
    EXPECT_EQ(dictionary->keys(), (std::vector<std::string>{"nine", "ten", "hundred"}));
}

TEST(SortDictionary, ignoreCaseComparesTextsInUpperCase) {
    DictionaryPtr cased = make({{"1", "beta"}, {"2", "Alpha"}, {"3", "alpha2"}});
    SortDictionary(*cased, std::string(), false);
    EXPECT_EQ(cased->keys(), (std::vector<std::string>{"2", "3", "1"}));
    DictionaryPtr ignored = make({{"1", "beta"}, {"2", "Bz"}, {"3", "alpha"}});
    SortDictionary(*ignored, std::string(), true);
    EXPECT_EQ(ignored->keys(), (std::vector<std::string>{"3", "1", "2"}));
}

TEST(SortDictionary, selectorFollowsNestedDictionaries) {
    DictionaryPtr dictionary = make({{"first", make({{"place", make({{"top", 30}})}})},
                                     {"second", make({{"place", make({{"top", 10}})}})},
                                     {"third", make({{"place", make({{"top", 20}})}})}});
    SortDictionary(*dictionary, std::string("place.top"), false);
    EXPECT_EQ(dictionary->keys(), (std::vector<std::string>{"second", "third", "first"}));
}

TEST(SortDictionary, valueThatIsNoDictionaryRaises1000) {
    try {
        SortDictionary(Variant("text"), std::nullopt, false);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), 1000);
        EXPECT_EQ(error.description(), "Unable to sort dictionary of type String");
    }
}

} // namespace
} // namespace tabulon
