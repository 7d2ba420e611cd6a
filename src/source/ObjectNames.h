#pragma once

#include <string>
#include <string_view>

namespace tabulon {

// Access allows no control character (U+0000 to U+001F) in the name of a table or a field, so a
// name holding one was read from a damaged page.
bool holdsControlCharacter(std::string_view name);

// The name as a message can show it: each control character written as <U+00NN>.
std::string nameForMessage(std::string_view name);

} // namespace tabulon
