#include "Destination.h"

#include "DumpDestination.h"
#include "OdbcDestination.h"
#include "RunOptions.h"

namespace tabulon {

std::optional<Error> Destination::attempt(std::string_view statement) {
    if (!runsStatements()) {
        execute(statement);
        return std::nullopt;
    }
    try {
        execute(statement);
        return std::nullopt;
    } catch (const Error& error) {
        return error;
    }
}

std::optional<Error> Destination::attemptBatch(std::string_view statement) {
    std::optional<Error> error = attempt(statement);
    if (!error)
        endBatch();
    return error;
}

std::unique_ptr<Destination> MakeDestination(const RunOptions& options, bool unitTestMode) {
    if (options.direct)
        return std::make_unique<OdbcDestination>(options.login);
    return std::make_unique<DumpDestination>(options.dumpFileName, options.listing, unitTestMode);
}

} // namespace tabulon
