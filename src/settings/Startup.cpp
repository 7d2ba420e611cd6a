#include "settings/Startup.h"

#include "lib/CommandLine.h"
#include "lib/Convert.h"
#include "lib/Error.h"
#include "lib/Ini.h"
#include "settings/DefaultLocations.h"
#include "settings/Desktop.h"
#include "settings/ErrorReporter.h"
#include "settings/ExitStatus.h"
#include "settings/MainFormPort.h"
#include "settings/ProcessLog.h"
#include "settings/ProcessState.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsObject.h"
#include "settings/UnattendedRun.h"
#include "settings/UserInterface.h"
#include "settings/UserStore.h"

#include <charconv>
#include <cstdint>
#include <exception>
#include <limits>

namespace tabulon {

Startup::Startup(ProcessState& state, UserInterface& ui, UserStore& store, ProcessLog& log, ErrorReporter& reporter,
                 MainFormPort& form, std::vector<Component> components)
    : m_state(state), m_ui(ui), m_store(store), m_log(log), m_reporter(reporter), m_form(form),
      m_components(std::move(components)) {}

void Startup::FormLoad() {
    try {
        runSteps();
    } catch (const Error& error) {
        m_reporter.ErrorHandler("Form_Load", error.number(), error.description(), m_step);
    } catch (const std::exception& error) {
        m_reporter.ErrorHandler("Form_Load", errc::General, error.what(), m_step);
    }
}

void Startup::runSteps() {
    setStep("Initializing");
    m_state.autorunMode = m_state.hideMode = m_state.clearLogMode = false;
    setStep("Parse command line");
    parseCommandLine();
    setStep("Init Log");
    initLog();
    setStep("Increase usage counter");
    increaseUsageCounter();
    setStep("Check dependencies");
    checkDependencies();
    setStep("Init program");
    m_state.run.cancelRequested = false;
    setUpForm();
    LoadStartupSettings();
    setStep("Check autorun");
    if (m_state.autorunMode)
        runUnattended();
    setStep("Scale dialog");
    m_form.scaleDialog();
    setStep("UpdateSecurityFields");
    m_form.updateSecurityFields();
    setStep("Wizard NEXT");
    m_form.navigateFromInit();
}

void Startup::parseCommandLine() {
    m_state.options = ParseCommandLine(m_state.commandLine, false);
    m_state.autorunMode = m_state.options->contains("autorun");
    m_state.hideMode = m_state.options->contains("hide");
    m_state.clearLogMode = m_state.options->contains("clearlog");
    m_state.run.unitTestMode = m_state.options->contains("unittest");
    // Taken from the whole line, so the word also counts inside another option's value.
    m_state.screenshotMode = toLowerAscii(m_state.commandLine).find("screenshotmode") != std::string::npos;
    m_state.logFirstWrite = true;
}

void Startup::initLog() {
    m_log.init();
    m_log.write("Begin");
}

void Startup::increaseUsageCounter() {
    const int runCount = NextRunCount(m_store.text("Usage", "RunCount", "0"));
    m_store.setText("Usage", "RunCount", std::to_string(runCount));
    m_log.write("Run count is " + std::to_string(runCount));
    m_log.write("Commandline: " + m_state.commandLine);
}

void Startup::checkDependencies() {
    CheckDependencies(m_components, m_state, m_ui, [this](const std::string& text) { m_log.write(text); });
    m_form.hideAutocommit();
}

void Startup::setUpForm() {
    setStep("Init form");
    m_form.initForm();
    setStep("Remove tabstop from controls of type PictureBox");
    m_form.removePictureBoxTabStops();
    setStep("Move the frames into position");
    m_form.positionWizardFrames();
    setStep("Set tab order");
    m_form.setTabOrder();
    m_form.setWelcomeText(WelcomeText());
}

void Startup::LoadStartupSettings() {
    setStep("Get settings file name");
    const std::string path = settingsFileName();
    setStep("Load settings from " + path);
    loadSettingsFile(path);
    setStep("Read password option from registry");
    readPasswordOption();
    setStep("Initialize the ini");
    if (!SettingsSection(m_state.settings)) {
        if (m_state.autorunMode)
            refuseDefaultsUnattended(path);
        m_state.settings = CreateDefaultSettings(m_store);
    }
    setStep("Set gui values");
    m_form.applySettingsToForm(m_state.settings);
}

std::string Startup::settingsFileName() {
    const std::string path = toText(m_state.options ? m_state.options->get("settings") : Variant());
    if (!path.empty())
        return path;
    if (m_state.autorunMode) {
        const std::string message = "When you set the \"autorun\" parameter you must also specify a value for "
                                    "the \"settings\" prarameter.";
        m_log.write(message);
        ShowMessage(m_state, m_ui, message, msgbox::Exclamation, "Tabulon", msgbox::Ok);
        m_reporter.EndProgram(exitstatus::NoSettings);
    }
    return DefaultSettingsPath();
}

void Startup::loadSettingsFile(const std::string& path) {
    m_state.settingsPath = path;
    m_state.settings = nullptr;
    bool loaded = false;
    try {
        m_state.settings = ReadIniFile(path);
        NormalizeSettings(m_state.settings);
        loaded = true;
    } catch (const Error&) {
        // Held, not raised: the defaults take over below.
    }
    if (loaded) {
        if (const std::string warning = ExposedPasswordWarning(*m_state.settings, path); !warning.empty())
            m_log.write(warning);
        return;
    }
    if (path == DefaultSettingsPath())
        return; // no wizard.ini yet: the first start
    const std::string message =
        "Unable to load ini file: " + toText(m_state.options->get("settings")) + "\r\nDefault settings applied.";
    if (m_state.autorunMode)
        m_reporter.HaltError(message, exitstatus::NoSettings);
    ShowMessage(m_state, m_ui, message, msgbox::Exclamation, "Tabulon", msgbox::Ok);
}

void Startup::refuseDefaultsUnattended(const std::string& path) {
    // The defaults name the last browsed source and a direct transfer that drops and recreates its
    // tables on this computer's server: no one asked an unattended run for that.
    const std::string why = m_state.settings ? "It has no section [" + std::string(kSettingsSection) + "]. " : "";
    m_reporter.HaltError("Unable to load ini file: " + path + "\r\n" + why +
                             "An unattended run does not convert with the default settings.",
                         exitstatus::NoSettings);
}

void Startup::readPasswordOption() {
    m_state.savePasswords = m_store.text("Settings", "SavePasswords", "0") == "1";
    m_store.setText("Settings", "SavePasswords", m_state.savePasswords ? "1" : "0");
}

void Startup::runUnattended() {
    m_reporter.EndProgram(RunUnattendedConversion(m_state, m_form, m_log));
}

std::string WelcomeText() {
    return "Welcome to the Tabulon conversion wizard. This wizard will collect information about the following "
           "topics:\r\n\r\n1. The source database\r\n2. The destination database\r\n3. The set of tables to be "
           "transfered\r\n4. A set of transfer options";
}

int NextRunCount(const std::string& stored) {
    const std::string_view text = trimSpaces(stored);
    std::int32_t count = 0;
    const char* first = text.data() + (!text.empty() && text.front() == '+' ? 1 : 0);
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), count);
    if (error != std::errc() || end != text.data() + text.size())
        count = 0;
    return count == std::numeric_limits<std::int32_t>::max() ? 1 : count + 1;
}

} // namespace tabulon
