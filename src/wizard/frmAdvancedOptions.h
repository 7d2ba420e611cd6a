#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace tabulon {

// The advanced options dialog. It keeps no settings of its own: the settings routines read and
// write its controls directly, so their values live as long as the dialog (hidden by "Close").
class frmAdvancedOptions : public QDialog {
public:
    // Creates the controls and runs the load handler (tab order, the two type lists).
    explicit frmAdvancedOptions(QWidget* owner);

    QLineEdit* txtTablePrefix = nullptr;
    QCheckBox* chkBooleanValue = nullptr;
    QCheckBox* chkIgnoreLargeBlobs = nullptr;
    QComboBox* cbMemoType = nullptr;
    QComboBox* cbDateTimeType = nullptr;
    QCheckBox* chkTransferRelationships = nullptr;
    QCheckBox* chkTransferValidationRules = nullptr;
    QCheckBox* chkTransferDescriptions = nullptr;
    QCheckBox* chkVerifyCounts = nullptr;
    QCheckBox* chkTransferQueries = nullptr;
    QPushButton* cmdClose = nullptr;

private:
    void buildControls();
    void Form_Load();
    void cmdClose_Click();
};

} // namespace tabulon
