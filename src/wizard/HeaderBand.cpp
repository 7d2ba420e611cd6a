#include "wizard/FormControls.h"
#include "wizard/PageBuilders.h"
#include "wizard/Pictures.h"
#include "wizard/WidgetFactory.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tabulon {

namespace {
QLabel* logo(QWidget* parent, const char* name, const QColor& colour, const QString& caption) {
    QLabel* image = widgets::label(parent, name, QString());
    image->setPixmap(pictures::databaseLogo(48, colour, caption));
    return image;
}
} // namespace

QFrame* buildHeaderBand(FormControls& ui, QWidget* parent) {
    auto* header = new QFrame(parent);
    header->setObjectName(QStringLiteral("frmHeader"));
    header->setAccessibleName(QStringLiteral("Frame11"));
    header->setAutoFillBackground(true);
    header->setBackgroundRole(QPalette::Base);
    ui.frmHeader = header;

    ui.lblHeader = widgets::label(header, "lblHeader", QString());
    QFont titleFont = ui.lblHeader->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    ui.lblHeader->setFont(titleFont);
    ui.lblHeaderNote = widgets::label(header, "lblHeaderNote", QString());
    ui.lblHeaderNote->setWordWrap(true);
    ui.lblHeaderNote->setIndent(16);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    texts->addWidget(ui.lblHeader);
    texts->addWidget(ui.lblHeaderNote);
    texts->addStretch();

    ui.imgMSSQL = logo(header, "imgMSSQL", QColor(0xb8, 0x2c, 0x2c), QStringLiteral("SQL"));
    ui.imgMySql = logo(header, "imgMySql", QColor(0x2c, 0x6e, 0x8f), QStringLiteral("My"));
    ui.imgPGSQL = logo(header, "imgPGSQL", QColor(0x33, 0x67, 0x91), QStringLiteral("PG"));

    auto* layout = new QHBoxLayout(header);
    layout->setContentsMargins(14, 10, 12, 10);
    layout->addLayout(texts, 1);
    layout->addWidget(ui.imgMSSQL, 0, Qt::AlignTop);
    layout->addWidget(ui.imgMySql, 0, Qt::AlignTop);
    layout->addWidget(ui.imgPGSQL, 0, Qt::AlignTop);
    return header;
}

} // namespace tabulon
