#include "OwnerOnlyFile.h"

#include "lib/FileSystem.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tabulon {

namespace fs = std::filesystem;

#ifdef _WIN32

void RestrictToOwner(const std::string&) {}

bool ReadableByOthers(const std::string&) {
    return false;
}

#else

namespace {
[[noreturn]] void raise(int error, const std::string& path) {
    throw fileSystemError(std::error_code(error, std::generic_category()), path, errc::PathNotFound);
}
} // namespace

void RestrictToOwner(const std::string& path) {
    // Created with the owner's rights only, so no other user can open it even while it is empty;
    // fchmod also narrows an existing file, which open leaves as it was.
    const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (file < 0)
        raise(errno, path);
    const int changed = ::fchmod(file, S_IRUSR | S_IWUSR);
    const int error = errno;
    ::close(file);
    if (changed != 0)
        raise(error, path);
}

bool ReadableByOthers(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(toFsPath(path), error);
    if (error || !fs::is_regular_file(status))
        return false;
    return (status.permissions() & (fs::perms::group_read | fs::perms::others_read)) != fs::perms::none;
}

#endif

} // namespace tabulon
