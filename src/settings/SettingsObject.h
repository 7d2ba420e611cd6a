#pragma once

#include "engine/ConversionRun.h" // kSettingsSection, the name of the one section the run reads
#include "lib/Dictionary.h"

#include <array>
#include <string>
#include <string_view>

namespace tabulon {

class UserStore;

// The section keys in the order in which the form inserts them, which is also their order in every
// settings file the system writes.
inline constexpr std::array<std::string_view, 31> kSettingsKeys = {
    "sourcefilename",
    "sourceusername",
    "sourcepassword",
    "sourcesystemdatabase",
    "destinationmethod",
    "destinationserver",
    "destinationauthentication",
    "destinationusername",
    "destinationpassword",
    "destinationdatabase",
    "destinationdumpfilename",
    "sourcetables",
    "dropdatabase",
    "createtables",
    "unicode",
    "autocommit",
    "transferdefaultvalues",
    "transferindexes",
    "transferautonumbers",
    "transferrecords",
    "columnlist",
    "tableprefix",
    "negativeboolean",
    "ignorelargeblobs",
    "memotype",
    "datetimetype",
    "transferrelationships",
    "transfervalidationrules",
    "transferdescriptions",
    "verifycounts",
    "transferqueries",
};

// A new settings object holding the defaults: the flags as the integers 0 and 1, the source file
// remembered in the per-user store ("LastLoadedSource"), the computer name as the server and
// dump.sql in the documents folder; without `sourcesystemdatabase` and `sourcetables`.
DictionaryPtr CreateDefaultSettings(const UserStore& store);

// Rewrites the flags, `memotype` and `datetimetype` of a settings object read from a file as texts
// with only their allowed values (a missing key is added at the end). Does nothing unless `settings`
// holds a section dictionary.
void NormalizeSettings(const DictionaryPtr& settings);

// The section dictionary of a settings object, or null when there is none.
DictionaryPtr SettingsSection(const DictionaryPtr& settings);

} // namespace tabulon
