#include "app/application_setup.h"
#include "app/file_picker.h"
#include "app/message_routine.h"
#include "app/window_program.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    kestrin::app::setUpApplication(application);
    kestrin::app::MessageBoxSink messages;
    kestrin::app::DialogFilePicker picker;
    return kestrin::app::runWindowProgram(application, messages, picker);
}
