#include "ObjectNames.h"

#include <algorithm>
#include <cstdio>

namespace tabulon {

namespace {

// In UTF-8 every byte below 0x20 is a control character of its own, never part of a longer one.
bool isControl(char c) {
    return static_cast<unsigned char>(c) < 0x20;
}

} // namespace

bool holdsControlCharacter(std::string_view name) {
    return std::any_of(name.begin(), name.end(), isControl);
}

std::string nameForMessage(std::string_view name) {
    std::string shown;
    for (const char c : name) {
        if (!isControl(c)) {
            shown += c;
            continue;
        }
        char code[12];
        std::snprintf(code, sizeof code, "<U+%04X>", static_cast<unsigned>(static_cast<unsigned char>(c)));
        shown += code;
    }
    return shown;
}

} // namespace tabulon
