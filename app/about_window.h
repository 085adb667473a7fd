#pragma once

#include <QDialog>

namespace kestrin::app {

// The about window: an icon, the mail link and a note on the program's name.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* owner);

    static QString mailAddress();

signals:
    // The mail link was clicked; the receiver opens the mail program.
    void mailLinkClicked(const QString& address);
};

} // namespace kestrin::app
