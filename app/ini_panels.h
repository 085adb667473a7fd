#pragma once

// The panels of tabs 1 and 2: a comparison file to an ini file, and a
// translated ini file back into its comparison file.

#include <QWidget>

class QProgressBar;
class QPushButton;

namespace kestrin::app {

class PathBox;
struct PanelContext;
struct IniPanelNames;

// The ini path proposed for a comparison file.
QString proposedIniPath(const QString& comparisonPath);

// What the two panels share: a comparison path row whose choice proposes the
// ini path, an ini path row, drop targets, pickers, the start button and bar.
class IniPanel : public QWidget {
    Q_OBJECT
protected:
    IniPanel(PanelContext& context, const IniPanelNames& names, QWidget* parent);
    virtual void startJob() = 0;

    PanelContext& context_;
    PathBox* comparisonBox_;
    PathBox* iniBox_;
    QPushButton* startButton_;
    QProgressBar* bar_;

private:
    void takeComparisonFile(const QString& path);
};

class IniExportPanel : public IniPanel {
    Q_OBJECT
public:
    IniExportPanel(PanelContext& context, QWidget* parent = nullptr);

private:
    void startJob() override;
};

class IniImportPanel : public IniPanel {
    Q_OBJECT
public:
    IniImportPanel(PanelContext& context, QWidget* parent = nullptr);

private:
    void startJob() override;
};

} // namespace kestrin::app
