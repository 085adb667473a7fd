#pragma once

#include <QCheckBox>

namespace kestrin::app {

// A check box whose caption wraps onto further lines within its width, as a
// multi-line check box does; the caption text stays as given.
class WrappingCheckBox : public QCheckBox {
    Q_OBJECT
public:
    WrappingCheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& position) const override;
};

} // namespace kestrin::app
