// The test run starts exactly the file at the program path.

#include "app_test_support.h"
#include "window_tests.h"

#include "app/test_run.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace kestrin::app::test {

namespace {
void writeScript(const QString& path, const QString& marker) {
    writeFile(path, "#!/bin/sh\ntouch '" + marker.toStdString() + "'\n");
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
}
} // namespace

class TestRunTest : public QObject {
    Q_OBJECT
private slots:
    void peImagesGoThroughWineOnlyWhenItIsThere() {
        Scratch scratch;
        const QString pe = scratch.path(QStringLiteral("a b.exe"));
        const QString script = scratch.path(QStringLiteral("run.sh"));
        writeFile(pe, std::string("MZ\x90\0", 4));
        writeFile(script, "#!/bin/sh\n");
        const QString wine = QStringLiteral("/usr/bin/wine");

        QCOMPARE(launchFor(pe, wine).program, wine);
        QCOMPARE(launchFor(pe, wine).arguments, QStringList{pe});
        QCOMPARE(launchFor(pe, QString()).program, pe);
        QCOMPARE(launchFor(script, wine).program, script);
        QVERIFY(launchFor(script, wine).arguments.isEmpty());
    }

    // A path with blanks starts that very file, not the program named by its
    // first word.
    void pathWithBlanksStartsThatFile() {
        Scratch scratch;
        QDir(scratch.dir.path()).mkdir(QStringLiteral("my tools"));
        const QString decoy = scratch.path(QStringLiteral("my"));
        const QString program = scratch.path(QStringLiteral("my tools/patched app"));
        writeScript(decoy, scratch.path(QStringLiteral("decoy.ran")));
        writeScript(program, scratch.path(QStringLiteral("program.ran")));

        RecordingSink sink;
        MessageRoutine messages(sink);
        runTestProgram(program, messages);
        QTRY_VERIFY(QFile::exists(scratch.path(QStringLiteral("program.ran"))));
        QVERIFY(!QFile::exists(scratch.path(QStringLiteral("decoy.ran"))));
        QVERIFY(sink.texts.isEmpty());
    }

    void fileThatCannotStartGivesItsMessage() {
        Scratch scratch;
        const QString data = scratch.path(QStringLiteral("data.bin"));
        writeFile(data, "not a program");
        RecordingSink sink;
        MessageRoutine messages(sink);
        runTestProgram(data, messages);
        runTestProgram(scratch.path(QStringLiteral("missing")), messages);
        QCOMPARE(sink.texts, (QStringList{"此文件不能被运行！", "此文件不能被运行！"}));
    }
};

KESTRIN_WINDOW_SUITE(TestRunTest)

} // namespace kestrin::app::test

#include "test_run_test.moc"
