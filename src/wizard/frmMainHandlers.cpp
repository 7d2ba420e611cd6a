#include "wizard/frmMain.h"

#include "settings/ProcessState.h"
#include "settings/UserInterface.h"
#include "tabulon/Version.h"
#include "wizard/FormControls.h"
#include "wizard/FormSettings.h"
#include "wizard/StatusLog.h"
#include "wizard/TableTree.h"
#include "wizard/frmAdvancedOptions.h"
#include "wizard/modWizard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <initializer_list>

namespace tabulon {

void frmMain::connectHandlers() {
    connectNavigation();
    connectPageControls();
}

void frmMain::connectNavigation() {
    const auto onClick = [this](QPushButton* button, const char* name, std::function<void()> body) {
        connect(button, &QPushButton::clicked, this, [this, name, body] { trapped(name, body); });
    };
    onClick(m_ui.cmdNext, "cmdNext_Click", [this] { WizardNavigate(*this, currentPage, "NEXT"); });
    onClick(m_ui.cmdBack, "cmdBack_Click", [this] { WizardNavigate(*this, currentPage, "BACK"); });
    onClick(m_ui.cmdFinish, "cmdFinish_Click", [this] { WizardNavigate(*this, currentPage, "FINISH"); });
    onClick(m_ui.cmdCancel, "cmdCancel_Click", [this] { cmdCancel_Click(); });
    onClick(m_ui.cmdExit, "cmdExit_Click", [this] { unloadForms(); });
    onClick(m_ui.cmdLoadSettings, "cmdLoadSettings_Click", [this] { LoadSettingsDialog(*this); });
    onClick(m_ui.cmdSaveSettings, "cmdSaveSettings_Click", [this] { SaveSettingsDialog(*this, ""); });
    onClick(m_ui.cmdSaveSettings1, "cmdSaveSettings1_Click", [this] { SaveSettingsDialog(*this, ""); });
    onClick(m_ui.cmdSourceBrowse, "cmdSourceBrowse_Click", [this] { cmdSourceBrowse_Click(); });
    onClick(m_ui.cmdSystemDatabaseBrowse, "cmdSystemDatabaseBrowse_Click", [this] { cmdSystemDatabaseBrowse_Click(); });
    onClick(m_ui.cmdBrowseDump, "cmdBrowseDump_Click", [this] { cmdBrowseDump_Click(); });
    connect(m_ui.cmdHelp, &QPushButton::clicked, this, [this] { ShowManual(*this); });
    connect(m_ui.imgDonate, &QPushButton::clicked, this, [this] { openDocument(kProductWebAddress); });
}

void frmMain::connectPageControls() {
    QTreeWidget* tree = m_ui.tvSourceTables;
    connect(m_ui.cmdSelectAll, &QPushButton::clicked, this,
            [this, tree] { trapped("cmdSelectAll_Click", [tree] { CheckAllTableNodes(tree, true); }); });
    connect(m_ui.cmdSelectNone, &QPushButton::clicked, this,
            [this, tree] { trapped("cmdSelectNone_Click", [tree] { CheckAllTableNodes(tree, false); }); });
    connect(m_ui.cmdExpandAll, &QPushButton::clicked, tree, &QTreeWidget::expandAll);
    connect(m_ui.cmdCollapseAll, &QPushButton::clicked, tree, &QTreeWidget::collapseAll);
    connect(m_ui.cmdAdvancedOptions, &QPushButton::clicked, this, [this] { cmdAdvancedOptions_Click(); });

    for (int index = 0; index < 2; ++index)
        connect(m_ui.optDestination[index], &QRadioButton::toggled, this, [this, index](bool checked) {
            if (checked)
                trapped("optDestination_Click", [this, index] { optDestination_Click(index); });
        });
    connect(m_ui.cbMSSQLAuthentication, &QComboBox::currentIndexChanged, this,
            [this] { cbMSSQLAuthentication_Click(); });
    connect(m_ui.cbStorageEngine, &QComboBox::currentIndexChanged, this, [this] { UpdateControls(); });
    connect(m_ui.chkDropDatabase, &QCheckBox::toggled, this, [this](bool checked) { chkDropDatabase_Click(checked); });
    connect(m_ui.txtSourceFilename, &QLineEdit::textChanged, this,
            [this] { trapped("txtSourceFilename_Change", [this] { txtSourceFilename_Change(); }); });
    connect(m_ui.txtSourceFilename, &QLineEdit::editingFinished, this, [this] { txtSourceFilename_Validate(); });
}

void frmMain::cmdCancel_Click() {
    if (m_state.run.conversionRunning) {
        if (showMessage("Do you wish to cancel the transfer?", 36, "Tabulon", 6) == 6)
            m_state.run.cancelRequested = true;
        return;
    }
    if (showMessage("Do you wish to cancel this wizard?", 36, "Tabulon", 6) == 6)
        unloadForms();
}

void frmMain::cbMSSQLAuthentication_Click() {
    const bool sqlLogin = m_ui.cbMSSQLAuthentication->currentIndex() == 1;
    for (QWidget* control : std::initializer_list<QWidget*>{m_ui.txtMSSQLUserName, m_ui.txtMSSQLPassword,
                                                            m_ui.lblMSSQLUserName, m_ui.lblMSSQLPassword})
        control->setEnabled(sqlLogin);
}

void frmMain::chkDropDatabase_Click(bool checked) {
    if (!checked || loadingSettings || m_state.autorunMode)
        return;
    showMessage("Warning: This will drop the destination database if it already exists. All existing data in the "
                "database will be lost.",
                48, "Warning", 1);
}

void frmMain::txtSourceFilename_Change() {
    RememberCheckedTables(*this);
    rescanSource = true;
    UpdateSecurityFields();
}

void frmMain::txtSourceFilename_Validate() {
    const QString text = m_ui.txtSourceFilename->text();
    QString stripped = text;
    if (text.size() > 1 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
        stripped = text.mid(1, text.size() - 2);
    if (stripped != text)
        m_ui.txtSourceFilename->setText(stripped);
}

void frmMain::optDestination_Click(int index) {
    ShowDestinationFrames(*this, index == 0 ? "DIRECT" : "DUMP");
}

void frmMain::cmdAdvancedOptions_Click() {
    frmAdvancedOptions& dialog = advancedOptions();
    dialog.exec();
}

} // namespace tabulon
