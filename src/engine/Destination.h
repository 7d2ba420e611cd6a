#pragma once

#include "RunResult.h"
#include "lib/Error.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

struct RunOptions;

// Where the statements of a run go: a SQL Server connection that runs each one as it is sent, or a
// script that holds them for a later run. The run, the record transfer and the phases after the
// tables talk only to this; which statements they send is the T-SQL dialect's business.
class Destination {
public:
    virtual ~Destination() = default;

    // The report's line for where the data goes.
    virtual std::string summary() const = 0;
    // The phase under which the destination is opened, for the report's "Hint: " line.
    virtual std::string openingPhase() const = 0;
    // Connects, or creates the script and writes its header. Raises the connection's or the file's error.
    virtual void open() = 0;
    // What the run returns and says when `open` failed, before the report's error block.
    struct OpenFailure {
        RunResult result;
        std::string statusLine;
        std::vector<std::string> reportLines;
    };
    virtual OpenFailure openFailure() const = 0;

    // True when each statement runs as it is sent, so that a failure is known at once and stops the
    // table it belongs to (a table whose CREATE TABLE failed gets no rows or indexes); false for a
    // script, which runs as a whole later and whose only failure is one to write it.
    virtual bool runsStatements() const = 0;

    // Sends one statement. Raises the server's error, or the file's.
    virtual void execute(std::string_view statement) = 0;
    // Sends one statement of a long run of them, such as a table's INSERTs: a script ends a batch after
    // every thousand of them, since SQL Server compiles a batch whole and refuses one over 256 MiB.
    virtual void executeRepeated(std::string_view statement) = 0;
    // Ends the batch that holds the statements sent so far: "GO" and an empty line in a script; a
    // connection sends each statement as a batch of its own anyway.
    virtual void endBatch() = 0;
    // Runs a query that returns one whole number. Only where `runsStatements`: a script raises.
    virtual long long queryNumber(std::string_view query) = 0;

    // Sends one statement and returns the server's error when it rejects it, so that the caller can
    // report it and go on; a write failure of a script still raises.
    std::optional<Error> attempt(std::string_view statement);
    // As `attempt`, with the statement a batch of its own.
    std::optional<Error> attemptBatch(std::string_view statement);

    // The layout of a script, which a connection ignores: a heading ("--", "-- title", "-- line" for
    // each further line, "--" and an empty line), a comment line ("--" alone for an empty text), and an
    // empty line. Line breaks and other control characters in a comment become blanks.
    virtual void heading(std::string_view title, const std::vector<std::string>& lines = {}) = 0;
    virtual void comment(std::string_view text) = 0;
    virtual void space() = 0;

    // Ends the output: a script writes what it holds and raises the first write failure. Calling it
    // again does nothing.
    virtual void close() = 0;
};

// The destination the options choose: a direct transfer when `destinationmethod` is "DIRECT", else a
// dump file whose header lists the options ("UNITTEST" in place of the version in unit-test mode).
std::unique_ptr<Destination> MakeDestination(const RunOptions& options, bool unitTestMode);

} // namespace tabulon
