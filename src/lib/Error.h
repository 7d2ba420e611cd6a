#pragma once

#include <stdexcept>
#include <string>

namespace tabulon {

// Error numbers shared by every layer. The low numbers are the classic runtime's,
// the 3000s the Access engine's, the 1000s the program's own.
namespace errc {
constexpr long InvalidArgument = 5;
constexpr long Overflow = 6;
constexpr long SubscriptOutOfRange = 9;
constexpr long TypeMismatch = 13;
constexpr long FileNotFound = 53;
constexpr long DeviceIO = 57;
constexpr long DiskFull = 61;
constexpr long PermissionDenied = 70;
constexpr long PathFileAccess = 75;
constexpr long PathNotFound = 76;
constexpr long ComponentMissing = 429;
constexpr long General = 1000;
constexpr long BlobTooLarge = 1003;
constexpr long MissingOdbcDriver = 1004;
constexpr long AccessFileNotFound = 3024;
constexpr long AccessNotValidPassword = 3031;
constexpr long AccessCannotOpen = 3051;
constexpr long AccessUnrecognizedFormat = 3343;
} // namespace errc

// The one exception type of the system: a number, the routine that raised it and a description.
class Error : public std::runtime_error {
public:
    Error(long number, std::string source, std::string description);

    long number() const { return m_number; }
    const std::string& source() const { return m_source; }
    const std::string& description() const { return m_description; }

private:
    long m_number;
    std::string m_source;
    std::string m_description;
};

// Re-raises `inner` with the same number under a new source, its description prefixed by `context`.
[[noreturn]] void rethrowWithContext(const Error& inner, const std::string& source, const std::string& context);

// The number as the reports show it: upper-case hexadecimal, a negative number as its 32-bit two's complement.
std::string errorNumberHex(long number);

} // namespace tabulon
