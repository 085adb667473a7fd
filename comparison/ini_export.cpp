#include "comparison/ini_export.h"

#include "comparison/comparison_format.h"
#include "comparison/numbered_lines.h"
#include "core/byte_text.h"
#include "core/elapsed.h"
#include "core/file_io.h"

#include <system_error>

namespace kestrin {

namespace {

namespace fs = std::filesystem;

// True when both paths lead to one file: the same file on disk, or, when
// either does not exist yet, the same absolute path.
bool namesSameFile(const fs::path& a, const fs::path& b) {
    if (a.empty() || b.empty()) return false;
    std::error_code ec;
    if (fs::equivalent(a, b, ec) && !ec) return true;
    const fs::path absoluteA = fs::absolute(a, ec).lexically_normal();
    if (ec) return false;
    const fs::path absoluteB = fs::absolute(b, ec).lexically_normal();
    return !ec && absoluteA == absoluteB;
}

} // namespace

JobStatus convertComparisonToIni(const fs::path& comparisonPath, const fs::path& iniPath, Reporter& reporter) {
    if (comparisonPath.empty()) {
        reporter.showMessage("请先选择要转为 ini 格式的Pomaly对照文件！");
        return JobStatus::Stopped;
    }
    // Writing the ini text over its own input would destroy the comparison file.
    if (namesSameFile(comparisonPath, iniPath)) {
        reporter.showMessage("ini 文件不能是Kestrin对照文件本身，请重新选择！");
        return JobStatus::Stopped;
    }
    const Stopwatch stopwatch;
    const std::string text = readFileText(comparisonPath);
    const comparison::EntrySurvey survey = comparison::surveyEntries(text);

    // With no entry nothing is written: an ini file already at the path (a
    // translated one, say) is worth more than an empty one.
    if (survey.matchedLines > 0) {
        reporter.setMaximum(static_cast<std::int64_t>(survey.matchedLines));
        RapidString out;
        out.reserve(survey.entryLineBytes + 2 * survey.entries);
        comparison::EntryLineReader reader(text);
        comparison::NumberedLine line;
        bool isEntry = false;
        while (reader.next(line, isEntry)) {
            if (isEntry) {
                // The first colon, the one after the offset, becomes "=".
                out.append(line.number(text));
                out.push_back('=');
                out.append(line.rest(text));
                out.append(comparison::kLineBreak);
            }
            reporter.advance(1);
        }
        if (!writeFileAtomic(iniPath, out)) {
            reporter.showMessage(writeFailedMessage(iniPath));
            reporter.reset();
            return JobStatus::Stopped;
        }
    }
    reporter.showMessage("转为 ini 格式完毕，共用时： " + elapsedText(stopwatch.seconds()) + " 秒！");
    reporter.reset();
    return JobStatus::Completed;
}

} // namespace kestrin
