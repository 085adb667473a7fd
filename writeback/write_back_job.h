#pragma once

// The write-back job: puts the translations of a comparison file into the
// program file, in place or by whole-sentence replacement, and the restore
// that puts the program file back as it was before the last write-back.

#include "core/reporter.h"
#include "writeback/write_back_settings.h"

#include <filesystem>

namespace kestrin {

// Checks every chosen entry against the program file, patches an in-memory
// image and, unless a check stopped the run, writes the overlong report, the
// ".BAK" backup (when backup is true), the restore copy and the program file.
// Reports exactly one message; Completed only with a completion message.
JobStatus runWriteBack(const std::filesystem::path& programPath, const std::filesystem::path& comparisonPath,
                       const WriteBackSettings& settings, bool backup, Reporter& reporter);

// The restore copy: "wenlo53.tmp" in the temporary folder. Written by every
// completed write-back; the window deletes it when it closes.
std::filesystem::path restoreCopyPath();

// Copies the restore copy over the program file and deletes the program's
// ".BAK" backup. "还原成功！" (Completed) or "还原失败！请检验文件是否正在被使用。".
JobStatus restoreProgram(const std::filesystem::path& programPath, Reporter& reporter);

} // namespace kestrin
