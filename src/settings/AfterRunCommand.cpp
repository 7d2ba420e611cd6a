#include "settings/AfterRunCommand.h"

#include "lib/Convert.h"
#include "lib/Environment.h"
#include "settings/ProcessState.h"

#include <QProcess>

namespace tabulon {

namespace {

void configureShell(QProcess& process, const std::string& command) {
#ifdef _WIN32
    const std::string comSpec = environmentVariable("ComSpec");
    process.setProgram(QString::fromStdString(comSpec.empty() ? "cmd.exe" : comSpec));
    process.setNativeArguments(QStringLiteral("/c ") + QString::fromStdString(command));
#else
    const std::string shell = environmentVariable("SHELL");
    process.setProgram(QString::fromStdString(shell.empty() ? "/bin/sh" : shell));
    process.setArguments({QStringLiteral("-c"), QString::fromStdString(command)});
#endif
}

} // namespace

ShellResult RunShellCommand(const std::string& command) {
    QProcess process;
    configureShell(process, command);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.start();
    ShellResult result;
    if (!process.waitForStarted(-1)) {
        result.failure = process.errorString().toStdString();
        return result;
    }
    result.started = true;
    process.waitForFinished(-1);
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.exitCode = process.exitCode();
    if (result.crashed)
        result.failure = process.errorString().toStdString();
    return result;
}

void RunAfterRunCommand(const ProcessState& state, int exitStatus, const std::function<void(const std::string&)>& log) {
    const std::string option = exitStatus == 0 ? "successcmd" : "errorcmd";
    const std::string command = state.options ? toText(state.options->get(option)) : std::string();
    if (command.empty())
        return;
    log("Running " + option + ": " + command);
    const ShellResult result = RunShellCommand(command);
    if (!result.started)
        log(option + " could not be started: " + result.failure);
    else if (result.crashed)
        log(option + " ended abnormally: " + result.failure);
    else
        log(option + " ended with exit code " + std::to_string(result.exitCode));
}

} // namespace tabulon
