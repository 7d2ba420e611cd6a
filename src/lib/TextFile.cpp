#include "TextFile.h"

#include "Unicode.h"

#include <cerrno>
#include <fstream>

namespace tabulon {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void raiseEmptyName(const char* routine) {
    throw Error(errc::General, "Tabulon",
                std::string("Function ") + routine + " does not accept an empty file name as parameter.");
}

bool startsWith(const Bytes& bytes, std::initializer_list<std::uint8_t> mark) {
    return bytes.size() >= mark.size() && std::equal(mark.begin(), mark.end(), bytes.begin());
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// Why an output file could not be opened: its folder missing, a folder in its place, or what the
// platform reported.
Error openForWritingError(const std::string& path, int savedErrno) {
    const fs::path target = toFsPath(path);
    std::error_code ignored;
    if (target.has_parent_path() && !fs::is_directory(target.parent_path(), ignored))
        return fileSystemError(std::make_error_code(std::errc::no_such_file_or_directory), path, errc::PathNotFound);
    if (fs::is_directory(target, ignored))
        return fileSystemError(std::make_error_code(std::errc::is_a_directory), path, errc::PathNotFound);
    const int reason = savedErrno != 0 ? savedErrno : EIO;
    return fileSystemError(std::error_code(reason, std::generic_category()), path, errc::PathNotFound);
}

void writeBytes(const std::string& path, const char* data, std::size_t size) {
    if (path.empty())
        raiseEmptyName("WriteBinaryFile");
    errno = 0;
    std::ofstream out(toFsPath(path), std::ios::binary | std::ios::trunc);
    if (!out)
        throw openForWritingError(path, errno);
    out.write(data, static_cast<std::streamsize>(size));
    out.close();
    if (!out) {
        const int reason = errno != 0 ? errno : EIO;
        throw fileSystemError(std::error_code(reason, std::generic_category()), path, errc::PathNotFound);
    }
}

} // namespace

Bytes ReadFile(const std::string& path) {
    if (path.empty())
        raiseEmptyName("ReadFile");
    const fs::path source = toFsPath(path);
    std::error_code code;
    const fs::file_status status = fs::status(source, code);
    if (!fs::exists(status))
        throw fileSystemError(std::make_error_code(std::errc::no_such_file_or_directory), path, errc::FileNotFound);
    if (fs::is_directory(status))
        throw fileSystemError(std::make_error_code(std::errc::is_a_directory), path, errc::FileNotFound);
    errno = 0;
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        const int reason = errno != 0 ? errno : EIO;
        throw fileSystemError(std::error_code(reason, std::generic_category()), path, errc::FileNotFound);
    }
    Bytes bytes;
    if (const auto size = fs::file_size(source, code); !code)
        bytes.reserve(static_cast<std::size_t>(size));
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        bytes.insert(bytes.end(), buffer, buffer + in.gcount());
    if (in.bad())
        throw fileSystemError(std::make_error_code(std::errc::io_error), path, errc::FileNotFound);
    return bytes;
}

std::string decodeText(const Bytes& bytes, std::string_view encoding) {
    std::size_t skip = 0;
    if (encoding.empty() && bytes.size() >= 2) {
        if (startsWith(bytes, {0xFF, 0xFE}))
            encoding = "unicode_le", skip = 2;
        else if (startsWith(bytes, {0xFE, 0xFF}))
            encoding = "unicode_be", skip = 2;
        else if (startsWith(bytes, {0xEF, 0xBB, 0xBF}))
            encoding = "utf-8", skip = 3;
    }
    const std::uint8_t* data = bytes.data() + skip;
    const std::size_t size = bytes.size() - skip;
    if (equalsIgnoreCase(encoding, "unicode_le") || equalsIgnoreCase(encoding, "unicode_be"))
        return utf16ToUtf8(data, size, equalsIgnoreCase(encoding, "unicode_be"));
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (equalsIgnoreCase(encoding, "utf-8"))
        return sanitizeUtf8(text);
    return isValidUtf8(text) ? std::string(text) : windows1252ToUtf8(text);
}

std::string ReadTextFile(const std::string& path, const std::string& encoding) {
    if (!FileExists(path))
        throw fileSystemError(std::make_error_code(std::errc::no_such_file_or_directory), path, errc::FileNotFound);
    return decodeText(ReadFile(path), encoding);
}

void WriteBinaryFile(const std::string& path, const Bytes& bytes) {
    writeBytes(path, reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void WriteTextFile(const std::string& path, std::string_view text) {
    writeBytes(path, text.data(), text.size());
}

} // namespace tabulon
