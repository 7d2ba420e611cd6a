#include "wizard/TabOrder.h"

#include "lib/Dictionary.h"
#include "wizard/SortDictionary.h"

#include <QLayout>
#include <QWidget>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace tabulon {

namespace {
constexpr int kMaxContainerLevels = 10;

// The absolute position of a control, or nothing when its container chain is too deep.
std::optional<QPoint> positionInWindow(const QWidget* control, const QWidget* window) {
    QPoint position = control->pos();
    const QWidget* container = control->parentWidget();
    for (int level = 0; container != window; ++level) {
        if (container == nullptr || level >= kMaxContainerLevels)
            return std::nullopt;
        position += container->pos();
        container = container->parentWidget();
    }
    return position;
}

std::string lastEightDigits(int number) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "00000000%d", number);
    const std::string text = buffer;
    return text.substr(text.size() - 8);
}

// Layouts of hidden widgets wait for the widget to be shown; lay them out now, outer ones first, so
// that every control has its real place.
void layOut(QWidget* widget) {
    if (QLayout* layout = widget->layout()) {
        layout->activate();
        layout->setGeometry(widget->contentsRect());
    }
    for (QObject* child : widget->children())
        if (child->isWidgetType() && !static_cast<QWidget*>(child)->isWindow())
            layOut(static_cast<QWidget*>(child));
}
} // namespace

void SetTabOrder(QWidget* window) {
    layOut(window);
    const QList<QWidget*> controls = window->findChildren<QWidget*>();
    Dictionary order;
    for (qsizetype number = 0; number < controls.size(); ++number) {
        const std::optional<QPoint> position = positionInWindow(controls[number], window);
        if (!position)
            continue;
        order.set(std::to_string(number), lastEightDigits(position->y()) + "," + lastEightDigits(position->x()));
    }
    SortDictionary(order, std::string(), false);

    QWidget* previous = nullptr;
    for (const std::string& key : order.keys()) {
        QWidget* control = controls[std::stoi(key)];
        if (!(control->focusPolicy() & Qt::TabFocus) || control->focusProxy() != nullptr)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

} // namespace tabulon
