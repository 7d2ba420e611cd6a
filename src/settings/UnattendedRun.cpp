#include "settings/UnattendedRun.h"

#include "engine/ConversionRun.h"
#include "engine/TableSelection.h"
#include "lib/Error.h"
#include "settings/ExitStatus.h"
#include "settings/Interrupt.h"
#include "settings/MainFormPort.h"
#include "settings/ProcessLog.h"
#include "settings/ProcessState.h"
#include "settings/TerminalProgress.h"
#include "source/SchemaScanner.h"
#include "source/SourceOpener.h"

#include <memory>

namespace tabulon {

namespace {
// The tables of the schema that the settings select, in the order the run moves them.
std::vector<std::string> selectedTables(const pugi::xml_document& schema, const Dictionary& settings) {
    std::vector<std::string> tables;
    const DictionaryPtr section = settings.dictionaryAt(kSettingsSection);
    try {
        const TableSelection selection(section ? section->get("sourcetables") : Variant());
        for (const pugi::xpath_node& table : schema.select_nodes("*/Tables/Table"))
            if (const std::string name = table.node().child("Name").text().as_string(); selection.contains(name))
                tables.push_back(name);
    } catch (const Error&) {
        // A selection that is no list stops the run itself, which says why.
    }
    return tables;
}
} // namespace

int RunUnattendedConversion(ProcessState& state, MainFormPort& form, ProcessLog& log) {
    const SourceCredentials source = form.sourceFields();
    // A person watching the terminal sees how far the run is; cron, pipes and files get nothing.
    const std::unique_ptr<TerminalProgress> terminal = TerminalProgress::onStandardError(form.progress());
    Progress& progress = terminal ? *terminal : form.progress();
    state.currentSchema =
        ScanSourceDatabase(source.fileName, source.password, source.userName, source.systemDatabase, progress);
    if (InterruptRequested()) {
        log.write("Transfer was aborted");
        return exitstatus::Aborted;
    }
    if (terminal)
        terminal->setTables(selectedTables(*state.currentSchema, *state.settings));

    std::string report;
    ConversionContext context{progress, state.run, state.currentSchema.get(), openSourceConnection};
    const RunResult result = MoveData2MySql(*state.settings, report, context);
    log.write(report);
    return ExitStatusOf(result);
}

} // namespace tabulon
