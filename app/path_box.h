#pragma once

// A single-line path box with the light-yellow background of path boxes that
// takes files dropped from a file manager and hands their names on.

#include <QLineEdit>

namespace kestrin::app {

class PathBox : public QLineEdit {
    Q_OBJECT
public:
    PathBox(const QString& name, bool readOnly, QWidget* parent);

signals:
    // The names of the dropped files as droppedNamesText gives them.
    void namesDropped(const QString& names);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

} // namespace kestrin::app
