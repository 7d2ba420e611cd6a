#include "wizard/FormControls.h"
#include "wizard/PageBuilders.h"
#include "wizard/WidgetFactory.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tabulon {

QFrame* buildWelcomePage(FormControls& ui, QWidget* parent) {
    QFrame* frame = widgets::page(parent, "frameLoadSettings");
    ui.frameLoadSettings = frame;
    QWidget* panel = widgets::panel(frame, "Picture3");

    ui.lblWelcome = widgets::label(panel, "lblWelcome", QString());
    ui.lblWelcome->setWordWrap(true);
    ui.lblWelcome->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ui.cmdLoadSettings = widgets::button(panel, "cmdLoadSettings", QStringLiteral("&Load Settings"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ui.cmdLoadSettings);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ui.lblWelcome);
    layout->addStretch();
    layout->addLayout(buttons);

    return widgets::fillPage(frame, panel);
}

} // namespace tabulon
