#pragma once

#include "lib/Dictionary.h"
#include "settings/MainFormPort.h"
#include "wizard/FileDialogs.h"
#include "wizard/FormControls.h"

#include <QMainWindow>

class QLineEdit;

#include <functional>
#include <memory>
#include <string>

namespace tabulon {

struct ProcessState;
class StatusLog;
class UserInterface;
class UserStore;
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
    // The per-user store of remembered folders and files; the user's own unless one is set.
    UserStore& userStore();
    void setUserStore(UserStore* store) { m_userStore = store; }
    // The file dialogs; Qt's own unless others are set.
    FileDialogs& fileDialogs();
    void setFileDialogs(FileDialogs* dialogs) { m_fileDialogs = dialogs; }

    // Form-level state of the wizard.
    std::string currentPage;
    bool rescanSource = true;
    DictionaryPtr selectedTables = Dictionary::create();
    bool loadingSettings = false;
    std::string conversionReport;
    // The one dialog component of the window (CommonDialog1): its properties outlive each dialog.
    FileDialogRequest commonDialog;

    // Keeps the window from taking input, or closing, while a scan lets window events run; shows
    // the hourglass meanwhile.
    class BusyScope {
    public:
        explicit BusyScope(frmMain& form);
        ~BusyScope();
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        frmMain& m_form;
    };

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
    // Enter presses the focused navigation button or else the page's default ("&Next >", "&Run Now",
    // "&Exit"); Escape presses Cancel, as in any dialog.
    void keyPressEvent(QKeyEvent* event) override;

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
    void cmdSourceBrowse_Click();
    void cmdSystemDatabaseBrowse_Click();
    void cmdBrowseDump_Click();
    void browseSourceFile(const char* title, const char* filter, const char* lastKey, QLineEdit* target);

    ProcessState& m_state;
    UserInterface& m_userInterface;
    FormControls m_ui;
    std::unique_ptr<StatusLog> m_statusLog;
    frmAdvancedOptions* m_advancedOptions = nullptr;
    ErrorReporter m_reportError;
    LogWriter m_writeLog;
    UserStore* m_userStore = nullptr;
    std::unique_ptr<UserStore> m_ownUserStore;
    FileDialogs* m_fileDialogs = nullptr;
    std::unique_ptr<FileDialogs> m_ownFileDialogs;
    bool m_busy = false;
};

} // namespace tabulon
