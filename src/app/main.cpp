#include "app/DesktopInterface.h"
#include "lib/CommandLine.h"
#include "settings/DefaultLocations.h"
#include "settings/ErrorReporter.h"
#include "settings/ExitStatus.h"
#include "settings/HeadlessMainForm.h"
#include "settings/Interrupt.h"
#include "settings/ProcessLog.h"
#include "settings/ProcessState.h"
#include "settings/Startup.h"
#include "settings/UserStore.h"
#include "tabulon/Version.h"
#include "wizard/frmMain.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kUsage = R"(Usage: tabulon [-autorun -settings=FILE [-hide] [-clearlog] [-unittest]
                      [-successcmd=COMMAND] [-errorcmd=COMMAND]]

Without options the conversion wizard opens with the settings of the last run.
  -autorun          convert unattended with the settings file, then end
  -settings=FILE    the settings file to load instead of the last run's
  -hide             show no message box; each takes its default answer
  -clearlog         empty the log file with its first entry instead of appending
  -unittest         write UNITTEST instead of the version into the dump header
  -successcmd=CMD   after an unattended run that completed, run CMD in the shell
  -errorcmd=CMD     after an unattended run that did not complete, run CMD in the shell

Exit status: 0 completed, 1 failed, 2 settings missing or unreadable, 3 transfer aborted.
The log of the last start is tabulon.log in the application data folder (see README).
)";

// Qt needs a display for its windows; a machine without one (a server, CI, a container) can still
// run the unattended conversion on Qt's offscreen platform.
void chooseOffscreenWithoutDisplay() {
#if defined(__unix__) && !defined(__APPLE__)
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
}

bool isAutorun(const std::string& commandLine) {
    return tabulon::ParseCommandLine(commandLine, false)->contains("autorun");
}

// An unattended run writes to standard error only what its user must see: Qt's notes about the
// session it runs in ("XDG_RUNTIME_DIR not set" under cron, su or CI) are not that. Critical and
// fatal messages still pass.
QtMessageHandler qtDefaultHandler = nullptr;

void quietQtNotes(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        qtDefaultHandler(type, context, message);
}

// The unattended run: start-up with no window shown; it ends the process itself.
int runUnattended(tabulon::ProcessState& state, const char* programPath) {
    using namespace tabulon;
    DesktopInterface ui;
    UserStore store;
    ProcessLog log(state, LogFilePath(programPath));
    ErrorReporter reporter(state, ui, log);
    HeadlessMainForm form(log.progress(), state.run);
    InstallInterruptHandler();
    Startup startup(state, ui, store, log, reporter, form, RequiredComponents());
    startup.FormLoad();
    return exitstatus::Completed;
}

// The interactive start: the same Startup drives the wizard window, which then takes the user
// through its pages until it is closed.
int runInteractive(tabulon::ProcessState& state, const char* programPath) {
    using namespace tabulon;
    // A window no one can see would wait for ever for a click.
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        std::fputs("Tabulon: there is no display for the wizard window; convert unattended with\n"
                   "  tabulon -autorun -settings=FILE -hide\n",
                   stderr);
        return exitstatus::Failed;
    }
    DesktopInterface ui;
    UserStore store;
    ProcessLog log(state, LogFilePath(programPath));
    ErrorReporter reporter(state, ui, log);
    frmMain form(state, ui);
    ui.setOwner(&form); // message boxes stay on top of the window
    form.setUserStore(&store);
    form.setLogWriter([&log](const std::string& text) { log.write(text); });
    form.setErrorReporter([&reporter](const std::string& function, long number, const std::string& description,
                                      const std::string& debugInformation) {
        reporter.ErrorHandler(function, number, description, debugInformation);
    });
    Startup startup(state, ui, store, log, reporter, form, RequiredComponents());
    startup.FormLoad();
    form.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("Tabulon %s\n", tabulon::kVersionText);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        return 0;
    }

    tabulon::ProcessState state;
    // Taken before QApplication, which removes the options it knows from argv.
    state.commandLine = tabulon::joinCommandLine(argc, argv);
    const bool autorun = isAutorun(state.commandLine);
    if (autorun)
        qtDefaultHandler = qInstallMessageHandler(quietQtNotes);
    chooseOffscreenWithoutDisplay();
    QApplication application(argc, argv);
    // Desktops match the window with tabulon.desktop: its name and icon in the task bar.
    QGuiApplication::setDesktopFileName(QStringLiteral("tabulon"));
    return autorun ? runUnattended(state, argv[0]) : runInteractive(state, argv[0]);
}
