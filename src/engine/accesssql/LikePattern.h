#pragma once

#include <string>
#include <string_view>

namespace tabulon::accesssql {

// An Access Like pattern as a T-SQL LIKE pattern: * -> %, ? -> _, # -> [0-9], [!...] -> [^...];
// a literal % or _ is escaped as [%] or [_], and a class that starts with a literal ^ keeps it
// literal. Raises 3075 naming the pattern for a "[" that is never closed.
std::string likePattern(std::string_view access);

// T-SQL that rewrites the pattern text of `valueSql` at run time by the same rules (character
// classes arriving at run time are matched literally).
std::string runtimeLikePattern(const std::string& valueSql);

} // namespace tabulon::accesssql
