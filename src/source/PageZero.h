#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tabulon {

// Error numbers of the Access engine that only the source layer raises.
namespace errc {
constexpr long AccessWorkgroupMissing = 3028;
} // namespace errc

// What page 0 of an Access file says about the file, read straight from the file before libmdb sees it.
struct DatabaseHeader {
    std::string fileName;
    int version = 0; // 0 Jet3, 1 Jet4, 2..6 ACE
    std::size_t pageSize = 0;
    std::uint64_t fileSize = 0;
    std::uint16_t codePage = 0;
    std::uint32_t databaseKey = 0; // 0: pages are plain
    double creationDate = 0;
    // The stored Jet3/Jet4 database password as UTF-16 code units (Jet3: the code-page bytes, one per unit);
    // empty when the database has none. ACE files keep no password here.
    std::u16string password;
    std::uint16_t encryptionInfoLength = 0; // ACE: length of the Office encryption information

    bool isJet3() const { return version == 0; }
    bool isAce() const { return version >= 2; }
    // An ACE file whose pages are encrypted with a password ("Encrypt with Password").
    bool isEncryptedAce() const { return isAce() && databaseKey != 0; }
    std::uint32_t pageCount() const { return static_cast<std::uint32_t>(fileSize / pageSize); }
};

// Parses an unmasked copy of page 0 (at least 2048 bytes). Raises 3343 naming `fileName` when it is not an
// Access database page.
DatabaseHeader parseDatabaseHeader(const std::uint8_t* page, std::size_t size, const std::string& fileName);

// Reads and checks the header of `fileName`. Raises 3024 when the file does not exist, 3051 when it cannot
// be read, 3343 when it is not an Access database or is damaged (size not a whole number of pages, too short).
DatabaseHeader readDatabaseHeader(const std::string& fileName);

// Compares the password the user typed with the stored Jet3/Jet4 database password, exactly (letter case
// counts); raises 3031 "Not a valid password." on a mismatch. A database without a password accepts any text.
void verifyDatabasePassword(const DatabaseHeader& header, const std::string& password);

} // namespace tabulon
