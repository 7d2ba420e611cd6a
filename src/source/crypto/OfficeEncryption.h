#pragma once

#include "PageCipher.h"
#include "SecretBytes.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace tabulon {

// The longest password Office accepts, in UTF-16 code units; longer input is cut, as Office cuts it.
constexpr std::size_t MaxOfficePasswordUnits = 255;

// The password as Office hashes it: UTF-16LE code units (surrogate pairs beyond the Basic Multilingual
// Plane), no byte-order mark, no terminator. Bytes that are not UTF-8 become U+FFFD.
SecretBytes officePasswordBytes(std::string_view utf8);

// Checks `password` against the encryption information on page 0 of an encrypted .accdb and returns
// the cipher of its pages. `databaseKey` is the unmasked u32 at 0x3E of page 0 (never 0 here).
// Raises 3031 "Not a valid password." when the password does not verify (the empty one included),
// 1000 naming the scheme when it is not supported, 3343 when the header is damaged.
std::unique_ptr<PageCipher> unlockEncryptedDatabase(std::span<const std::uint8_t> page0, std::size_t pageSize,
                                                    std::uint32_t databaseKey, std::string_view password);

} // namespace tabulon
