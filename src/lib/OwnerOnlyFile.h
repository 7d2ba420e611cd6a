#pragma once

#include <string>

namespace tabulon {

// Files that may hold a password are the user's alone: the owner may read and write them, the group
// and others nothing. On Windows a file takes the rights of its folder, which in the user's profile
// are the user's alone already; there these checks and changes do nothing.

// Creates the file, empty, with owner-only rights when it does not exist; takes every right of the
// group and others from an existing one, whose content stays. Call it before writing a secret, so
// the file is never readable by others while it holds one. Raises an Error naming the path when the
// file cannot be created or its rights cannot be changed.
void RestrictToOwner(const std::string& path);

// True when the file exists and its group or others may read it.
bool ReadableByOthers(const std::string& path);

} // namespace tabulon
