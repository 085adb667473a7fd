#include "comparison/ini_import.h"

#include "comparison/comparison_format.h"
#include "comparison/numbered_lines.h"
#include "core/byte_text.h"
#include "core/elapsed.h"
#include "core/file_io.h"

namespace kestrin {

namespace {

namespace fs = std::filesystem;

// A forward-only cursor over the key lines of an ini text. Once it has moved
// past the last line it stands on no line, and no offset meets a key again.
class IniCursor {
public:
    explicit IniCursor(std::string_view text) : text_(text), scanner_(text, '=') { onLine_ = scanner_.next(line_); }

    bool onLine() const { return onLine_; }
    std::string_view key() const { return line_.number(text_); }
    std::string_view value() const { return line_.rest(text_); }
    void moveOn() { onLine_ = scanner_.next(line_); }

private:
    std::string_view text_;
    comparison::NumberedLineScanner scanner_;
    comparison::NumberedLine line_;
    bool onLine_ = false;
};

} // namespace

JobStatus mergeIniIntoComparison(const fs::path& comparisonPath, const fs::path& iniPath, bool backup,
                                 Reporter& reporter) {
    if (comparisonPath.empty() || iniPath.empty()) {
        reporter.showMessage("请先选择Kestrin对照文件和已本地化的 ini 文件！");
        return JobStatus::Stopped;
    }
    if (!fileExists(iniPath)) {
        reporter.showMessage("ini 文件不存在，请重新选择！");
        return JobStatus::Stopped;
    }
    const Stopwatch stopwatch;
    if (backup && fileExists(comparisonPath)) {
        const fs::path backupPath = appendToPath(comparisonPath, ".BAK");
        if (!copyFileAtomic(comparisonPath, backupPath)) {
            reporter.showMessage(writeFailedMessage(backupPath));
            return JobStatus::Stopped;
        }
    }
    const std::string text = readFileText(comparisonPath);
    const std::string iniText = readFileText(iniPath);
    const comparison::EntrySurvey survey = comparison::surveyEntries(text);
    IniCursor cursor(iniText);

    if (survey.matchedLines > 0 && cursor.onLine()) {
        reporter.setMaximum(static_cast<std::int64_t>(survey.matchedLines));
        RapidString out;
        // Room for every entry with its own text and every ini value once.
        out.reserve(2 * survey.entryLineBytes + 6 * survey.entries + iniText.size());
        comparison::EntryLineReader reader(text);
        comparison::NumberedLine line;
        bool isEntry = false;
        while (reader.next(line, isEntry)) {
            if (isEntry) {
                // Both lists ascend: keys below this offset are passed over for good.
                const std::string_view offset = line.number(text);
                while (cursor.onLine() && comparison::compareDigitRuns(offset, cursor.key()) > 0) cursor.moveOn();
                const bool matched = cursor.onLine() && comparison::compareDigitRuns(offset, cursor.key()) == 0;
                out.append(comparison::kLineBreak);
                out.append(line.whole(text));
                out.append(comparison::kLineBreak);
                out.append(matched ? cursor.value() : line.rest(text));
                out.append(comparison::kLineBreak);
            }
            reporter.advance(1);
        }
        if (!writeFileAtomic(comparisonPath, out)) {
            reporter.showMessage(writeFailedMessage(comparisonPath));
            reporter.reset();
            return JobStatus::Stopped;
        }
    }
    reporter.showMessage("写回Kestrin对照文件完毕，共用时： " + elapsedText(stopwatch.seconds()) + " 秒！");
    reporter.reset();
    return JobStatus::Completed;
}

} // namespace kestrin
