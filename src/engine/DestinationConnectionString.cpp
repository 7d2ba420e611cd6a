#include "DestinationConnectionString.h"

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

std::string DestinationConnectionString(const DestinationLogin& login, bool maskPassword) {
    std::string text = "Driver={SQL Server};Server=" + OdbcAttributeValue(login.server) + ";Database=;";
    if (login.windowsAuthentication)
        return text + "Trusted_Connection=Yes;";
    const std::string shownPassword =
        maskPassword && !login.password.empty() ? "********" : OdbcAttributeValue(login.password);
    return text + "Uid=" + OdbcAttributeValue(login.userName) + ";Pwd=" + shownPassword + ";";
}

} // namespace tabulon
