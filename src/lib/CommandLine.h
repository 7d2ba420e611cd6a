#pragma once

#include "Dictionary.h"

#include <string>

namespace tabulon {

// The options of a command line, key to text value, in the order first met. Entries are separated
// by one space or comma; a key may start with "/" or "-" (one is dropped) and ends at "=", "," or a
// space; a value follows "=" and ends at "," or a space. Keys and values may be quoted, a doubled
// quote standing for one; both are trimmed of spaces. An option without "=" has the value "".
// A repeated key keeps its first place and its last value. Keys are lower-cased unless preserveCase.
DictionaryPtr ParseCommandLine(const std::string& commandLine, bool preserveCase);

// The arguments of main (argv[1] on) as one command line that ParseCommandLine reads back into the
// same options: a value holding a space, comma or quote is quoted, as a shell user types
// -settings="/my folder/a.ini"; so is a key that holds one.
std::string joinCommandLine(int argc, const char* const* argv);

} // namespace tabulon
