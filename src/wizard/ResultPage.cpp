#include "wizard/FormControls.h"
#include "wizard/PageBuilders.h"
#include "wizard/WidgetFactory.h"

#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tabulon {

QFrame* buildResultPage(FormControls& ui, QWidget* parent) {
    QFrame* frame = widgets::page(parent, "frameSaveSettings");
    ui.frameSaveSettings = frame;
    QWidget* panel = widgets::panel(frame, "Picture2");

    ui.txtReport = new QPlainTextEdit(panel);
    ui.txtReport->setObjectName(QStringLiteral("txtReport"));
    ui.txtReport->setReadOnly(true);
    ui.txtReport->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    ui.txtReport->setLineWrapMode(QPlainTextEdit::NoWrap);
    ui.txtReport->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ui.cmdSaveSettings = widgets::button(panel, "cmdSaveSettings", QStringLiteral("Save Settings"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ui.cmdSaveSettings);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ui.txtReport, 1);
    layout->addLayout(buttons);

    return widgets::fillPage(frame, panel);
}

} // namespace tabulon
