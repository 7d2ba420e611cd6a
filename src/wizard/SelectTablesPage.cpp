#include "wizard/FormControls.h"
#include "wizard/PageBuilders.h"
#include "wizard/WidgetFactory.h"

#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tabulon {

QFrame* buildSelectTablesPage(FormControls& ui, QWidget* parent) {
    QFrame* frame = widgets::page(parent, "frameSelectTables");
    ui.frameSelectTables = frame;
    QWidget* panel = widgets::panel(frame, "Picture9");

    ui.tvSourceTables = new QTreeWidget(panel);
    ui.tvSourceTables->setObjectName(QStringLiteral("tvSourceTables"));
    ui.tvSourceTables->setHeaderHidden(true);
    ui.tvSourceTables->setColumnCount(1);
    ui.tvSourceTables->setUniformRowHeights(true);
    ui.tvSourceTables->setSelectionMode(QAbstractItemView::SingleSelection);

    ui.cmdSelectAll = widgets::button(panel, "cmdSelectAll", QStringLiteral("Select &All"));
    ui.cmdSelectNone = widgets::button(panel, "cmdSelectNone", QStringLiteral("Select N&one"));
    ui.cmdExpandAll = widgets::button(panel, "cmdExpandAll", QStringLiteral("&Expand All"));
    ui.cmdCollapseAll = widgets::button(panel, "cmdCollapseAll", QStringLiteral("&Collapse All"));
    QLabel* hint = widgets::label(
        panel, "Label14",
        QStringLiteral("Double click the tablename to specify which fields you want to be included in the transfer"));
    hint->setWordWrap(true);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ui.cmdSelectAll);
    buttons->addWidget(ui.cmdSelectNone);
    buttons->addSpacing(10);
    buttons->addWidget(ui.cmdExpandAll);
    buttons->addWidget(ui.cmdCollapseAll);
    buttons->addStretch();

    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(ui.tvSourceTables, 0, 0);
    grid->addLayout(buttons, 0, 1);
    grid->addWidget(hint, 1, 0, 1, 2);
    grid->setColumnStretch(0, 1);

    return widgets::fillPage(frame, panel);
}

} // namespace tabulon
