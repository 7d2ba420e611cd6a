#include "EncryptionInfo.h"

#include "Base64.h"
#include "CryptoErrors.h"

#include <pugixml.hpp>

#include <charconv>
#include <cstring>
#include <string>

namespace tabulon {

namespace {

const char* const PasswordEncryptorUri = "http://schemas.microsoft.com/office/2006/keyEncryptor/password";
// The largest spin count the Office schema allows; more would only make a hostile file hang the reader.
constexpr std::uint32_t MaxSpinCount = 10'000'000;

// Element names carry a namespace prefix ("p:encryptedKey") that is only a declaration.
std::string_view localName(const pugi::xml_node& node) {
    std::string_view name = node.name();
    const auto colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node child(const pugi::xml_node& parent, std::string_view name) {
    for (pugi::xml_node node : parent.children())
        if (node.type() == pugi::node_element && localName(node) == name)
            return node;
    return {};
}

std::string_view text(const pugi::xml_node& element, const char* attribute) {
    const pugi::xml_attribute found = element.attribute(attribute);
    if (!found)
        throwDamagedEncryption(std::string("attribute ") + attribute + " of " + std::string(localName(element)) +
                               " is missing");
    return found.value();
}

std::uint32_t number(const pugi::xml_node& element, const char* attribute) {
    const std::string_view value = text(element, attribute);
    std::uint32_t result = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), result);
    if (error != std::errc() || end != value.data() + value.size() || value.empty())
        throwDamagedEncryption(std::string("attribute ") + attribute + " is not a number");
    return result;
}

std::vector<std::uint8_t> bytes(const pugi::xml_node& element, const char* attribute) {
    auto decoded = decodeBase64(text(element, attribute));
    if (!decoded)
        throwDamagedEncryption(std::string("attribute ") + attribute + " is not base64");
    return std::move(*decoded);
}

HashAlgorithm hash(const pugi::xml_node& element) {
    const std::string_view name = text(element, "hashAlgorithm");
    const auto algorithm = hashAlgorithmNamed(name);
    if (!algorithm)
        throwUnsupportedEncryption("Office agile encryption with hash algorithm " + std::string(name));
    return *algorithm;
}

// The cipher must be AES-CBC with 16-byte blocks and a key of 128, 192 or 256 bits.
void checkCipher(const pugi::xml_node& element, std::size_t blockSize, std::size_t keyBits) {
    const std::string_view cipher = text(element, "cipherAlgorithm");
    const std::string_view chaining = text(element, "cipherChaining");
    if (cipher != "AES" || chaining != "ChainingModeCBC")
        throwUnsupportedEncryption("Office agile encryption with " + std::string(cipher) + " in " +
                                   std::string(chaining));
    if (blockSize != 16)
        throwDamagedEncryption("AES block size " + std::to_string(blockSize));
    if (keyBits != 128 && keyBits != 192 && keyBits != 256)
        throwDamagedEncryption("AES key of " + std::to_string(keyBits) + " bits");
}

std::vector<std::uint8_t> salt(const pugi::xml_node& element) {
    auto value = bytes(element, "saltValue");
    const std::uint32_t size = number(element, "saltSize");
    if (value.size() != size || size == 0)
        throwDamagedEncryption("salt of " + std::to_string(value.size()) + " bytes where saltSize says " +
                               std::to_string(size));
    return value;
}

// An encrypted field must be whole AES blocks and hold at least `needed` bytes once decrypted.
std::vector<std::uint8_t> encryptedField(const pugi::xml_node& element, const char* attribute, std::size_t needed) {
    auto value = bytes(element, attribute);
    if (value.empty() || value.size() % 16 != 0 || value.size() < needed)
        throwDamagedEncryption(std::string(attribute) + " of " + std::to_string(value.size()) + " bytes");
    return value;
}

AgileKeyData keyData(const pugi::xml_node& element) {
    if (!element)
        throwDamagedEncryption("the keyData element is missing");
    AgileKeyData result;
    result.blockSize = number(element, "blockSize");
    result.keyBits = number(element, "keyBits");
    checkCipher(element, result.blockSize, result.keyBits);
    result.hash = hash(element);
    result.salt = salt(element);
    return result;
}

pugi::xml_node passwordEncryptor(const pugi::xml_node& encryption) {
    const pugi::xml_node encryptors = child(encryption, "keyEncryptors");
    for (pugi::xml_node node : encryptors.children())
        if (node.type() == pugi::node_element && localName(node) == "keyEncryptor" &&
            std::strcmp(node.attribute("uri").value(), PasswordEncryptorUri) == 0)
            return child(node, "encryptedKey");
    throwUnsupportedEncryption("Office agile encryption without a password key (a certificate is needed)");
}

AgilePasswordKey passwordKey(const pugi::xml_node& element, std::size_t dataKeyBytes) {
    if (!element)
        throwDamagedEncryption("the encryptedKey element is missing");
    AgilePasswordKey result;
    result.blockSize = number(element, "blockSize");
    result.keyBits = number(element, "keyBits");
    checkCipher(element, result.blockSize, result.keyBits);
    result.hash = hash(element);
    result.hashSize = number(element, "hashSize");
    if (result.hashSize != digestSize(result.hash))
        throwDamagedEncryption("hashSize " + std::to_string(result.hashSize) + " for " +
                               std::string(text(element, "hashAlgorithm")));
    result.spinCount = number(element, "spinCount");
    if (result.spinCount > MaxSpinCount)
        throwDamagedEncryption("spinCount " + std::to_string(result.spinCount) + " above the limit of 10000000");
    result.salt = salt(element);
    result.encryptedVerifierHashInput = encryptedField(element, "encryptedVerifierHashInput", result.salt.size());
    result.encryptedVerifierHashValue = encryptedField(element, "encryptedVerifierHashValue", result.hashSize);
    result.encryptedKeyValue = encryptedField(element, "encryptedKeyValue", dataKeyBytes);
    return result;
}

} // namespace

AgileEncryption parseAgileDescriptor(std::span<const std::uint8_t> xml) {
    pugi::xml_document document;
    const pugi::xml_parse_result parsed =
        document.load_buffer(xml.data(), xml.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed)
        throwDamagedEncryption(std::string("the agile descriptor is not XML: ") + parsed.description());
    const pugi::xml_node encryption = document.document_element();
    if (localName(encryption) != "encryption")
        throwDamagedEncryption("the agile descriptor has no encryption element");
    AgileEncryption result;
    result.keyData = keyData(child(encryption, "keyData"));
    result.passwordKey = passwordKey(passwordEncryptor(encryption), result.keyData.keyBits / 8);
    return result;
}

} // namespace tabulon
