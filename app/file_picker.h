#pragma once

// Choosing a file in a file-open dialog, behind an interface so that tests
// can answer in place of a user.

#include <QString>
#include <QStringList>

class QWidget;

namespace kestrin::app {

struct FileDialogOptions {
    QString title;
    // Pairs of label and patterns separated by "|", patterns separated by ";"
    // ("文本文件 (*.txt)|*.txt|所有文件 (*.*)|*.*").
    QString filter;
    QString defaultExtension;
    // The dialog also takes the name of a file that does not exist yet (the
    // pickers of output files).
    bool acceptsNewFile = false;
};

// The filter as Qt name filters. Each label is kept as shown; the patterns
// follow it in a second pair of parentheses that the dialog hides, and "*.*"
// becomes "*" so that names without a dot are listed too.
QStringList qtNameFilters(const QString& filter);

class FilePicker {
public:
    virtual ~FilePicker() = default;
    // The chosen path, or an empty text when the user cancelled.
    virtual QString pickFile(QWidget* parent, const FileDialogOptions& options) = 0;
};

class DialogFilePicker : public FilePicker {
public:
    QString pickFile(QWidget* parent, const FileDialogOptions& options) override;
};

} // namespace kestrin::app
