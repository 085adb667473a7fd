#include "app/rule_line_edit.h"

#include <QKeyEvent>
#include <QToolButton>

#include <algorithm>

namespace kestrin::app {

RuleLineEdit::RuleLineEdit(const QString& name, const QString& text, QWidget* parent) : QLineEdit(text, parent) {
    setObjectName(name);
}

namespace {

constexpr int kArrowWidth = 11;

} // namespace

void RuleLineEdit::setStepRange(int lowest, int highest) {
    lowest_ = lowest;
    highest_ = highest;
    const bool stepping = highest_ >= lowest_;
    if (stepping && upArrow_ == nullptr) {
        // A click on an arrow gives the box the focus, as a click into it
        // would, so that leaving the box afterwards applies its number.
        const auto makeArrow = [this](Qt::ArrowType type, const QString& suffix, int step) {
            auto* arrow = new QToolButton(this);
            arrow->setObjectName(objectName() + suffix);
            arrow->setArrowType(type);
            arrow->setAutoRepeat(true);
            arrow->setFocusPolicy(Qt::NoFocus);
            arrow->setCursor(Qt::ArrowCursor);
            connect(arrow, &QToolButton::clicked, this, [this, step] {
                setFocus(Qt::MouseFocusReason);
                stepBy(step);
            });
            return arrow;
        };
        upArrow_ = makeArrow(Qt::UpArrow, QStringLiteral("-上"), 1);
        downArrow_ = makeArrow(Qt::DownArrow, QStringLiteral("-下"), -1);
    }
    if (upArrow_ != nullptr) {
        upArrow_->setVisible(stepping);
        downArrow_->setVisible(stepping);
        setTextMargins(0, 0, stepping ? kArrowWidth : 0, 0);
        placeArrows();
    }
}

void RuleLineEdit::stepBy(int step) {
    setText(QString::number(std::clamp(text().toInt() + step, lowest_, highest_)));
}

void RuleLineEdit::placeArrows() {
    if (upArrow_ == nullptr) return;
    const int upper = height() / 2;
    upArrow_->setGeometry(width() - kArrowWidth, 0, kArrowWidth, upper);
    downArrow_->setGeometry(width() - kArrowWidth, upper, kArrowWidth, height() - upper);
}

void RuleLineEdit::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    placeArrows();
}

void RuleLineEdit::keyPressEvent(QKeyEvent* event) {
    if (highest_ >= lowest_ && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        stepBy(event->key() == Qt::Key_Up ? 1 : -1);
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
