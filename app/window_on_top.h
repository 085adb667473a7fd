#pragma once

// The on-top state of a top-level window.

class QWidget;

namespace kestrin::app {

bool isOnTop(const QWidget* window);
// Changes the state; a visible window is shown again, as changing the flag hides it.
void setOnTop(QWidget* window, bool onTop);

} // namespace kestrin::app
