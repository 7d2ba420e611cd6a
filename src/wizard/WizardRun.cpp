#include "wizard/modWizard.h"

#include "engine/ConversionRun.h"
#include "lib/Error.h"
#include "lib/FileSystem.h"
#include "settings/AutomaticSettings.h"
#include "settings/DefaultLocations.h"
#include "settings/ProcessState.h"
#include "source/AccessDatabase.h"
#include "wizard/FormControls.h"
#include "wizard/FormSettings.h"
#include "wizard/StatusLog.h"
#include "wizard/frmMain.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

namespace tabulon {

namespace {
// Steps 100 to 170: wizard.ini holds the settings of every run, even one that fails or is cancelled.
void saveAutomaticSettings(frmMain& form, int& step) {
    step = 100;
    if (form.state().autorunMode)
        return;
    step = 110;
    const DictionaryPtr settings = GetSettingsFromForm(form);
    // The folder is made first so that a folder that cannot be made (line 160) is told apart from a
    // file that cannot be written (line 170).
    step = 160;
    MkDirRecurse(ApplicationDataFolder());
    step = 170;
    SaveAutomaticSettings(*settings, form.state().savePasswords, DefaultSettingsPath());
}

// Steps 190 to 260: the progress page, with only Cancel, and an empty status list and report.
void showProgressPage(frmMain& form, std::string& currentPage, int& step) {
    const FormControls& ui = form.controls();
    step = 190;
    ShowFrame(form, "frameProgress");
    step = 200;
    ui.cmdCancel->show();
    step = 210;
    ui.cmdCancel->setFocus();
    step = 220;
    currentPage = "PROGRESS";
    step = 230;
    ui.lblHeader->setText(QStringLiteral("Conversion In Progress"));
    step = 240;
    ui.lblHeaderNote->setText(QStringLiteral("The conversion is now running. This might take a while."));
    step = 250;
    form.statusLog().clear();
    step = 260;
    form.conversionReport.clear();
}

// Steps 270 to 300: the conversion with the settings as typed (passwords included).
void convert(frmMain& form, int& step) {
    step = 270;
    const DictionaryPtr settings = GetSettingsFromForm(form);
    step = 280;
    form.setCursor(Qt::WaitCursor);
    step = 290;
    ProcessState& state = form.state();
    state.run.cancelRequested = false;
    step = 300;
    ConversionContext context{form.progress(), state.run, state.currentSchema.get(),
                              [](const SourceCredentials& credentials) -> std::unique_ptr<SourceConnection> {
                                  return AccessDatabase::open(credentials);
                              }};
    MoveData2MySql(*settings, form.conversionReport, context);
}

// Steps 310 to 340.
void finishRun(frmMain& form, std::string& currentPage, int& step) {
    step = 310;
    form.state().run.conversionRunning = false;
    step = 320;
    form.writeLog(form.conversionReport);
    step = 330;
    form.unsetCursor();
    step = 340;
    ShowResultPage(form, currentPage, true);
}

// A missing ODBC driver ends on the result page, with the reason in the report's error block.
void reportMissingDriver(frmMain& form, const Error& error) {
    form.conversionReport += "\r\nERROR\r\n------------\r\n" + error.description() + "\r\n";
    form.showMessage(error.description(), 48, "Missing ODBC Driver", 1);
}

[[noreturn]] void raiseAtStep(long number, const std::string& description, int step) {
    throw Error(number, "Verdix.modWizard.WizardNavigateRun",
                "Error in modWizard.WizardNavigateRun line " + std::to_string(step) + ". " + std::to_string(number) +
                    ": " + description);
}
} // namespace

void WizardNavigateRun(frmMain& form, std::string& currentPage) {
    int step = 0;
    try {
        try {
            saveAutomaticSettings(form, step);
            showProgressPage(form, currentPage, step);
            convert(form, step);
        } catch (const Error& error) {
            if (error.number() != errc::MissingOdbcDriver)
                throw;
            reportMissingDriver(form, error);
        }
        finishRun(form, currentPage, step);
    } catch (const Error& error) {
        raiseAtStep(error.number(), error.description(), step);
    } catch (const std::exception& error) {
        raiseAtStep(errc::General, error.what(), step);
    }
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
