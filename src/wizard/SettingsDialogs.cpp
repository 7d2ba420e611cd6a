#include "wizard/FormSettings.h"

#include "lib/FileSystem.h"
#include "lib/Ini.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsObject.h"
#include "settings/UserStore.h"
#include "wizard/FileDialogs.h"
#include "wizard/frmMain.h"
#include "wizard/modWizard.h"

namespace tabulon {

namespace {
const char* const kStoreSection = "Settings";
const char* const kSettingsFilter = "(*.ini) Wizard Settings|*.ini|(*.*) All Files|*.*";

// Shows the one dialog of the window for a settings file, starting in the folder of the last one.
std::optional<std::string> chooseSettingsFile(frmMain& form, bool save, const char* title,
                                              const std::string& fileName) {
    FileDialogRequest& dialog = form.commonDialog;
    dialog.save = save;
    dialog.title = title;
    dialog.filter = kSettingsFilter;
    dialog.initialFolder = form.userStore().text(kStoreSection, "SaveFolder", StartFolder());
    dialog.fileName = fileName;
    return form.fileDialogs().choose(dialog);
}
} // namespace

void SaveSettingsDialog(frmMain& form, const std::string& proposedFileName) {
    const std::optional<std::string> chosen = chooseSettingsFile(form, true, "Save Settings As", proposedFileName);
    if (!chosen || chosen->empty())
        return;
    form.userStore().setText(kStoreSection, "SaveFolder", GetFolderOfPath(*chosen));
    if (FileExists(*chosen) &&
        form.showMessage("The file already exists. Do you want to overwrite it?", 36, "Overwrite File", 7) != 6)
        return;
    // A file saved on purpose keeps the passwords as typed, where only the user can read them.
    WriteSettingsFile(*GetSettingsFromForm(form), *chosen);
}

void LoadSettingsDialog(frmMain& form) {
    UserStore& store = form.userStore();
    const std::optional<std::string> chosen =
        chooseSettingsFile(form, false, "Load Settings", store.text(kStoreSection, "LastLoadedIni", ""));
    if (!chosen)
        return;
    if (!chosen->empty()) {
        store.setText(kStoreSection, "SaveFolder", GetFolderOfPath(*chosen));
        store.setText(kStoreSection, "LastLoadedIni", *chosen);
        if (!FileExists(*chosen)) {
            form.showMessage("The file does not exist?", 48, "Load Settings", 1);
            return;
        }
        const DictionaryPtr settings = ReadIniFile(*chosen);
        NormalizeSettings(settings);
        if (const std::string warning = ExposedPasswordWarning(*settings, *chosen); !warning.empty())
            form.writeLog(warning);
        ApplySettingsToForm(form, settings);
        // The same database stays scanned: its tree must show the loaded selection now, not at a
        // next scan that will not come.
        if (!form.rescanSource)
            CheckRememberedTables(form);
    }
    form.showMessage("Wizard settings were loaded successfully", 64, "Tabulon", 1);
}

} // namespace tabulon
