#include "app/ini_panels.h"

#include "app/controls.h"
#include "app/dropped_files.h"
#include "app/file_picker.h"
#include "app/job_runner.h"
#include "app/panel_context.h"
#include "app/path_box.h"
#include "app/path_convert.h"
#include "comparison/ini_export.h"
#include "comparison/ini_import.h"
#include "comparison/ini_path.h"

#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>

namespace kestrin::app {

struct IniPanelNames {
    const char* groupBox;
    const char* comparisonLabel;
    const char* comparisonBox;
    int comparisonBoxWidth;
    bool comparisonReadOnly;
    const char* comparisonPicker;
    const char* iniLabel;
    const char* iniBox;
    bool iniReadOnly;
    const char* iniPicker;
    const char* helpBox;
    const QString& helpText;
    bool helpScrollBar;
    const char* startButton;
    const char* startCaption;
    const char* bar;
    const char* comparisonDialogTitle;
    const char* iniDialogTitle;
    bool iniDialogAcceptsNewFile;
};

namespace {

const QString kTextFilter = QStringLiteral("文本文件 (*.txt)|*.txt|所有文件 (*.*)|*.*");
const QString kIniFilter = QStringLiteral("ini 文件 (*.ini)|*.ini|所有文件 (*.*)|*.*");

const QString kExportHelp = QStringLiteral(
    "功能: 将Kestrin对照文件转换为 ini 格式，以便利用 PASSOLO 等本地化工具的 ini 格式文本解析器进行解析。"
    "在本地化工具中翻译完毕后，可利用本工具的下一功能回写至Kestrin对照文件。");

const QString kImportHelp = QStringLiteral(
    "主要功能: 将已本地化后的 ini 文件回写至Kestrin对照文件。\r\n"
    "辅助功能: 借助Kestrin以“VA非控制符”方式生成的已汉化程序的对照文件来翻译英文对照文件。\r\n"
    "使用方法如下:\r\n"
    "    1.使用Kestrin，选择英文版程序，以“VA英文和符号”或“英文和符号”方式，提取并生成对照文件；\r\n"
    "    2.使用Kestrin，选择汉化版程序，以“VA非控制符”或“VA非限制查找”方式，提取并生成对照文件；\r\n"
    "    3.使用本工具“Kestrin=>ini”功能，将汉化版程序生成的对照文件转换为 ini 格式；\r\n"
    "    4.使用本工具“ini=>Kestrin”功能，在两个编辑框中分别选择英文版程序生成的对照文件和汉化版程序对照文件转换后的 ini 文件，进行回写。");

// The frame both panels share: group box, two path rows, help box, button, bar.
struct IniPanelControls {
    PathBox* comparisonBox;
    PathBox* iniBox;
    QPushButton* comparisonPicker;
    QPushButton* iniPicker;
    QPushButton* startButton;
    QProgressBar* bar;
};



IniPanelControls buildIniPanel(QWidget* page, const IniPanelNames& names) {
    QWidget* group = addGroupBox(page, QString::fromUtf8(names.groupBox), QString(), 4, 2, 486, 216);
    IniPanelControls controls{};
    addLabel(group, QString::fromUtf8(names.comparisonLabel), QStringLiteral("Kestrin文件:"), 13, 18, 55, 18);
    controls.comparisonBox = new PathBox(QString::fromUtf8(names.comparisonBox), names.comparisonReadOnly, group);
    controls.comparisonBox->setGeometry(74, 18, names.comparisonBoxWidth, 22);
    controls.comparisonPicker = addButton(group, QString::fromUtf8(names.comparisonPicker), QStringLiteral("..."), 396, 16, 64, 24);
    addLabel(group, QString::fromUtf8(names.iniLabel), QStringLiteral("ini 文件:"), 13, 50, 55, 18);
    controls.iniBox = new PathBox(QString::fromUtf8(names.iniBox), names.iniReadOnly, group);
    controls.iniBox->setGeometry(74, 48, 306, 22);
    controls.iniPicker = addButton(group, QString::fromUtf8(names.iniPicker), QStringLiteral("..."), 396, 47, 64, 24);
    addHelpBox(group, QString::fromUtf8(names.helpBox), names.helpText, names.helpScrollBar, 15, 82, 350, 120);
    controls.startButton = addButton(group, QString::fromUtf8(names.startButton), QString::fromUtf8(names.startCaption),
                                     374, 115, 100, 50);
    controls.bar = addTabProgressBar(page, QString::fromUtf8(names.bar));
    return controls;
}

} // namespace

QString proposedIniPath(const QString& comparisonPath) {
    return toText(iniPathFor(toPath(comparisonPath)));
}

IniPanel::IniPanel(PanelContext& context, const IniPanelNames& names, QWidget* parent)
    : QWidget(parent), context_(context) {
    const IniPanelControls controls = buildIniPanel(this, names);
    comparisonBox_ = controls.comparisonBox;
    iniBox_ = controls.iniBox;
    startButton_ = controls.startButton;
    bar_ = controls.bar;

    connect(comparisonBox_, &PathBox::namesDropped, this, [this](const QString& dropped) {
        const QString name = firstDroppedFile(dropped, QStringLiteral(".txt"));
        if (!name.isEmpty()) takeComparisonFile(name);
    });
    connect(iniBox_, &PathBox::namesDropped, this, [this](const QString& dropped) {
        const QString name = firstDroppedFile(dropped, QStringLiteral(".ini"));
        if (!name.isEmpty()) iniBox_->setText(name);
    });
    const FileDialogOptions comparisonDialog{QString::fromUtf8(names.comparisonDialogTitle), kTextFilter,
                                          QStringLiteral("txt"), false};
    connect(controls.comparisonPicker, &QPushButton::clicked, this, [this, comparisonDialog] {
        const QString path = context_.picker.pickFile(window(), comparisonDialog);
        if (!path.isEmpty()) takeComparisonFile(path);
    });
    const FileDialogOptions iniDialog{QString::fromUtf8(names.iniDialogTitle), kIniFilter, QStringLiteral("ini"),
                                   names.iniDialogAcceptsNewFile};
    connect(controls.iniPicker, &QPushButton::clicked, this, [this, iniDialog] {
        const QString path = context_.picker.pickFile(window(), iniDialog);
        if (!path.isEmpty()) iniBox_->setText(path);
    });
    connect(startButton_, &QPushButton::clicked, this, [this] { startJob(); });
    connect(&context_.jobs, &JobRunner::busyChanged, startButton_, [this](bool busy) { startButton_->setEnabled(!busy); });
}

void IniPanel::takeComparisonFile(const QString& path) {
    comparisonBox_->setText(path);
    iniBox_->setText(proposedIniPath(path));
}

namespace {

const IniPanelNames kExportLayout{"分组框1", "标签2", "编辑框1", 306, true, "按钮1", "标签3", "编辑框2", false,
                                  "按钮2", "编辑框3", kExportHelp, false, "按钮3", "转为 ini 格式", "进度条1",
                                  "请选择要转换的Kestrin对照文件:", "请选择转换后的 ini 文件:", true};
const IniPanelNames kImportLayout{"分组框2", "标签4", "编辑框4", 302, true, "按钮4", "标签5", "编辑框5", true,
                                  "按钮5", "编辑框6", kImportHelp, true, "按钮6", "写回Kestrin文件", "进度条2",
                                  "请选择Kestrin对照文件:", "请选择已本地化的 ini 文件:", false};

} // namespace

IniExportPanel::IniExportPanel(PanelContext& context, QWidget* parent) : IniPanel(context, kExportLayout, parent) {}

void IniExportPanel::startJob() {
    context_.jobs.start(bar_, [comparison = toPath(comparisonBox_->text()), ini = toPath(iniBox_->text())](Reporter& reporter) {
        return convertComparisonToIni(comparison, ini, reporter);
    });
}

IniImportPanel::IniImportPanel(PanelContext& context, QWidget* parent) : IniPanel(context, kImportLayout, parent) {}

void IniImportPanel::startJob() {
    const bool backup = context_.backupWanted ? context_.backupWanted() : true;
    context_.jobs.start(bar_, [comparison = toPath(comparisonBox_->text()), ini = toPath(iniBox_->text()),
                               backup](Reporter& reporter) {
        return mergeIniIntoComparison(comparison, ini, backup, reporter);
    });
}

} // namespace kestrin::app
