#pragma once

// The one way the window shows a message: a modal box titled "提示:" with the
// information icon and one OK button. The box sits behind MessageSink so that
// tests can read the messages instead of clicking them away.

#include <QPointer>
#include <QString>
#include <QWidget>

namespace kestrin::app {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Shows the text and returns when the user has closed it.
    virtual void show(const QString& text) = 0;
};

// The modal message box, owned by no window and modal for the application.
class MessageBoxSink : public MessageSink {
public:
    void show(const QString& text) override;
};

class MessageRoutine {
public:
    explicit MessageRoutine(MessageSink& sink) : sink_(sink) {}

    void setMainWindow(QWidget* window) { mainWindow_ = window; }

    // When the main window is on top at this moment, it is taken off the top
    // while the message is shown (so the box is never hidden behind it) and
    // put back afterwards. The window's own state decides, not the menu.
    void showMessage(const QString& text);

private:
    MessageSink& sink_;
    QPointer<QWidget> mainWindow_;
};

} // namespace kestrin::app
