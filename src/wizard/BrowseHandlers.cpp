#include "wizard/frmMain.h"

#include "lib/FileSystem.h"
#include "settings/DefaultLocations.h"
#include "settings/UserStore.h"
#include "wizard/FileDialogs.h"
#include "wizard/FormControls.h"

#include <QDir>
#include <QLineEdit>

namespace tabulon {

namespace {
const char* const kStoreSection = "Settings";
const char* const kAccessFilter =
    "(*.mdb, *.mde, *.accdb, *.accde) MS Access|*.mdb;*.mde;*.accdb;*.accde|(*.*) All Files|*.*";
// The description names *.mdb while the pattern is *.mdw: the workgroup files are what is wanted.
const char* const kSystemDatabaseFilter = "(*.mdb) MS Access|*.mdw|(*.*) All Files|*.*";
const char* const kDumpFilter = "(*.sql) MSSQL Dump File|*.sql|(*.*) All Files|*.*";
} // namespace

std::string StartFolder() {
    return DocumentsFolder() + QDir::separator().toLatin1();
}

// The two source dialogs share their folder; each remembers its own last file, even one that
// turns out not to exist.
void frmMain::browseSourceFile(const char* title, const char* filter, const char* lastKey, QLineEdit* target) {
    UserStore& store = userStore();
    commonDialog.save = false;
    commonDialog.title = title;
    commonDialog.filter = filter;
    commonDialog.initialFolder = store.text(kStoreSection, "SourceFolder", StartFolder());
    commonDialog.fileName = store.text(kStoreSection, lastKey, "");
    const std::optional<std::string> chosen = fileDialogs().choose(commonDialog);
    if (!chosen || chosen->empty())
        return;
    store.setText(kStoreSection, "SourceFolder", GetFolderOfPath(*chosen));
    store.setText(kStoreSection, lastKey, *chosen);
    if (!FileExists(*chosen)) {
        showMessage("The file does not exist?", 48, "Tabulon", 1);
        return;
    }
    target->setText(QString::fromStdString(*chosen));
}

void frmMain::cmdSourceBrowse_Click() {
    browseSourceFile("Select Source Database", kAccessFilter, "LastLoadedSource", m_ui.txtSourceFilename);
}

void frmMain::cmdSystemDatabaseBrowse_Click() {
    browseSourceFile("Select System Database", kSystemDatabaseFilter, "LastLoadedSystemDatabase",
                     m_ui.txtSourceSystemDatabase);
}

void frmMain::cmdBrowseDump_Click() {
    // The starting folder is left as the previous dialog had it.
    commonDialog.save = true;
    commonDialog.title = "Select Dump File";
    commonDialog.filter = kDumpFilter;
    commonDialog.fileName = m_ui.txtDestinationDumpFilename->text().toStdString();
    const std::optional<std::string> chosen = fileDialogs().choose(commonDialog);
    if (!chosen || chosen->empty())
        return;
    if (FileExists(*chosen) &&
        showMessage("The file already exists. Do you want to overwrite it?", 36, "Overwrite File", 6) != 6)
        return;
    m_ui.txtDestinationDumpFilename->setText(QString::fromStdString(*chosen));
}

UserStore& frmMain::userStore() {
    if (m_userStore == nullptr) {
        m_ownUserStore = std::make_unique<UserStore>();
        m_userStore = m_ownUserStore.get();
    }
    return *m_userStore;
}

FileDialogs& frmMain::fileDialogs() {
    if (m_fileDialogs == nullptr) {
        m_ownFileDialogs = std::make_unique<QtFileDialogs>(this);
        m_fileDialogs = m_ownFileDialogs.get();
    }
    return *m_fileDialogs;
}

} // namespace tabulon
