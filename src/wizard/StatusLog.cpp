#include "wizard/StatusLog.h"

#include "lib/Convert.h"
#include "wizard/FormControls.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QTreeWidget>

namespace tabulon {

StatusLog::StatusLog(FormControls& ui, LogWriter writeLog) : m_ui(ui), m_writeLog(std::move(writeLog)) {}

void StatusLog::setUpColumn() {
    QTreeWidget* list = m_ui.lvStatusLog;
    list->clear();
    list->setColumnCount(1);
    list->setHeaderLabels({QStringLiteral("Status Log")});
    // The column fills the list, leaving room for the scroll bar; long lines show in full as tips.
    list->header()->setStretchLastSection(true);
    list->header()->setSectionsMovable(false);
}

void StatusLog::clear() {
    m_ui.lvStatusLog->clear();
}

void StatusLog::addStatusLine(const std::string& text) {
    QTreeWidget* list = m_ui.lvStatusLog;
    const QString caption = QString::fromStdString(text);
    auto* item = new QTreeWidgetItem(QStringList{caption});
    item->setData(0, Qt::UserRole, QStringLiteral("K%1").arg(list->topLevelItemCount() + 1));
    item->setToolTip(0, caption);
    list->addTopLevelItem(item);
    list->scrollToItem(item);
    if (m_writeLog)
        m_writeLog(text);
    processEvents();
}

void StatusLog::startProgress(const std::string& kind, int minimum, int maximum) {
    QProgressBar* bar = m_ui.pbStatus;
    bar->setVisible(false);
    if (toUpperAscii(kind) != "PROGRESS")
        return;
    bar->setVisible(true);
    bar->setMinimum(minimum);
    bar->setMaximum(maximum > 0 ? maximum : 1);
    bar->setValue(bar->minimum());
}

void StatusLog::setProgress(const std::string& caption, int value) {
    m_ui.lblStatusHigh->setText(QString::fromStdString(caption));
    m_ui.pbStatus->setValue(value);
}

void StatusLog::processEvents() {
    QCoreApplication::processEvents();
}

} // namespace tabulon
