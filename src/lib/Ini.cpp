#include "Ini.h"

#include "Convert.h"
#include "Error.h"
#include "TextFile.h"

#include <charconv>
#include <vector>

namespace tabulon {

namespace {

constexpr char kQuote = '"';

// Plain decimal without exponent, the shortest text that reads back as the same number.
template <typename Floating> std::string plainDecimal(Floating value) {
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return result.ec == std::errc() ? std::string(buffer, result.ptr) : doubleText(value);
}

std::string scalarText(const Variant& value, const std::string& key) {
    switch (value.type()) {
    case Variant::Type::Single:
        return plainDecimal(value.single());
    case Variant::Type::Double:
        return plainDecimal(value.real());
    case Variant::Type::Dictionary:
    case Variant::Type::Bytes:
        throw Error(errc::TypeMismatch, "Tabulon",
                    "Type mismatch: the value of '" + key + "' cannot be written to a settings file.");
    default:
        return toText(value);
    }
}

void appendSection(std::string& text, const std::string& name, const Dictionary& section) {
    text += '[';
    text += name;
    text += "]\r\n";
    for (const auto& [key, value] : section.entries()) {
        text += "  ";
        text += key;
        if (value.isList()) {
            text += "[]=";
            text += JoinQuotedList(value.list());
        } else {
            text += '=';
            text += scalarText(value, key);
        }
        text += "\r\n";
    }
}

// Drops the first and last characters and turns every pair of quotes into one. A text of a single
// quote has nothing between its ends and gives "".
std::string unquote(std::string_view text) {
    std::string out;
    if (text.size() < 2)
        return out;
    text = text.substr(1, text.size() - 2);
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        out.push_back(text[i]);
        if (text[i] == kQuote && i + 1 < text.size() && text[i + 1] == kQuote)
            ++i;
    }
    return out;
}

// CR LF, a lone LF and a lone CR each end a line: a file edited by hand may mix them (a line appended
// with `echo` to a CR LF file), and no value of this format can hold a line break anyway.
std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
}

// Spaces and tabs around a line, a key or a value are layout, never content.
std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Stores one key=value line in `target`; a line without "=" is ignored.
void parseEntry(std::string_view line, Dictionary& target) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return;
    std::string_view keyText = trimBlanks(line.substr(0, equals));
    const std::string_view rest = trimBlanks(line.substr(equals + 1));
    std::string key = !keyText.empty() && keyText.front() == kQuote ? unquote(keyText) : std::string(keyText);
    Variant value;
    if (key.size() >= 2 && key.compare(key.size() - 2, 2, "[]") == 0) {
        key.resize(key.size() - 2);
        value = SplitQuotedList(rest);
    } else {
        value = !rest.empty() && rest.front() == kQuote ? unquote(rest) : std::string(rest);
    }
    target.set(toLowerAscii(key), std::move(value));
}

} // namespace

std::string FormatIniText(const Dictionary& settings) {
    std::string text;
    for (const auto& [name, value] : settings.entries()) {
        if (!value.isDictionary() || !value.dictionary())
            throw Error(errc::TypeMismatch, "Tabulon",
                        "Type mismatch: '" + name + "' is not a section and cannot be written to a settings file.");
        appendSection(text, name, *value.dictionary());
    }
    return text;
}

void WriteIniFile(const Dictionary& settings, const std::string& path) {
    WriteTextFile(path, FormatIniText(settings));
}

DictionaryPtr ParseIniText(std::string_view text) {
    auto top = Dictionary::create();
    DictionaryPtr section;
    for (std::string_view line : splitLines(text)) {
        line = trimBlanks(line);
        if (line.empty())
            continue;
        if (line.front() == '[') {
            section = Dictionary::create();
            // The last character is dropped whatever it is; "[" alone names the empty section.
            const std::string name(line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string_view());
            top->set(name, section);
            continue;
        }
        parseEntry(line, section ? *section : *top);
    }
    return top;
}

DictionaryPtr ReadIniFile(const std::string& path) {
    return ParseIniText(ReadTextFile(path));
}

std::string JoinQuotedList(const StringList& list, char delimiter, char quote) {
    std::string text;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i > 0)
            text += delimiter;
        text += quote;
        for (char c : list[i]) {
            text += c;
            if (c == quote)
                text += quote;
        }
        text += quote;
    }
    return text;
}

StringList SplitQuotedList(std::string_view text, char delimiter, char quote) {
    StringList items;
    std::size_t pos = 0;
    for (;;) {
        std::string item;
        bool skippedLast = false; // a delimiter was skipped as the last character
        if (pos < text.size() && text[pos] == quote) {
            ++pos;
            bool closed = false;
            while (pos < text.size() && !closed) {
                if (text[pos] == quote && pos + 1 < text.size() && text[pos + 1] == quote) {
                    item += quote;
                    pos += 2;
                } else if (text[pos] == quote) {
                    closed = true;
                    ++pos;
                } else {
                    item += text[pos++];
                }
            }
            if (closed && pos < text.size())
                skippedLast = ++pos == text.size();
        } else {
            const std::size_t end = pos < text.size() ? text.find(delimiter, pos + 1) : std::string_view::npos;
            item.assign(text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos));
            pos = end == std::string_view::npos ? text.size() : end + 1;
            skippedLast = end != std::string_view::npos && pos == text.size();
        }
        items.push_back(std::move(item));
        if (pos >= text.size() && !skippedLast)
            return items;
    }
}

} // namespace tabulon
