// The length tool window: opening, the figures of each encoding, clipboard.

#include "app_test_support.h"
#include "window_tests.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

namespace kestrin::app::test {

class LengthToolTest : public QObject {
    Q_OBJECT
private slots:
    // Opening takes the main window off the top and leaves the menu's mark;
    // a message then leaves the window off the top.
    void openingTakesTheMainWindowOffTheTop() {
        WindowFixture f;
        f.window.lengthToolAction()->trigger();
        QWidget* tool = f.window.lengthToolWindow();
        QVERIFY(tool && tool->isVisible());
        QVERIFY(!tool->parentWidget());
        QCOMPARE(tool->windowTitle(), QStringLiteral("字串长度及编码工具 v1.0"));
        QVERIFY(!isOnTop(&f.window));
        QVERIFY(f.window.onTopAction()->isChecked());
        f.window.messages().showMessage(QStringLiteral("x"));
        QVERIFY(!isOnTop(&f.window));
        for (const char* name : {"编辑框_原始字串十进制", "编辑框_原始字串十六进制", "编辑框_回写字串十进制"}) {
            QVERIFY(tool->findChild<QLineEdit*>(QString::fromUtf8(name))->text().isEmpty());
        }
        QVERIFY(tool->findChild<QRadioButton*>(QStringLiteral("单选框_ASCII"))->isChecked());
    }

    void figures_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QStringList>("expected");  // source dec, hex; encoded dec, hex, bytes
        QTest::newRow("empty") << "" << "单选框_Unicode" << QStringList{"0", "00", "0", "00", ""};
        QTest::newRow("GBK") << "中文" << "单选框_ASCII" << QStringList{"4", "04", "4", "04", "D6 D0 CE C4"};
        QTest::newRow("UTF-16") << "中文" << "单选框_Unicode" << QStringList{"4", "04", "4", "04", "2D 4E 87 65"};
        QTest::newRow("UTF-8") << "中文" << "单选框_UTF8" << QStringList{"4", "04", "6", "06", "E4 B8 AD E6 96 87"};
        QTest::newRow("escape decoded") << "a\\n" << "单选框_ASCII" << QStringList{"3", "03", "2", "02", "61 0A"};
        QTest::newRow("256 bytes") << QString(256, QLatin1Char('a')) << "单选框_ASCII"
                                   << QStringList{"256", "0100", "256", "0100", QStringList(256, "61").join(' ')};
    }

    void figures() {
        QFETCH(QString, text);
        QFETCH(QString, encoding);
        QFETCH(QStringList, expected);
        WindowFixture f;
        f.window.lengthToolAction()->trigger();
        QWidget* tool = f.window.lengthToolWindow();
        auto find = [tool](const char* name) { return tool->findChild<QLineEdit*>(QString::fromUtf8(name)); };
        auto* source = tool->findChild<QPlainTextEdit*>(QStringLiteral("编辑框_原始字串文本"));
        auto* bytes = tool->findChild<QPlainTextEdit*>(QStringLiteral("编辑框_回写字串编码"));
        // Typed first, so that an empty text also refreshes.
        source->setPlainText(QStringLiteral("x"));
        source->setPlainText(text);
        tool->findChild<QRadioButton*>(encoding)->click();
        const QStringList shown{find("编辑框_原始字串十进制")->text(), find("编辑框_原始字串十六进制")->text(),
                                find("编辑框_回写字串十进制")->text(), find("编辑框_回写字串十六进制")->text(),
                                bytes->toPlainText()};
        QCOMPARE(shown, expected);
        QCOMPARE(source->toPlainText(), text);
    }

    void pasteAndCopy() {
        WindowFixture f;
        f.window.lengthToolAction()->trigger();
        QWidget* tool = f.window.lengthToolWindow();
        QGuiApplication::clipboard()->setText(QStringLiteral("中文"));
        tool->findChild<QPushButton*>(QStringLiteral("按钮_从剪贴板粘贴"))->click();
        QCOMPARE(tool->findChild<QLineEdit*>(QStringLiteral("编辑框_原始字串十进制"))->text(), QStringLiteral("4"));
        QGuiApplication::clipboard()->clear();
        tool->findChild<QPushButton*>(QStringLiteral("按钮_复制到剪贴板"))->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("D6 D0 CE C4"));
    }
};

KESTRIN_WINDOW_SUITE(LengthToolTest)

} // namespace kestrin::app::test

#include "length_tool_test.moc"
