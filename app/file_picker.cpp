#include "app/file_picker.h"

#include <QFileDialog>

namespace kestrin::app {

QStringList qtNameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
        }
        filters << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

QString DialogFilePicker::pickFile(QWidget* parent, const FileDialogOptions& options) {
    QFileDialog dialog(parent, options.title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(options.acceptsNewFile ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(qtNameFilters(options.filter));
    if (!options.defaultExtension.isEmpty()) dialog.setDefaultSuffix(options.defaultExtension);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.front();
}

} // namespace kestrin::app
