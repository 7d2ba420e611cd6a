#include "FileSystem.h"

#include <optional>
#include <vector>

namespace tabulon {

namespace fs = std::filesystem;

namespace {

constexpr char kSeparator = static_cast<char>(fs::path::preferred_separator);
constexpr bool kWindows = fs::path::preferred_separator == '\\';

bool isSeparator(char c) {
    return c == kSeparator || (kWindows && c == '/');
}

// The classic runtime's number for a failed file-system call.
long errorNumber(std::error_code code, long numberWhenMissing) {
    const std::error_condition condition = code.default_error_condition();
    if (condition == std::errc::no_such_file_or_directory)
        return numberWhenMissing;
    if (condition == std::errc::permission_denied || condition == std::errc::operation_not_permitted)
        return errc::PermissionDenied;
    if (condition == std::errc::no_space_on_device)
        return errc::DiskFull;
    if (condition == std::errc::io_error)
        return errc::DeviceIO;
    return errc::PathFileAccess;
}

std::string errorText(long number, std::error_code code) {
    switch (number) {
    case errc::FileNotFound:
        return "File not found";
    case errc::PathNotFound:
        return "Path not found";
    case errc::PermissionDenied:
        return "Permission denied";
    case errc::DiskFull:
        return "Disk full";
    case errc::DeviceIO:
        return "Device I/O error";
    default:
        return "Path/File access error (" + code.message() + ")";
    }
}

std::string withoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && isSeparator(path.back()))
        path.pop_back();
    return path;
}

bool isDriveDesignator(const std::string& part) {
    return kWindows && part.size() == 2 && part[1] == ':';
}

// The folders MkDirRecurse may create, one per part of the prepared path; none for the drive,
// the server and share of a network path, and empty parts. Every candidate ends in a separator.
std::vector<std::optional<std::string>> candidateFolders(const std::string& prepared) {
    const bool network = kWindows && prepared.size() >= 2 && isSeparator(prepared[0]) && isSeparator(prepared[1]);
    std::string prefix;
    if (network)
        prefix.assign(2, kSeparator);
    else if (!prepared.empty() && isSeparator(prepared[0]))
        prefix.assign(1, kSeparator); // an absolute path keeps its root
    std::vector<std::optional<std::string>> candidates;
    std::size_t start = 0;
    for (std::size_t index = 0; start <= prepared.size(); ++index) {
        std::size_t end = start;
        while (end < prepared.size() && !isSeparator(prepared[end]))
            ++end;
        const std::string part = prepared.substr(start, end - start);
        std::optional<std::string> candidate;
        if (!part.empty()) {
            prefix += part + kSeparator;
            const bool creatable = network ? index > 3 : !(index == 0 && isDriveDesignator(part));
            if (creatable)
                candidate = prefix;
        }
        candidates.push_back(std::move(candidate));
        start = end + 1;
    }
    return candidates;
}

void createFolder(const std::string& folder) {
    std::error_code code;
    fs::create_directory(toFsPath(folder), code);
    if (code) {
        const long number = errorNumber(code, errc::PathNotFound);
        throw Error(number, "Tabulon", errorText(number, code));
    }
}

} // namespace

fs::path toFsPath(const std::string& utf8Path) {
    return fs::path(std::u8string(utf8Path.begin(), utf8Path.end()));
}

std::string fromFsPath(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

Error fileSystemError(std::error_code code, const std::string& path, long numberWhenMissing) {
    const long number = errorNumber(code, numberWhenMissing);
    return Error(number, "Tabulon", errorText(number, code) + ": '" + path + "'");
}

bool FileExists(const std::string& path) {
    if (path.empty())
        return false;
    std::error_code code;
    const fs::file_status status = fs::status(toFsPath(path), code);
    return fs::exists(status) && !fs::is_directory(status);
}

bool FolderExists(const std::string& path, bool /*searchContents*/) {
    if (path.empty())
        return false;
    std::error_code code;
    return fs::is_directory(toFsPath(withoutTrailingSeparators(path)), code);
}

std::string GetFolderOfPath(const std::string& path) {
    for (std::size_t i = path.size(); i-- > 0;)
        if (isSeparator(path[i]))
            return path.substr(0, i + 1);
    return std::string();
}

void MkDirRecurse(const std::string& path) {
    std::string step = "Prepare path.";
    std::string prepared;
    try {
        prepared = path;
        if constexpr (kWindows)
            for (char& c : prepared)
                if (c == '/')
                    c = '\\';
        while (!prepared.empty() && isSeparator(prepared.back()))
            prepared.pop_back();
        step = "Create path array.";
        const auto candidates = candidateFolders(prepared);
        std::size_t next = 0; // the first part whose folder may be missing
        for (std::size_t i = candidates.size(); i-- > 0;) {
            if (!candidates[i])
                continue;
            step = "Check if '" + *candidates[i] + "' exists.";
            if (FolderExists(*candidates[i], true)) {
                next = i + 1;
                break;
            }
        }
        for (std::size_t i = next; i < candidates.size(); ++i) {
            if (!candidates[i])
                continue;
            step = "Create folder '" + *candidates[i] + "'.";
            createFolder(*candidates[i]);
        }
    } catch (const Error& e) {
        throw Error(e.number(), e.source(),
                    "Error in function call MkDirRecurse(\"" + prepared + "\"). " + step + " " +
                        std::to_string(e.number()) + ": " + e.description());
    }
}

} // namespace tabulon
