#include "app/window_on_top.h"

#include <QWidget>

namespace kestrin::app {

bool isOnTop(const QWidget* window) {
    return window && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void setOnTop(QWidget* window, bool onTop) {
    if (!window || isOnTop(window) == onTop) return;
    const bool visible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (visible) window->show();
}

} // namespace kestrin::app
