#include "wizard/modWizard.h"

#include "lib/Error.h"
#include "wizard/FormControls.h"
#include "wizard/frmMain.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

namespace tabulon {

void WizardNavigateRun(frmMain& /*form*/, std::string& /*currentPage*/) {
    throw Error(errc::General, "Verdix.modWizard.WizardNavigateRun", "The conversion run is not available yet.");
}

void ShowResultPage(frmMain& form, std::string& currentPage, bool /*forward*/) {
    const FormControls& ui = form.controls();
    ShowFrame(form, "frameSaveSettings");
    ui.cmdBack->show();
    ui.lblHeader->setText(QStringLiteral("Conversion Result"));
    ui.lblHeaderNote->setText(QStringLiteral("This page displays a summary of the conversion."));
    ui.cmdExit->show();
    ui.cmdExit->setFocus();
    currentPage = "SAVESETTINGS";
    // The report's lines end in CR LF; the box shows them as plain line breaks.
    ui.txtReport->setPlainText(
        QString::fromStdString(form.conversionReport).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    ui.txtReport->moveCursor(QTextCursor::End);
    ui.txtReport->ensureCursorVisible();
}

} // namespace tabulon
