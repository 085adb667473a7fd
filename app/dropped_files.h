#pragma once

// The names of files dropped on a path box, and the one name a drop handler
// takes from them.

#include <QString>

class QMimeData;

namespace kestrin::app {

// The local files of a drop as one text: a single name alone, several names
// each followed by CR LF. Empty when the drop holds no local file.
QString droppedNamesText(const QMimeData& data);

// The first name of the dropped names (the text before the first CR LF).
// With a wanted extension, the name is given only when its last four
// characters equal the extension without regard to case; else empty.
QString firstDroppedFile(const QString& names, const QString& wantedExtension = {});

} // namespace kestrin::app
