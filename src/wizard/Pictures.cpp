#include "wizard/Pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace tabulon::pictures {

namespace {
QPixmap canvas(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}
} // namespace

QIcon table() {
    QPixmap pixmap = canvas(16);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x3a, 0x5f, 0x8f));
    painter.setBrush(Qt::white);
    painter.drawRect(1, 2, 13, 11);
    painter.fillRect(2, 3, 12, 3, QColor(0x6f, 0x9b, 0xd1));
    painter.drawLine(1, 6, 14, 6);
    painter.drawLine(1, 9, 14, 9);
    painter.drawLine(6, 6, 6, 13);
    return QIcon(pixmap);
}

QIcon field() {
    QPixmap pixmap = canvas(16);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x5a, 0x5a, 0x5a));
    painter.setBrush(QColor(0xf4, 0xe0, 0x9a));
    painter.drawRect(3, 4, 10, 7);
    painter.drawLine(5, 7, 11, 7);
    return QIcon(pixmap);
}

QPixmap databaseLogo(int size, const QColor& body, const QString& caption) {
    QPixmap pixmap = canvas(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal width = size * 0.8, left = (size - width) / 2, lid = size * 0.22;
    const qreal top = size * 0.08, bottom = size * 0.92 - lid;
    QPainterPath cylinder;
    cylinder.moveTo(left, top + lid / 2);
    cylinder.lineTo(left, bottom + lid / 2);
    cylinder.arcTo(left, bottom, width, lid, 180, 180);
    cylinder.lineTo(left + width, top + lid / 2);
    painter.setPen(QPen(body.darker(150), 1.2));
    painter.setBrush(body);
    painter.drawPath(cylinder);
    painter.setBrush(body.lighter(140));
    painter.drawEllipse(QRectF(left, top, width, lid));
    if (!caption.isEmpty()) {
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(qMax(6, size / 5));
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QRectF(left, top + lid, width, bottom - top), Qt::AlignCenter, caption);
    }
    return pixmap;
}

QIcon heart() {
    QPixmap pixmap = canvas(16);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(8, 14);
    path.cubicTo(1, 9, 0, 5, 3, 3);
    path.cubicTo(5, 1.5, 7, 2.5, 8, 4.5);
    path.cubicTo(9, 2.5, 11, 1.5, 13, 3);
    path.cubicTo(16, 5, 15, 9, 8, 14);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xd0, 0x3b, 0x4a));
    painter.drawPath(path);
    return QIcon(pixmap);
}

} // namespace tabulon::pictures
