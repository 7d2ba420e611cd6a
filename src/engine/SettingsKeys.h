#pragma once

#include "lib/Dictionary.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

// The section of the settings object that holds every setting of a run.
constexpr const char* kSettingsSection = "Verdix Tessoral";

// What a key holds.
enum class SettingKind {
    Text, // a text, taken as it stands
    Flag, // a check box: 0 or 1 from the form and the defaults, "0" or "1" from a normalised file
    List, // a list of texts (`sourcetables`)
};

// Defaults that depend on the user and the computer; the settings layer works them out.
enum class ComputedDefault { None, LastLoadedSource, DestinationServer, DumpFileName };

struct ComputedDefaults {
    std::string lastLoadedSource;  // the per-user value "LastLoadedSource"
    std::string destinationServer; // the computer name, with "\SQLEXPRESS" where that instance is installed
    std::string dumpFileName;      // dump.sql in the documents folder
};

// How the dump header's option listing shows a key.
enum class HeaderListing {
    Shown,       // as it stands
    Hidden,      // left out: destinations, logins, the table list
    Masked,      // "** HIDDEN **", or nothing after "=" when empty
    SlashedPath, // every backslash turned into "/"
};

// How a key read from a file is normalised: a text among `kept` stays, anything else (a missing key
// and a list included) becomes `otherwise`. A key without `otherwise` keeps what was read.
struct Normalisation {
    std::array<std::string_view, 2> kept{};
    std::string_view otherwise;

    bool applies() const { return !otherwise.empty(); }
};

// One key of the settings section: the one place that says its default, its normalisation, where the
// form shows it and how the dump header lists it.
struct SettingKey {
    std::string_view name;
    SettingKind kind = SettingKind::Text;
    std::string_view defaultText; // a Text key's default
    bool defaultOn = false;       // a Flag key's default
    ComputedDefault computed = ComputedDefault::None;
    int defaultPosition = 0; // place in CreateDefaultSettings' order, from 1; 0: not among the defaults
    Normalisation normalisation;
    HeaderListing listing = HeaderListing::Shown;
    std::string_view control;   // objectName of the control of the main form or the advanced options
    bool written = true;        // built from the form and written to files; otherwise only applied or read
    bool onWhenMissing = false; // a Flag that a settings object without it leaves checked in the form
};

// Every key, the written ones first in the order the form builds them, which is also their order in
// every settings file the system writes.
std::span<const SettingKey> SettingKeys();

// The key of that name (lower case, as sections hold them), or null.
const SettingKey* FindSettingKey(std::string_view name);

// A key's default: a Flag as the integer 0 or 1, a Text as text, a List as an empty list.
Variant DefaultValue(const SettingKey& key, const ComputedDefaults& computed);

// The default section: the keys that have a default position, in that order.
DictionaryPtr DefaultSection(const ComputedDefaults& computed);

// Rewrites the normalised keys of a section read from a file, in table order, as texts; a missing key
// is added at the end. Other keys keep what was read.
void NormalizeSection(Dictionary& section);

// The dump header's option listing: "key=value" for every key of the section in its order, lists
// joined with ", ", keys of the table hidden, masked or with slashed paths as the table says.
std::vector<std::string> ListedOptions(const Dictionary& section);

} // namespace tabulon
