#include "app/number_boxes.h"

#include "core/byte_text.h"

#include <QKeyEvent>
#include <QRegularExpressionValidator>

#include <algorithm>
#include <cmath>

namespace kestrin::app {

namespace {
constexpr int kLongest = 2048;

QValidator* digitsOnly(QObject* parent) {
    return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), parent);
}
} // namespace

double boxNumber(const QString& text) { return textToNumber(text.toStdString()); }

MinLengthBox::MinLengthBox(const QString& name, const QString& text, QWidget* parent) : QLineEdit(text, parent) {
    setObjectName(name);
    setValidator(digitsOnly(this));
    connect(this, &QLineEdit::textChanged, this, &MinLengthBox::applyTextRules);
}

void MinLengthBox::applyTextRules() {
    if (text() == QLatin1String("0")) {
        setText(QString());
        return;
    }
    if (boxNumber(text()) > kLongest) setText(QString::number(kLongest));
}

void MinLengthBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    const double number = boxNumber(text());
    if (number <= 0) {
        setText(QStringLiteral("1"));
        emit committed(1);
        return;
    }
    emit committed(int(std::trunc(number)));
}

void MinLengthBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        const int step = event->key() == Qt::Key_Up ? 1 : -1;
        const int number = std::clamp(int(std::trunc(boxNumber(text()))) + step, 1, kLongest);
        setText(QString::number(number));
        return;
    }
    QLineEdit::keyPressEvent(event);
}

DigitsBox::DigitsBox(const QString& name, QWidget* parent) : QLineEdit(parent) {
    setObjectName(name);
    setValidator(digitsOnly(this));
}

} // namespace kestrin::app
