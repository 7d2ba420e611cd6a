#include "settings/UnattendedRun.h"

#include "engine/ConversionRun.h"
#include "settings/ExitStatus.h"
#include "settings/Interrupt.h"
#include "settings/MainFormPort.h"
#include "settings/ProcessLog.h"
#include "settings/ProcessState.h"
#include "source/SchemaScanner.h"
#include "source/SourceOpener.h"

namespace tabulon {

int RunUnattendedConversion(ProcessState& state, MainFormPort& form, ProcessLog& log) {
    const SourceCredentials source = form.sourceFields();
    state.currentSchema =
        ScanSourceDatabase(source.fileName, source.password, source.userName, source.systemDatabase, form.progress());
    if (InterruptRequested()) {
        log.write("Transfer was aborted");
        return exitstatus::Aborted;
    }

    std::string report;
    ConversionContext context{form.progress(), state.run, state.currentSchema.get(), openSourceConnection};
    const int result = MoveData2MySql(*state.settings, report, context);
    log.write(report);
    if (result != 0)
        return exitstatus::Failed;
    // The run stops early, and says so in the report, when it was cancelled or a table's records failed.
    return state.run.cancelRequested ? exitstatus::Aborted : exitstatus::Completed;
}

} // namespace tabulon
