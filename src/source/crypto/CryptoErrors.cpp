#include "CryptoErrors.h"

#include "lib/Error.h"

namespace tabulon {

namespace {
const char* const ErrorSource = "Tabulon.Source.Encryption";
}

void throwWrongPassword() {
    throw Error(errc::AccessNotValidPassword, ErrorSource, "Not a valid password.");
}

void throwUnsupportedEncryption(const std::string& scheme) {
    throw Error(errc::General, ErrorSource,
                "The database is encrypted with " + scheme + ", which Tabulon cannot read.");
}

void throwDamagedEncryption(const std::string& detail) {
    throw Error(errc::AccessUnrecognizedFormat, ErrorSource, "The encryption header is damaged: " + detail + ".");
}

void throwCryptoFailure(const std::string& operation) {
    throw Error(errc::General, ErrorSource, "The cryptographic library failed: " + operation + ".");
}

} // namespace tabulon
