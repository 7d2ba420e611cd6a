#pragma once

#include <QIcon>
#include <QPixmap>

namespace tabulon::pictures {

// The pictures of the window, drawn at run time so that no image files need to ship.
QIcon table();                                                              // tree image "table"
QIcon field();                                                              // tree image "field"
QPixmap databaseLogo(int size, const QColor& body, const QString& caption); // destination logos, Image1
QIcon heart();                                                              // the donation button

} // namespace tabulon::pictures
