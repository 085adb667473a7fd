#pragma once

// Tab 3: the program file, the output comparison file, the character
// classes, the minimum lengths, the filters and the extraction mode.

#include "extract/extraction_settings.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QProgressBar;
class QPushButton;

namespace kestrin::app {

class PathBox;
class RuleLineEdit;
struct PanelContext;

class ExtractionPanel : public QWidget {
    Q_OBJECT
public:
    ExtractionPanel(PanelContext& context, QWidget* parent = nullptr);

    // The record the controls have written so far.
    const ExtractionSettings& settings() const { return settings_; }

private:
    ClassBoxStates classBoxStates() const;
    void classBoxClicked(ClassBox box);
    void setUpMinLengthBox(RuleLineEdit* edit, MinLengthBox box);
    void modeChanged();
    void suggestOutput();
    void startJob();

    PanelContext& context_;
    ExtractionSettings settings_;

    PathBox* programBox_;
    PathBox* outputBox_;
    QCheckBox* classBoxes_[4];  // 选择框5 to 选择框8
    RuleLineEdit* asciiLengthBox_;
    RuleLineEdit* mixedLengthBox_;
    QCheckBox* junkBox_;
    QCheckBox* quoteBox_;
    QCheckBox* overlapBox_;
    QComboBox* modeList_;
    QPushButton* startButton_;
    QProgressBar* bar_;
};

} // namespace kestrin::app
