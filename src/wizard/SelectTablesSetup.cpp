#include "wizard/modWizard.h"

#include "settings/ProcessState.h"
#include "source/SchemaScanner.h"
#include "wizard/FormControls.h"
#include "wizard/TableTree.h"
#include "wizard/frmMain.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace tabulon {

namespace {
// Scans the source named on the source page; its document becomes `currentSchema`. The window takes
// no input meanwhile: the scan lets window events run, and a second click on a navigation button
// must not walk on while the tree is still empty.
void scanSource(frmMain& form) {
    const FormControls& ui = form.controls();
    const frmMain::BusyScope busy(form);
    form.state().currentSchema = ScanSourceDatabase(
        ui.txtSourceFilename->text().toStdString(), ui.txtSourcePassword->text().toStdString(),
        ui.txtSourceUsername->text().toStdString(), ui.txtSourceSystemDatabase->text().toStdString(), form.progress());
}

} // namespace

void FillTableTree(frmMain& form) {
    QTreeWidget* tree = form.controls().tvSourceTables;
    tree->clear();
    if (form.state().currentSchema)
        tabletree::fill(tree, *form.state().currentSchema);
    CheckRememberedTables(form);
}

void CheckRememberedTables(frmMain& form) {
    QTreeWidget* tree = form.controls().tvSourceTables;
    if (form.selectedTables->empty())
        CheckAllTableNodes(tree, true);
    else
        CheckTableNodes(tree, *form.selectedTables);
}

void ShowSelectTablesPage(frmMain& form, std::string& currentPage, bool forward) {
    const FormControls& ui = form.controls();
    ShowFrame(form, "frameSelectTables");
    ui.cmdBack->show();
    ui.cmdNext->show();
    ui.cmdCancel->show();
    (forward ? ui.cmdNext : ui.cmdBack)->setFocus();
    currentPage = "SELECT_TABLES";
    ui.lblHeader->setText(QStringLiteral("Select Tables"));
    ui.lblHeaderNote->setText(
        QStringLiteral("Select the tables you want to transfer from the source database to the destination database."));
    if (!forward || !form.rescanSource)
        return;
    scanSource(form);
    FillTableTree(form);
    form.rescanSource = false;
    ui.tvSourceTables->update();
}

} // namespace tabulon
