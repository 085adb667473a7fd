#pragma once

// The panels of tabs 1 and 2: a comparison file to an ini file, and a
// translated ini file back into its comparison file.

#include <QWidget>

class QProgressBar;
class QPushButton;

namespace kestrin::app {

class PathBox;
struct PanelContext;

// The ini path proposed for a comparison file.
QString proposedIniPath(const QString& comparisonPath);

class IniExportPanel : public QWidget {
    Q_OBJECT
public:
    IniExportPanel(PanelContext& context, QWidget* parent = nullptr);

private:
    void takeComparisonFile(const QString& path);
    void startJob();

    PanelContext& context_;
    PathBox* comparisonBox_;
    PathBox* iniBox_;
    QPushButton* startButton_;
    QProgressBar* bar_;
};

class IniImportPanel : public QWidget {
    Q_OBJECT
public:
    IniImportPanel(PanelContext& context, QWidget* parent = nullptr);

private:
    void takeComparisonFile(const QString& path);
    void startJob();

    PanelContext& context_;
    PathBox* comparisonBox_;
    PathBox* iniBox_;
    QPushButton* startButton_;
    QProgressBar* bar_;
};

} // namespace kestrin::app
