#include "app/test_run.h"

#include "app/message_routine.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace kestrin::app {

namespace {
bool isPeImage(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(2) == "MZ";
}
} // namespace

ProgramLaunch launchFor(const QString& path, const QString& wine) {
    if (!wine.isEmpty() && isPeImage(path)) return {wine, {path}};
    return {path, {}};
}

QString findWine() {
#if defined(_WIN32)
    return {};
#else
    for (const char* name : {"wine", "wine64"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty()) return found;
    }
    return {};
#endif
}

bool startProgramDetached(const QString& path) {
    if (path.isEmpty()) return false;
    const ProgramLaunch launch = launchFor(path, findWine());
    return QProcess::startDetached(launch.program, launch.arguments);
}

void runTestProgram(const QString& path, MessageRoutine& messages) {
    if (!startProgramDetached(path)) messages.showMessage(QStringLiteral("此文件不能被运行！"));
}

} // namespace kestrin::app
