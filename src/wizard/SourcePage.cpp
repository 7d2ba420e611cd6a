#include "wizard/FormControls.h"
#include "wizard/PageBuilders.h"
#include "wizard/Pictures.h"
#include "wizard/WidgetFactory.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tabulon {

namespace {
QGroupBox* buildSecurityFrame(FormControls& ui, QWidget* parent) {
    QGroupBox* frame = widgets::group(parent, "Frame3", QStringLiteral("Security"));
    ui.Frame3 = frame;
    QWidget* panel = widgets::panel(frame, "Picture6");

    QLabel* note = widgets::label(
        panel, "Label16",
        QStringLiteral("If your Access database is password protected you can enter your security settings below. "
                       "Some databases only require a password where you must specify the system database and "
                       "username for others as well."));
    note->setWordWrap(true);
    ui.txtSourceUsername = widgets::edit(panel, "txtSourceUsername");
    ui.txtSourcePassword = widgets::passwordEdit(panel, "txtSourcePassword");
    ui.txtSourceSystemDatabase = widgets::edit(panel, "txtSourceSystemDatabase");
    ui.cmdSystemDatabaseBrowse = widgets::browseButton(panel, "cmdSystemDatabaseBrowse");

    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(note, 0, 0, 1, 3);
    grid->setRowMinimumHeight(1, 4);
    grid->addWidget(widgets::label(panel, "Label6", QStringLiteral("Username:")), 2, 0);
    grid->addWidget(ui.txtSourceUsername, 2, 1, 1, 2);
    grid->addWidget(widgets::label(panel, "Label11", QStringLiteral("Password:")), 3, 0);
    grid->addWidget(ui.txtSourcePassword, 3, 1, 1, 2);
    grid->addWidget(widgets::label(panel, "Label15", QStringLiteral("System DB:")), 4, 0);
    grid->addWidget(ui.txtSourceSystemDatabase, 4, 1);
    grid->addWidget(ui.cmdSystemDatabaseBrowse, 4, 2);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(panel);
    return frame;
}
} // namespace

QFrame* buildSourcePage(FormControls& ui, QWidget* parent) {
    QFrame* frame = widgets::page(parent, "frameSource");
    ui.frameSource = frame;
    QWidget* panel = widgets::panel(frame, "Picture5");

    QLabel* image = widgets::label(panel, "Image1", QString());
    image->setPixmap(pictures::databaseLogo(48, QColor(0x9c, 0x2b, 0x3a), QStringLiteral("A")));
    ui.txtSourceFilename = widgets::edit(panel, "txtSourceFilename");
    ui.cmdSourceBrowse = widgets::browseButton(panel, "cmdSourceBrowse");

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(widgets::label(panel, "Label5", QStringLiteral("Filename:")));
    fileRow->addWidget(ui.txtSourceFilename, 1);
    fileRow->addWidget(ui.cmdSourceBrowse);

    auto* content = new QVBoxLayout;
    content->addLayout(fileRow);
    content->addSpacing(8);
    content->addWidget(buildSecurityFrame(ui, panel));
    content->addStretch();

    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(14);
    layout->addWidget(image, 0, Qt::AlignTop);
    layout->addLayout(content, 1);

    return widgets::fillPage(frame, panel);
}

} // namespace tabulon
