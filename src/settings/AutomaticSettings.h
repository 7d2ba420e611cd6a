#pragma once

#include "lib/Dictionary.h"

#include <string>

namespace tabulon {

// The automatic save before an interactive run: writes the settings built from the form to
// `path` (wizard.ini in the application data folder), creating its folder, and replacing the file.
// Unless `savePasswords`, both passwords are written empty; the keys keep their places and the
// object itself is not changed.
void SaveAutomaticSettings(const Dictionary& settings, bool savePasswords, const std::string& path);

} // namespace tabulon
