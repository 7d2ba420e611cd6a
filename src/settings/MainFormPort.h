#pragma once

#include "lib/Dictionary.h"
#include "lib/Progress.h"
#include "lib/RowSource.h"

#include <string>

namespace tabulon {

// The steps of start-up that belong to the main window. The wizard's frmMain implements them with
// its controls; the unattended run works through the same calls, so it reads the four source values
// from what `applySettingsToForm` put into the controls.
class MainFormPort {
public:
    virtual ~MainFormPort() = default;

    virtual void hideAutocommit() = 0;           // after the dependency check
    virtual void initForm() = 0;                 // "Init form"
    virtual void removePictureBoxTabStops() = 0; // "Remove tabstop from controls of type PictureBox"
    virtual void positionWizardFrames() = 0;     // "Move the frames into position"
    virtual void setTabOrder() = 0;              // "Set tab order"
    virtual void setWelcomeText(const std::string& text) = 0;
    virtual void applySettingsToForm(const DictionaryPtr& settings) = 0; // "Set gui values"
    virtual SourceCredentials sourceFields() const = 0; // txtSourceFilename, -Password, -Username, -SystemDatabase
    virtual void scaleDialog() = 0;                     // "Scale dialog"
    virtual void updateSecurityFields() = 0;            // "UpdateSecurityFields"
    virtual void navigateFromInit() = 0;                // currentPage = "INIT", then WizardNavigate(.., "NEXT")
    // The status list and progress bar (with the log behind them) that the scan and the run report to.
    virtual Progress& progress() = 0;
};

} // namespace tabulon
