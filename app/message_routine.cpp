#include "app/message_routine.h"

#include "app/window_on_top.h"

#include <QMessageBox>

namespace kestrin::app {

void MessageBoxSink::show(const QString& text) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("提示:"), text, QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void MessageRoutine::showMessage(const QString& text) {
    QPointer<QWidget> window = mainWindow_;
    const bool wasOnTop = isOnTop(window);
    if (wasOnTop) setOnTop(window, false);
    sink_.show(text);
    if (wasOnTop && window) setOnTop(window, true);
}

} // namespace kestrin::app
