// The dependency check's probe of the ODBC driver manager. The engine owns every connection; this
// only asks the driver manager for an environment, which needs no driver and no server.
#include "settings/OdbcProbe.h"

#include "lib/Error.h"

#include <sql.h>
#include <sqlext.h>

namespace tabulon {

void probeOdbcDriverManager() {
    SQLHENV environment = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment)))
        throw Error(errc::ComponentMissing, "ODBC", "The ODBC driver manager could not create an environment.");
    const SQLRETURN version =
        SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLFreeHandle(SQL_HANDLE_ENV, environment);
    if (!SQL_SUCCEEDED(version))
        throw Error(errc::ComponentMissing, "ODBC", "The ODBC driver manager does not offer ODBC 3.");
}

} // namespace tabulon
