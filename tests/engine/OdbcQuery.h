#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>

// Reads one number through an ODBC connection of its own, to see what the statements under test left
// behind; -1 when the connection or the query fails.
inline long long queryNumber(const std::string& connectionString, const std::string& query) {
    SQLHENV env;
    SQLHDBC dbc;
    SQLHSTMT stmt;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    std::string text = connectionString;
    SQLBIGINT number = -1;
    if (SQL_SUCCEEDED(SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS, nullptr, 0,
                                       nullptr, SQL_DRIVER_NOPROMPT))) {
        SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
        std::string q = query;
        if (SQL_SUCCEEDED(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(q.data()), SQL_NTS)) &&
            SQL_SUCCEEDED(SQLFetch(stmt)))
            SQLGetData(stmt, 1, SQL_C_SBIGINT, &number, 0, nullptr);
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        SQLDisconnect(dbc);
    }
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return number;
}
