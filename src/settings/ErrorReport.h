#pragma once

#include <string>

namespace tabulon {

// The text of an error report, its lines joined by CR LF, without a line break at the end:
// the function, the number in decimal and hexadecimal, the reason, the debug information, the
// program version and the closing sentences; with `savedCopy`, one more says that file holds it.
std::string ComposeErrorReport(const std::string& function, long number, const std::string& description,
                               const std::string& debugInformation, const std::string& savedCopy = {});

} // namespace tabulon
