#include "app/wrapping_check_box.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace kestrin::app {

void WrappingCheckBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    option.rect = QRect(0, 0, style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, this), height());
    painter.drawControl(QStyle::CE_CheckBox, option);
    const int indent = option.rect.width() + style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
    const QRect textArea(indent, 0, width() - indent, height());
    painter.drawItemText(textArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, palette(), isEnabled(),
                         caption, QPalette::WindowText);
}

bool WrappingCheckBox::hitButton(const QPoint& position) const { return rect().contains(position); }

} // namespace kestrin::app
