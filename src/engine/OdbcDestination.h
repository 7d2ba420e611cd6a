#pragma once

#include "Destination.h"
#include "DestinationConnectionString.h"
#include "OdbcConnection.h"

#include <memory>

namespace tabulon {

// A direct transfer: each statement is executed on SQL Server as it is sent, in the server's
// autocommit mode. The layout of a script (batches, comments) has no meaning here.
class OdbcDestination : public Destination {
public:
    // Connects with the driver registered as "SQL Server" when opened.
    explicit OdbcDestination(DestinationLogin login);
    // An open destination over a connection of the caller's (tests give one to another driver).
    explicit OdbcDestination(std::unique_ptr<OdbcConnection> connection);

    std::string summary() const override;
    std::string openingPhase() const override;
    void open() override;
    OpenFailure openFailure() const override;
    bool runsStatements() const override { return true; }

    void execute(std::string_view statement) override;
    void executeRepeated(std::string_view statement) override { execute(statement); }
    void endBatch() override {}
    long long queryNumber(std::string_view query) override;

    void heading(std::string_view, const std::vector<std::string>& = {}) override {}
    void comment(std::string_view) override {}
    void space() override {}
    void close() override {}

private:
    DestinationLogin m_login;
    std::unique_ptr<OdbcConnection> m_connection;
};

} // namespace tabulon
