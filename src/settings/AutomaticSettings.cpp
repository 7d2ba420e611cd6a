#include "settings/AutomaticSettings.h"

#include "lib/FileSystem.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsObject.h"

namespace tabulon {

void SaveAutomaticSettings(const Dictionary& settings, bool savePasswords, const std::string& path) {
    Dictionary written = settings;
    if (const DictionaryPtr section = settings.dictionaryAt(kSettingsSection); section && !savePasswords) {
        auto blanked = std::make_shared<Dictionary>(*section);
        blanked->set("sourcepassword", "");
        blanked->set("destinationpassword", "");
        written.set(kSettingsSection, blanked);
    }
    if (const std::string folder = GetFolderOfPath(path); !folder.empty())
        MkDirRecurse(folder);
    WriteSettingsFile(written, path);
}

} // namespace tabulon
