#pragma once

// Small builders for controls placed at fixed positions, each named after its
// window definition so that code and tests find it by that name.

#include <QString>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QWidget;

namespace kestrin::app {

QGroupBox* addGroupBox(QWidget* parent, const QString& name, const QString& caption, int x, int y, int w, int h);
QLabel* addLabel(QWidget* parent, const QString& name, const QString& caption, int x, int y, int w, int h);
QPushButton* addButton(QWidget* parent, const QString& name, const QString& caption, int x, int y, int w, int h);
QCheckBox* addCheckBox(QWidget* parent, const QString& name, const QString& caption, int x, int y, int w, int h);
// A read-only multi-line help box.
QPlainTextEdit* addHelpBox(QWidget* parent, const QString& name, const QString& text, bool scrollBar,
                           int x, int y, int w, int h);
// The progress bar below a tab's group box.
QProgressBar* addTabProgressBar(QWidget* page, const QString& name);

} // namespace kestrin::app
