#include "PageZero.h"

#include "ByteOrder.h"
#include "TextCodec.h"
#include "lib/Error.h"
#include "source/Rc4.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <vector>

namespace tabulon {

namespace {

const char* const kSource = "Tabulon.Source.PageZero";

constexpr std::size_t kMaskStart = 0x18;
constexpr std::size_t kCodePageOffset = 0x3C;
constexpr std::size_t kKeyOffset = 0x3E;
constexpr std::size_t kPasswordOffset = 0x42;
constexpr std::size_t kCreationDateOffset = 0x72;
constexpr std::size_t kEncryptionLengthOffset = 0x299;
constexpr int kNewestVersion = 6;
constexpr std::uint32_t kFewestPages = 3;

// Page 0 starts with its page type and the engine's signature, the same in every Access file.
constexpr std::uint8_t kJetStart[] = {0,   1,   0,   0,   'S', 't', 'a', 'n', 'd', 'a',
                                      'r', 'd', ' ', 'J', 'e', 't', ' ', 'D', 'B', 0};
constexpr std::uint8_t kAceStart[] = {0,   1,   0,   0,   'S', 't', 'a', 'n', 'd', 'a',
                                      'r', 'd', ' ', 'A', 'C', 'E', ' ', 'D', 'B', 0};
constexpr std::size_t kVersionOffset = 0x14;

std::size_t differingBytes(const std::uint8_t* raw, const std::uint8_t (&start)[sizeof kJetStart]) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < sizeof kJetStart; ++i)
        count += raw[i] != start[i];
    return count;
}

// A start that differs from the signature in a few bytes is an Access file with a damaged header
// page; anything further off is some other kind of file.
std::string signatureDamage(const std::uint8_t* raw) {
    const std::size_t differing = std::min(differingBytes(raw, kJetStart), differingBytes(raw, kAceStart));
    if (differing > 4)
        return "It is not an Access database.";
    return "The file looks damaged: the signature at the start of its header page (page 0) differs from an "
           "Access database's in " +
           std::to_string(differing) + (differing == 1 ? " byte." : " bytes.");
}

[[noreturn]] void unrecognized(const std::string& file, const std::string& detail) {
    std::string text = "Unrecognized database format '" + file + "'.";
    if (!detail.empty())
        text += " " + detail;
    throw Error(errc::AccessUnrecognizedFormat, kSource, text);
}

void unmask(std::uint8_t* page, int version) {
    static const std::uint8_t key[] = {0xC7, 0xDA, 0x39, 0x6B};
    Rc4 rc4(key, sizeof key);
    rc4.apply(page + kMaskStart, version == 0 ? 126 : 128);
}

std::u16string storedPassword(const std::uint8_t* page, const DatabaseHeader& header) {
    std::u16string password;
    if (header.isAce())
        return password; // the field holds key bytes in ACE files, never a password
    if (header.isJet3()) {
        for (std::size_t i = 0; i < 20 && page[kPasswordOffset + i] != 0; ++i)
            password.push_back(page[kPasswordOffset + i]);
        return password;
    }
    // Jet4: 20 UTF-16 units XORed with the truncated creation date, repeated every four bytes.
    const double date = header.creationDate;
    const bool dateUsable = date > -2147483648.0 && date < 2147483648.0;
    const std::uint32_t mask = dateUsable ? static_cast<std::uint32_t>(static_cast<std::int32_t>(date)) : 0;
    for (std::size_t unit = 0; unit < 20; ++unit) {
        std::uint8_t bytes[2];
        for (std::size_t b = 0; b < 2; ++b) {
            const std::size_t i = unit * 2 + b;
            bytes[b] = static_cast<std::uint8_t>(page[kPasswordOffset + i] ^ (mask >> (8 * (i % 4))));
        }
        const char16_t c = static_cast<char16_t>(bytes[0] | (bytes[1] << 8));
        if (c == 0)
            break;
        password.push_back(c);
    }
    return password;
}

} // namespace

DatabaseHeader parseDatabaseHeader(const std::uint8_t* raw, std::size_t size, const std::string& fileName) {
    if (size < 2048)
        unrecognized(fileName, "The file is too short to be an Access database.");
    const bool jet = std::memcmp(raw, kJetStart, sizeof kJetStart) == 0;
    const bool ace = std::memcmp(raw, kAceStart, sizeof kAceStart) == 0;
    if (!(jet || ace))
        unrecognized(fileName, signatureDamage(raw));
    DatabaseHeader header;
    header.fileName = fileName;
    header.version = raw[kVersionOffset];
    if ((jet && header.version >= 2) || (ace && header.version < 2))
        unrecognized(fileName, "The file looks damaged: its header page names engine version " +
                                   std::to_string(header.version) + ", which does not belong to its signature.");
    if (header.version > kNewestVersion)
        unrecognized(fileName, "The file names an unknown engine version " + std::to_string(header.version) +
                                   ": it was written by a newer Access, or it is damaged.");
    header.pageSize = header.version == 0 ? 2048 : 4096;
    if (size < header.pageSize)
        unrecognized(fileName, "The file is too short to be an Access database.");

    std::vector<std::uint8_t> page(raw, raw + header.pageSize);
    unmask(page.data(), header.version);
    header.codePage = jet::le16(&page[kCodePageOffset]);
    header.databaseKey = jet::le32(&page[kKeyOffset]);
    if (!header.isJet3())
        header.creationDate = jet::leDouble(&page[kCreationDateOffset]);
    header.password = storedPassword(page.data(), header);
    if (header.isAce())
        header.encryptionInfoLength = jet::le16(&page[kEncryptionLengthOffset]);
    return header;
}

DatabaseHeader readDatabaseHeader(const std::string& fileName) {
    struct stat status {};
    if (fileName.empty() || ::stat(fileName.c_str(), &status) != 0) {
        if (!fileName.empty() && errno == EACCES)
            throw Error(errc::AccessCannotOpen, kSource, "Cannot open the file '" + fileName + "': permission denied.");
        throw Error(errc::AccessFileNotFound, kSource, "Could not find file '" + fileName + "'.");
    }
    if (S_ISDIR(status.st_mode))
        throw Error(errc::AccessCannotOpen, kSource, "Cannot open '" + fileName + "': it is a folder, not a file.");
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        throw Error(errc::AccessCannotOpen, kSource,
                    "Cannot open the file '" + fileName + "': " + std::strerror(errno) + ".");
    std::array<std::uint8_t, 4096> first{};
    in.read(reinterpret_cast<char*>(first.data()), first.size());
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got == 0)
        unrecognized(fileName, "The file is empty.");
    DatabaseHeader header = parseDatabaseHeader(first.data(), got, fileName);
    header.fileSize = static_cast<std::uint64_t>(status.st_size);
    if (header.fileSize % header.pageSize != 0)
        unrecognized(fileName, "The file is damaged or truncated: its size, " + std::to_string(header.fileSize) +
                                   " bytes, is not a whole number of " + std::to_string(header.pageSize) +
                                   "-byte pages.");
    if (header.pageCount() < kFewestPages)
        unrecognized(fileName, "The file is damaged or truncated: it holds only " + std::to_string(header.pageCount()) +
                                   (header.pageCount() == 1 ? " page" : " pages") + " of " +
                                   std::to_string(header.pageSize) +
                                   " bytes, but the catalog of every Access database lies on page 2.");
    return header;
}

void verifyDatabasePassword(const DatabaseHeader& header, const std::string& password) {
    if (header.password.empty())
        return;
    std::u16string typed;
    if (header.isJet3())
        typed = encodeCodePage(password, header.codePage);
    else
        typed = utf8ToUtf16(password);
    if (typed == header.password)
        return;
    // No password typed into Access holds control characters; a stored one that does is a damaged
    // header, which no password would open.
    const auto control = [](char16_t c) { return c < 0x20; };
    if (std::any_of(header.password.begin(), header.password.end(), control))
        unrecognized(header.fileName, "The file looks damaged: the password field of its header page (page 0) "
                                      "holds control characters.");
    throw Error(errc::AccessNotValidPassword, kSource, "Not a valid password.");
}

} // namespace tabulon
