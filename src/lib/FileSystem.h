#pragma once

#include "Error.h"

#include <filesystem>
#include <string>
#include <system_error>

namespace tabulon {

// Paths are UTF-8 texts inside the system; these turn them into the platform's path type and back.
std::filesystem::path toFsPath(const std::string& utf8Path);
std::string fromFsPath(const std::filesystem::path& path);

// The numbered error for a failed file-system call on `path`; the description names the path.
// A missing file or folder gets `numberWhenMissing` (53 file not found, 76 path not found).
Error fileSystemError(std::error_code code, const std::string& path, long numberWhenMissing);

// True when the path names an existing file (anything but a folder). Wildcards are not expanded.
bool FileExists(const std::string& path);

// True when the path, without its trailing separators, names an existing folder. The flag exists
// for drive roots on Windows ("C:"), which std::filesystem finds without it; it changes nothing.
bool FolderExists(const std::string& path, bool searchContents = false);

// The text up to and including the last path separator; "" when there is none.
std::string GetFolderOfPath(const std::string& path);

// Creates the folder and every missing parent. Raises the failing call's error number with the
// description "Error in function call MkDirRecurse("<path>"). <step> <number>: <description>",
// where <path> has native separators and no trailing separator.
void MkDirRecurse(const std::string& path);

} // namespace tabulon
