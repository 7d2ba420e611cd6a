#include "wizard/WidgetFactory.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QVBoxLayout>

namespace tabulon::widgets {

namespace {
// Password boxes show each character as "*", whatever the platform's own mask character is.
class AsteriskStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}
} // namespace

QFrame* page(QWidget* parent, const char* name) {
    auto* frame = named(new QFrame(parent), name);
    frame->setFrameShape(QFrame::NoFrame);
    frame->setAutoFillBackground(true);
    return frame;
}

QWidget* panel(QWidget* parent, const char* name) {
    auto* widget = named(new QWidget(parent), name);
    widget->setFocusPolicy(Qt::NoFocus);
    return widget;
}

QFrame* fillPage(QFrame* page, QWidget* panel) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel);
    return page;
}

QGroupBox* group(QWidget* parent, const char* name, const QString& title) {
    return named(new QGroupBox(title, parent), name);
}

QLabel* label(QWidget* parent, const char* name, const QString& text) {
    auto* widget = named(new QLabel(text, parent), name);
    widget->setTextFormat(Qt::PlainText);
    return widget;
}

QLabel* buddyLabel(QWidget* parent, const char* name, const QString& text, QWidget* buddy) {
    QLabel* widget = label(parent, name, text);
    widget->setBuddy(buddy);
    return widget;
}

QLineEdit* edit(QWidget* parent, const char* name) {
    return named(new QLineEdit(parent), name);
}

QLineEdit* passwordEdit(QWidget* parent, const char* name) {
    QLineEdit* widget = edit(parent, name);
    auto* style = new AsteriskStyle;
    style->setParent(widget);
    widget->setStyle(style);
    widget->setEchoMode(QLineEdit::Password);
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* widget = named(new QPushButton(caption, parent), name);
    widget->setAutoDefault(false);
    return widget;
}

QPushButton* browseButton(QWidget* parent, const char* name) {
    QPushButton* widget = button(parent, name, QStringLiteral("..."));
    widget->setFixedWidth(widget->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 24);
    return widget;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption) {
    return named(new QCheckBox(caption, parent), name);
}

} // namespace tabulon::widgets
