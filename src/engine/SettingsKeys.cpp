#include "SettingsKeys.h"

#include "lib/Convert.h"

#include <algorithm>

namespace tabulon {

namespace {

using enum SettingKind;
using enum ComputedDefault;
using enum HeaderListing;

// A flag that only "1" switches on, and one that only "0" switches off.
constexpr Normalisation kOnlyOneIsOn{{"1"}, "0"};
constexpr Normalisation kOnlyZeroIsOff{{"0"}, "1"};

// The table is written with these builders, not designated initialisers, which GCC's
// -Wmissing-field-initializers reports for every member left out.
constexpr SettingKey text(std::string_view name, std::string_view defaultText, int position, std::string_view control) {
    SettingKey key;
    key.name = name;
    key.defaultText = defaultText;
    key.defaultPosition = position;
    key.control = control;
    return key;
}

constexpr SettingKey computed(std::string_view name, ComputedDefault computed, int position, std::string_view control) {
    SettingKey key = text(name, {}, position, control);
    key.computed = computed;
    return key;
}

constexpr SettingKey flag(std::string_view name, bool on, int position, std::string_view control) {
    SettingKey key = text(name, {}, position, control);
    key.kind = Flag;
    key.defaultOn = on;
    key.normalisation = on ? kOnlyZeroIsOff : kOnlyOneIsOn;
    return key;
}

constexpr SettingKey textList(std::string_view name, std::string_view control) {
    SettingKey key = text(name, {}, 0, control);
    key.kind = List;
    return key;
}

// What the run adds after the tables: a flag that a file written before it existed turns on, and a
// settings object without it leaves checked in the form.
constexpr SettingKey addedObjectFlag(std::string_view name, int position, std::string_view control) {
    SettingKey key = flag(name, true, position, control);
    key.onWhenMissing = true;
    return key;
}

constexpr SettingKey listed(SettingKey key, HeaderListing listing) {
    key.listing = listing;
    return key;
}

constexpr SettingKey normalised(SettingKey key, Normalisation normalisation) {
    key.normalisation = normalisation;
    return key;
}

constexpr SettingKey notWritten(SettingKey key) {
    key.written = false;
    return key;
}

// negativeboolean and ignorelargeblobs are off by default, so a file must say "1" to switch them on:
// a file without them must not turn on 0/-1 Booleans or the silent dropping of large binary values.
constexpr std::array kKeys = {
    listed(computed("sourcefilename", LastLoadedSource, 1, "txtSourceFilename"), SlashedPath),
    text("sourceusername", "", 2, "txtSourceUsername"),
    listed(text("sourcepassword", "", 3, "txtSourcePassword"), Masked),
    text("sourcesystemdatabase", "", 0, "txtSourceSystemDatabase"),
    listed(text("destinationmethod", "DIRECT", 4, "optDestination"), Hidden),
    computed("destinationserver", DestinationServer, 5, "txtMSSQLServer"),
    text("destinationauthentication", "Windows", 6, "cbMSSQLAuthentication"),
    listed(text("destinationusername", "sa", 7, "txtMSSQLUserName"), Hidden),
    listed(text("destinationpassword", "", 8, "txtMSSQLPassword"), Hidden),
    text("destinationdatabase", "verdix", 10, "txtMSSQLDestinationDatabase"),
    listed(computed("destinationdumpfilename", DumpFileName, 9, "txtDestinationDumpFilename"), Hidden),
    listed(textList("sourcetables", "tvSourceTables"), Hidden),
    flag("dropdatabase", false, 11, "chkDropDatabase"),
    flag("createtables", true, 12, "chkCreateTables"),
    flag("unicode", true, 13, "chkUnicode"),
    flag("autocommit", true, 14, "chkAutocommit"),
    flag("transferdefaultvalues", true, 15, "chkTransferDefaultValues"),
    flag("transferindexes", true, 17, "chkTransferIndexes"),
    flag("transferautonumbers", true, 16, "chkTransferAutonumbers"),
    flag("transferrecords", true, 18, "chkTransferRecords"),
    flag("columnlist", true, 19, "chkColumnList"),
    text("tableprefix", "", 20, "txtTablePrefix"),
    flag("negativeboolean", false, 21, "chkBooleanValue"),
    flag("ignorelargeblobs", false, 22, "chkIgnoreLargeBlobs"),
    // The only memo type offered; the default names the one of another server, which a file never keeps.
    normalised(text("memotype", "LONGTEXT", 23, "cbMemoType"), {{}, "VARCHAR(MAX)"}),
    normalised(text("datetimetype", "DATETIME2", 24, "cbDateTimeType"), {{"DATETIME", "DATETIME2"}, "DATETIME2"}),
    addedObjectFlag("transferrelationships", 25, "chkTransferRelationships"),
    addedObjectFlag("transfervalidationrules", 26, "chkTransferValidationRules"),
    addedObjectFlag("transferdescriptions", 27, "chkTransferDescriptions"),
    addedObjectFlag("verifycounts", 28, "chkVerifyCounts"),
    addedObjectFlag("transferqueries", 29, "chkTransferQueries"),
    // Applied from a file to the hidden list of the form, never written by it.
    notWritten(text("storageengine", "", 0, "cbStorageEngine")),
    // Keys of other destination kinds that a file may carry; the header leaves them out.
    notWritten(listed(text("destinationhost", "", 0, ""), Hidden)),
    notWritten(listed(text("destinationport", "", 0, ""), Hidden)),
};

std::string computedDefault(ComputedDefault computed, const ComputedDefaults& values) {
    switch (computed) {
    case LastLoadedSource:
        return values.lastLoadedSource;
    case DestinationServer:
        return values.destinationServer;
    case DumpFileName:
        return values.dumpFileName;
    case None:
        break;
    }
    return {};
}

std::string normalised(const Normalisation& rule, const std::string& text) {
    const bool kept = std::any_of(rule.kept.begin(), rule.kept.end(),
                                  [&](std::string_view allowed) { return !allowed.empty() && allowed == text; });
    return kept ? text : std::string(rule.otherwise);
}

std::string listedValue(const SettingKey* key, const Variant& value) {
    if (value.isList()) {
        std::string joined;
        for (std::size_t i = 0; i < value.list().size(); ++i)
            joined += (i > 0 ? ", " : "") + value.list()[i];
        return joined;
    }
    std::string text = toText(value);
    if (key && key->listing == Masked)
        return text.empty() ? std::string() : "** HIDDEN **";
    if (key && key->listing == SlashedPath)
        std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

} // namespace

std::span<const SettingKey> SettingKeys() {
    return kKeys;
}

const SettingKey* FindSettingKey(std::string_view name) {
    const auto it = std::find_if(kKeys.begin(), kKeys.end(), [&](const SettingKey& key) { return key.name == name; });
    return it == kKeys.end() ? nullptr : &*it;
}

Variant DefaultValue(const SettingKey& key, const ComputedDefaults& computed) {
    switch (key.kind) {
    case Flag:
        return Variant(key.defaultOn ? 1 : 0);
    case List:
        return Variant(StringList{});
    case Text:
        break;
    }
    return key.computed == None ? Variant(key.defaultText) : Variant(computedDefault(key.computed, computed));
}

DictionaryPtr DefaultSection(const ComputedDefaults& computed) {
    std::vector<const SettingKey*> keys;
    for (const SettingKey& key : kKeys)
        if (key.defaultPosition > 0)
            keys.push_back(&key);
    std::sort(keys.begin(), keys.end(),
              [](const SettingKey* a, const SettingKey* b) { return a->defaultPosition < b->defaultPosition; });
    DictionaryPtr section = Dictionary::create();
    for (const SettingKey* key : keys)
        section->set(std::string(key->name), DefaultValue(*key, computed));
    return section;
}

void NormalizeSection(Dictionary& section) {
    for (const SettingKey& key : kKeys)
        if (key.normalisation.applies()) {
            const std::string name(key.name);
            section.set(name, normalised(key.normalisation, toText(section.get(name))));
        }
}

std::vector<std::string> ListedOptions(const Dictionary& section) {
    std::vector<std::string> lines;
    for (const auto& [name, value] : section.entries()) {
        // Keys are compared in lower case here: a hand-written file may spell them otherwise.
        const SettingKey* key = FindSettingKey(toLowerAscii(name));
        if (!key || key->listing != Hidden)
            lines.push_back(name + "=" + listedValue(key, value));
    }
    return lines;
}

} // namespace tabulon
