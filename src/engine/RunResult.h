#pragma once

namespace tabulon {

// How a run ended: the one value the run returns, from which the process exit status and what the
// caller shows are derived. The report says the same in words.
enum class RunResult {
    Completed,         // every selected table moved, and the objects after them were added
    TablesNotFound,    // as Completed, but tables the settings list are not in the source
    Cancelled,         // the user or an interrupt stopped the run between rows or tables
    TableFailed,       // a table's records could not be moved; the run stopped there
    DestinationFailed, // the connection to SQL Server could not be opened
    DumpFailed,        // the dump file could not be created or its header written
    Error,             // any other error, named in the report's error block
};

} // namespace tabulon
