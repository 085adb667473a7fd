#pragma once

// A single-line edit box whose input rules belong to its owner: a rule for
// typed characters, a notice when the box loses the focus, and optionally an
// up-down control: two arrows at its right edge, and the Up and Down keys,
// that step its number within a range.

#include <QLineEdit>

class QToolButton;

#include <functional>

namespace kestrin::app {

class RuleLineEdit : public QLineEdit {
    Q_OBJECT
public:
    RuleLineEdit(const QString& name, const QString& text, QWidget* parent);

    // Typed characters the rule refuses are dropped.
    void setCharacterRule(std::function<bool(char32_t)> accepts) { accepts_ = std::move(accepts); }
    // Shows the arrows; lowest above highest: no stepping.
    void setStepRange(int lowest, int highest);

signals:
    void focusLost();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void stepBy(int step);
    void placeArrows();

    std::function<bool(char32_t)> accepts_;
    int lowest_ = 0;
    int highest_ = -1;  // below lowest_: no stepping
    QToolButton* upArrow_ = nullptr;
    QToolButton* downArrow_ = nullptr;
};

} // namespace kestrin::app
