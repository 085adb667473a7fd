#pragma once

// Tab 4: the program file, its translated comparison file, the write-back
// mode and options, the write-back, the test run and the restore.

#include "writeback/write_back_settings.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace kestrin::app {

class PathBox;
struct PanelContext;

class WriteBackPanel : public QWidget {
    Q_OBJECT
public:
    WriteBackPanel(PanelContext& context, QWidget* parent = nullptr);

    // The record as the write-back would take it now.
    WriteBackSettings currentSettings() const;

private:
    void applyMode();
    void setRangeEnabled(bool useRange);
    void startWriteBack();
    void startRestore();
    void updateJobButtons();

    PanelContext& context_;
    // utf16Target, mode and borrowZeroBytes as the mode update and the
    // borrow box's click handler keep them.
    WriteBackSettings settings_;
    bool testAndRestoreArmed_ = false;

    PathBox* programBox_;
    PathBox* comparisonBox_;
    QCheckBox* padBox_;
    QCheckBox* wholeSentenceBox_;
    QCheckBox* lengthPrefixBox_;
    QCheckBox* rangeBox_;
    QLineEdit* rangeMinBox_;
    QLineEdit* rangeMaxBox_;
    QComboBox* modeList_;
    QCheckBox* borrowBox_;
    QPushButton* writeBackButton_;
    QPushButton* testButton_;
    QPushButton* restoreButton_;
    QProgressBar* bar_;
};

} // namespace kestrin::app
