#pragma once

#include <string>

namespace tabulon {

// The three ways an encrypted database can fail to open; callers tell them apart by number.

// 3031 "Not a valid password.": the password verifier did not match. Names nothing secret.
[[noreturn]] void throwWrongPassword();

// 1000: a scheme or algorithm this reader does not implement, named in `scheme`.
[[noreturn]] void throwUnsupportedEncryption(const std::string& scheme);

// 3343: the encryption header contradicts itself or is cut short; `detail` says which field.
[[noreturn]] void throwDamagedEncryption(const std::string& detail);

// 1000: the crypto library itself failed (out of memory, missing algorithm).
[[noreturn]] void throwCryptoFailure(const std::string& operation);

} // namespace tabulon
