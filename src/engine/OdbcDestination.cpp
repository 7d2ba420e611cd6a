#include "OdbcDestination.h"

namespace tabulon {

OdbcDestination::OdbcDestination(DestinationLogin login) : m_login(std::move(login)) {}

OdbcDestination::OdbcDestination(std::unique_ptr<OdbcConnection> connection) : m_connection(std::move(connection)) {}

std::string OdbcDestination::summary() const {
    return std::string("Moving data directly to ") + "MSSQL" + " server";
}

std::string OdbcDestination::openingPhase() const {
    return "Open connection to destination database";
}

void OdbcDestination::open() {
    if (!m_connection)
        m_connection = OdbcConnection::open(DestinationConnectionString(m_login));
}

Destination::OpenFailure OdbcDestination::openFailure() const {
    // The password never reaches the report or the log.
    return {RunResult::DestinationFailed,
            "Error connecting to destination database",
            {"Error connecting to destination database.", "Connection: " + DestinationConnectionString(m_login, true)}};
}

void OdbcDestination::execute(std::string_view statement) {
    m_connection->execute(statement);
}

long long OdbcDestination::queryNumber(std::string_view query) {
    return m_connection->queryNumber(query);
}

} // namespace tabulon
