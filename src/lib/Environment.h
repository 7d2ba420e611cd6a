#pragma once

#include <string>

namespace tabulon {

// The value of an environment variable; "" when it is not set.
std::string environmentVariable(const std::string& name);

// The folder for temporary files: TEMP when set, else TMPDIR, else the platform's own
// (/tmp on Linux). Returned as the variable holds it; it need not exist.
std::string temporaryFolder();

} // namespace tabulon
