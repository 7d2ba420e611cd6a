#pragma once

#include <functional>
#include <string>

namespace tabulon {

struct ProcessState;
class ProcessLog;
class UserInterface;

// Ends the process with the exit status at once: no window event, unload handler or destructor
// runs. Everything the process writes (log, per-user store) is already on disk by then.
[[noreturn]] void EndProcessNow(int exitStatus);

// The one way the system deals with an error nobody handled on the spot: report it, log it and end
// the process. `endProcess` must not return (tests pass one that throws).
class ErrorReporter {
public:
    using ProcessEnd = std::function<void(int exitStatus)>;

    ErrorReporter(ProcessState& state, UserInterface& ui, ProcessLog& log, ProcessEnd endProcess = EndProcessNow);

    // Saves the report beside the log as error-report.txt, puts it on the clipboard (unless "hide"),
    // logs it, shows it and ends the process with exit status Failed.
    [[noreturn]] void ErrorHandler(const std::string& function, long number, const std::string& description,
                                   const std::string& debugInformation);
    // Logs the message and ends the process; shows nothing.
    [[noreturn]] void HaltError(const std::string& message, int exitStatus);
    // Runs the "successcmd" or "errorcmd" of an unattended run, logs "End" and ends the process.
    [[noreturn]] void EndProgram(int exitStatus);

private:
    // Writes the report beside the log (error-report.txt) and returns it, naming that file unless
    // it could not be written.
    std::string saveReport(const std::string& function, long number, const std::string& description,
                           const std::string& debugInformation);
    // A log that cannot be written must not keep the process alive: the text goes to stderr instead.
    void writeLog(const std::string& text);

    ProcessState& m_state;
    UserInterface& m_ui;
    ProcessLog& m_log;
    ProcessEnd m_endProcess;
};

} // namespace tabulon
