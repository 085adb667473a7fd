#pragma once

// What every tab's panel needs from the main window.

#include <functional>

namespace kestrin::app {

class FilePicker;
class JobRunner;
class MessageRoutine;

struct PanelContext {
    FilePicker& picker;
    JobRunner& jobs;
    MessageRoutine& messages;
    // The check mark of "备份原文件(&B)", read when a job starts.
    std::function<bool()> backupWanted;
};

} // namespace kestrin::app
