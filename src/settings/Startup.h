#pragma once

#include "settings/DependencyCheck.h"

#include <string>
#include <vector>

namespace tabulon {

class ErrorReporter;
class MainFormPort;
class ProcessLog;
class UserInterface;
class UserStore;
struct ProcessState;

// The start-up sequence that runs while the main window is created (`Form_Load`): command line,
// log, run counter, dependency check, window set-up, settings, then either the first wizard page or,
// with "autorun", the unattended conversion that ends the process. The window steps go to `form`:
// the wizard's window, or a headless stand-in while no window is shown.
class Startup {
public:
    Startup(ProcessState& state, UserInterface& ui, UserStore& store, ProcessLog& log, ErrorReporter& reporter,
            MainFormPort& form, std::vector<Component> components);

    // Runs the steps in order. An error that escapes a step is reported under "Form_Load" with the
    // step text as debug information, which ends the process.
    void FormLoad();

    // Steps 11 to 15: the settings file named by "settings" (or wizard.ini), normalised, else the
    // defaults; the password option; the values put into the controls. Leaves `state.settings`.
    // An unattended run never falls back to the defaults: it halts with exit status NoSettings.
    void LoadStartupSettings();

private:
    void runSteps();
    void setStep(std::string text) { m_step = std::move(text); }
    void parseCommandLine();
    void initLog();
    void increaseUsageCounter();
    void checkDependencies();
    void setUpForm();
    std::string settingsFileName();
    void loadSettingsFile(const std::string& path);
    void readPasswordOption();
    [[noreturn]] void refuseDefaultsUnattended(const std::string& path);
    void runUnattended();

    ProcessState& m_state;
    UserInterface& m_ui;
    UserStore& m_store;
    ProcessLog& m_log;
    ErrorReporter& m_reporter;
    MainFormPort& m_form;
    std::vector<Component> m_components;
    std::string m_step;
};

// The welcome text of the first wizard page.
std::string WelcomeText();

// The run counter after `stored` ("Usage"/"RunCount"): a text that is no 32-bit integer counts as
// 0; the largest 32-bit value wraps to 1 instead of failing every later start.
int NextRunCount(const std::string& stored);

} // namespace tabulon
