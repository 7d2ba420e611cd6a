#include "FormatPattern.h"

#include <cctype>

namespace tabulon::accesssql {

namespace {

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::size_t runLength(std::string_view s, std::size_t i) {
    std::size_t n = 1;
    while (i + n < s.size() && lower(s[i + n]) == lower(s[i]))
        ++n;
    return n;
}

// Whether the "m" run at `i` stands for minutes: right after an hour or right before seconds.
bool isMinute(std::string_view s, std::size_t i, std::size_t n, char lastToken) {
    if (lastToken == 'h')
        return true;
    std::size_t j = i + n;
    while (j < s.size() && !std::isalpha(static_cast<unsigned char>(s[j])))
        ++j;
    return j < s.size() && lower(s[j]) == 's';
}

std::optional<std::string> dateFormat(std::string_view s) {
    std::string out;
    char lastToken = 0;
    for (std::size_t i = 0; i < s.size();) {
        const char c = lower(s[i]);
        const std::size_t n = runLength(s, i);
        if (s.substr(i, 5) == "AM/PM" || s.substr(i, 5) == "am/pm") {
            out += "tt";
            i += 5;
            continue;
        }
        if (c == 'y' && (n == 2 || n == 4))
            out += std::string(n, 'y');
        else if (c == 'm' && n <= 4)
            out += isMinute(s, i, n, lastToken) && n <= 2 ? std::string(n, 'm') : std::string(n, 'M');
        else if (c == 'd' && n <= 4)
            out += std::string(n, 'd');
        else if (c == 'h' && n <= 2)
            out += std::string(n, 'H');
        else if (c == 'n' && n <= 2)
            out += std::string(n, 'm');
        else if (c == 's' && n <= 2)
            out += std::string(n, 's');
        else if (std::isalpha(static_cast<unsigned char>(c)))
            return std::nullopt; // q, w, ww, y (day of year), named formats
        else if (c == '-' || c == ' ' || c == '/' || c == ':' || c == '.' || c == ',')
            out += std::string(n, s[i]);
        else
            return std::nullopt;
        if (std::isalpha(static_cast<unsigned char>(c)))
            lastToken = c == 'n' ? 'm' : c;
        i += n;
    }
    return out;
}

} // namespace

std::optional<std::string> dotNetFormat(std::string_view access) {
    if (access.empty())
        return std::nullopt;
    bool number = true;
    for (char c : access)
        if (std::string_view("0#,.%").find(c) == std::string_view::npos)
            number = false;
    if (number)
        return std::string(access);
    return dateFormat(access);
}

} // namespace tabulon::accesssql
