#pragma once

#include "lib/Dictionary.h"

#include <optional>
#include <string>

namespace tabulon {

// Reorders the entries of a dictionary in place by a sort value, ascending; ties keep no particular
// order. The sort value is the key when `selector` is absent, the entry's value when it is "", and
// otherwise the value followed through the nested dictionaries whose keys `selector` lists,
// separated by ".". Texts compare in upper case when `ignoreCase` is set; two numbers compare as
// numbers.
void SortDictionary(Dictionary& dictionary, const std::optional<std::string>& selector, bool ignoreCase);

// The same for a value that should hold a dictionary; raises 1000 "Unable to sort dictionary of
// type ..." for any other value.
void SortDictionary(const Variant& dictionary, const std::optional<std::string>& selector, bool ignoreCase);

} // namespace tabulon
