#include "DestinationConnectionString.h"

#include "lib/Convert.h"

namespace tabulon {

std::string OdbcAttributeValue(std::string_view value) {
    if (value.find_first_of(";{}") == std::string_view::npos)
        return std::string(value);
    std::string quoted = "{";
    for (char c : value) {
        quoted += c;
        if (c == '}')
            quoted += '}';
    }
    return quoted + "}";
}

bool UsesWindowsAuthentication(const Variant& authentication) {
    return toLowerAscii(toText(authentication)) == "windows";
}

std::string DestinationConnectionString(const Dictionary& section, bool maskPassword) {
    std::string text =
        "Driver={SQL Server};Server=" + OdbcAttributeValue(toText(section.get("destinationserver"))) + ";Database=;";
    if (UsesWindowsAuthentication(section.get("destinationauthentication")))
        return text + "Trusted_Connection=Yes;";
    const std::string password = toText(section.get("destinationpassword"));
    const std::string shownPassword = maskPassword && !password.empty() ? "********" : OdbcAttributeValue(password);
    return text + "Uid=" + OdbcAttributeValue(toText(section.get("destinationusername"))) + ";Pwd=" + shownPassword +
           ";";
}

} // namespace tabulon
