#include "AccessDates.h"

#include "Lexer.h"
#include "lib/DateTime.h"

#include <array>
#include <cctype>
#include <vector>

namespace tabulon::accesssql {

namespace {

struct Parts {
    int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
};

// The text split into runs of digits and of letters; separators are dropped but remembered.
struct Piece {
    std::string text{};
    bool number = false;
    char separatorBefore = ' ';
};

std::vector<Piece> split(std::string_view text) {
    std::vector<Piece> pieces;
    char separator = ' ';
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (std::isalnum(c)) {
            Piece p{.number = std::isdigit(c) != 0, .separatorBefore = separator};
            while (i < text.size() && std::isalnum(static_cast<unsigned char>(text[i])) &&
                   (std::isdigit(static_cast<unsigned char>(text[i])) != 0) == p.number)
                p.text += text[i++];
            pieces.push_back(std::move(p));
            separator = ' ';
        } else {
            if (c != ' ' && c != ',')
                separator = static_cast<char>(c);
            ++i;
        }
    }
    return pieces;
}

int monthNumber(const std::string& name) {
    static const std::array<const char*, 12> names = {"jan", "feb", "mar", "apr", "may", "jun",
                                                      "jul", "aug", "sep", "oct", "nov", "dec"};
    if (name.size() < 3)
        return 0;
    for (std::size_t m = 0; m < names.size(); ++m) {
        Token t{TokenKind::Word, name.substr(0, 3)};
        if (t.isWord(names[m]))
            return static_cast<int>(m) + 1;
    }
    return 0;
}

int twoDigitYear(const Piece& p, int value) {
    if (p.text.size() > 2)
        return value;
    return value < 30 ? 2000 + value : 1900 + value;
}

bool daysValid(const Parts& d) {
    static const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > days[d.month - 1] || d.year < 100 || d.year > 9999)
        return false;
    const bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
    return d.month != 2 || d.day <= 28 || leap;
}

// Reads the date pieces at the front; returns how many were used, 0 when there is no date.
std::size_t readDate(const std::vector<Piece>& p, Parts& d) {
    if (p.size() < 3 || p[1].separatorBefore == ':')
        return 0;
    auto num = [&](std::size_t i) { return p[i].number ? std::stoi(p[i].text.substr(0, 5)) : -1; };
    if (p[0].number && p[0].text.size() == 4) { // yyyy-mm-dd, yyyy/mm/dd
        d = {num(0), num(1), num(2)};
    } else if (p[0].number && p[1].number) { // m/d/yyyy: Access reads query literals the US way
        d = {twoDigitYear(p[2], num(2)), num(0), num(1)};
    } else if (p[0].number) { // d mmm yyyy
        d = {twoDigitYear(p[2], num(2)), monthNumber(p[1].text), num(0)};
    } else { // mmm d, yyyy
        d = {twoDigitYear(p[2], num(2)), monthNumber(p[0].text), num(1)};
    }
    return p[2].number && daysValid(d) ? 3 : 0;
}

bool readTime(const std::vector<Piece>& p, std::size_t at, Parts& d) {
    if (at == p.size())
        return true;
    std::size_t i = at;
    int values[3] = {0, 0, 0};
    int count = 0;
    while (i < p.size() && p[i].number && count < 3 && (count == 0 || p[i].separatorBefore == ':'))
        values[count++] = std::stoi(p[i++].text.substr(0, 5));
    if (count < 2 && !(count == 1 && i < p.size()))
        return false;
    d.hour = values[0], d.minute = values[1], d.second = values[2];
    if (i < p.size()) {
        Token marker{TokenKind::Word, p[i].text};
        if (marker.isWord("PM") && d.hour < 12)
            d.hour += 12;
        else if (marker.isWord("AM") && d.hour == 12)
            d.hour = 0;
        else if (!marker.isWord("AM") && !marker.isWord("PM"))
            return false;
        ++i;
    }
    return i == p.size() && d.hour < 24 && d.minute < 60 && d.second < 60;
}

} // namespace

std::optional<std::string> accessDateToIso(std::string_view text) {
    const std::vector<Piece> pieces = split(text);
    Parts d;
    const std::size_t used = readDate(pieces, d);
    if (pieces.empty() || !readTime(pieces, used, d))
        return std::nullopt;
    return DateTime::Parts{d.year, d.month, d.day, d.hour, d.minute, d.second}.isoText('T');
}

std::string isoDateLiteral(const std::string& iso) {
    const bool inDateTimeRange = iso.compare(0, 4, "1753") >= 0;
    return "CAST('" + iso + (inDateTimeRange ? "' AS DATETIME)" : "' AS DATETIME2(0))");
}

} // namespace tabulon::accesssql
