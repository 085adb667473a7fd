#include "app/dropped_files.h"

#include <QMimeData>
#include <QUrl>

namespace kestrin::app {

QString droppedNamesText(const QMimeData& data) {
    QStringList names;
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile()) names << url.toLocalFile();
    }
    if (names.size() == 1) return names.front();
    QString text;
    for (const QString& name : names) text += name + QStringLiteral("\r\n");
    return text;
}

QString firstDroppedFile(const QString& names, const QString& wantedExtension) {
    const qsizetype lineEnd = names.indexOf(QStringLiteral("\r\n"));
    QString first = lineEnd < 0 ? names : names.left(lineEnd);
    if (!wantedExtension.isEmpty() &&
        first.right(4).compare(wantedExtension, Qt::CaseInsensitive) != 0) {
        return {};
    }
    return first;
}

} // namespace kestrin::app
