// Tab 3: start state, the class-box and minimum-length rules, the mode list,
// drops and pickers, and an extraction run from its button.

#include "app_test_support.h"
#include "window_tests.h"

#include "app/extraction_panel.h"

#include <QTest>
#include <QToolButton>

namespace kestrin::app::test {

namespace {
const ExtractionSettings& settingsOf(const WindowFixture& f) {
    return f.window.findChild<ExtractionPanel*>()->settings();
}
} // namespace

class ExtractionPanelTest : public QObject {
    Q_OBJECT
private slots:
    void startState() {
        WindowFixture f;
        QVERIFY(f.box("编辑框7")->isReadOnly() && !f.box("编辑框8")->isReadOnly());
        QVERIFY(f.box("编辑框7")->text().isEmpty() && f.box("编辑框8")->text().isEmpty());
        QCOMPARE(f.box("编辑框9")->text(), QStringLiteral("2"));
        QCOMPARE(f.box("编辑框12")->text(), QStringLiteral("2"));
        const std::pair<const char*, bool> checks[] = {{"选择框5", true},  {"选择框6", false}, {"选择框7", false},
                                                       {"选择框8", false}, {"选择框9", false}, {"选择框10", false},
                                                       {"选择框11", true}};
        for (const auto& [name, checked] : checks) {
            QCOMPARE(f.checkBox(name)->isChecked(), checked);
            QVERIFY2(f.checkBox(name)->isEnabled(), name);
        }
        QCOMPARE(f.checkBox("选择框10")->text(), QStringLiteral("兼容Pomaly将\"转为\\\""));
        QCOMPARE(f.comboBox("组合框2")->count(), 8);
        QCOMPARE(f.comboBox("组合框2")->currentText(), QStringLiteral("ASCII[VA]"));
        QCOMPARE(f.comboBox("组合框2")->itemText(5), QStringLiteral("Delphi字串[Unicode]"));
        QCOMPARE(f.button("按钮9")->text(), QStringLiteral("查找字串"));
        const ExtractionSettings& s = settingsOf(f);
        QCOMPARE(s.textClassMode, TextClassMode::AsciiOnly);
        QCOMPARE(s.minLength, 2);
        QVERIFY(s.overlapFilter && !s.junkFilter && !s.escapeQuotes && !s.skipPeCheck && !s.requireDoubleByte);
    }

    // Clicks on the class boxes (box numbers 5 to 8), after 编辑框12 was set
    // to 5 while plain English alone was on.
    void classBoxes_data() {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<QString>("enabled");  // 选择框6, 7, 8, 9 as 1/0
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("minLength");
        QTest::addColumn<bool>("requireDoubleByte");
        QTest::addColumn<int>("doubleByteClass");
        QTest::newRow("GBK with plain English") << QList<int>{7} << "0101" << 2 << 5 << false << 2;
        QTest::newRow("then plain English off") << QList<int>{7, 5} << "0100" << 2 << 5 << true << 2;
        QTest::newRow("plain English off alone") << QList<int>{5} << "1111" << 1 << 2 << false << 0;
        QTest::newRow("GBK off again") << QList<int>{7, 7} << "1111" << 1 << 2 << false << 2;
        QTest::newRow("GB2312 without plain English") << QList<int>{5, 6} << "1000" << 2 << 5 << true << 1;
        QTest::newRow("BIG5 off without plain English") << QList<int>{5, 8, 8} << "1110" << 2 << 5 << true << 3;
        QTest::newRow("plain English back on") << QList<int>{5, 8, 5} << "0011" << 2 << 5 << false << 3;
    }

    void classBoxes() {
        QFETCH(QList<int>, clicks);
        QFETCH(QString, enabled);
        QFETCH(int, mode);
        QFETCH(int, minLength);
        QFETCH(bool, requireDoubleByte);
        QFETCH(int, doubleByteClass);
        WindowFixture f;
        typeAndLeave(f.box("编辑框12"), QStringLiteral("5"));
        QCOMPARE(settingsOf(f).minLength, 2);
        for (int box : clicks) f.checkBox(QStringLiteral("选择框%1").arg(box).toUtf8())->click();
        QString shown;
        for (const char* name : {"选择框6", "选择框7", "选择框8", "选择框9"}) shown += f.checkBox(name)->isEnabled() ? '1' : '0';
        QCOMPARE(shown, enabled);
        const ExtractionSettings& s = settingsOf(f);
        QCOMPARE(int(s.textClassMode), mode);
        QCOMPARE(s.minLength, minLength);
        QCOMPARE(s.requireDoubleByte, requireDoubleByte);
        QCOMPARE(int(s.doubleByteClass), doubleByteClass);
    }

    void minLengthBoxes() {
        WindowFixture f;
        QLineEdit* ascii = f.box("编辑框9");
        QLineEdit* mixed = f.box("编辑框12");
        typeAndLeave(mixed, QStringLiteral("3000"));
        QCOMPARE(mixed->text(), QStringLiteral("2048"));
        typeAndLeave(ascii, QStringLiteral("-7"));
        QCOMPARE(ascii->text(), QStringLiteral("7"));
        QCOMPARE(settingsOf(f).minLength, 7);

        ascii->selectAll();
        QTest::keyClicks(ascii, QStringLiteral("0"));
        QCOMPARE(ascii->text(), QString());
        typeAndLeave(ascii, QString());
        QCOMPARE(ascii->text(), QStringLiteral("1"));
        QCOMPARE(settingsOf(f).minLength, 1);

        // The mixed box is not the current mode's: leaving it empty gives "1"
        // and leaves the record alone.
        typeAndLeave(mixed, QString());
        QCOMPARE(mixed->text(), QStringLiteral("1"));
        QCOMPARE(settingsOf(f).minLength, 1);
        typeAndLeave(mixed, QStringLiteral("9"));
        QCOMPARE(settingsOf(f).minLength, 1);

        // The up-down arrows step within 1..2048 and give the box the focus,
        // so leaving it applies the number.
        auto* up = ascii->findChild<QToolButton*>(QStringLiteral("编辑框9-上"));
        auto* down = ascii->findChild<QToolButton*>(QStringLiteral("编辑框9-下"));
        QVERIFY(up != nullptr && down != nullptr);
        QVERIFY(up->isVisibleTo(ascii) && down->isVisibleTo(ascii));
        down->click();
        QCOMPARE(ascii->text(), QStringLiteral("1"));
        up->click();
        up->click();
        QCOMPARE(ascii->text(), QStringLiteral("3"));
        QCOMPARE(ascii->window()->focusWidget(), ascii);
        QFocusEvent leave(QEvent::FocusOut, Qt::MouseFocusReason);
        QApplication::sendEvent(ascii, &leave);
        QCOMPARE(settingsOf(f).minLength, 3);
        typeAndLeave(ascii, QStringLiteral("2048"));
        up->click();
        QCOMPARE(ascii->text(), QStringLiteral("2048"));
    }

    void modeListAndProposedOutput() {
        WindowFixture f;
        f.comboBox("组合框2")->setCurrentIndex(6);  // no program yet: nothing proposed
        QVERIFY(f.box("编辑框8")->text().isEmpty());
        QVERIFY(settingsOf(f).skipPeCheck);
        f.comboBox("组合框2")->setCurrentIndex(0);

        dropFiles(f.box("编辑框7"), {"/w/x.exe"});
        QCOMPARE(f.box("编辑框8")->text(), QStringLiteral("/w/x.exe.a.txt"));
        f.comboBox("组合框2")->setCurrentIndex(3);
        QCOMPARE(f.box("编辑框8")->text(), QStringLiteral("/w/x.exe.u.txt"));
        QVERIFY(!f.checkBox("选择框11")->isEnabled());
        QVERIFY(f.checkBox("选择框11")->isChecked());
        QVERIFY(settingsOf(f).overlapFilter);
        f.comboBox("组合框2")->setCurrentIndex(2);
        QVERIFY(f.checkBox("选择框11")->isEnabled());
        QVERIFY(!settingsOf(f).skipPeCheck);

        dropFiles(f.box("编辑框8"), {"/w/out.ini"});
        QCOMPARE(f.box("编辑框8")->text(), QStringLiteral("/w/x.exe.u.txt"));
        dropFiles(f.box("编辑框8"), {"/w/out.TXT"});
        QCOMPARE(f.box("编辑框8")->text(), QStringLiteral("/w/out.TXT"));

        f.picker.answers = {"", "/w/y.dll", "/w/z.txt"};
        f.button("按钮7")->click();  // cancelled: the output is proposed again for x.exe
        QCOMPARE(f.box("编辑框8")->text(), QStringLiteral("/w/x.exe.u.txt"));
        f.button("按钮7")->click();
        QCOMPARE(f.box("编辑框8")->text(), QStringLiteral("/w/y.dll.u.txt"));
        f.button("按钮8")->click();
        QCOMPARE(f.box("编辑框8")->text(), QStringLiteral("/w/z.txt"));
        QCOMPARE(f.picker.dialogs[0].title, QStringLiteral("请选择程序文件:"));
        QVERIFY(f.picker.dialogs[0].defaultExtension.isEmpty());
        QCOMPARE(f.picker.dialogs[2].title, QStringLiteral("请选择要保存的Kestrin文件:"));
        QCOMPARE(f.picker.dialogs[2].defaultExtension, QStringLiteral("txt"));
    }

    void filtersFollowTheirBoxes() {
        WindowFixture f;
        f.checkBox("选择框9")->click();
        f.checkBox("选择框10")->click();
        f.checkBox("选择框11")->click();
        const ExtractionSettings& s = settingsOf(f);
        QVERIFY(s.junkFilter && s.escapeQuotes && !s.overlapFilter);
    }

    // The settings are taken when the job starts: the run reads the record
    // as it was at the click.
    void extractionRunWritesTheComparisonFile() {
        Scratch scratch;
        const QString program = scratch.path(QStringLiteral("data.bin"));
        writeFile(program, std::string("\0\0Hello\0\0World!\0", 17));
        WindowFixture f;
        f.comboBox("组合框2")->setCurrentIndex(1);
        dropFiles(f.box("编辑框7"), {program});
        QVERIFY(f.runJob("按钮9"));
        QCOMPARE(readFile(program + QStringLiteral(".a.txt")),
                 std::string("\r\n2:Hello\r\nHello\r\n\r\n9:World!\r\nWorld!\r\n"));
        QCOMPARE(f.find<QProgressBar>("进度条3")->value(), 0);
    }

    void refusalWithoutClassBox() {
        WindowFixture f;
        dropFiles(f.box("编辑框7"), {"/w/x.exe"});
        f.checkBox("选择框5")->click();
        QVERIFY(f.runJob("按钮9"));
        QCOMPARE(f.sink.texts.last(), QStringLiteral("请先选择编码类型！"));
    }
};

KESTRIN_WINDOW_SUITE(ExtractionPanelTest)

} // namespace kestrin::app::test

#include "extraction_panel_test.moc"
