#pragma once

namespace tabulon {

// Allocates and frees an environment of the ODBC driver manager, as a direct transfer first does.
// Raises 429 when the driver manager refuses.
void probeOdbcDriverManager();

} // namespace tabulon
