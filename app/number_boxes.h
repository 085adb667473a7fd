#pragma once

// Edit boxes for numbers with the input rules of the panels; a spin box
// cannot empty itself on "0" or leave a range box blank.

#include <QLineEdit>

namespace kestrin::app {

// The number a box's text begins with (0 for an empty text).
double boxNumber(const QString& text);

// A minimum-length box: digits only (a minus sign is refused); "0" empties
// the box at once and a number above 2048 becomes "2048"; leaving the box
// with a number of 0 or less (an empty box included) gives "1". Up and Down
// step the number within 1 to 2048.
class MinLengthBox : public QLineEdit {
    Q_OBJECT
public:
    MinLengthBox(const QString& name, const QString& text, QWidget* parent);

signals:
    // The box lost the focus; value is the number it holds then.
    void committed(int value);

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyTextRules();
};

// A box that takes digits only (the write-back range boxes).
class DigitsBox : public QLineEdit {
    Q_OBJECT
public:
    DigitsBox(const QString& name, QWidget* parent);
};

} // namespace kestrin::app
