#include "app/application_setup.h"
#include "app/file_picker.h"
#include "app/main_window.h"
#include "app/message_routine.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    kestrin::app::setUpApplication(application);

    kestrin::app::MessageBoxSink messages;
    kestrin::app::DialogFilePicker picker;
    kestrin::app::MainWindow window(messages, picker);
    // Closing the main window ends the program, also while the length tool
    // or the about window is still open.
    QObject::connect(&window, &kestrin::app::MainWindow::closed, &application, &QApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    application.exec();
    window.shutDown();
    return 0;
}
