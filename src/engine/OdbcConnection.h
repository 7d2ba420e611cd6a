#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tabulon {

// A connection through the ODBC driver manager. Each statement is executed on its own in the
// server's autocommit mode; nothing is batched, prepared or wrapped in a transaction.
// Errors are raised as Error(native error number of the first diagnostic, "ODBC", the driver's
// messages each preceded by its SQLSTATE in brackets).
class OdbcConnection {
public:
    ~OdbcConnection();
    OdbcConnection(const OdbcConnection&) = delete;
    OdbcConnection& operator=(const OdbcConnection&) = delete;

    // Connects without prompting. A driver name the driver manager does not know raises 1004.
    static std::unique_ptr<OdbcConnection> open(const std::string& connectionString);

    // Executes one statement and reads past every result it returns, so that an error the server
    // reports for a later part of the statement is raised here too.
    void execute(std::string_view statement);

    // Runs a query and returns the first column of its first row as a whole number. Raises the
    // driver's error, or 1000 when the query returns no row or NULL.
    long long queryNumber(std::string_view query);

private:
    struct Handles;
    explicit OdbcConnection(std::unique_ptr<Handles> handles);

    std::unique_ptr<Handles> m_handles;
};

} // namespace tabulon
