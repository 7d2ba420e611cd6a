#pragma once

#include <functional>
#include <string>

namespace tabulon {

struct ProcessState;

// Runs the command of the option "successcmd" (exit status 0) or "errorcmd" (any other status)
// through the user's shell, waits for it, and logs that it ran and its exit code. An absent or
// empty option does nothing.
void RunAfterRunCommand(const ProcessState& state, int exitStatus, const std::function<void(const std::string&)>& log);

struct ShellResult {
    bool started = false;
    bool crashed = false;
    int exitCode = -1;
    std::string failure; // why it did not start or did not end normally
};

// Runs one command line through the user's shell ($SHELL -c, else /bin/sh -c; %ComSpec% /c on
// Windows), with this process's standard input, output and error.
ShellResult RunShellCommand(const std::string& command);

} // namespace tabulon
