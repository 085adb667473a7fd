#include "app/main_window.h"

#include "app/about_window.h"
#include "app/extraction_panel.h"
#include "app/ini_panels.h"
#include "app/length_tool_window.h"
#include "app/write_back_panel.h"
#include "app/window_on_top.h"
#include "app/working_set.h"
#include "core/file_io.h"
#include "writeback/write_back_job.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>

namespace kestrin::app {

namespace {

constexpr int kTabWidth = 496;
constexpr int kTabHeight = 272;

void deleteRestoreCopy() { deleteFile(restoreCopyPath()); }

} // namespace

MainWindow::MainWindow(MessageSink& messages, FilePicker& picker, QWidget* parent)
    : QMainWindow(parent),
      messages_(messages),
      jobs_(messages_),
      context_{picker, jobs_, messages_, [this] { return backupAction_->isChecked(); }} {
    setObjectName(QStringLiteral("主窗口"));
    setWindowTitle(QStringLiteral("Kestrin字串替换器 v1.0 by wenlo53〖2015.10.28〗"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    messages_.setMainWindow(this);
    buildMenus();

    auto* central = new QWidget(this);
    tabs_ = new QTabWidget(central);
    tabs_->setObjectName(QStringLiteral("选择夹1"));
    tabs_->addTab(new IniExportPanel(context_), QStringLiteral("Kestrin=>ini"));
    tabs_->addTab(new IniImportPanel(context_), QStringLiteral("ini=>Kestrin"));
    tabs_->addTab(new ExtractionPanel(context_), QStringLiteral("程序=>Kestrin"));
    tabs_->addTab(new WriteBackPanel(context_), QStringLiteral("Kestrin=>程序"));
    // The pages need room for their 243-pixel content below the tab bar.
    const int tabHeight = std::max(kTabHeight, tabs_->tabBar()->sizeHint().height() + 243 + 6);
    tabs_->setGeometry(0, 0, kTabWidth, tabHeight);
    setCentralWidget(central);
    setFixedSize(kTabWidth, menuBar()->sizeHint().height() + tabHeight);
    move(50, 50);

    tabs_->setCurrentIndex(2);
    setOnTop(this, true);

    trimTimer_ = new QTimer(this);
    trimTimer_->setObjectName(QStringLiteral("时钟1"));
    trimTimer_->setInterval(200);
    connect(trimTimer_, &QTimer::timeout, this, [] { trimWorkingSet(); });
    trimTimer_->start();
}

MainWindow::~MainWindow() {
    // The length tool has no owner; it goes with the main window.
    delete lengthTool_.data();
}

void MainWindow::buildMenus() {
    QMenu* options = menuBar()->addMenu(QStringLiteral("选项(&O)"));
    onTopAction_ = options->addAction(QStringLiteral("窗口置顶(&S)"));
    onTopAction_->setCheckable(true);
    onTopAction_->setChecked(true);
    onTopAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(onTopAction_, &QAction::triggered, this, [this](bool checked) { setOnTop(this, checked); });

    backupAction_ = options->addAction(QStringLiteral("备份原文件(&B)"));
    backupAction_->setCheckable(true);
    backupAction_->setChecked(true);
    backupAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));

    QMenu* tools = menuBar()->addMenu(QStringLiteral("工具(&T)"));
    lengthToolAction_ = tools->addAction(QStringLiteral("字串长度及编码工具(&L)"));
    lengthToolAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    connect(lengthToolAction_, &QAction::triggered, this, &MainWindow::openLengthTool);

    QMenu* about = menuBar()->addMenu(QStringLiteral("关于(&A)"));
    aboutAction_ = about->addAction(QStringLiteral("关于程序..."));
    connect(aboutAction_, &QAction::triggered, this, &MainWindow::openAbout);
}

void MainWindow::openLengthTool() {
    // Taken off the top so that the tool can be used beside it; the menu's
    // check mark stays as it is.
    setOnTop(this, false);
    if (lengthTool_) {
        lengthTool_->show();
        lengthTool_->raise();
        lengthTool_->activateWindow();
        return;
    }
    // Not owned by the main window: both can be used side by side.
    auto* tool = new LengthToolWindow;
    tool->setAttribute(Qt::WA_DeleteOnClose);
    lengthTool_ = tool;
    tool->show();
}

AboutWindow* MainWindow::aboutWindow() const { return about_.data(); }

void MainWindow::openAbout() {
    if (!about_) {
        about_ = new AboutWindow(this);
        about_->setAttribute(Qt::WA_DeleteOnClose);
        connect(about_, &AboutWindow::mailLinkClicked, this, &MainWindow::mailLinkClicked);
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void MainWindow::mailLinkClicked(const QString& address) {
    // The mail program must not open behind this window.
    setOnTop(this, false);
    onTopAction_->setChecked(false);
    const QUrl url(QStringLiteral("mailto:") + address);
    if (openUrl_) {
        openUrl_(url);
    } else {
        QDesktopServices::openUrl(url);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    deleteRestoreCopy();
    event->accept();
    emit closed();
}

void MainWindow::shutDown() {
    jobs_.waitForIdle();
    deleteRestoreCopy();
}

} // namespace kestrin::app
