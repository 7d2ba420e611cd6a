#include "EncryptionInfo.h"

#include "CryptoErrors.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace tabulon {

namespace {

constexpr std::uint32_t FlagCryptoApi = 0x04;
constexpr std::uint32_t FlagExternal = 0x10;
constexpr std::uint32_t FlagAes = 0x20;
constexpr std::uint32_t AlgorithmRc4 = 0x6801;
constexpr std::uint32_t HashSha1 = 0x8004;
constexpr std::size_t CryptoApiHeaderFields = 32; // the eight u32 before the provider name
constexpr std::size_t CryptoApiVerifierSize = 60; // salt size, salt, verifier, hash size, hash

std::uint16_t le16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::string hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

std::string versionText(std::uint16_t major, std::uint16_t minor) {
    return std::to_string(major) + "." + std::to_string(minor);
}

// Office's encryption versions so far run from 1.1 to 4.4; a newer scheme would go on from there,
// while numbers far beyond it come from damage.
bool plausibleVersion(std::uint16_t major, std::uint16_t minor) {
    return major >= 1 && major <= 15 && minor >= 1 && minor <= 15;
}

template <std::size_t N> std::array<std::uint8_t, N> copyArray(std::span<const std::uint8_t> b, std::size_t at) {
    std::array<std::uint8_t, N> out{};
    std::copy_n(b.begin() + static_cast<std::ptrdiff_t>(at), N, out.begin());
    return out;
}

void checkCryptoApiAlgorithms(std::span<const std::uint8_t> header, const std::string& version) {
    const std::uint32_t algorithm = le32(header, 8);
    const std::uint32_t hash = le32(header, 12);
    if (algorithm >= 0x660E && algorithm <= 0x6610)
        throwUnsupportedEncryption("Office standard encryption with AES in a non-compatible mode (version " + version +
                                   ")");
    if (algorithm != AlgorithmRc4 && algorithm != 0)
        throwUnsupportedEncryption("Office CryptoAPI encryption with algorithm " + hex(algorithm) + " (version " +
                                   version + ")");
    if (hash != HashSha1 && hash != 0)
        throwUnsupportedEncryption("Office CryptoAPI encryption with hash algorithm " + hex(hash) + " (version " +
                                   version + ")");
}

std::size_t cryptoApiKeyBits(std::span<const std::uint8_t> header) {
    const std::uint32_t keyBits = le32(header, 16);
    if (keyBits != 0 && (keyBits < 40 || keyBits > 128 || keyBits % 8 != 0))
        throwDamagedEncryption("RC4 key size of " + std::to_string(keyBits) + " bits");
    return keyBits;
}

CryptoApiEncryption parseCryptoApi(std::span<const std::uint8_t> info, const std::string& version) {
    if (info.size() < 12 + CryptoApiHeaderFields + CryptoApiVerifierSize)
        throwDamagedEncryption("the CryptoAPI header is cut short");
    const std::uint32_t headerSize = le32(info, 8);
    if (headerSize < CryptoApiHeaderFields || headerSize > info.size() - 12 - CryptoApiVerifierSize)
        throwDamagedEncryption("CryptoAPI header size " + std::to_string(headerSize) + " in " +
                               std::to_string(info.size()) + " bytes of encryption information");
    const auto header = info.subspan(12, headerSize);
    checkCryptoApiAlgorithms(header, version);
    CryptoApiEncryption result;
    result.keyBits = cryptoApiKeyBits(header);
    const auto verifier = info.subspan(12 + headerSize, CryptoApiVerifierSize);
    if (le32(verifier, 0) != 16)
        throwDamagedEncryption("salt size " + std::to_string(le32(verifier, 0)) + ", expected 16");
    if (le32(verifier, 36) != 20)
        throwDamagedEncryption("verifier hash size " + std::to_string(le32(verifier, 36)) + ", expected 20");
    result.salt = copyArray<16>(verifier, 4);
    result.encryptedVerifier = copyArray<16>(verifier, 20);
    result.encryptedVerifierHash = copyArray<20>(verifier, 40);
    return result;
}

EncryptionInfo parseVersion2(std::span<const std::uint8_t> info, const std::string& version) {
    if (info.size() < 8)
        throwDamagedEncryption("the encryption flags are cut short");
    const std::uint32_t flags = le32(info, 4);
    if (flags & FlagExternal)
        throwUnsupportedEncryption("Office extensible encryption (version " + version + ")");
    if (!(flags & FlagCryptoApi))
        throwDamagedEncryption("encryption flags " + hex(flags) + " for version " + version);
    if (flags & FlagAes)
        throwUnsupportedEncryption("Office standard encryption with AES (version " + version + ")");
    return parseCryptoApi(info, version);
}

} // namespace

EncryptionInfo parseEncryptionInfo(std::span<const std::uint8_t> page0, std::size_t pageSize) {
    if (pageSize <= EncryptionInfoOffset || page0.size() < pageSize)
        throwDamagedEncryption("page 0 is " + std::to_string(page0.size()) + " bytes, shorter than a page");
    const std::size_t length = le16(page0, EncryptionInfoLengthOffset);
    if (length < 4 || length > pageSize - EncryptionInfoOffset)
        throwDamagedEncryption("encryption information of " + std::to_string(length) + " bytes");
    const auto info = page0.subspan(EncryptionInfoOffset, length);
    const std::uint16_t major = le16(info, 0);
    const std::uint16_t minor = le16(info, 2);
    const std::string version = versionText(major, minor);
    if (major == 4 && minor == 4) {
        if (info.size() <= 8)
            throwDamagedEncryption("the agile descriptor is missing");
        return parseAgileDescriptor(info.subspan(8));
    }
    if (minor == 2 && major >= 2 && major <= 4)
        return parseVersion2(info, version);
    if (minor == 3 && (major == 3 || major == 4))
        throwUnsupportedEncryption("Office extensible encryption (version " + version + ")");
    if (major == 1 && minor == 1)
        throwUnsupportedEncryption("Office binary RC4 encryption (version 1.1)");
    if (!plausibleVersion(major, minor))
        throwDamagedEncryption("it names encryption version " + version + ", which no Office encryption has");
    throwUnsupportedEncryption("an unknown Office encryption scheme (version " + version + ")");
}

} // namespace tabulon
