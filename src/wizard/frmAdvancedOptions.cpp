#include "wizard/frmAdvancedOptions.h"

#include "wizard/TabOrder.h"
#include "wizard/WidgetFactory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tabulon {

frmAdvancedOptions::frmAdvancedOptions(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmAdvancedOptions"));
    setWindowTitle(QStringLiteral("Advanced Options"));
    setModal(true);
    buildControls();
    Form_Load();
}

void frmAdvancedOptions::buildControls() {
    txtTablePrefix = widgets::edit(this, "txtTablePrefix");
    txtTablePrefix->setToolTip(
        QStringLiteral("You can prefix table names in the destination database with this value."));
    chkBooleanValue =
        widgets::checkBox(this, "chkBooleanValue", QStringLiteral("Transfer booleans as 0/-1 instead of 0/1"));
    chkIgnoreLargeBlobs =
        widgets::checkBox(this, "chkIgnoreLargeBlobs", QStringLiteral("Ignore BLOBs that are too large"));
    cbMemoType = new QComboBox(this);
    cbMemoType->setObjectName(QStringLiteral("cbMemoType"));
    cbDateTimeType = new QComboBox(this);
    cbDateTimeType->setObjectName(QStringLiteral("cbDateTimeType"));
    chkTransferRelationships =
        widgets::checkBox(this, "chkTransferRelationships", QStringLiteral("Transfer relationships as foreign keys"));
    chkTransferValidationRules = widgets::checkBox(this, "chkTransferValidationRules",
                                                   QStringLiteral("Transfer validation rules as CHECK constraints"));
    chkTransferDescriptions =
        widgets::checkBox(this, "chkTransferDescriptions", QStringLiteral("Transfer table and field descriptions"));
    chkVerifyCounts =
        widgets::checkBox(this, "chkVerifyCounts", QStringLiteral("Verify the record count of every table"));
    chkTransferQueries =
        widgets::checkBox(this, "chkTransferQueries", QStringLiteral("Transfer saved queries as views"));
    chkTransferQueries->setToolTip(
        QStringLiteral("SELECT, union and crosstab queries become views (or functions, when they take parameters); the "
                       "report names every other query."));
    cmdClose = widgets::button(this, "cmdClose", QStringLiteral("Close"));
    cmdClose->setDefault(true);
    connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });

    auto* form = new QFormLayout;
    form->addRow(widgets::label(this, "lblTablePrefix", QStringLiteral("Table Prefix:")), txtTablePrefix);
    form->addRow(chkBooleanValue);
    form->addRow(chkIgnoreLargeBlobs);
    form->addRow(widgets::label(this, "lblMemoType", QStringLiteral("Create MEMO fields as:")), cbMemoType);
    form->addRow(widgets::label(this, "lblDateTimeType", QStringLiteral("Create DateTime fields as:")), cbDateTimeType);
    form->addRow(chkTransferRelationships);
    form->addRow(chkTransferValidationRules);
    form->addRow(chkTransferDescriptions);
    form->addRow(chkVerifyCounts);
    form->addRow(chkTransferQueries);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void frmAdvancedOptions::Form_Load() {
    SetTabOrder(this);
    cbMemoType->clear();
    cbDateTimeType->clear();
    cbMemoType->addItem(QStringLiteral("VARCHAR(MAX)"));
    cbDateTimeType->addItem(QStringLiteral("DATETIME2"));
    cbDateTimeType->addItem(QStringLiteral("DATETIME"));
    // The settings choose the entries; nothing is selected until they are applied.
    cbMemoType->setCurrentIndex(-1);
    cbDateTimeType->setCurrentIndex(-1);
}

void frmAdvancedOptions::cmdClose_Click() {
    hide();
}

} // namespace tabulon
