#include "Destination.h"

#include "DumpDestination.h"
#include "OdbcDestination.h"
#include "RunOptions.h"

namespace tabulon {

std::optional<Error> Destination::attempt(std::string_view statement) {
    try {
        execute(statement);
    } catch (const Error& error) {
        if (!runsStatements())
            throw; // a script rejects nothing: this is a failure to write it
        return error;
    }
    return std::nullopt;
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
