#pragma once

#include "lib/Dictionary.h"

#include <string>
#include <string_view>

namespace tabulon {

// An attribute value as ODBC requires it: unchanged, or in braces with every "}" doubled when it
// holds ";", "{" or "}", which would otherwise end the value or add attributes of its own.
std::string OdbcAttributeValue(std::string_view value);

// True when `destinationauthentication`, in lower case, is "windows"; any other value is a login.
bool UsesWindowsAuthentication(const Variant& authentication);

// The connection string for the driver registered as "SQL Server", from the settings section:
// "Driver={SQL Server};Server=<server>;Database=;Trusted_Connection=Yes;" or
// "...;Database=;Uid=<user>;Pwd=<password>;". With `maskPassword` a non-empty password reads
// "********", for the report and the log.
std::string DestinationConnectionString(const Dictionary& section, bool maskPassword = false);

} // namespace tabulon
