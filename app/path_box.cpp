#include "app/path_box.h"

#include "app/dropped_files.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

namespace kestrin::app {

PathBox::PathBox(const QString& name, bool readOnly, QWidget* parent) : QLineEdit(parent) {
    setObjectName(name);
    setReadOnly(readOnly);
    setAcceptDrops(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, QColor(255, 255, 232));
    setPalette(colours);
}

void PathBox::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
        return;
    }
    if (isReadOnly()) {
        event->ignore();
        return;
    }
    QLineEdit::dragEnterEvent(event);
}

void PathBox::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
        return;
    }
    QLineEdit::dragMoveEvent(event);
}

void PathBox::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasUrls()) {
        if (!isReadOnly()) QLineEdit::dropEvent(event);
        return;
    }
    event->acceptProposedAction();
    const QString names = droppedNamesText(*event->mimeData());
    if (!names.isEmpty()) emit namesDropped(names);
}

} // namespace kestrin::app
