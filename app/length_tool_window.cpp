#include "app/length_tool_window.h"

#include "app/controls.h"
#include "app/path_convert.h"
#include "core/code_page.h"
#include "lengthtool/length_tool.h"

#include <QButtonGroup>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kestrin::app {

namespace {

QPlainTextEdit* addTextArea(QWidget* parent, const QString& name, int x, int y) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setGeometry(x, y, 370, 145);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return box;
}

// A length group: decimal and hexadecimal boxes with their labels.
void addLengthGroup(QWidget* parent, const QString& groupName, const QString& caption, int x, int y, const char* stem,
                    int hexY, QLineEdit*& decimal, QLineEdit*& hex) {
    QGroupBox* group = addGroupBox(parent, groupName, caption, x, y, 120, 75);
    const QString prefix = QString::fromUtf8(stem);
    addLabel(group, QStringLiteral("标签_") + prefix + QStringLiteral("十进制"), QStringLiteral("十进制:"), 5, 19, 58, 16);
    decimal = new QLineEdit(group);
    decimal->setObjectName(QStringLiteral("编辑框_") + prefix + QStringLiteral("十进制"));
    decimal->setGeometry(65, 19, 45, 16);
    addLabel(group, QStringLiteral("标签_") + prefix + QStringLiteral("十六进制"), QStringLiteral("十六进制:"), 5, hexY, 58, 16);
    hex = new QLineEdit(group);
    hex->setObjectName(QStringLiteral("编辑框_") + prefix + QStringLiteral("十六进制"));
    hex->setGeometry(65, hexY, 45, 16);
}

} // namespace

LengthToolWindow::LengthToolWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("字串长度及编码工具"));
    setWindowTitle(QStringLiteral("字串长度及编码工具 v1.0"));
    setFixedSize(535, 372);

    QGroupBox* sourceGroup = addGroupBox(this, QStringLiteral("分组框1"), QStringLiteral("原始字串文本"), 10, 8, 515, 167);
    sourceBox_ = addTextArea(sourceGroup, QStringLiteral("编辑框_原始字串文本"), 10, 15);
    addLengthGroup(sourceGroup, QStringLiteral("分组框4"), QStringLiteral("原始字串长度"), 385, 20, "原始字串", 50,
                   sourceDecimal_, sourceHex_);
    QPushButton* paste = addButton(sourceGroup, QStringLiteral("按钮_从剪贴板粘贴"), QStringLiteral("从剪贴板粘贴"), 400, 116, 90, 35);

    QGroupBox* encodedGroup = addGroupBox(this, QStringLiteral("分组框2"), QStringLiteral("回写字串编码"), 10, 182, 515, 188);
    encodings_ = new QButtonGroup(this);
    const char* captions[] = {"ASCII", "Unicode", "UTF8"};
    const int xs[] = {15, 85, 170};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(captions[i]), encodedGroup);
        radio->setObjectName(QStringLiteral("单选框_") + QString::fromUtf8(captions[i]));
        radio->setGeometry(xs[i], 17, 70, 18);
        encodings_->addButton(radio, i);
    }
    encodings_->button(0)->setChecked(true);
    encodedBox_ = addTextArea(encodedGroup, QStringLiteral("编辑框_回写字串编码"), 10, 36);
    // Only the window writes the byte list; typing there is refused.
    encodedBox_->setReadOnly(true);
    encodedBox_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    addLengthGroup(encodedGroup, QStringLiteral("分组框3"), QStringLiteral("回写字串长度"), 385, 40, "回写字串", 51,
                   encodedDecimal_, encodedHex_);
    QPushButton* copy = addButton(encodedGroup, QStringLiteral("按钮_复制到剪贴板"), QStringLiteral("复制到剪贴板"), 400, 136, 90, 35);

    connect(sourceBox_, &QPlainTextEdit::textChanged, this, &LengthToolWindow::refreshSourceLength);
    connect(encodings_, &QButtonGroup::idClicked, this, &LengthToolWindow::refreshEncodedView);
    connect(paste, &QPushButton::clicked, this,
            [this] { sourceBox_->setPlainText(QGuiApplication::clipboard()->text()); });
    connect(copy, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(encodedBox_->toPlainText()); });
}

namespace {
// The source text as the comparison file would hold it: code page 936 bytes,
// line breaks as CR LF.
std::string sourceBytes(const QPlainTextEdit* box) {
    QString text = box->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return utf16ToCp936(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size())));
}
} // namespace

void LengthToolWindow::refreshSourceLength() {
    const LengthToolResult result = computeLengthTool(sourceBytes(sourceBox_), ToolEncoding::Ascii);
    sourceDecimal_->setText(fromUtf8(result.sourceDecimal));
    sourceHex_->setText(fromUtf8(result.sourceHex));
    refreshEncodedView();
}

void LengthToolWindow::refreshEncodedView() {
    const auto encoding = static_cast<ToolEncoding>(std::max(0, encodings_->checkedId()));
    const LengthToolResult result = computeLengthTool(sourceBytes(sourceBox_), encoding);
    encodedDecimal_->setText(fromUtf8(result.encodedDecimal));
    encodedHex_->setText(fromUtf8(result.encodedHex));
    encodedBox_->setPlainText(fromUtf8(result.byteList));
}

} // namespace kestrin::app
