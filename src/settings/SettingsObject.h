#pragma once

#include "engine/SettingsKeys.h"
#include "lib/Dictionary.h"

namespace tabulon {

class UserStore;

// A new settings object holding the defaults of the settings keys, in their default order: the flags
// as the integers 0 and 1, the source file remembered in the per-user store ("LastLoadedSource"), the
// computer name as the server and dump.sql in the documents folder; without `sourcesystemdatabase`
// and `sourcetables`.
DictionaryPtr CreateDefaultSettings(const UserStore& store);

// Rewrites the flags, `memotype` and `datetimetype` of a settings object read from a file as texts
// with only their allowed values (a missing key is added at the end). Does nothing unless `settings`
// holds a section dictionary.
void NormalizeSettings(const DictionaryPtr& settings);

// The section dictionary of a settings object, or null when there is none.
DictionaryPtr SettingsSection(const DictionaryPtr& settings);

} // namespace tabulon
