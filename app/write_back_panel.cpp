#include "app/write_back_panel.h"

#include "app/controls.h"
#include "app/dropped_files.h"
#include "app/file_picker.h"
#include "app/job_runner.h"
#include "app/message_routine.h"
#include "app/panel_context.h"
#include "app/path_box.h"
#include "app/path_convert.h"
#include "app/test_run.h"
#include "app/wrapping_check_box.h"
#include "writeback/write_back_job.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace kestrin::app {

namespace {

// A range box: integers only; whatever is typed or pasted keeps its digits.
QLineEdit* addRangeBox(QWidget* parent, const QString& name, int x, int y) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setGeometry(x, y, 65, 22);
    QObject::connect(box, &QLineEdit::textEdited, box, [box](const QString& typed) {
        const QString digits = fromUtf8(rangeBoxFilter(typed.toStdString()));
        if (digits == typed) return;
        const int cursor = box->cursorPosition() - int(typed.size() - digits.size());
        box->setText(digits);
        box->setCursorPosition(std::max(0, cursor));
    });
    return box;
}

} // namespace

WriteBackPanel::WriteBackPanel(PanelContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    QGroupBox* group = addGroupBox(this, QStringLiteral("分组框4"), QString(), 4, 2, 486, 216);
    addLabel(group, QStringLiteral("标签8"), QStringLiteral("程序文件:"), 13, 18, 55, 18);
    programBox_ = new PathBox(QStringLiteral("编辑框10"), true, group);
    programBox_->setGeometry(74, 18, 306, 22);
    QPushButton* programPicker = addButton(group, QStringLiteral("按钮10"), QStringLiteral("..."), 396, 15, 64, 24);
    addLabel(group, QStringLiteral("标签9"), QStringLiteral("Kestrin文件:"), 13, 50, 55, 18);
    comparisonBox_ = new PathBox(QStringLiteral("编辑框11"), true, group);
    comparisonBox_->setGeometry(74, 48, 306, 22);
    QPushButton* comparisonPicker = addButton(group, QStringLiteral("按钮11"), QStringLiteral("..."), 396, 46, 64, 24);

    padBox_ = addCheckBox(group, QStringLiteral("选择框1"), QStringLiteral("翻译字串少于原字串用空格填充"), 13, 81, 200, 20);
    wholeSentenceBox_ = addCheckBox(group, QStringLiteral("选择框2"), QStringLiteral("全句替换（不适用于 PE 文件）"), 13, 107, 200, 20);
    lengthPrefixBox_ = addCheckBox(group, QStringLiteral("选择框3"), QStringLiteral("自动修改字串长度标识"), 13, 134, 215, 20);
    rangeBox_ = addCheckBox(group, QStringLiteral("选择框4"), QStringLiteral("回写范围（输入对照行冒号前数字）"), 13, 160, 215, 20);
    rangeMinBox_ = addRangeBox(group, QStringLiteral("回写范围最小值编辑框"), 34, 187);
    addLabel(group, QStringLiteral("标签10"), QStringLiteral("至"), 110, 188, 16, 16);
    rangeMaxBox_ = addRangeBox(group, QStringLiteral("回写范围最大值编辑框"), 137, 185);

    addLabel(group, QStringLiteral("标签11"), QStringLiteral("回写方式:"), 240, 96, 70, 16);
    modeList_ = new QComboBox(group);
    modeList_->setObjectName(QStringLiteral("组合框1"));
    modeList_->setGeometry(238, 125, 118, 22);
    for (int i = 0; i < kWriteBackModeCount; ++i) {
        modeList_->addItem(fromUtf8(std::string(writeBackModeInfo(*writeBackModeAt(i)).itemText)));
    }
    borrowBox_ = new WrappingCheckBox(QStringLiteral("借用原字串后的零字节"), group);
    borrowBox_->setObjectName(QStringLiteral("选择框12"));
    borrowBox_->setGeometry(227, 157, 147, 30);
    borrowBox_->setChecked(true);
    settings_.borrowZeroBytes = true;

    writeBackButton_ = addButton(group, QStringLiteral("按钮12"), QStringLiteral("全部回写"), 371, 82, 100, 35);
    testButton_ = addButton(group, QStringLiteral("按钮13"), QStringLiteral("测试"), 374, 127, 100, 35);
    restoreButton_ = addButton(group, QStringLiteral("按钮14"), QStringLiteral("还原"), 375, 171, 100, 35);
    bar_ = addTabProgressBar(this, QStringLiteral("进度条4"));
    setRangeEnabled(false);
    updateJobButtons();

    connect(modeList_, &QComboBox::currentIndexChanged, this, [this] {
        if (!programBox_->text().isEmpty()) applyMode();
    });
    connect(programPicker, &QPushButton::clicked, this, [this] {
        const QString path = context_.picker.pickFile(
            window(), {QStringLiteral("请选择程序文件:"),
                       QStringLiteral("可执行文件 (*.exe;*.dll;*.ocx)|*.exe;*.dll;*.ocx|所有文件 (*.*)|*.*"), QString(),
                       false});
        if (!path.isEmpty() && path != programBox_->text()) programBox_->setText(path);
        if (!programBox_->text().isEmpty()) applyMode();
    });
    connect(comparisonPicker, &QPushButton::clicked, this, [this] {
        const QString path = context_.picker.pickFile(
            window(), {QStringLiteral("请选择已本地化的Kestrin对照文件:"),
                       QStringLiteral("文本文件 (*.txt)|*.txt|所有文件 (*.*)|*.*"), QStringLiteral("txt"), false});
        if (!path.isEmpty()) comparisonBox_->setText(path);
    });
    connect(programBox_, &PathBox::namesDropped, this, [this](const QString& names) {
        const QString name = firstDroppedFile(names);
        if (!name.isEmpty()) programBox_->setText(name);
        if (!programBox_->text().isEmpty()) applyMode();
    });
    connect(comparisonBox_, &PathBox::namesDropped, this, [this](const QString& names) {
        const QString name = firstDroppedFile(names);
        if (comparisonDropAccepted(toPath(name))) comparisonBox_->setText(name);
    });
    connect(programBox_, &QLineEdit::textChanged, this, [this] {
        testAndRestoreArmed_ = false;
        updateJobButtons();
    });

    connect(wholeSentenceBox_, &QCheckBox::clicked, this, [this](bool checked) {
        padBox_->setEnabled(paddingAndLengthPrefixEnabled(checked));
        lengthPrefixBox_->setEnabled(paddingAndLengthPrefixEnabled(checked));
    });
    connect(rangeBox_, &QCheckBox::clicked, this, &WriteBackPanel::setRangeEnabled);
    connect(borrowBox_, &QCheckBox::clicked, this, [this](bool checked) { settings_.borrowZeroBytes = checked; });

    connect(writeBackButton_, &QPushButton::clicked, this, &WriteBackPanel::startWriteBack);
    connect(testButton_, &QPushButton::clicked, this,
            [this] { runTestProgram(programBox_->text(), context_.messages); });
    connect(restoreButton_, &QPushButton::clicked, this, &WriteBackPanel::startRestore);
    connect(&context_.jobs, &JobRunner::busyChanged, this, &WriteBackPanel::updateJobButtons);
}

void WriteBackPanel::applyMode() {
    const auto update = applyWriteBackMode(modeList_->currentIndex(), toPath(programBox_->text()), settings_);
    if (!update) return;
    lengthPrefixBox_->setText(fromUtf8(update->lengthPrefixCaption));
    lengthPrefixBox_->setChecked(update->updateLengthPrefix);
    comparisonBox_->setText(toText(update->comparisonPath));
}

void WriteBackPanel::setRangeEnabled(bool useRange) {
    const RangeControls controls = rangeControlsFor(useRange);
    for (QLineEdit* box : {rangeMinBox_, rangeMaxBox_}) {
        box->setEnabled(controls.rangeBoxesEnabled);
        if (controls.rangeBoxesEnabled) {
            QPalette white = box->palette();
            white.setColor(QPalette::Base, Qt::white);
            box->setPalette(white);
        } else {
            box->setPalette(QPalette());
        }
    }
    writeBackButton_->setText(fromUtf8(std::string(controls.writeBackButtonCaption)));
}

WriteBackSettings WriteBackPanel::currentSettings() const {
    WriteBackSettings settings = settings_;
    if (const auto mode = writeBackModeAt(modeList_->currentIndex())) settings.mode = *mode;
    settings.padWithSpaces = padBox_->isChecked();
    settings.wholeSentence = wholeSentenceBox_->isChecked();
    settings.updateLengthPrefix = lengthPrefixBox_->isChecked();
    settings.useRange = rangeBox_->isChecked();
    settings.rangeMinText = rangeMinBox_->text().toStdString();
    settings.rangeMaxText = rangeMaxBox_->text().toStdString();
    return settings;
}

void WriteBackPanel::startWriteBack() {
    const QString program = programBox_->text();
    const bool backup = context_.backupWanted ? context_.backupWanted() : true;
    context_.jobs.start(
        bar_,
        [program = toPath(program), comparison = toPath(comparisonBox_->text()), settings = currentSettings(),
         backup](Reporter& reporter) { return runWriteBack(program, comparison, settings, backup, reporter); },
        [this, program](JobStatus status) {
            // The restore copy belongs to the file written; when another
            // program file was chosen meanwhile, test and restore stay off.
            if (status == JobStatus::Completed && programBox_->text() == program) testAndRestoreArmed_ = true;
        });
}

void WriteBackPanel::startRestore() {
    context_.jobs.start(bar_, [program = toPath(programBox_->text())](Reporter& reporter) {
        return restoreProgram(program, reporter);
    });
}

void WriteBackPanel::updateJobButtons() {
    const bool idle = !context_.jobs.isBusy();
    writeBackButton_->setEnabled(idle);
    testButton_->setEnabled(idle && testAndRestoreArmed_);
    restoreButton_->setEnabled(idle && testAndRestoreArmed_);
}

} // namespace kestrin::app
