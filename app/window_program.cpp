#include "app/window_program.h"

#include "app/main_window.h"

#include <QApplication>

namespace kestrin::app {

int runWindowProgram(QApplication& application, MessageSink& messages, FilePicker& picker,
                     const std::function<void(MainWindow&)>& started) {
    MainWindow window(messages, picker);
    QObject::connect(&window, &MainWindow::closed, &application, &QApplication::quit, Qt::QueuedConnection);
    window.show();
    if (started) started(window);
    application.exec();
    window.shutDown();
    return 0;
}

} // namespace kestrin::app
