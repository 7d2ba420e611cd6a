#include "app/DesktopInterface.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
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
    case msgbox::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case msgbox::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
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

QString displayText(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

int DesktopInterface::messageBox(const std::string& text, int style, const std::string& title) {
    QMessageBox box(iconOf(style), QString::fromStdString(title), displayText(text), buttonsOf(style));
    return answerOf(box.exec());
}

void DesktopInterface::setClipboardText(const std::string& text) {
    QApplication::clipboard()->setText(QString::fromStdString(text));
}

bool DesktopInterface::openDocument(const std::string& target) {
    return QDesktopServices::openUrl(QUrl::fromUserInput(QString::fromStdString(target)));
}

bool DesktopInterface::canShowMessages() const {
    return QGuiApplication::platformName() != QStringLiteral("offscreen");
}

} // namespace tabulon
