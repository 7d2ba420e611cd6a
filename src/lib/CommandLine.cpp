#include "CommandLine.h"

#include "Convert.h"

#include <string_view>

namespace tabulon {

namespace {

constexpr char kQuote = '"';

// Reads a quoted text from the front of `rest` (which starts with the quote) and drops it from
// `rest`: a doubled quote gives one, a single quote or the end of `rest` closes it.
std::string takeQuoted(std::string_view& rest) {
    std::string out;
    std::size_t pos = 1;
    while (pos < rest.size()) {
        if (rest[pos] == kQuote) {
            if (pos + 1 < rest.size() && rest[pos + 1] == kQuote) {
                out += kQuote;
                pos += 2;
                continue;
            }
            ++pos;
            break;
        }
        out += rest[pos++];
    }
    rest.remove_prefix(pos);
    return out;
}

// Moves characters from the front of `rest` up to, not including, the first terminator.
std::string takeUntil(std::string_view& rest, std::string_view terminators) {
    const std::size_t end = std::min(rest.find_first_of(terminators), rest.size());
    std::string out(rest.substr(0, end));
    rest.remove_prefix(end);
    return out;
}

std::string takeKey(std::string_view& rest) {
    std::string key = !rest.empty() && rest.front() == kQuote ? takeQuoted(rest) : takeUntil(rest, "=, ");
    key = std::string(trimSpaces(key));
    if (!key.empty() && (key.front() == '/' || key.front() == '-'))
        key.erase(0, 1);
    return key;
}

std::string takeValue(std::string_view& rest) {
    if (rest.empty() || rest.front() != '=')
        return std::string();
    rest.remove_prefix(1);
    const std::string value = !rest.empty() && rest.front() == kQuote ? takeQuoted(rest) : takeUntil(rest, ", ");
    return std::string(trimSpaces(value));
}

bool needsQuotes(std::string_view text) {
    return text.find_first_of(" ,\"") != std::string_view::npos;
}

std::string quoted(std::string_view text) {
    std::string out(1, kQuote);
    for (char c : text) {
        out += c;
        if (c == kQuote)
            out += kQuote;
    }
    out += kQuote;
    return out;
}

std::string joinArgument(std::string_view argument) {
    if (argument.empty())
        return quoted(argument);
    const std::size_t equals = argument.find('=');
    const std::string_view key = argument.substr(0, equals);
    std::string out = needsQuotes(key) ? quoted(key) : std::string(key);
    if (equals != std::string_view::npos) {
        const std::string_view value = argument.substr(equals + 1);
        out += '=';
        out += needsQuotes(value) ? quoted(value) : std::string(value);
    }
    return out;
}

} // namespace

DictionaryPtr ParseCommandLine(const std::string& commandLine, bool preserveCase) {
    auto options = Dictionary::create();
    std::string_view rest = commandLine;
    for (;;) {
        rest = trimSpaces(rest);
        if (rest.empty())
            return options;
        std::string key = takeKey(rest);
        std::string value = takeValue(rest);
        if (!rest.empty() && (rest.front() == ',' || rest.front() == ' '))
            rest.remove_prefix(1);
        if (!preserveCase)
            key = toLowerAscii(key);
        options->set(key, std::move(value));
    }
}

std::string joinCommandLine(int argc, const char* const* argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            line += ' ';
        line += joinArgument(argv[i]);
    }
    return line;
}

} // namespace tabulon
