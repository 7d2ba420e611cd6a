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

void OdbcConnection::execute(std::string_view statement) {
    if (statement.size() > static_cast<std::size_t>(INT_MAX))
        throw Error(errc::General, kSource, "The statement is too long to send");
    SQLHSTMT handle = m_handles->statement;
    SQLRETURN rc = SQLExecDirect(handle, reinterpret_cast<SQLCHAR*>(const_cast<char*>(statement.data())),
                                 static_cast<SQLINTEGER>(statement.size()));
    while (rc != SQL_NO_DATA) {
        if (!SQL_SUCCEEDED(rc)) {
            Error error = diagnostics(SQL_HANDLE_STMT, handle, "The statement failed");
            SQLFreeStmt(handle, SQL_CLOSE);
            throw error;
        }
        rc = SQLMoreResults(handle);
    }
    SQLFreeStmt(handle, SQL_CLOSE);
}

} // namespace tabulon
