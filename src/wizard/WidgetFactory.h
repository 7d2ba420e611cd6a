#pragma once

#include <QString>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tabulon::widgets {

// Small constructors for the controls of the wizard: each takes the control's name, which becomes
// its objectName, and its design-time caption.
QFrame* page(QWidget* parent, const char* name);
QWidget* panel(QWidget* parent, const char* name);
// Lays the panel over the whole page and returns the page.
QFrame* fillPage(QFrame* page, QWidget* panel);
QGroupBox* group(QWidget* parent, const char* name, const QString& title);
QLabel* label(QWidget* parent, const char* name, const QString& text);
// A label whose "&" mnemonic moves the focus to `buddy`.
QLabel* buddyLabel(QWidget* parent, const char* name, const QString& text, QWidget* buddy);
QLineEdit* edit(QWidget* parent, const char* name);
QLineEdit* passwordEdit(QWidget* parent, const char* name);
QPushButton* button(QWidget* parent, const char* name, const QString& caption);
// The narrow "..." button beside a file name box.
QPushButton* browseButton(QWidget* parent, const char* name);
QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption);

} // namespace tabulon::widgets
