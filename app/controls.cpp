#include "app/controls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

namespace kestrin::app {

namespace {
template <typename Control>
Control* place(Control* control, const QString& name, int x, int y, int w, int h) {
    control->setObjectName(name);
    control->setGeometry(x, y, w, h);
    return control;
}
} // namespace

QGroupBox* addGroupBox(QWidget* parent, const QString& name, const QString& caption, int x, int y, int w, int h) {
    return place(new QGroupBox(caption, parent), name, x, y, w, h);
}

QLabel* addLabel(QWidget* parent, const QString& name, const QString& caption, int x, int y, int w, int h) {
    auto* label = new QLabel(caption, parent);
    // A caption wider than its place keeps its whole text and its right
    // edge (the control it names follows it): this platform's fonts run a
    // little wider than the ones the places were made for.
    const int needed = label->sizeHint().width();
    if (needed > w) {
        const int left = std::max(2, x + w - needed);
        w += x - left;
        x = left;
        w = std::max(w, needed);
    }
    return place(label, name, x, y, w, h);
}

QPushButton* addButton(QWidget* parent, const QString& name, const QString& caption, int x, int y, int w, int h) {
    auto* button = place(new QPushButton(caption, parent), name, x, y, w, h);
    button->setAutoDefault(false);
    return button;
}

QCheckBox* addCheckBox(QWidget* parent, const QString& name, const QString& caption, int x, int y, int w, int h) {
    return place(new QCheckBox(caption, parent), name, x, y, w, h);
}

QPlainTextEdit* addHelpBox(QWidget* parent, const QString& name, const QString& text, bool scrollBar,
                           int x, int y, int w, int h) {
    auto* box = place(new QPlainTextEdit(text, parent), name, x, y, w, h);
    box->setReadOnly(true);
    box->setVerticalScrollBarPolicy(scrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette colours = box->palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Window));
    box->setPalette(colours);
    return box;
}

QProgressBar* addTabProgressBar(QWidget* page, const QString& name) {
    auto* bar = place(new QProgressBar(page), name, 4, 223, 485, 20);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

} // namespace kestrin::app
