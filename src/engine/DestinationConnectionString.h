#pragma once

#include <string>
#include <string_view>

namespace tabulon {

// The SQL Server login of a direct transfer, as the settings give it.
struct DestinationLogin {
    std::string server;
    bool windowsAuthentication = false; // `destinationauthentication` is "windows" in any letter case
    std::string userName;
    std::string password;
};

// An attribute value as ODBC requires it: unchanged, or in braces with every "}" doubled when it
// holds ";", "{" or "}", which would otherwise end the value or add attributes of its own.
std::string OdbcAttributeValue(std::string_view value);

// The connection string for the driver registered as "SQL Server":
// "Driver={SQL Server};Server=<server>;Database=;Trusted_Connection=Yes;" or
// "...;Database=;Uid=<user>;Pwd=<password>;". With `maskPassword` a non-empty password reads
// "********", for the report and the log.
std::string DestinationConnectionString(const DestinationLogin& login, bool maskPassword = false);

} // namespace tabulon
