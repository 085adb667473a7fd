#pragma once

// The string length and encoding tool: the byte length of a text written as
// in a comparison file, and the bytes the write-back would store for it.

#include <QWidget>

class QButtonGroup;
class QLineEdit;
class QPlainTextEdit;

namespace kestrin::app {

class LengthToolWindow : public QWidget {
    Q_OBJECT
public:
    explicit LengthToolWindow(QWidget* parent = nullptr);

private:
    void refreshSourceLength();
    void refreshEncodedView();

    QPlainTextEdit* sourceBox_;
    QLineEdit* sourceDecimal_;
    QLineEdit* sourceHex_;
    QButtonGroup* encodings_;
    QPlainTextEdit* encodedBox_;
    QLineEdit* encodedDecimal_;
    QLineEdit* encodedHex_;
};

} // namespace kestrin::app
