#pragma once

#include "lib/Dictionary.h"
#include "settings/MainFormPort.h"
#include "wizard/FormControls.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>

namespace tabulon {

struct ProcessState;
class StatusLog;
class UserInterface;
class frmAdvancedOptions;

// The main window: every page of the wizard as a frame, the header, the navigation buttons and the
// donation band. Start-up drives it through MainFormPort; the wizard routines (modWizard.h) work on
// its controls and form-level state.
class frmMain : public QMainWindow, public MainFormPort {
public:
    // Reports an error that escaped a trapped event handler: the handler's name, the error number
    // and description, and the handler's step text. The start-up code installs the process's error
    // reporter, which ends the process.
    using ErrorReporter = std::function<void(const std::string& function, long number, const std::string& description,
                                             const std::string& debugInformation)>;
    using LogWriter = std::function<void(const std::string&)>;

    frmMain(ProcessState& state, UserInterface& ui, QWidget* parent = nullptr);
    ~frmMain() override;

    FormControls& controls() { return m_ui; }
    ProcessState& state() { return m_state; }
    StatusLog& statusLog() { return *m_statusLog; }
    // The advanced options dialog, loaded (hidden) the first time anything touches it.
    frmAdvancedOptions& advancedOptions();

    void setErrorReporter(ErrorReporter reporter) { m_reportError = std::move(reporter); }
    void setLogWriter(LogWriter writer) { m_writeLog = std::move(writer); }

    // Form-level state of the wizard.
    std::string currentPage;
    bool rescanSource = true;
    DictionaryPtr selectedTables = Dictionary::create();
    bool loadingSettings = false;
    std::string conversionReport;

    // The one message box: under "hide" it answers `defaultAnswer` without showing anything.
    int showMessage(const std::string& text, int style, const std::string& title, int defaultAnswer);
    void writeLog(const std::string& text);
    // The shell's "Open" of a document or web address; an empty target does nothing.
    bool openDocument(const std::string& target);

    void InitForm();
    void UpdateSecurityFields();
    void UpdateControls();

    // MainFormPort
    void hideAutocommit() override;
    void initForm() override { InitForm(); }
    void removePictureBoxTabStops() override;
    void positionWizardFrames() override;
    void setTabOrder() override;
    void setWelcomeText(const std::string& text) override;
    void applySettingsToForm(const DictionaryPtr& settings) override;
    SourceCredentials sourceFields() const override;
    void scaleDialog() override;
    void updateSecurityFields() override { UpdateSecurityFields(); }
    void navigateFromInit() override;
    Progress& progress() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void connectHandlers();
    void connectNavigation();
    void connectPageControls();
    // Runs a trapped event handler: an escaping error goes to the error reporter under `name`.
    void trapped(const char* name, const std::function<void()>& body);
    void unloadForms();

    void cmdCancel_Click();
    void cbMSSQLAuthentication_Click();
    void chkDropDatabase_Click(bool checked);
    void txtSourceFilename_Change();
    void txtSourceFilename_Validate();
    void optDestination_Click(int index);
    void cmdAdvancedOptions_Click();

    ProcessState& m_state;
    UserInterface& m_userInterface;
    FormControls m_ui;
    std::unique_ptr<StatusLog> m_statusLog;
    frmAdvancedOptions* m_advancedOptions = nullptr;
    ErrorReporter m_reportError;
    LogWriter m_writeLog;
};

} // namespace tabulon
