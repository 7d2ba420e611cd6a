#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tabulon {

// Decodes standard base64 (with "=" padding; white space around the text ignored). None when the
// text is not base64.
std::optional<std::vector<std::uint8_t>> decodeBase64(std::string_view text);

} // namespace tabulon
