// Tab 4: start state, the mode update, the option rules, drops and pickers,
// and the write-back, test and restore buttons.

#include "app_test_support.h"
#include "window_tests.h"

#include "app/write_back_panel.h"

#include <QTest>

namespace kestrin::app::test {

namespace {
const std::string kProgram = std::string("xxxxHello\0\0\0\0yyyy", 17);
const std::string kPatched = std::string("xxxxHi\0\0\0\0\0\0\0yyyy", 17);
const std::string kComparison = "\r\n4:Hello\r\nHi\r\n";
} // namespace

class WriteBackPanelTest : public QObject {
    Q_OBJECT
private slots:
    void startState() {
        WindowFixture f;
        QVERIFY(f.box("编辑框10")->isReadOnly() && f.box("编辑框11")->isReadOnly());
        QVERIFY(f.box("编辑框10")->text().isEmpty() && f.box("编辑框11")->text().isEmpty());
        QCOMPARE(f.comboBox("组合框1")->currentIndex(), 0);
        QStringList modes;
        for (int i = 0; i < f.comboBox("组合框1")->count(); ++i) modes << f.comboBox("组合框1")->itemText(i);
        QCOMPARE(modes, (QStringList{"ASCII", "UniCode", "UTF8", "Delphi[ASCII]", "Delphi[UniCode]", "VB[UniCode]"}));
        for (const char* name : {"选择框1", "选择框2", "选择框3", "选择框4"}) {
            QVERIFY2(!f.checkBox(name)->isChecked() && f.checkBox(name)->isEnabled(), name);
        }
        QVERIFY(f.checkBox("选择框12")->isChecked());
        for (const char* name : {"回写范围最小值编辑框", "回写范围最大值编辑框"}) {
            QVERIFY(f.box(name)->text().isEmpty());
            QVERIFY(!f.box(name)->isEnabled());
        }
        QCOMPARE(f.button("按钮12")->text(), QStringLiteral("全部回写"));
        QVERIFY(f.button("按钮12")->isEnabled());
        QVERIFY(!f.button("按钮13")->isEnabled());
        QVERIFY(!f.button("按钮14")->isEnabled());
        QCOMPARE(f.checkBox("选择框3")->text(), QStringLiteral("自动修改字串长度标识"));
    }

    void modeUpdate_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("ASCII") << 0 << "自动修改字串长度标识" << false << ".a.txt";
        QTest::newRow("UniCode") << 1 << "自动修改字串长度标识" << false << ".u.txt";
        QTest::newRow("UTF8") << 2 << "自动修改字串长度标识" << false << ".u8.txt";
        QTest::newRow("Delphi[ASCII]") << 3 << "自动修改字串长度标识（Delphi）" << true << ".d.txt";
        QTest::newRow("Delphi[UniCode]") << 4 << "自动修改字串长度标识（Delphi）" << true << ".du.txt";
        QTest::newRow("VB[UniCode]") << 5 << "自动修改字串长度标识（VB）" << true << ".vb.txt";
    }

    // A mode chosen before the program file takes effect when the file comes;
    // with a program path present, a mode change replaces the comparison path.
    void modeUpdate() {
        QFETCH(int, mode);
        QFETCH(QString, caption);
        QFETCH(bool, checked);
        QFETCH(QString, suffix);
        WindowFixture f;
        f.comboBox("组合框1")->setCurrentIndex(mode);
        QCOMPARE(f.checkBox("选择框3")->text(), QStringLiteral("自动修改字串长度标识"));
        QVERIFY(f.box("编辑框11")->text().isEmpty());

        dropFiles(f.box("编辑框10"), {"/w/app.exe"});
        QCOMPARE(f.box("编辑框11")->text(), "/w/app.exe" + suffix);
        QCOMPARE(f.checkBox("选择框3")->text(), caption);
        QCOMPARE(f.checkBox("选择框3")->isChecked(), checked);

        dropFiles(f.box("编辑框11"), {"/w/other.txt"});
        f.comboBox("组合框1")->setCurrentIndex(mode == 1 ? 4 : 1);
        f.comboBox("组合框1")->setCurrentIndex(mode);
        QCOMPARE(f.box("编辑框11")->text(), "/w/app.exe" + suffix);
    }

    void backToUnicodeClearsTheLengthFieldBox() {
        WindowFixture f;
        dropFiles(f.box("编辑框10"), {"/w/app.exe"});
        f.comboBox("组合框1")->setCurrentIndex(4);
        QVERIFY(f.checkBox("选择框3")->isChecked());
        f.comboBox("组合框1")->setCurrentIndex(1);
        QVERIFY(!f.checkBox("选择框3")->isChecked());
        QCOMPARE(f.checkBox("选择框3")->text(), QStringLiteral("自动修改字串长度标识"));
        QVERIFY(f.window.findChild<WriteBackPanel*>()->currentSettings().utf16Target);
    }

    void optionRules() {
        WindowFixture f;
        f.checkBox("选择框1")->click();
        f.checkBox("选择框2")->click();
        QVERIFY(!f.checkBox("选择框1")->isEnabled() && !f.checkBox("选择框3")->isEnabled());
        QVERIFY(f.checkBox("选择框1")->isChecked());
        f.checkBox("选择框2")->click();
        QVERIFY(f.checkBox("选择框1")->isEnabled() && f.checkBox("选择框3")->isEnabled());
        QVERIFY(f.checkBox("选择框1")->isChecked());

        QLineEdit* low = f.box("回写范围最小值编辑框");
        f.checkBox("选择框4")->click();
        QVERIFY(low->isEnabled() && f.box("回写范围最大值编辑框")->isEnabled());
        QCOMPARE(low->palette().color(QPalette::Base), QColor(Qt::white));
        QCOMPARE(f.button("按钮12")->text(), QStringLiteral("选择性回写"));
        QTest::keyClicks(low, QStringLiteral("1-2a3"));
        QCOMPARE(low->text(), QStringLiteral("123"));
        f.checkBox("选择框4")->click();
        QVERIFY(!low->isEnabled());
        QCOMPARE(low->text(), QStringLiteral("123"));
        QCOMPARE(f.button("按钮12")->text(), QStringLiteral("全部回写"));

        f.checkBox("选择框12")->click();
        QVERIFY(!f.window.findChild<WriteBackPanel*>()->currentSettings().borrowZeroBytes);
    }

    void dropsAndPickers() {
        WindowFixture f;
        dropFiles(f.box("编辑框11"), {"/w/notes.TXT"});
        QCOMPARE(f.box("编辑框11")->text(), QStringLiteral("/w/notes.TXT"));
        dropFiles(f.box("编辑框11"), {"/w/notes.ini"});
        QCOMPARE(f.box("编辑框11")->text(), QStringLiteral("/w/notes.TXT"));
        dropFiles(f.box("编辑框10"), {"/w/tool.dll", "/w/b.exe"});
        QCOMPARE(f.box("编辑框10")->text(), QStringLiteral("/w/tool.dll"));
        QCOMPARE(f.box("编辑框11")->text(), QStringLiteral("/w/tool.dll.a.txt"));

        f.picker.answers = {"", "/w/c.txt", "/w/new.exe"};
        f.button("按钮10")->click();  // cancelled: the mode update still runs
        f.button("按钮11")->click();
        QCOMPARE(f.box("编辑框11")->text(), QStringLiteral("/w/c.txt"));
        f.button("按钮10")->click();
        QCOMPARE(f.box("编辑框10")->text(), QStringLiteral("/w/new.exe"));
        QCOMPARE(f.box("编辑框11")->text(), QStringLiteral("/w/new.exe.a.txt"));
        QCOMPARE(f.picker.dialogs[0].title, QStringLiteral("请选择程序文件:"));
        QCOMPARE(f.picker.dialogs[0].filter, QStringLiteral("可执行文件 (*.exe;*.dll;*.ocx)|*.exe;*.dll;*.ocx|所有文件 (*.*)|*.*"));
        QCOMPARE(f.picker.dialogs[1].title, QStringLiteral("请选择已本地化的Kestrin对照文件:"));
        QCOMPARE(f.picker.dialogs[1].defaultExtension, QStringLiteral("txt"));
    }

    // Write back, then restore: the program is as before and the backup gone;
    // test and restore are armed by the write-back until the path changes.
    void writeBackThenRestore() {
        Scratch scratch;
        const QString program = scratch.path(QStringLiteral("app.exe"));
        writeFile(program, kProgram);
        writeFile(program + QStringLiteral(".a.txt"), kComparison);
        const QByteArray oldTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", scratch.dir.path().toLocal8Bit());

        WindowFixture f;
        dropFiles(f.box("编辑框10"), {program});
        QVERIFY(f.runJob("按钮12"));
        QVERIFY2(f.sink.texts.last().startsWith(QStringLiteral("写回程序文件完毕，共用时： ")), qPrintable(f.sink.texts.last()));
        QCOMPARE(readFile(program), kPatched);
        QCOMPARE(readFile(program + QStringLiteral(".BAK")), kProgram);
        QVERIFY(f.button("按钮13")->isEnabled() && f.button("按钮14")->isEnabled());
        QCOMPARE(f.find<QProgressBar>("进度条4")->value(), 0);

        QVERIFY(f.runJob("按钮14"));
        QCOMPARE(f.sink.texts.last(), QStringLiteral("还原成功！"));
        QCOMPARE(readFile(program), kProgram);
        QVERIFY(!QFile::exists(program + QStringLiteral(".BAK")));
        QVERIFY(f.button("按钮13")->isEnabled() && f.button("按钮14")->isEnabled());

        f.picker.answers = {program};  // the same file again: nothing changes
        f.button("按钮10")->click();
        QVERIFY(f.button("按钮13")->isEnabled() && f.button("按钮14")->isEnabled());

        f.button("按钮13")->click();  // a data file: it cannot be started
        QCOMPARE(f.sink.texts.last(), QStringLiteral("此文件不能被运行！"));

        dropFiles(f.box("编辑框10"), {scratch.path(QStringLiteral("other.exe"))});
        QVERIFY(!f.button("按钮13")->isEnabled() && !f.button("按钮14")->isEnabled());
        qputenv("TMPDIR", oldTmp);
    }

    // A write-back that stops leaves test and restore as they were.
    void stoppedWriteBackArmsNothing() {
        WindowFixture f;
        QVERIFY(f.runJob("按钮12"));
        QVERIFY(!f.button("按钮13")->isEnabled());
    }
};

KESTRIN_WINDOW_SUITE(WriteBackPanelTest)

} // namespace kestrin::app::test

#include "write_back_panel_test.moc"
