// Tabs 1 and 2: start state, drops, pickers and both ini jobs run from their
// buttons.

#include "app_test_support.h"
#include "window_tests.h"

#include <QPlainTextEdit>
#include <QTest>

namespace kestrin::app::test {

namespace {
const std::string kComparison = "\r\n4660:Open\r\nOpen\r\n\r\n4672:Save\\tAll\r\nSave\\tAll\r\n";
}

class IniPanelsTest : public QObject {
    Q_OBJECT
private slots:
    void startState() {
        WindowFixture f;
        struct Box { const char* name; bool readOnly; int width; };
        for (const Box& b : {Box{"编辑框1", true, 306}, Box{"编辑框2", false, 306}, Box{"编辑框4", true, 302},
                             Box{"编辑框5", true, 306}}) {
            QLineEdit* box = f.box(b.name);
            QVERIFY2(box, b.name);
            QVERIFY(box->text().isEmpty());
            QCOMPARE(box->isReadOnly(), b.readOnly);
            QCOMPARE(box->width(), b.width);
            QCOMPARE(box->palette().color(QPalette::Base), QColor(255, 255, 232));
        }
        QCOMPARE(f.button("按钮3")->text(), QStringLiteral("转为 ini 格式"));
        QCOMPARE(f.button("按钮6")->text(), QStringLiteral("写回Kestrin文件"));
        auto* help = f.find<QPlainTextEdit>("编辑框6");
        QVERIFY(help && help->isReadOnly());
        QVERIFY(help->toPlainText().startsWith(QStringLiteral("主要功能: 将已本地化后的 ini 文件回写至Kestrin对照文件。\n")));
        QVERIFY(f.find<QPlainTextEdit>("编辑框3")->toPlainText().startsWith(QStringLiteral("功能: 将Kestrin对照文件")));
    }

    void drops_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("dropped");
        QTest::addColumn<QString>("comparison");
        QTest::addColumn<QString>("ini");
        for (const char* tab : {"1", "2"}) {
            const QString comparisonBox = tab[0] == '1' ? QStringLiteral("编辑框1") : QStringLiteral("编辑框4");
            const QString iniBox = tab[0] == '1' ? QStringLiteral("编辑框2") : QStringLiteral("编辑框5");
            const QByteArray t(tab);
            QTest::newRow(t + " upper-case TXT proposes its ini")
                << comparisonBox << QStringList{"/d/work/APP.TXT"} << "/d/work/APP.TXT" << "/d/work/APP.ini";
            QTest::newRow(t + " only the final .txt is replaced")
                << comparisonBox << QStringList{"/c/docs.txt/list.txt"} << "/c/docs.txt/list.txt" << "/c/docs.txt/list.ini";
            QTest::newRow(t + " .txt.bak is ignored") << comparisonBox << QStringList{"/d/a.txt.bak"} << "" << "";
            QTest::newRow(t + " two files: the first one counts")
                << comparisonBox << QStringList{"/d/x.txt", "/d/y.txt"} << "/d/x.txt" << "/d/x.ini";
            QTest::newRow(t + " ini dropped on the ini box") << iniBox << QStringList{"/d/b.INI"} << "" << "/d/b.INI";
            QTest::newRow(t + " text file dropped on the ini box") << iniBox << QStringList{"/d/b.txt"} << "" << "";
        }
    }

    void drops() {
        QFETCH(QString, target);
        QFETCH(QStringList, dropped);
        QFETCH(QString, comparison);
        QFETCH(QString, ini);
        WindowFixture f;
        const bool tab1 = target == QStringLiteral("编辑框1") || target == QStringLiteral("编辑框2");
        QLineEdit* comparisonBox = f.box(tab1 ? "编辑框1" : "编辑框4");
        QLineEdit* iniBox = f.box(tab1 ? "编辑框2" : "编辑框5");
        dropFiles(f.window.findChild<QLineEdit*>(target), dropped);
        QCOMPARE(comparisonBox->text(), comparison);
        QCOMPARE(iniBox->text(), ini);
    }

    void droppedIniReplacesTheProposal() {
        WindowFixture f;
        dropFiles(f.box("编辑框1"), {"/d/app.txt"});
        dropFiles(f.box("编辑框2"), {"/e/b.ini"});
        QCOMPARE(f.box("编辑框2")->text(), QStringLiteral("/e/b.ini"));
    }

    void pickers() {
        WindowFixture f;
        f.picker.answers = {"/c/docs.txt/list.txt", "/c/data/list.dat", "", "/c/out.ini", "/c/x.TXT", "/c/y.ini"};
        f.button("按钮1")->click();
        QCOMPARE(f.box("编辑框2")->text(), QStringLiteral("/c/docs.txt/list.ini"));
        f.button("按钮1")->click();
        QCOMPARE(f.box("编辑框1")->text(), QStringLiteral("/c/data/list.dat"));
        QCOMPARE(f.box("编辑框2")->text(), QStringLiteral("/c/data/list.dat"));
        f.button("按钮1")->click();  // cancelled: nothing changes
        QCOMPARE(f.box("编辑框1")->text(), QStringLiteral("/c/data/list.dat"));
        f.button("按钮2")->click();
        QCOMPARE(f.box("编辑框1")->text(), QStringLiteral("/c/data/list.dat"));
        QCOMPARE(f.box("编辑框2")->text(), QStringLiteral("/c/out.ini"));
        f.button("按钮4")->click();
        QCOMPARE(f.box("编辑框5")->text(), QStringLiteral("/c/x.ini"));
        f.button("按钮5")->click();
        QCOMPARE(f.box("编辑框4")->text(), QStringLiteral("/c/x.TXT"));
        QCOMPARE(f.box("编辑框5")->text(), QStringLiteral("/c/y.ini"));

        const QString text = QStringLiteral("文本文件 (*.txt)|*.txt|所有文件 (*.*)|*.*");
        const QString ini = QStringLiteral("ini 文件 (*.ini)|*.ini|所有文件 (*.*)|*.*");
        struct Expected { const char* title; const QString& filter; const char* extension; };
        const Expected expected[] = {
            {"请选择要转换的Kestrin对照文件:", text, "txt"}, {"请选择要转换的Kestrin对照文件:", text, "txt"},
            {"请选择要转换的Kestrin对照文件:", text, "txt"}, {"请选择转换后的 ini 文件:", ini, "ini"},
            {"请选择Kestrin对照文件:", text, "txt"},         {"请选择已本地化的 ini 文件:", ini, "ini"},
        };
        QCOMPARE(f.picker.dialogs.size(), std::size(expected));
        for (size_t i = 0; i < std::size(expected); ++i) {
            QCOMPARE(f.picker.dialogs[i].title, QString::fromUtf8(expected[i].title));
            QCOMPARE(f.picker.dialogs[i].filter, expected[i].filter);
            QCOMPARE(f.picker.dialogs[i].defaultExtension, QString::fromUtf8(expected[i].extension));
        }
    }

    void exportJobWritesTheIniFile() {
        Scratch scratch;
        const QString comparison = scratch.path(QStringLiteral("app.exe.a.txt"));
        writeFile(comparison, kComparison);
        WindowFixture f;
        dropFiles(f.box("编辑框1"), {comparison});
        QVERIFY(f.runJob("按钮3"));
        QCOMPARE(readFile(scratch.path(QStringLiteral("app.exe.a.ini"))), std::string("4660=Open\r\n4672=Save\\tAll\r\n"));
        QVERIFY(f.sink.texts.last().startsWith(QStringLiteral("转为 ini 格式完毕，共用时： ")));
        QCOMPARE(f.sink.mainWindowOnTop.back(), false);  // off the top while the message is shown
        QVERIFY(isOnTop(&f.window));
        QCOMPARE(f.find<QProgressBar>("进度条1")->value(), 0);
        QVERIFY(f.button("按钮3")->isEnabled());
    }

    void importJobMergesWithBackupFromTheMenu() {
        Scratch scratch;
        const QString comparison = scratch.path(QStringLiteral("app.exe.a.txt"));
        const QString ini = scratch.path(QStringLiteral("app.exe.a.ini"));
        writeFile(comparison, kComparison);
        writeFile(ini, "4672=Save\\t全部\r\n");
        WindowFixture f;
        dropFiles(f.box("编辑框4"), {comparison});
        QCOMPARE(f.box("编辑框5")->text(), ini);
        f.window.backupAction()->trigger();  // unchecked: no backup
        QVERIFY(f.runJob("按钮6"));
        QVERIFY(f.sink.texts.last().startsWith(QStringLiteral("写回Kestrin对照文件完毕，共用时： ")));
        QCOMPARE(readFile(comparison), std::string("\r\n4660:Open\r\nOpen\r\n\r\n4672:Save\\tAll\r\nSave\\t全部\r\n"));
        QVERIFY(!QFile::exists(comparison + QStringLiteral(".BAK")));

        f.window.backupAction()->trigger();
        QVERIFY(f.runJob("按钮6"));
        QVERIFY(QFile::exists(comparison + QStringLiteral(".BAK")));
    }

    void emptyPathsAreRefusedByTheJob() {
        WindowFixture f;
        QVERIFY(f.runJob("按钮3"));
        QCOMPARE(f.sink.texts.last(), QStringLiteral("请先选择要转为 ini 格式的Pomaly对照文件！"));
        QVERIFY(f.runJob("按钮6"));
        QCOMPARE(f.sink.texts.last(), QStringLiteral("请先选择Kestrin对照文件和已本地化的 ini 文件！"));
    }
};

KESTRIN_WINDOW_SUITE(IniPanelsTest)

} // namespace kestrin::app::test

#include "ini_panels_test.moc"
