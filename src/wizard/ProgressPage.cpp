#include "wizard/FormControls.h"
#include "wizard/PageBuilders.h"
#include "wizard/WidgetFactory.h"

#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tabulon {

QFrame* buildProgressPage(FormControls& ui, QWidget* parent) {
    QFrame* frame = widgets::page(parent, "frameProgress");
    ui.frameProgress = frame;

    ui.lblStatusHigh = widgets::label(frame, "lblStatusHigh", QStringLiteral("Progress"));
    ui.pbStatus = new QProgressBar(frame);
    ui.pbStatus->setObjectName(QStringLiteral("pbStatus"));
    // The bar comes and goes with each table; keep its room so the list below does not jump.
    QSizePolicy policy = ui.pbStatus->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    ui.pbStatus->setSizePolicy(policy);
    ui.pbStatus->setVisible(false);

    // A report-style list view with one titled column.
    ui.lvStatusLog = new QTreeWidget(frame);
    ui.lvStatusLog->setObjectName(QStringLiteral("lvStatusLog"));
    ui.lvStatusLog->setRootIsDecorated(false);
    ui.lvStatusLog->setUniformRowHeights(true);
    ui.lvStatusLog->setSelectionMode(QAbstractItemView::NoSelection);
    ui.lvStatusLog->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ui.lblStatusHigh);
    layout->addWidget(ui.pbStatus);
    layout->addWidget(ui.lvStatusLog, 1);
    return frame;
}

} // namespace tabulon
