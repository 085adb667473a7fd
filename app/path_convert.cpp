#include "app/path_convert.h"

#include <QFile>

namespace kestrin::app {

std::filesystem::path toPath(const QString& text) {
    // The file system's own encoding of the name (UTF-8 on Linux).
    return std::filesystem::path(QFile::encodeName(text).toStdString());
}

QString toText(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

} // namespace kestrin::app
