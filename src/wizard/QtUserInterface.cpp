#include "wizard/QtUserInterface.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QUrl>

namespace tabulon {

namespace {
QMessageBox::Icon iconOf(int style) {
    switch (style & 0x70) {
    case msgbox::Critical:
        return QMessageBox::Critical;
    case msgbox::Question:
        return QMessageBox::Question;
    case msgbox::Exclamation:
        return QMessageBox::Warning;
    case msgbox::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons buttonsOf(int style) {
    switch (style & 0x7) {
    case 1:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case msgbox::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case msgbox::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

int answerOf(int button) {
    switch (button) {
    case QMessageBox::Yes:
        return msgbox::Yes;
    case QMessageBox::No:
        return msgbox::No;
    case QMessageBox::Cancel:
        return msgbox::Cancel;
    default:
        return msgbox::Ok;
    }
}
} // namespace

int QtUserInterface::messageBox(const std::string& text, int style, const std::string& title) {
    QMessageBox box(iconOf(style), QString::fromStdString(title),
                    QString::fromStdString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")), buttonsOf(style),
                    m_owner);
    box.setTextFormat(Qt::PlainText);
    return answerOf(box.exec());
}

void QtUserInterface::setClipboardText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

bool QtUserInterface::openDocument(const std::string& target) {
    if (target.empty())
        return false;
    const QString text = QString::fromStdString(target);
    const QUrl url = QFileInfo::exists(text) ? QUrl::fromLocalFile(text) : QUrl::fromUserInput(text);
    return QDesktopServices::openUrl(url);
}

} // namespace tabulon
