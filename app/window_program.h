#pragma once

// The program's run: the main window until it closes, then the shut-down.

#include <functional>

class QApplication;

namespace kestrin::app {

class FilePicker;
class MainWindow;
class MessageSink;

// Shows the main window and runs the event loop until the main window is
// closed, also while the length tool or the about window is still open;
// then waits for a running job and removes the restore copy. Returns the
// program's exit code, 0. started runs once the window is shown.
int runWindowProgram(QApplication& application, MessageSink& messages, FilePicker& picker,
                     const std::function<void(MainWindow&)>& started = {});

} // namespace kestrin::app
