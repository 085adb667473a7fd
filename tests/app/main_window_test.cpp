// The main window's frame: start state, menus, window-on-top around messages
// and the end of the program.

#include "app_test_support.h"
#include "window_tests.h"

#include "app/about_window.h"
#include "app/job_runner.h"
#include "app/window_program.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMenuBar>
#include <QSignalSpy>
#include <QUrl>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <atomic>

namespace kestrin::app::test {

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void startState() {
        WindowFixture f;
        QCOMPARE(f.window.windowTitle(), QStringLiteral("Kestrin字串替换器 v1.0 by wenlo53〖2015.10.28〗"));
        QCOMPARE(f.window.minimumSize(), f.window.maximumSize());
        QVERIFY(!f.window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(f.window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(isOnTop(&f.window));

        auto* tabs = f.find<QTabWidget>("选择夹1");
        QVERIFY(tabs);
        QCOMPARE(tabs->currentIndex(), 2);
        const QStringList captions{"Kestrin=>ini", "ini=>Kestrin", "程序=>Kestrin", "Kestrin=>程序"};
        QCOMPARE(tabs->count(), 4);
        for (int i = 0; i < 4; ++i) QCOMPARE(tabs->tabText(i), captions[i]);
        for (const char* bar : {"进度条1", "进度条2", "进度条3", "进度条4"}) {
            QVERIFY2(f.find<QProgressBar>(bar), bar);
            QCOMPARE(f.find<QProgressBar>(bar)->value(), 0);
        }

        auto* timer = f.find<QTimer>("时钟1");
        QVERIFY(timer && timer->isActive());
        QCOMPARE(timer->interval(), 200);
    }

    void menusHaveCheckMarksAndShortcuts() {
        WindowFixture f;
        struct Item { QAction* action; const char* caption; bool checkable; bool checked; const char* shortcut; };
        const Item items[] = {
            {f.window.onTopAction(), "窗口置顶(&S)", true, true, "Ctrl+S"},
            {f.window.backupAction(), "备份原文件(&B)", true, true, "Ctrl+B"},
            {f.window.lengthToolAction(), "字串长度及编码工具(&L)", false, false, "Ctrl+L"},
            {f.window.aboutAction(), "关于程序...", false, false, ""},
        };
        for (const Item& item : items) {
            QCOMPARE(item.action->text(), QString::fromUtf8(item.caption));
            QCOMPARE(item.action->isCheckable(), item.checkable);
            QCOMPARE(item.action->isChecked(), item.checked);
            QCOMPARE(item.action->shortcut().toString(), QString::fromUtf8(item.shortcut));
        }
        QStringList menus;
        for (QAction* menu : f.window.menuBar()->actions()) menus << menu->text();
        QCOMPARE(menus, (QStringList{"选项(&O)", "工具(&T)", "关于(&A)"}));
    }

    void onTopFollowsMenu() {
        WindowFixture f;
        f.window.onTopAction()->trigger();
        QVERIFY(!f.window.onTopAction()->isChecked());
        QVERIFY(!isOnTop(&f.window));
        f.window.onTopAction()->trigger();
        QVERIFY(isOnTop(&f.window));
    }

    // While a message is shown the window is off the top and comes back
    // after OK; when the window is not on top the message leaves it alone.
    void messagesTakeWindowOffTheTop() {
        WindowFixture f;
        f.window.messages().showMessage(QStringLiteral("一"));
        QCOMPARE(f.sink.mainWindowOnTop, std::vector<bool>{false});
        QVERIFY(isOnTop(&f.window));

        f.window.onTopAction()->trigger();
        f.window.messages().showMessage(QStringLiteral("二"));
        QVERIFY(!isOnTop(&f.window));
        QCOMPARE(f.sink.texts, (QStringList{"一", "二"}));
    }

    // The real box: titled "提示:", information icon, one OK button, modal
    // for the whole program.
    void messageBoxLooksAsItShould() {
        QString title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        qsizetype buttons = 0;
        Qt::WindowModality modality = Qt::NonModal;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            icon = box->icon();
            buttons = box->buttons().size();
            modality = box->windowModality();
            box->accept();
        });
        MessageBoxSink().show(QStringLiteral("完毕"));
        QCOMPARE(title, QStringLiteral("提示:"));
        QCOMPARE(icon, QMessageBox::Information);
        QCOMPARE(buttons, 1);
        QCOMPARE(modality, Qt::ApplicationModal);
    }

    void aboutLinkClearsOnTopAndItsMark() {
        WindowFixture f;
        f.window.aboutAction()->trigger();
        AboutWindow* about = f.window.aboutWindow();
        QVERIFY(about && about->isVisible());
        QCOMPARE(about->windowTitle(), QStringLiteral("关于..."));
        QCOMPARE(about->parentWidget(), &f.window);
        QVERIFY(!about->isModal());
        auto* link = about->findChild<QLabel*>(QStringLiteral("超链接框1"));
        QVERIFY(link);
        QUrl opened;
        f.window.setUrlOpener([&opened](const QUrl& url) { opened = url; });
        emit link->linkActivated(link->text());
        QCOMPARE(opened, QUrl(QStringLiteral("mailto:") + AboutWindow::mailAddress()));
        QVERIFY(!isOnTop(&f.window));
        QVERIFY(!f.window.onTopAction()->isChecked());
    }

    // Closing the main window ends the program with 0 while the length
    // tool and the about window are open, and removes the restore copy.
    void closingEndsTheProgram() {
        Scratch scratch;
        const QByteArray oldTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", scratch.dir.path().toLocal8Bit());
        const QString restoreCopy = scratch.path(QStringLiteral("wenlo53.tmp"));
        writeFile(restoreCopy, "MZ");
        RecordingSink sink;
        ScriptedPicker picker;
        bool othersOpen = false;
        const int exitCode = runWindowProgram(*qApp, sink, picker, [&](MainWindow& window) {
            QTimer::singleShot(0, &window, [&] {
                window.lengthToolAction()->trigger();
                window.aboutAction()->trigger();
                othersOpen = window.lengthToolWindow()->isVisible() && window.aboutWindow()->isVisible();
                window.close();
            });
        });
        QCOMPARE(exitCode, 0);
        QVERIFY(othersOpen);
        QVERIFY(!QFile::exists(restoreCopy));
        qputenv("TMPDIR", oldTmp);
    }
};

KESTRIN_WINDOW_SUITE(MainWindowTest)

} // namespace kestrin::app::test

#include "main_window_test.moc"
