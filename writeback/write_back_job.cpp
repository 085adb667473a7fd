#include "writeback/write_back_job.h"

#include "core/file_io.h"

namespace kestrin {

JobStatus runWriteBack(const std::filesystem::path&, const std::filesystem::path&, const WriteBackSettings&, bool,
                       Reporter& reporter) {
    reporter.showMessage("not built yet");
    return JobStatus::Stopped;
}

std::filesystem::path restoreCopyPath() { return temporaryFolder() / "wenlo53.tmp"; }

JobStatus restoreProgram(const std::filesystem::path&, Reporter& reporter) {
    reporter.showMessage("not built yet");
    return JobStatus::Stopped;
}

} // namespace kestrin
