// Saves a PNG of each tab of the main window (and of the length tool) into
// the folder given as the only argument; used for the pictures in docs/.

#include "app/application_setup.h"
#include "app/file_picker.h"
#include "app/main_window.h"
#include "app/message_routine.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    kestrin::app::setUpApplication(application);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    kestrin::app::MessageBoxSink messages;
    kestrin::app::DialogFilePicker picker;
    kestrin::app::MainWindow window(messages, picker);
    window.show();
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("选择夹1"));
    bool saved = true;
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QApplication::processEvents();
        saved &= window.grab().save(folder.filePath(QStringLiteral("tab%1.png").arg(i + 1)));
    }
    window.lengthToolAction()->trigger();
    if (QWidget* tool = window.lengthToolWindow()) {
        QApplication::processEvents();
        saved &= tool->grab().save(folder.filePath(QStringLiteral("length_tool.png")));
    }
    return saved ? 0 : 1;
}
