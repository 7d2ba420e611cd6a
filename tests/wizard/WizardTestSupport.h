#pragma once

#include "lib/Dictionary.h"
#include "settings/ProcessState.h"
#include "settings/UserInterface.h"
#include "settings/UserStore.h"
#include "wizard/FileDialogs.h"
#include "wizard/frmMain.h"

#include <QString>
#include <QTemporaryDir>

#include <deque>
#include <memory>
#include <string>
#include <vector>

class QRadioButton;
class QWidget;

namespace tabulon::test {

// Answers message boxes from a script instead of blocking, and records what was asked.
class ScriptedUserInterface : public UserInterface {
public:
    struct Message {
        std::string text;
        int style;
        std::string title;
    };

    int messageBox(const std::string& text, int style, const std::string& title) override;
    void setClipboardText(const std::string& text) override { clipboard = text; }
    bool openDocument(const std::string& target) override;

    // The answers to give, in order; once they run out every box is answered with OK.
    std::deque<int> answers;
    std::vector<Message> messages;
    std::vector<std::string> openedDocuments;
    bool openResult = true; // what the desktop answers to an "Open"
    std::string clipboard;
};

// Answers file dialogs from a script and records what they were asked.
class ScriptedFileDialogs : public FileDialogs {
public:
    std::optional<std::string> choose(const FileDialogRequest& request) override;

    // The answers to give, in order (nothing: the user cancelled); once they run out, every dialog is cancelled.
    std::deque<std::optional<std::string>> answers;
    std::vector<FileDialogRequest> requests;
};

// An error that escaped a trapped handler, as the error reporter received it.
struct ReportedError {
    std::string function;
    long number;
    std::string description;
};

// A main window started as the interactive start-up starts it, with its message boxes scripted and
// its error reports collected instead of ending the process.
class WizardFixture {
public:
    explicit WizardFixture(bool screenshotMode = false);
    ~WizardFixture();

    frmMain& form() { return *m_form; }
    ScriptedUserInterface& ui() { return m_ui; }
    ProcessState& state() { return m_state; }
    ScriptedFileDialogs& dialogs() { return m_dialogs; }
    UserStore& store() { return *m_store; }
    // A path in the fixture's own folder, which also serves as APPDATA and TEMP.
    std::string path(const std::string& name) const;
    std::vector<ReportedError> errors;
    // The entries the window wrote to the log.
    std::vector<std::string> log;

    template <typename T> T* find(const char* name) const { return m_form->findChild<T*>(QLatin1String(name)); }
    // Clicks a button by name, as the user does.
    void click(const char* name);

private:
    QTemporaryDir m_folder;
    ProcessState m_state;
    ScriptedUserInterface m_ui;
    ScriptedFileDialogs m_dialogs;
    std::unique_ptr<UserStore> m_store;
    std::unique_ptr<frmMain> m_form;
};

// The default settings object (the section with its texts, flags and lists).
DictionaryPtr defaultSettings();
// A path under the test data folder.
std::string testData(const std::string& name);
// The option button optDestination(index).
QRadioButton* destinationOption(WizardFixture& fixture, int index);
// Walks from the welcome page to the transfer options page with `source` as the source database and
// a dump file in the fixture's folder as the destination.
void walkToTransferOptions(WizardFixture& fixture, const std::string& source);
// The whole text of a file ("" when it cannot be read).
std::string readAll(const std::string& path);

// Number of top-level windows still visible.
int visibleTopLevelWindows();

} // namespace tabulon::test
