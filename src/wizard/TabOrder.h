#pragma once

class QWidget;

namespace tabulon {

// Orders the keyboard navigation of a window's controls by their place on the screen: top first,
// then left, positions summed up the chain of containers (at most 10 levels). Controls that take
// no keyboard focus, or whose chain does not reach the window, keep out of the order.
void SetTabOrder(QWidget* window);

} // namespace tabulon
