#include "settings/SettingsObject.h"

#include "settings/DefaultLocations.h"
#include "settings/UserStore.h"

namespace tabulon {

DictionaryPtr SettingsSection(const DictionaryPtr& settings) {
    return settings ? settings->dictionaryAt(kSettingsSection) : nullptr;
}

DictionaryPtr CreateDefaultSettings(const UserStore& store) {
    auto settings = Dictionary::create();
    settings->set(kSettingsSection, DefaultSection({store.text("Settings", "LastLoadedSource"),
                                                    DefaultDestinationServer(), DefaultDumpFileName()}));
    return settings;
}

void NormalizeSettings(const DictionaryPtr& settings) {
    if (const DictionaryPtr section = SettingsSection(settings))
        NormalizeSection(*section);
}

} // namespace tabulon
