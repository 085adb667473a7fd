#pragma once

// Helpers for the window tests: a message sink that records what would have
// been shown, a file picker that answers in place of the user, file drops,
// and waiting for a job.

#include "app/file_picker.h"
#include "app/main_window.h"
#include "app/message_routine.h"
#include "app/window_on_top.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>

#include <filesystem>
#include <string>
#include <vector>

namespace kestrin::app::test {

class RecordingSink : public MessageSink {
public:
    void show(const QString& text) override {
        texts << text;
        mainWindowOnTop.push_back(isOnTop(mainWindow));
    }

    QWidget* mainWindow = nullptr;
    QStringList texts;
    std::vector<bool> mainWindowOnTop;  // the window's state while each message was shown
};

class ScriptedPicker : public FilePicker {
public:
    QString pickFile(QWidget*, const FileDialogOptions& options) override {
        dialogs.push_back(options);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }

    QStringList answers;  // empty text: the user cancels
    std::vector<FileDialogOptions> dialogs;
};

// A main window with recording services.
struct WindowFixture {
    WindowFixture() : window(sink, picker) { sink.mainWindow = &window; }

    template <typename Control = QWidget>
    Control* find(const char* name) const {
        return window.findChild<Control*>(QString::fromUtf8(name));
    }
    QLineEdit* box(const char* name) const { return find<QLineEdit>(name); }
    QPushButton* button(const char* name) const { return find<QPushButton>(name); }
    QCheckBox* checkBox(const char* name) const { return find<QCheckBox>(name); }
    QComboBox* comboBox(const char* name) const { return find<QComboBox>(name); }

    // Clicks the button and waits until the job it started has shown its message.
    bool runJob(const char* buttonName);

    RecordingSink sink;
    ScriptedPicker picker;
    MainWindow window;
};

// Drops files on a widget as a file manager does.
void dropFiles(QWidget* target, const QStringList& paths);

// Gives a box the focus, types the text and leaves the box.
void typeAndLeave(QLineEdit* box, const QString& text);

// Files under a fresh temporary folder.
struct Scratch {
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
};

void writeFile(const QString& path, const std::string& bytes);
std::string readFile(const QString& path);

} // namespace kestrin::app::test
