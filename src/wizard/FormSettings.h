#pragma once

#include "lib/Dictionary.h"

#include <string>

namespace tabulon {

class frmMain;

// A new settings object built from the controls of the main window and the advanced options
// dialog: the section "Verdix Tessoral" with its 26 keys in their fixed order. Texts are taken as
// they stand, check boxes as 0 or 1, `sourcetables` as the checked tree paths in node order.
DictionaryPtr GetSettingsFromForm(frmMain& form);

// Puts a settings object into the controls and replaces the remembered table selection (the tree
// itself changes at the next scan). Does nothing unless the "Verdix Tessoral" entry is a
// dictionary. A check-box value that is a non-numeric text raises 13 (type mismatch).
void ApplySettingsToForm(frmMain& form, const DictionaryPtr& settings);

// Asks for a file name (starting in the remembered folder) and writes the settings of the form to
// it, passwords included; an existing file is overwritten only when the user says Yes. Errors of
// the write pass to the caller.
void SaveSettingsDialog(frmMain& form, const std::string& proposedFileName);

// Asks for a settings file (proposing the last one loaded), reads, normalises and applies it, and
// says so. Errors of the read pass to the caller.
void LoadSettingsDialog(frmMain& form);

} // namespace tabulon
