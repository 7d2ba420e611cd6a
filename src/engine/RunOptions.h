#pragma once

#include "DestinationConnectionString.h"
#include "TableDefinition.h"
#include "TableSelection.h"
#include "lib/Dictionary.h"
#include "lib/Error.h"
#include "lib/RowSource.h"

#include <optional>
#include <string>
#include <vector>

namespace tabulon {

// The settings of one run, typed, read once from the settings section at the start of the run; the
// run reads nothing else. Each field names its key.
struct RunOptions {
    bool direct = false;      // `destinationmethod` is exactly "DIRECT"; any other value: a dump file
    std::string database;     // `destinationdatabase`
    std::string dumpFileName; // `destinationdumpfilename`
    DestinationLogin login;   // `destinationserver`, `-authentication`, `-username`, `-password`
    SourceCredentials source; // `sourcefilename`, `sourcesystemdatabase`, `sourceusername`, `sourcepassword`

    bool dropDatabase = false;     // `dropdatabase`
    bool createTables = false;     // `createtables`
    bool transferRecords = false;  // `transferrecords`
    bool columnList = false;       // `columnlist`
    bool negativeBoolean = false;  // `negativeboolean`
    bool ignoreLargeBlobs = false; // `ignorelargeblobs`
    std::string tablePrefix;       // `tableprefix`
    // What the run adds once every table holds its rows, each on unless its key holds 0, so that files
    // written before the keys existed turn them on.
    bool transferRelationships = true;   // `transferrelationships`: FOREIGN KEYs
    bool transferValidationRules = true; // `transfervalidationrules`: CHECK constraints
    bool transferDescriptions = true;    // `transferdescriptions`: MS_Description properties
    bool verifyCounts = true;            // `verifycounts`: the rows each table holds, against those written
    bool transferQueries = true;         // `transferqueries`: views and functions for the saved queries
    // `unicode`, `datetimetype`, `transferdefaultvalues`, `transferautonumbers`, `transferindexes`,
    // `storageengine` (lower-cased)
    TableDefinitionOptions definition;
    TableSelection selection; // `sourcetables`

    std::vector<std::string> listing; // the dump header's "key=value" lines

    // A Boolean setting whose text is no truth value (error 13 naming it): the run ends on it in its
    // error report. The form and normalised files cannot hold one.
    std::optional<Error> unreadable;
};

// Reads the options from a settings section. `unicode` is on unless it holds 0 or "0"; `columnlist`,
// `negativeboolean` and `ignorelargeblobs` count as off when they do not convert; the other flags
// must convert (see `unreadable`); texts that do not convert are "".
RunOptions ReadRunOptions(const Dictionary& section);

} // namespace tabulon
