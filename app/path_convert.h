#pragma once

// Conversions between the window's texts (QString) and the jobs' paths and
// UTF-8 messages.

#include <QString>

#include <filesystem>
#include <string>

namespace kestrin::app {

std::filesystem::path toPath(const QString& text);
QString toText(const std::filesystem::path& path);
inline QString fromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

} // namespace kestrin::app
