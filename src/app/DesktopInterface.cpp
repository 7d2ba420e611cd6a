#include "app/DesktopInterface.h"

#include <QGuiApplication>

namespace tabulon {

bool DesktopInterface::canShowMessages() const {
    return QGuiApplication::platformName() != QStringLiteral("offscreen");
}

} // namespace tabulon
