#include "settings/SettingsFile.h"

#include "lib/Convert.h"
#include "lib/Ini.h"
#include "lib/OwnerOnlyFile.h"
#include "settings/SettingsObject.h"

namespace tabulon {

bool HoldsPassword(const Dictionary& settings) {
    const DictionaryPtr section = settings.dictionaryAt(kSettingsSection);
    return section &&
           (!toText(section->get("sourcepassword")).empty() || !toText(section->get("destinationpassword")).empty());
}

void WriteSettingsFile(const Dictionary& settings, const std::string& path) {
    if (HoldsPassword(settings))
        RestrictToOwner(path);
    WriteIniFile(settings, path);
}

std::string ExposedPasswordWarning(const Dictionary& settings, const std::string& path) {
    if (!HoldsPassword(settings) || !ReadableByOthers(path))
        return {};
    return "Warning: the settings file " + path +
           " holds a password that other users of this computer can read. Make it yours alone with: chmod 600 '" +
           path + "'";
}

} // namespace tabulon
