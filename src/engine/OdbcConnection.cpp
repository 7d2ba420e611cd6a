#include "OdbcConnection.h"

#include "lib/Error.h"

#include <sql.h>
#include <sqlext.h>

#include <climits>

namespace tabulon {

namespace {

const char* const kSource = "ODBC";

// The diagnostics of a failed call: the first record's native number, every record's message.
Error diagnostics(SQLSMALLINT handleType, SQLHANDLE handle, const std::string& fallback) {
    long number = 0;
    std::string description;
    bool missingDriver = false;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLCHAR message[1024] = {};
        SQLSMALLINT length = 0;
        const SQLRETURN rc =
            SQLGetDiagRec(handleType, handle, record, state, &native, message, sizeof message, &length);
        if (!SQL_SUCCEEDED(rc))
            break;
        const std::string sqlState(reinterpret_cast<const char*>(state));
        if (record == 1)
            number = native;
        // unixODBC tries an unregistered driver name as a library file and says it "Can't open lib".
        missingDriver = missingDriver || sqlState == "IM002" ||
                        std::string(reinterpret_cast<const char*>(message)).find("Can't open lib") != std::string::npos;
        // Drivers repeat a record now and then; each message is worth reading once.
        const std::string text = "[" + sqlState + "] " + reinterpret_cast<const char*>(message);
        if (description.find(text) == std::string::npos)
            description += (description.empty() ? "" : "; ") + text;
    }
    if (description.empty())
        description = fallback;
    if (missingDriver)
        return Error(errc::MissingOdbcDriver, kSource,
                     "The ODBC driver is not installed or not registered under the name the connection names. " +
                         description);
    return Error(number, kSource, description);
}

} // namespace

struct OdbcConnection::Handles {
    SQLHENV environment = SQL_NULL_HENV;
    SQLHDBC connection = SQL_NULL_HDBC;
    SQLHSTMT statement = SQL_NULL_HSTMT;
    bool connected = false;

    ~Handles() {
        if (statement != SQL_NULL_HSTMT)
            SQLFreeHandle(SQL_HANDLE_STMT, statement);
        if (connected)
            SQLDisconnect(connection);
        if (connection != SQL_NULL_HDBC)
            SQLFreeHandle(SQL_HANDLE_DBC, connection);
        if (environment != SQL_NULL_HENV)
            SQLFreeHandle(SQL_HANDLE_ENV, environment);
    }
};

OdbcConnection::OdbcConnection(std::unique_ptr<Handles> handles) : m_handles(std::move(handles)) {}

OdbcConnection::~OdbcConnection() = default;

std::unique_ptr<OdbcConnection> OdbcConnection::open(const std::string& connectionString) {
    auto h = std::make_unique<Handles>();
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &h->environment)))
        throw Error(errc::MissingOdbcDriver, kSource, "The ODBC driver manager cannot be initialised");
    SQLSetEnvAttr(h->environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, h->environment, &h->connection)))
        throw diagnostics(SQL_HANDLE_ENV, h->environment, "Cannot create an ODBC connection");

    std::string text = connectionString;
    SQLCHAR completed[2048];
    SQLSMALLINT completedLength = 0;
    const SQLRETURN rc = SQLDriverConnect(h->connection, nullptr, reinterpret_cast<SQLCHAR*>(text.data()),
                                          static_cast<SQLSMALLINT>(text.size()), completed, sizeof completed,
                                          &completedLength, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc))
        throw diagnostics(SQL_HANDLE_DBC, h->connection, "The connection failed");
    h->connected = true;
    SQLSetConnectAttr(h->connection, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, h->connection, &h->statement)))
        throw diagnostics(SQL_HANDLE_DBC, h->connection, "Cannot create an ODBC statement");
    return std::unique_ptr<OdbcConnection>(new OdbcConnection(std::move(h)));
}

namespace {

SQLRETURN executeDirect(SQLHSTMT handle, std::string_view statement) {
    if (statement.size() > static_cast<std::size_t>(INT_MAX))
        throw Error(errc::General, kSource, "The statement is too long to send");
    return SQLExecDirect(handle, reinterpret_cast<SQLCHAR*>(const_cast<char*>(statement.data())),
                         static_cast<SQLINTEGER>(statement.size()));
}

// Raises the diagnostics of a failed call on the statement, leaving the statement closed for the next.
void closeAndRaiseUnless(SQLRETURN rc, SQLHSTMT handle, const char* fallback) {
    if (SQL_SUCCEEDED(rc))
        return;
    Error error = diagnostics(SQL_HANDLE_STMT, handle, fallback);
    SQLFreeStmt(handle, SQL_CLOSE);
    throw error;
}

} // namespace

void OdbcConnection::execute(std::string_view statement) {
    SQLHSTMT handle = m_handles->statement;
    SQLRETURN rc = executeDirect(handle, statement);
    while (rc != SQL_NO_DATA) {
        closeAndRaiseUnless(rc, handle, "The statement failed");
        rc = SQLMoreResults(handle);
    }
    SQLFreeStmt(handle, SQL_CLOSE);
}

long long OdbcConnection::queryNumber(std::string_view query) {
    SQLHSTMT handle = m_handles->statement;
    closeAndRaiseUnless(executeDirect(handle, query), handle, "The query failed");
    const SQLRETURN fetched = SQLFetch(handle);
    if (fetched == SQL_NO_DATA) {
        SQLFreeStmt(handle, SQL_CLOSE);
        throw Error(errc::General, kSource, "The query returned no row");
    }
    closeAndRaiseUnless(fetched, handle, "The query's row could not be read");
    SQLBIGINT number = 0;
    SQLLEN indicator = 0;
    closeAndRaiseUnless(SQLGetData(handle, 1, SQL_C_SBIGINT, &number, 0, &indicator), handle,
                        "The query's value could not be read");
    SQLFreeStmt(handle, SQL_CLOSE);
    if (indicator == SQL_NULL_DATA)
        throw Error(errc::General, kSource, "The query returned NULL");
    return static_cast<long long>(number);
}

} // namespace tabulon
