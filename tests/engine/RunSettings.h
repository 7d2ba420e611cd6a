#pragma once

#include "engine/ConversionRun.h"
#include "lib/Dictionary.h"

#include <string>

// A settings object as the form builds it for a dump run (the defaults of the wizard), to which a
// test applies its own changes through `section()`.
class RunSettings {
public:
    explicit RunSettings(const std::string& sourceFile, const std::string& dumpFile) {
        m_section = tabulon::Dictionary::create();
        auto& s = *m_section;
        s.set("sourcefilename", sourceFile);
        s.set("sourceusername", "");
        s.set("sourcepassword", "");
        s.set("sourcesystemdatabase", "");
        s.set("destinationmethod", "DUMP");
        s.set("destinationserver", "(local)");
        s.set("destinationauthentication", "Windows");
        s.set("destinationusername", "");
        s.set("destinationpassword", "");
        s.set("destinationdatabase", "Converted");
        s.set("destinationdumpfilename", dumpFile);
        s.set("dropdatabase", 1);
        s.set("createtables", 1);
        s.set("unicode", 1);
        s.set("autocommit", 1);
        s.set("transferdefaultvalues", 1);
        s.set("transferindexes", 1);
        s.set("transferautonumbers", 1);
        s.set("transferrecords", 1);
        s.set("columnlist", 0);
        s.set("tableprefix", "");
        s.set("negativeboolean", 0);
        s.set("ignorelargeblobs", 0);
        s.set("memotype", "NVARCHAR(MAX)");
        s.set("datetimetype", "DATETIME");
        s.set("transferrelationships", 1);
        s.set("transfervalidationrules", 1);
        s.set("transferdescriptions", 1);
        s.set("verifycounts", 1);
        s.set("transferqueries", 1);
        s.set("sourcetables", tabulon::StringList{});
        m_settings.set(tabulon::kSettingsSection, m_section);
    }

    tabulon::Dictionary& section() { return *m_section; }
    const tabulon::Dictionary& settings() const { return m_settings; }

private:
    tabulon::Dictionary m_settings;
    tabulon::DictionaryPtr m_section;
};
