#pragma once

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

// A test-local odbcinst.ini, found by the driver manager through ODBCSYSINI, that registers
// FreeTDS under the name "SQL Server" and the SQLite driver as "SQLite3". The driver paths come
// from the build (TABULON_TDSODBC, TABULON_SQLITEODBC); a test needing a missing one is skipped.
class OdbcTestDrivers {
public:
    static const OdbcTestDrivers& instance() {
        static OdbcTestDrivers drivers;
        return drivers;
    }
    static bool haveFreeTds() { return !std::string(TABULON_TDSODBC).empty(); }
    static bool haveSqlite() { return !std::string(TABULON_SQLITEODBC).empty(); }
    const TempFolder& folder() const { return m_folder; }

private:
    OdbcTestDrivers() {
        std::ofstream ini(m_folder.file("odbcinst.ini"));
        if (haveFreeTds())
            ini << "[SQL Server]\nDriver=" << TABULON_TDSODBC << "\n\n";
        if (haveSqlite())
            ini << "[SQLite3]\nDriver=" << TABULON_SQLITEODBC << "\n\n";
        std::ofstream(m_folder.file("odbc.ini")) << "";
        setenv("ODBCSYSINI", m_folder.path().c_str(), 1);
        setenv("ODBCINI", m_folder.file("odbc.ini").c_str(), 1);
    }
    TempFolder m_folder;
};

#define REQUIRE_FREETDS()                                                                                              \
    if (!OdbcTestDrivers::haveFreeTds())                                                                               \
        GTEST_SKIP() << "FreeTDS's ODBC driver (tdsodbc) is not installed";                                            \
    OdbcTestDrivers::instance()

#define REQUIRE_SQLITE_ODBC()                                                                                          \
    if (!OdbcTestDrivers::haveSqlite())                                                                                \
        GTEST_SKIP() << "the SQLite ODBC driver (libsqliteodbc) is not installed";                                     \
    OdbcTestDrivers::instance()
