#pragma once

#include "wizard/SourceCheck.h"

#include <string>

namespace tabulon {

class frmMain;

// The page machine of the wizard. Page names: "INIT", "WELCOME", "SOURCE", "DESTINATION",
// "SELECT_TABLES", "TRANSFER_OPTIONS", "PROGRESS", "SAVESETTINGS"; actions: "NEXT", "BACK", "FINISH".
// Validates what the current page needs, sets up the next page and stores its name in `currentPage`.
// Any error is raised again with its number, source "Verdix.modWizard.WizardNavigate" and the
// description "modWizard component failure. Verdix.modWizard.WizardNavigate line <step>. <description>".
void WizardNavigate(frmMain& form, std::string& currentPage, const std::string& action);

// Shows exactly the named page frame; enables and hides every navigation button.
void ShowFrame(frmMain& form, const std::string& frameName);

// Page set-ups: frame, buttons, focus, page name and header texts. `forward` is true when the page is
// reached with "NEXT" or from "INIT".
void ShowWelcomePage(frmMain& form, std::string& currentPage, bool forward);
void ShowSourcePage(frmMain& form, std::string& currentPage, bool forward);
void ShowDestinationPage(frmMain& form, std::string& currentPage, bool forward);
// Forward after a change of the source file name, also scans the source and refills the tree.
void ShowSelectTablesPage(frmMain& form, std::string& currentPage, bool forward);
// Fills the table tree from `currentSchema` and checks the remembered selection, or every node when
// nothing is remembered.
void FillTableTree(frmMain& form);
// Checks the remembered selection in the tree as it stands, or every node when nothing is remembered.
void CheckRememberedTables(frmMain& form);
void ShowTransferOptionsPage(frmMain& form, std::string& currentPage, bool forward);

// Gives every page frame one place and one size, so the window keeps its size from page to page.
void PositionWizardFrames(frmMain& form);

// "DIRECT" shows the connection frame and hides the dump frame; "DUMP" the reverse; other texts
// change nothing.
void ShowDestinationFrames(frmMain& form, const std::string& method);

// The run behind "&Run Now": saves wizard.ini, shows the progress page, runs the conversion with
// the settings of the form and shows its report on the result page.
void WizardNavigateRun(frmMain& form, std::string& currentPage);
void ShowResultPage(frmMain& form, std::string& currentPage, bool forward);

// Sets the remembered table selection to the paths checked in the tree.
void RememberCheckedTables(frmMain& form);

// What "&Help" opens: the manual, as ManualPath() finds it; without one it says where it belongs.
void ShowManual(frmMain& form);

} // namespace tabulon
