#include "wizard/modWizard.h"

#include "settings/DefaultLocations.h"
#include "settings/ProcessState.h"
#include "settings/UserInterface.h"
#include "wizard/FormControls.h"
#include "wizard/TableTree.h"
#include "wizard/frmMain.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QTreeWidget>

#include <initializer_list>

namespace tabulon {

namespace {
struct PageSetup {
    const char* name;
    QFrame* frame;
    const char* header;
    const char* note;
    std::initializer_list<QPushButton*> buttons;
    QWidget* focus; // nullptr: the focus stays where it is
};

void setUpPage(frmMain& form, std::string& currentPage, const PageSetup& page) {
    const FormControls& ui = form.controls();
    ShowFrame(form, page.frame->objectName().toStdString());
    for (QPushButton* button : page.buttons)
        button->show();
    if (page.focus)
        page.focus->setFocus();
    currentPage = page.name;
    ui.lblHeader->setText(QString::fromUtf8(page.header));
    ui.lblHeaderNote->setText(QString::fromUtf8(page.note));
}

QList<QWidget*> wizardFrames(const FormControls& ui) {
    return {ui.frameDestination,  ui.frameLoadSettings,    ui.frameProgress,    ui.frameSource,
            ui.frameSelectTables, ui.frameTransferOptions, ui.frameSaveSettings};
}
} // namespace

void ShowFrame(frmMain& form, const std::string& frameName) {
    const FormControls& ui = form.controls();
    const QString name = QString::fromStdString(frameName);
    for (QWidget* frame : wizardFrames(ui))
        frame->setVisible(frame->objectName() == name);
    for (QPushButton* button : {ui.cmdBack, ui.cmdCancel, ui.cmdExit, ui.cmdFinish, ui.cmdNext}) {
        button->setEnabled(true);
        button->hide();
    }
}

void ShowWelcomePage(frmMain& form, std::string& currentPage, bool forward) {
    const FormControls& ui = form.controls();
    setUpPage(form, currentPage,
              {"WELCOME",
               ui.frameLoadSettings,
               "Tabulon Conversion",
               "This wizard will lead you through the conversion of a MS Access database to a MSSQL database or "
               "dump file.",
               {ui.cmdBack, ui.cmdNext, ui.cmdCancel},
               forward ? nullptr : ui.cmdNext});
    ui.cmdBack->setEnabled(false);
}

void ShowSourcePage(frmMain& form, std::string& currentPage, bool forward) {
    const FormControls& ui = form.controls();
    setUpPage(form, currentPage,
              {"SOURCE",
               ui.frameSource,
               "Source Database",
               "Specify which MS Access database to use as data source for the transfer.",
               {ui.cmdBack, ui.cmdNext, ui.cmdCancel},
               forward ? ui.cmdNext : ui.cmdBack});
}

void ShowDestinationPage(frmMain& form, std::string& currentPage, bool forward) {
    const FormControls& ui = form.controls();
    setUpPage(form, currentPage,
              {"DESTINATION",
               ui.frameDestination,
               "Destination Database",
               "Specify the MSSQL destination database and connection information.",
               {ui.cmdBack, ui.cmdNext, ui.cmdCancel},
               forward ? ui.cmdNext : ui.cmdBack});
}

void ShowTransferOptionsPage(frmMain& form, std::string& currentPage, bool /*forward*/) {
    const FormControls& ui = form.controls();
    setUpPage(form, currentPage,
              {"TRANSFER_OPTIONS",
               ui.frameTransferOptions,
               "Transfer Options",
               "Use this page to set some options that will affect the database transfer.",
               {ui.cmdBack, ui.cmdCancel, ui.cmdFinish},
               ui.cmdFinish});
}

void PositionWizardFrames(frmMain& form) {
    const FormControls& ui = form.controls();
    QSize size(560, 300);
    for (QWidget* frame : wizardFrames(ui))
        size = size.expandedTo(frame->sizeHint());
    ui.pageArea->setMinimumSize(size + QSize(40, 24));
    // Hidden pages get their size now, so the tab order sees each control at its real place.
    for (QWidget* frame : wizardFrames(ui)) {
        frame->setBackgroundRole(QPalette::Window);
        frame->resize(size);
    }
}

void ShowDestinationFrames(frmMain& form, const std::string& method) {
    const FormControls& ui = form.controls();
    if (method == "DIRECT") {
        ui.frameDestinationMSSQL->show();
        ui.frameDestinationDump->hide();
    } else if (method == "DUMP") {
        ui.frameDestinationDirect->hide();
        ui.frameDestinationMSSQL->hide();
        ui.frameDestinationPGSQL->hide();
        ui.frameDestinationDump->show();
    }
}

void RememberCheckedTables(frmMain& form) {
    form.selectedTables = GetCheckedTablePaths(form.controls().tvSourceTables);
}

void ShowManual(frmMain& form) {
    const std::string manual = ManualPath();
    if (manual.empty()) {
        form.showMessage("The manual could not be found. An installed Tabulon keeps it in " + InstalledManualPath() +
                             ".",
                         msgbox::Exclamation, "Tabulon", msgbox::Ok);
        return;
    }
    if (!form.openDocument(manual))
        form.showMessage("No program could be started to show the manual " + manual + ".", msgbox::Exclamation,
                         "Tabulon", msgbox::Ok);
}

} // namespace tabulon
