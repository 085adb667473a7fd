#pragma once

// The main window: four tabs, the menus, window-on-top, the working-set trim
// and the removal of the restore copy when it closes.

#include "app/file_picker.h"
#include "app/job_runner.h"
#include "app/message_routine.h"
#include "app/panel_context.h"

#include <QMainWindow>
#include <QPointer>
#include <QUrl>

#include <functional>

class QAction;
class QTabWidget;
class QTimer;

namespace kestrin::app {

class AboutWindow;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(MessageSink& messages, FilePicker& picker, QWidget* parent = nullptr);
    ~MainWindow() override;

    MessageRoutine& messages() { return messages_; }
    JobRunner& jobs() { return jobs_; }
    QAction* onTopAction() const { return onTopAction_; }
    QAction* backupAction() const { return backupAction_; }
    QAction* lengthToolAction() const { return lengthToolAction_; }
    QAction* aboutAction() const { return aboutAction_; }
    QWidget* lengthToolWindow() const { return lengthTool_; }
    AboutWindow* aboutWindow() const;

    // Waits for a running job, then removes the restore copy: the last step
    // before the program ends, so a job that was still writing cannot leave
    // a restore copy behind.
    void shutDown();

    // How a "mailto:" address is opened (the system's mail program).
    void setUrlOpener(std::function<void(const QUrl&)> opener) { openUrl_ = std::move(opener); }

signals:
    // The window was closed: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void openLengthTool();
    void openAbout();
    void mailLinkClicked(const QString& address);

    MessageRoutine messages_;
    JobRunner jobs_;
    PanelContext context_;
    QTabWidget* tabs_ = nullptr;
    QTimer* trimTimer_ = nullptr;
    QAction* onTopAction_ = nullptr;
    QAction* backupAction_ = nullptr;
    QAction* lengthToolAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    QPointer<QWidget> lengthTool_;
    QPointer<AboutWindow> about_;
    std::function<void(const QUrl&)> openUrl_;
};

} // namespace kestrin::app
