#include "wizard/FormControls.h"
#include "wizard/PageBuilders.h"
#include "wizard/WidgetFactory.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tabulon {

QFrame* buildTransferOptionsPage(FormControls& ui, QWidget* parent) {
    QFrame* frame = widgets::page(parent, "frameTransferOptions");
    ui.frameTransferOptions = frame;
    QWidget* panel = widgets::panel(frame, "Picture1");

    ui.chkDropDatabase =
        widgets::checkBox(panel, "chkDropDatabase", QStringLiteral("Drop and recreate destination database"));
    ui.chkCreateTables = widgets::checkBox(panel, "chkCreateTables", QStringLiteral("Create tables (drops existing)"));
    ui.chkTransferRecords = widgets::checkBox(panel, "chkTransferRecords", QStringLiteral("Transfer records"));
    ui.chkTransferIndexes = widgets::checkBox(panel, "chkTransferIndexes", QStringLiteral("Transfer indexes"));
    ui.chkColumnList =
        widgets::checkBox(panel, "chkColumnList", QStringLiteral("Include column list in INSERT statements"));
    ui.chkUnicode = widgets::checkBox(panel, "chkUnicode", QStringLiteral("Unicode (utf-8)"));
    ui.chkAutocommit = widgets::checkBox(panel, "chkAutocommit", QStringLiteral("Enable autocommit"));

    QGroupBox* fieldInformation = widgets::group(panel, "Frame1", QStringLiteral("Field Information"));
    ui.chkTransferDefaultValues =
        widgets::checkBox(fieldInformation, "chkTransferDefaultValues", QStringLiteral("Default value properties"));
    ui.chkTransferAutonumbers =
        widgets::checkBox(fieldInformation, "chkTransferAutonumbers", QStringLiteral("Auto number properties"));
    auto* fieldLayout = new QVBoxLayout(fieldInformation);
    fieldLayout->addWidget(ui.chkTransferDefaultValues);
    fieldLayout->addWidget(ui.chkTransferAutonumbers);

    ui.cmdAdvancedOptions = widgets::button(panel, "cmdAdvancedOptions", QStringLiteral("Advanced..."));
    ui.cmdSaveSettings1 = widgets::button(panel, "cmdSaveSettings1", QStringLiteral("Save Settings"));

    auto* options = new QVBoxLayout;
    options->setSpacing(10);
    for (QCheckBox* box : {ui.chkDropDatabase, ui.chkCreateTables, ui.chkTransferRecords, ui.chkTransferIndexes,
                           ui.chkColumnList, ui.chkUnicode, ui.chkAutocommit})
        options->addWidget(box);
    options->addStretch();

    auto* side = new QVBoxLayout;
    side->setSpacing(8);
    side->addWidget(fieldInformation);
    side->addStretch();
    side->addWidget(ui.cmdAdvancedOptions);
    side->addWidget(ui.cmdSaveSettings1);

    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(18);
    layout->addLayout(options, 1);
    layout->addLayout(side);

    return widgets::fillPage(frame, panel);
}

} // namespace tabulon
