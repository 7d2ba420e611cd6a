#include "wizard/FormControls.h"
#include "wizard/PageBuilders.h"
#include "wizard/Pictures.h"
#include "wizard/WidgetFactory.h"

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tabulon {

QWidget* buildNavigationRow(FormControls& ui, QWidget* parent) {
    auto* row = new QWidget(parent);
    ui.Frame7 = new QFrame(row);
    ui.Frame7->setObjectName(QStringLiteral("Frame7"));
    ui.Frame7->setFrameShape(QFrame::HLine);
    ui.Frame7->setFrameShadow(QFrame::Sunken);

    ui.cmdHelp = widgets::button(row, "cmdHelp", QStringLiteral("&Help"));
    ui.cmdBack = widgets::button(row, "cmdBack", QStringLiteral("< &Back"));
    ui.cmdNext = widgets::button(row, "cmdNext", QStringLiteral("&Next >"));
    ui.cmdFinish = widgets::button(row, "cmdFinish", QStringLiteral("&Run Now"));
    ui.cmdExit = widgets::button(row, "cmdExit", QStringLiteral("&Exit"));
    ui.cmdCancel = widgets::button(row, "cmdCancel", QStringLiteral("Cancel"));
    // Drawn as the default, as in a dialog: Enter presses whichever of the two the page shows.
    ui.cmdNext->setDefault(true);
    ui.cmdFinish->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ui.cmdHelp);
    buttons->addStretch();
    for (QPushButton* button : {ui.cmdBack, ui.cmdNext, ui.cmdFinish, ui.cmdExit})
        buttons->addWidget(button);
    buttons->addSpacing(10);
    buttons->addWidget(ui.cmdCancel);

    auto* layout = new QVBoxLayout(row);
    layout->addWidget(ui.Frame7);
    layout->addSpacing(4);
    layout->addLayout(buttons);
    layout->setContentsMargins(12, 0, 12, 10);
    return row;
}

QFrame* buildBottomBand(FormControls& ui, QWidget* parent) {
    auto* band = new QFrame(parent);
    band->setObjectName(QStringLiteral("frameBottom"));
    band->setAutoFillBackground(true);
    band->setBackgroundRole(QPalette::AlternateBase);
    ui.frameBottom = band;

    ui.frameDonate = widgets::group(band, "frameDonate", QStringLiteral("Help us help you"));
    QWidget* panel = widgets::panel(ui.frameDonate, "Picture4");
    ui.imgDonate = widgets::button(panel, "imgDonate", QStringLiteral("Donate"));
    ui.imgDonate->setIcon(pictures::heart());
    ui.imgDonate->setCursor(Qt::PointingHandCursor);
    ui.imgDonate->setToolTip(QStringLiteral("Opens Tabulon's web site in your browser"));
    QLabel* text =
        widgets::label(panel, "Label9", QStringLiteral("Please consider a donation if you find this program useful."));
    text->setWordWrap(true);

    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(ui.imgDonate);
    panelLayout->addSpacing(8);
    panelLayout->addWidget(text, 1);
    auto* donateLayout = new QVBoxLayout(ui.frameDonate);
    donateLayout->addWidget(panel);

    auto* layout = new QVBoxLayout(band);
    layout->setContentsMargins(12, 6, 12, 10);
    layout->addWidget(ui.frameDonate);
    return band;
}

} // namespace tabulon
