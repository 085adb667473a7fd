#pragma once

// Starting the patched program file for a test run.

#include <QString>
#include <QStringList>

namespace kestrin::app {

class MessageRoutine;

struct ProgramLaunch {
    QString program;
    QStringList arguments;
};

// How the file at path is started: the path itself is the program, handed
// over whole (never parsed as a command line, so blanks in it cannot pick
// another program). Where Windows programs do not run natively, a PE image
// (a file starting with "MZ") is handed to wine when wine is given.
ProgramLaunch launchFor(const QString& path, const QString& wine);

// wine's path where this platform needs it for PE images and has it, else empty.
QString findWine();

// Starts the file detached from this process; false when it cannot be started.
bool startProgramDetached(const QString& path);

// The test run: starts the file, or shows "此文件不能被运行！".
void runTestProgram(const QString& path, MessageRoutine& messages);

} // namespace kestrin::app
