#pragma once

#include "engine/ConversionRun.h"
#include "engine/SettingsKeys.h"
#include "lib/Dictionary.h"

#include <string>

// The written keys of the settings table with their defaults, in the order the form builds them.
inline tabulon::DictionaryPtr formOrderedDefaults(const tabulon::ComputedDefaults& computed = {}) {
    auto section = tabulon::Dictionary::create();
    for (const tabulon::SettingKey& key : tabulon::SettingKeys())
        if (key.written)
            section->set(std::string(key.name), tabulon::DefaultValue(key, computed));
    return section;
}

// A settings object as the form builds it for a dump run, to which a test applies its own changes
// through `section()`.
class RunSettings {
public:
    explicit RunSettings(const std::string& sourceFile, const std::string& dumpFile)
        : m_section(formOrderedDefaults({sourceFile, "(local)", dumpFile})) {
        auto& s = *m_section;
        s.set("destinationmethod", "DUMP");
        s.set("destinationusername", "");
        s.set("destinationdatabase", "Converted");
        s.set("dropdatabase", 1);
        s.set("columnlist", 0);
        s.set("memotype", "NVARCHAR(MAX)");
        s.set("datetimetype", "DATETIME");
        m_settings.set(tabulon::kSettingsSection, m_section);
    }

    tabulon::Dictionary& section() { return *m_section; }
    const tabulon::Dictionary& settings() const { return m_settings; }

private:
    tabulon::Dictionary m_settings;
    tabulon::DictionaryPtr m_section;
};
