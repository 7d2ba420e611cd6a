#pragma once

#include "lib/Dictionary.h"

#include <string>

namespace tabulon {

// True when the settings hold a source or a destination password that is not empty.
bool HoldsPassword(const Dictionary& settings);

// Writes the settings to `path` as an INI file, replacing its content. A file that holds a password
// is the user's alone: created with owner-only rights, or an existing file's rights narrowed,
// before the password is written. Errors name the file.
void WriteSettingsFile(const Dictionary& settings, const std::string& path);

// The warning for the log when the settings read from `path` hold a password that other users can
// read; "" otherwise.
std::string ExposedPasswordWarning(const Dictionary& settings, const std::string& path);

} // namespace tabulon
