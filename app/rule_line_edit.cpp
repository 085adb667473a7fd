#include "app/rule_line_edit.h"

#include <QKeyEvent>

#include <algorithm>

namespace kestrin::app {

RuleLineEdit::RuleLineEdit(const QString& name, const QString& text, QWidget* parent) : QLineEdit(text, parent) {
    setObjectName(name);
}

void RuleLineEdit::setStepRange(int lowest, int highest) {
    lowest_ = lowest;
    highest_ = highest;
}

void RuleLineEdit::keyPressEvent(QKeyEvent* event) {
    if (highest_ >= lowest_ && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        const int step = event->key() == Qt::Key_Up ? 1 : -1;
        setText(QString::number(std::clamp(text().toInt() + step, lowest_, highest_)));
        return;
    }
    if (accepts_) {
        for (const char32_t character : event->text().toUcs4()) {
            if (character >= 0x20 && character != 0x7F && !accepts_(character)) {
                event->accept();
                return;
            }
        }
    }
    QLineEdit::keyPressEvent(event);
}

void RuleLineEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    emit focusLost();
}

} // namespace kestrin::app
