#pragma once

#include "Destination.h"
#include "SqlLiterals.h"
#include "lib/Progress.h"
#include "lib/RowSource.h"

#include <string>
#include <vector>

namespace tabulon {

// What the run hands the record transfer for one table.
struct TransferRequest {
    std::string sourceTable;
    std::string destinationTable;     // without brackets
    std::vector<std::string> columns; // the selected fields in order; empty: every column
    std::string identityColumn;       // "" when the table has none
    bool columnList = false;          // setting `columnlist`
    bool unicode = true;
    bool negativeBoolean = false;
    bool ignoreLargeBlobs = false;
    std::string sourceFileName; // without its folder, for the progress caption
    std::string destinationDatabase;
    std::vector<bool> required;          // per column of the select list, in its order
    std::vector<DateColumn> dateColumns; // per column of the select list: the type of its date-times
};

// Copies the rows of one table with one forward-only read, one INSERT per row, progress every tenth
// row, and a stop between rows once `flags.cancelRequested` is set. Returns the rows written (also
// after a cancel), or -1 after appending the error lines to `report`.
// A NaN or infinite Single/Double is written as NULL and an attachment as NULL (0x00 in a required
// column); either adds one report line naming the table and column.
int TransferRecords(SourceConnection& source, Destination& destination, const TransferRequest& request,
                    std::string& report, Progress& progress, RunFlags& flags);

} // namespace tabulon
