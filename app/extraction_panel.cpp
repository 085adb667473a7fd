#include "app/extraction_panel.h"

#include "app/controls.h"
#include "app/dropped_files.h"
#include "app/file_picker.h"
#include "app/job_runner.h"
#include "app/panel_context.h"
#include "app/path_box.h"
#include "app/path_convert.h"
#include "app/rule_line_edit.h"
#include "app/wrapping_check_box.h"
#include "extract/extraction_job.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace kestrin::app {

ExtractionPanel::ExtractionPanel(PanelContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    QGroupBox* group = addGroupBox(this, QStringLiteral("分组框3"), QString(), 4, 2, 486, 216);
    addLabel(group, QStringLiteral("标签6"), QStringLiteral("程序文件:"), 13, 18, 55, 18);
    programBox_ = new PathBox(QStringLiteral("编辑框7"), true, group);
    programBox_->setGeometry(74, 18, 306, 22);
    QPushButton* programPicker = addButton(group, QStringLiteral("按钮7"), QStringLiteral("..."), 396, 16, 64, 24);
    addLabel(group, QStringLiteral("标签7"), QStringLiteral("Kestrin文件:"), 13, 50, 55, 18);
    outputBox_ = new PathBox(QStringLiteral("编辑框8"), false, group);
    outputBox_->setGeometry(74, 48, 306, 22);
    QPushButton* outputPicker = addButton(group, QStringLiteral("按钮8"), QStringLiteral("..."), 396, 47, 64, 24);

    QGroupBox* classes = addGroupBox(group, QStringLiteral("分组框5"), QStringLiteral("编码类型"), 12, 80, 110, 125);
    classBoxes_[PlainEnglishBox] = addCheckBox(classes, QStringLiteral("选择框5"), QStringLiteral("纯英文和符号"), 8, 17, 100, 20);
    classBoxes_[Gb2312Box] = addCheckBox(classes, QStringLiteral("选择框6"), QStringLiteral("GB2312[扩展]"), 8, 41, 95, 20);
    classBoxes_[GbkBox] = addCheckBox(classes, QStringLiteral("选择框7"), QStringLiteral("GBK[全部]"), 8, 65, 85, 20);
    classBoxes_[Big5Box] = addCheckBox(classes, QStringLiteral("选择框8"), QStringLiteral("BIG5[全部]"), 8, 92, 85, 20);
    classBoxes_[PlainEnglishBox]->setChecked(true);

    QGroupBox* lengths = addGroupBox(group, QStringLiteral("分组框6"), QStringLiteral("最小长度(字节)"), 132, 85, 125, 60);
    addLabel(lengths, QStringLiteral("标签13"), QStringLiteral("纯英文:"), 8, 16, 48, 12);
    asciiLengthBox_ = new RuleLineEdit(QStringLiteral("编辑框9"), QStringLiteral("2"), lengths);
    asciiLengthBox_->setGeometry(67, 13, 30, 20);
    addLabel(lengths, QStringLiteral("标签14"), QStringLiteral("中英混合:"), 8, 39, 54, 12);
    mixedLengthBox_ = new RuleLineEdit(QStringLiteral("编辑框12"), QStringLiteral("2"), lengths);
    mixedLengthBox_->setGeometry(67, 35, 30, 20);

    junkBox_ = new WrappingCheckBox(QStringLiteral("过滤掉由数字和符号组合成的垃圾字符串"), group);
    junkBox_->setObjectName(QStringLiteral("选择框9"));
    junkBox_->setGeometry(132, 153, 132, 30);
    quoteBox_ = addCheckBox(group, QStringLiteral("选择框10"), QStringLiteral("兼容Pomaly将\"转为\\\""), 132, 186, 135, 20);
    addLabel(group, QStringLiteral("标签15"), QStringLiteral("查找方式:"), 271, 96, 54, 14);
    modeList_ = new QComboBox(group);
    modeList_->setObjectName(QStringLiteral("组合框2"));
    modeList_->setGeometry(269, 122, 118, 22);
    for (int i = 0; i < kExtractionModeCount; ++i) {
        modeList_->addItem(fromUtf8(std::string(extractionModeCaption(*extractionModeAt(i)))));
    }
    overlapBox_ = addCheckBox(group, QStringLiteral("选择框11"), QStringLiteral("过滤掉重叠项"), 269, 158, 105, 20);
    overlapBox_->setChecked(settings_.overlapFilter);
    startButton_ = addButton(group, QStringLiteral("按钮9"), QStringLiteral("查找字串"), 401, 101, 60, 90);
    bar_ = addTabProgressBar(this, QStringLiteral("进度条3"));

    for (int box = 0; box < 4; ++box) {
        connect(classBoxes_[box], &QCheckBox::clicked, this, [this, box] { classBoxClicked(ClassBox(box)); });
    }
    setUpMinLengthBox(asciiLengthBox_, MinLengthBox::PlainEnglish);
    setUpMinLengthBox(mixedLengthBox_, MinLengthBox::Mixed);
    connect(junkBox_, &QCheckBox::clicked, this, [this](bool checked) { settings_.junkFilter = checked; });
    connect(quoteBox_, &QCheckBox::clicked, this, [this](bool checked) { settings_.escapeQuotes = checked; });
    connect(overlapBox_, &QCheckBox::clicked, this, [this](bool checked) { settings_.overlapFilter = checked; });
    connect(modeList_, &QComboBox::currentIndexChanged, this, &ExtractionPanel::modeChanged);

    connect(programPicker, &QPushButton::clicked, this, [this] {
        const QString path = context_.picker.pickFile(
            window(), {QStringLiteral("请选择程序文件:"),
                       QStringLiteral("可执行文件 (*.exe;*.dll;*.ocx)|*.exe;*.dll;*.ocx|所有文件 (*.*)|*.*"), QString(),
                       false});
        if (!path.isEmpty()) programBox_->setText(path);
        if (!programBox_->text().isEmpty()) suggestOutput();
    });
    connect(outputPicker, &QPushButton::clicked, this, [this] {
        const QString path = context_.picker.pickFile(
            window(), {QStringLiteral("请选择要保存的Kestrin文件:"),
                       QStringLiteral("文本文件 (*.txt)|*.txt|所有文件 (*.*)|*.*"), QStringLiteral("txt"), true});
        if (!path.isEmpty()) outputBox_->setText(path);
    });
    connect(programBox_, &PathBox::namesDropped, this, [this](const QString& names) {
        const QString name = firstDroppedFile(names);
        if (!name.isEmpty()) programBox_->setText(name);
        if (!programBox_->text().isEmpty()) suggestOutput();
    });
    connect(outputBox_, &PathBox::namesDropped, this, [this](const QString& names) {
        const QString name = firstDroppedFile(names, QStringLiteral(".txt"));
        if (!name.isEmpty()) outputBox_->setText(name);
    });
    connect(startButton_, &QPushButton::clicked, this, &ExtractionPanel::startJob);
    connect(&context_.jobs, &JobRunner::busyChanged, startButton_, [this](bool busy) { startButton_->setEnabled(!busy); });
}

ClassBoxStates ExtractionPanel::classBoxStates() const {
    return {classBoxes_[0]->isChecked(), classBoxes_[1]->isChecked(), classBoxes_[2]->isChecked(),
            classBoxes_[3]->isChecked()};
}

void ExtractionPanel::classBoxClicked(ClassBox box) {
    const ClassBoxEffect effect = applyClassBoxClick(box, classBoxStates(), asciiLengthBox_->text().toStdString(),
                                                     mixedLengthBox_->text().toStdString(), settings_);
    for (int i = 0; i < 4; ++i) {
        if (effect.classBoxEnabled[i]) classBoxes_[i]->setEnabled(*effect.classBoxEnabled[i]);
    }
    if (effect.junkBoxEnabled) junkBox_->setEnabled(*effect.junkBoxEnabled);
}

void ExtractionPanel::setUpMinLengthBox(RuleLineEdit* edit, MinLengthBox box) {
    edit->setCharacterRule(minLengthBoxAcceptsCharacter);
    // Pasted text too: the box holds digits only.
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    edit->setStepRange(1, kMinLengthLimit);
    connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) {
        const QString ruled = fromUtf8(minLengthTextChanged(text.toStdString()));
        if (ruled != text) edit->setText(ruled);
    });
    connect(edit, &RuleLineEdit::focusLost, this, [this, edit, box] {
        edit->setText(fromUtf8(minLengthFocusLost(box, edit->text().toStdString(), settings_)));
    });
}

void ExtractionPanel::modeChanged() {
    const auto mode = extractionModeAt(modeList_->currentIndex());
    if (!mode) return;
    const ExtractionModeChange change = applyExtractionMode(*mode, toPath(programBox_->text()), settings_);
    overlapBox_->setEnabled(change.overlapBoxEnabled);
    if (change.outputPath) outputBox_->setText(toText(*change.outputPath));
}

void ExtractionPanel::suggestOutput() {
    if (const auto mode = extractionModeAt(modeList_->currentIndex())) {
        outputBox_->setText(toText(suggestOutputName(toPath(programBox_->text()), *mode)));
    }
}

void ExtractionPanel::startJob() {
    const auto mode = extractionModeAt(modeList_->currentIndex()).value_or(ExtractionMode::AsciiVa);
    context_.jobs.start(bar_, [program = toPath(programBox_->text()), output = toPath(outputBox_->text()),
                               anyClass = anyClassBoxOn(classBoxStates()), mode,
                               settings = settings_](Reporter& reporter) {
        return runExtraction(program, output, anyClass, mode, settings, reporter);
    });
}

} // namespace kestrin::app
