#include "settings/ErrorReporter.h"

#include "lib/Error.h"
#include "lib/FileSystem.h"
#include "lib/TextFile.h"
#include "settings/AfterRunCommand.h"
#include "settings/Desktop.h"
#include "settings/ErrorReport.h"
#include "settings/ExitStatus.h"
#include "settings/ProcessLog.h"
#include "settings/ProcessState.h"
#include "settings/UserInterface.h"

#include <cstdio>
#include <cstdlib>

namespace tabulon {

void EndProcessNow(int exitStatus) {
    std::fflush(nullptr);
    std::_Exit(exitStatus);
}

ErrorReporter::ErrorReporter(ProcessState& state, UserInterface& ui, ProcessLog& log, ProcessEnd endProcess)
    : m_state(state), m_ui(ui), m_log(log), m_endProcess(std::move(endProcess)) {}

void ErrorReporter::ErrorHandler(const std::string& function, long number, const std::string& description,
                                 const std::string& debugInformation) {
    const std::string report = saveReport(function, number, description, debugInformation);
    if (!m_state.hideMode)
        m_ui.setClipboardText(report);
    writeLog(report);
    ShowMessage(m_state, m_ui, report, msgbox::Critical, "Tabulon", msgbox::Ok);
    EndProgram(exitstatus::Failed);
}

std::string ErrorReporter::saveReport(const std::string& function, long number, const std::string& description,
                                      const std::string& debugInformation) {
    // The X11 clipboard empties when the program ends: a file beside the log keeps the report.
    const std::string path = GetFolderOfPath(m_log.path()) + "error-report.txt";
    const std::string report = ComposeErrorReport(function, number, description, debugInformation, path);
    try {
        WriteTextFile(path, report + "\r\n");
        return report;
    } catch (const Error&) {
        return ComposeErrorReport(function, number, description, debugInformation);
    }
}

void ErrorReporter::HaltError(const std::string& message, int exitStatus) {
    writeLog(message);
    EndProgram(exitStatus);
}

void ErrorReporter::EndProgram(int exitStatus) {
    if (m_state.autorunMode)
        RunAfterRunCommand(m_state, exitStatus, [this](const std::string& text) { writeLog(text); });
    writeLog("End");
    m_endProcess(exitStatus);
    std::abort(); // an end that returned would break every caller's assumption
}

void ErrorReporter::writeLog(const std::string& text) {
    try {
        m_log.write(text);
    } catch (const Error& error) {
        std::fprintf(stderr, "Tabulon: %s\n%s\n", error.description().c_str(), text.c_str());
    }
}

} // namespace tabulon
