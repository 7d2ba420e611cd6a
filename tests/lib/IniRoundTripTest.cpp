#include "lib/Convert.h"
#include "lib/Ini.h"

#include <gtest/gtest.h>

#include <random>

using namespace tabulon;

namespace {

// Random settings built from pieces that the format must carry: quotes, commas, "=", inner
// spaces, brackets and non-ASCII letters.
class SettingsGenerator {
public:
    explicit SettingsGenerator(unsigned seed) : m_random(seed) {}

    DictionaryPtr settings() {
        auto top = Dictionary::create();
        for (int s = pick(1, 3); s > 0; --s) {
            auto section = Dictionary::create();
            for (int k = pick(0, 8); k > 0; --k)
                section->set(key(), value());
            top->set(text(1, 3), section);
        }
        return top;
    }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    std::string text(int minPieces, int maxPieces) {
        static const char* const pieces[] = {"a",
                                             "Z",
                                             "7",
                                             " ",
                                             "\"",
                                             ",",
                                             "=",
                                             "[]",
                                             "[",
                                             "]",
                                             "\\",
                                             ";",
                                             "\xC3\xA9",
                                             "\xC3\x9F",
                                             "\xE2\x82\xAC",
                                             "\xF0\x9F\x98\x80",
                                             "\t"};
        std::string out;
        for (int i = pick(minPieces, maxPieces); i > 0; --i)
            out += pieces[pick(0, std::size(pieces) - 1)];
        return out;
    }

    // Keys are read back trimmed of spaces and tabs and lower-cased and end at the first "="; one
    // that starts with a quote or "[" or ends in "[]" means something else on reading.
    std::string key() {
        for (;;) {
            std::string candidate = toLowerAscii(trimBlanks(text(1, 4)));
            if (!candidate.empty() && candidate.find('=') == std::string::npos && candidate.front() != '"' &&
                candidate.front() != '[' && !(candidate.size() >= 2 && candidate.ends_with("[]")))
                return candidate;
        }
    }

    Variant value() {
        switch (pick(0, 2)) {
        case 0: { // a scalar text is read back trimmed; a leading quote means a quoted value
            std::string scalar(trimBlanks(text(0, 6)));
            if (!scalar.empty() && scalar.front() == '"')
                scalar.insert(0, "x");
            return scalar;
        }
        case 1:
            return pick(-100000, 100000);
        default: { // list items are kept exactly, empty ones included; no items reads as one empty item
            StringList items(pick(1, 5));
            for (auto& item : items)
                item = pick(0, 3) == 0 ? std::string() : text(1, 5);
            return items;
        }
        }
    }

    static std::string trimBlanks(const std::string& text) {
        const std::size_t first = text.find_first_not_of(" \t");
        return first == std::string::npos ? std::string()
                                          : text.substr(first, text.find_last_not_of(" \t") - first + 1);
    }

    std::mt19937 m_random;
};

// What reading gives back for a value that was written: numbers come back as their text.
Variant asRead(const Variant& value) {
    return value.isList() ? value : Variant(toText(value));
}

} // namespace

TEST(IniRoundTrip, randomSettingsReadBackEqual) {
    SettingsGenerator generator(20240611);
    for (int iteration = 0; iteration < 3000; ++iteration) {
        const DictionaryPtr written = generator.settings();
        const std::string text = FormatIniText(*written);
        const DictionaryPtr read = ParseIniText(text);

        // A section name met again replaces the earlier section, so compare with the last one.
        ASSERT_EQ(read->keys(), written->keys()) << text;
        for (const auto& [name, value] : written->entries()) {
            const Dictionary& expected = *value.dictionary();
            const DictionaryPtr actual = read->dictionaryAt(name);
            ASSERT_TRUE(actual) << text;
            ASSERT_EQ(actual->keys(), expected.keys()) << text;
            for (const auto& [key, item] : expected.entries())
                ASSERT_EQ(actual->get(key), asRead(item)) << "key " << key << " in\n" << text;
        }
    }
}
