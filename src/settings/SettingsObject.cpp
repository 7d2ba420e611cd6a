#include "settings/SettingsObject.h"

#include "lib/Convert.h"
#include "settings/DefaultLocations.h"
#include "settings/UserStore.h"

namespace tabulon {

namespace {

// Flags whose default is on: a file must say "0" to switch them off.
constexpr std::array<const char*, 8> kFlagsOnUnlessZero = {
    "createtables",        "unicode",         "autocommit", "transferdefaultvalues", "transferindexes",
    "transferautonumbers", "transferrecords", "columnlist",
};

// What the run adds after the tables: on unless "0", so files written before these keys existed turn
// them on too. They follow the other keys, as the form writes them.
constexpr std::array<const char*, 5> kAddedObjectFlags = {
    "transferrelationships", "transfervalidationrules", "transferdescriptions", "verifycounts", "transferqueries",
};

void normalizeFlag(Dictionary& section, const std::string& key, const char* keptValue, const char* otherwise) {
    const std::string text = toText(section.get(key));
    section.set(key, text == keptValue ? keptValue : otherwise);
}

} // namespace

DictionaryPtr SettingsSection(const DictionaryPtr& settings) {
    return settings ? settings->dictionaryAt(kSettingsSection) : nullptr;
}

DictionaryPtr CreateDefaultSettings(const UserStore& store) {
    auto settings = Dictionary::create();
    auto section = Dictionary::create();
    settings->set(kSettingsSection, section);

    section->set("sourcefilename", store.text("Settings", "LastLoadedSource"));
    section->set("sourceusername", "");
    section->set("sourcepassword", "");
    section->set("destinationmethod", "DIRECT");
    section->set("destinationserver", DefaultDestinationServer());
    section->set("destinationauthentication", "Windows");
    section->set("destinationusername", "sa");
    section->set("destinationpassword", "");
    section->set("destinationdumpfilename", DefaultDumpFileName());
    section->set("destinationdatabase", "verdix");
    section->set("dropdatabase", 0);
    for (const char* key : {"createtables", "unicode", "autocommit", "transferdefaultvalues", "transferautonumbers",
                            "transferindexes", "transferrecords", "columnlist"})
        section->set(key, 1);
    section->set("tableprefix", "");
    section->set("negativeboolean", 0);
    section->set("ignorelargeblobs", 0);
    section->set("memotype", "LONGTEXT");
    section->set("datetimetype", "DATETIME2");
    for (const char* key : kAddedObjectFlags)
        section->set(key, 1);
    return settings;
}

void NormalizeSettings(const DictionaryPtr& settings) {
    const DictionaryPtr section = SettingsSection(settings);
    if (!section)
        return;
    normalizeFlag(*section, "dropdatabase", "1", "0");
    for (const char* key : kFlagsOnUnlessZero)
        normalizeFlag(*section, key, "0", "1");
    // Only "1" switches these two on: a file without them must not turn on 0/-1 Booleans or the
    // silent dropping of binary values over the size limit (their defaults are off).
    normalizeFlag(*section, "negativeboolean", "1", "0");
    normalizeFlag(*section, "ignorelargeblobs", "1", "0");
    section->set("memotype", "VARCHAR(MAX)");
    const std::string dateTimeType = toText(section->get("datetimetype"));
    section->set("datetimetype", dateTimeType == "DATETIME" ? "DATETIME" : "DATETIME2");
    for (const char* key : kAddedObjectFlags)
        normalizeFlag(*section, key, "0", "1");
}

} // namespace tabulon
