#include "writeback/write_back_job.h"

#include "core/byte_text.h"
#include "core/code_page.h"
#include "core/elapsed.h"
#include "core/file_io.h"
#include "writeback/entry_reader.h"
#include "writeback/entry_text.h"
#include "writeback/patch_rules.h"
#include "writeback/range_selection.h"
#include "writeback/whole_sentence.h"

#include <optional>
#include <string>
#include <vector>

namespace kestrin {
namespace {

constexpr const char* kFormatMessage = "请验证Kestrin对照文件格式的正确性！";
constexpr std::string_view kReportSuffix = "_超长字串.txt";

// Offsets at or above this lie past any image; keeps offset + shift in range.
constexpr std::uint64_t kOffsetCeiling = std::uint64_t{1} << 62;

// The entry number as an exact integer: 4294967296 + k stays past the image
// rather than wrapping to k.
std::uint64_t entryOffset(std::string_view digits) {
    std::uint64_t value = 0;
    for (char c : digits) {
        if (value >= kOffsetCeiling / 10) return kOffsetCeiling;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

std::string mismatchTail(TargetEncoding encoding) {
    switch (encoding) {
    case TargetEncoding::Utf8:
        return "\r\n\r\n上面对照行文本转为 UTF8 与程序文件实际位置处 UTF8 字串不符，如强行回写翻译行文本可能会导致程序出错，故回写操作已被中止。请验证要回写的Kestrin文件的正确性。";
    case TargetEncoding::Utf16:
        return "\r\n\r\n上面对照行文本转为 UniCode 与程序文件实际位置处 UniCode 字串不符，如强行回写翻译行文本可能会导致程序出错，故回写操作已被中止。请验证要回写的Kestrin文件的正确性。";
    case TargetEncoding::Ansi: break;
    }
    return "\r\n\r\n上面对照行文本与程序文件实际位置处字串不符，如强行回写翻译行文本可能会导致程序出错，故回写操作已被中止。请验证要回写的Kestrin文件的正确性。";
}

constexpr const char* kMissingTranslationTail =
    "\r\n\r\n上面对照文本行的后面缺少翻译文本行，如强行回写则会导致程序出错，故回写操作已被中止。请检验上述提示处。";

JobStatus finish(Reporter& reporter, const std::string& message, JobStatus status) {
    reporter.reset();
    reporter.showMessage(message);
    return status;
}

// The program image in either form: patched in place, or rebuilt by
// whole-sentence replacement.
struct WorkingImage {
    std::string inPlace;
    std::optional<SentenceImage> sentences;

    std::string_view bytesAt(std::int64_t position, std::size_t length, std::string& scratch) const {
        if (sentences) return sentences->bytesAt(position, length, scratch);
        if (position < 0 || static_cast<std::uint64_t>(position) >= inPlace.size()) return {};
        return std::string_view(inPlace).substr(static_cast<std::size_t>(position), length);
    }
};

// Writes the report, the backup and the restore copy, then the image over the
// program file; the first write that fails stops the run with its path.
std::optional<std::filesystem::path> writeOutputs(const std::filesystem::path& programPath,
                                                  const std::filesystem::path& reportPath,
                                                  const std::string& report, bool backup, const std::string& image) {
    if (!report.empty() && !writeFileAtomic(reportPath, report)) return reportPath;
    // Both copies are of the unpatched program file on disk.
    const auto backupPath = appendToPath(programPath, ".BAK");
    if (backup && !copyFileAtomic(programPath, backupPath)) return backupPath;
    const auto restorePath = restoreCopyPath();
    if (!copyFileAtomic(programPath, restorePath)) return restorePath;
    if (!writeFileAtomic(programPath, image)) return programPath;
    return std::nullopt;
}

} // namespace

JobStatus runWriteBack(const std::filesystem::path& programPath, const std::filesystem::path& comparisonPath,
                       const WriteBackSettings& settings, bool backup, Reporter& reporter) {
    if (programPath.empty() || comparisonPath.empty()) {
        return finish(reporter, "请先选择程序文件和已本地化的Kestrin对照文件！", JobStatus::Stopped);
    }
    if (!fileExists(comparisonPath)) return finish(reporter, "Kestrin对照文件不存在！请重新选择。", JobStatus::Stopped);

    const Stopwatch stopwatch;
    auto programBytes = tryReadFileBytes(programPath);
    if (!programBytes) {
        return finish(reporter,
                      "读取“" + pathText(programPath) + "”失败！请检查文件是否存在并且未被其它程序占用。",
                      JobStatus::Stopped);
    }
    std::string comparison = readFileText(comparisonPath);
    EntryList found = readEntries(comparison);
    if (found.gaveUp || found.entries.empty()) return finish(reporter, kFormatMessage, JobStatus::Stopped);
    const std::vector<EntryMatch>& entries = found.entries;

    std::size_t first = 0;
    std::size_t last = entries.size() - 1;
    if (settings.useRange) {
        std::vector<std::uint64_t> numbers;
        numbers.reserve(entries.size());
        for (const EntryMatch& e : entries) numbers.push_back(entryOffset(e.number(comparison)));
        const RangeSelection range = selectRange(numbers, settings.rangeMinText, settings.rangeMaxText);
        if (!range.refusal.empty()) return finish(reporter, range.refusal, JobStatus::Stopped);
        first = range.first;
        last = range.last;
    }
    reporter.setMaximum(static_cast<std::int64_t>(last - first + 1));

    const TargetEncoding encoding = targetEncodingFor(settings);
    WorkingImage image;
    if (settings.wholeSentence) {
        image.sentences.emplace(std::move(*programBytes));
    } else {
        image.inPlace = std::move(*programBytes);
    }
    programBytes.reset();

    std::string report;
    std::int64_t positionShift = 0;
    std::string scratch;
    for (std::size_t i = first; i <= last; ++i) {
        const EntryMatch& e = entries[i];
        const std::string_view number = e.number(comparison);
        const std::string_view originalLine = e.original(comparison);
        const std::string_view translationLine = e.translation(comparison);
        const std::uint64_t offset = entryOffset(number);

        const std::string original = decodeEntryText(originalLine);
        const std::string originalEncoded = encodeForTarget(original, encoding);
        const std::int64_t position = static_cast<std::int64_t>(offset) + positionShift;
        if (image.bytesAt(position, originalEncoded.size(), scratch) != originalEncoded) {
            const std::string entryHead = std::string(number) + ":" + std::string(originalLine);
            return finish(reporter, cp936ToUtf8(entryHead) + mismatchTail(encoding), JobStatus::Stopped);
        }

        if (translationLine != originalLine) {
            const std::string_view translationPrefix = e.translationPrefix(comparison);
            if (!translationPrefix.empty() && translationPrefix != e.originalPrefix(comparison)) {
                const std::string entryHead = std::string(number) + ":" + std::string(originalLine);
                return finish(reporter, cp936ToUtf8(entryHead) + kMissingTranslationTail, JobStatus::Stopped);
            }
            const std::string translation = decodeEntryText(translationLine);
            const std::string translationEncoded = encodeForTarget(translation, encoding);
            if (image.sentences) {
                positionShift = replaceWholeSentence(*image.sentences, offset, originalEncoded, translationEncoded,
                                                     positionShift);
            } else if (patchEntryInPlace(image.inPlace, offset, original, translation, originalEncoded,
                                         translationEncoded, encoding, settings) == PatchResult::Overlong) {
                report += "\r\n";
                report += e.whole(comparison);
                report += "\r\n";
            }
        }
        reporter.advance(1);
    }

    // The entries are done with; free them before the copies are made.
    found = EntryList();
    std::string().swap(comparison);
    std::string finalImage = image.sentences ? image.sentences->take() : std::move(image.inPlace);
    image.sentences.reset();

    const auto reportPath = appendToPath(comparisonPath, kReportSuffix);
    if (const auto failed = writeOutputs(programPath, reportPath, report, backup, finalImage)) {
        return finish(reporter, writeFailedMessage(*failed), JobStatus::Stopped);
    }

    const std::string seconds = elapsedText(stopwatch.seconds());
    std::string message;
    if (settings.wholeSentence) {
        message = "全句替换文件完毕，共用时： " + seconds + " 秒！";
    } else if (!report.empty()) {
        message = "写回程序文件完毕，共用时： " + seconds +
                  " 秒！\r\n\r\n注意: Kestrin文件中的超长字串未被回写，详细信息请查看程序文件所在目录下文件: “" +
                  pathText(comparisonPath.filename()) + std::string(kReportSuffix) + "”";
    } else {
        message = "写回程序文件完毕，共用时： " + seconds + " 秒！\r\n\r\nKestrin文件中未发现超长字串。";
    }
    return finish(reporter, message, JobStatus::Completed);
}

std::filesystem::path restoreCopyPath() { return temporaryFolder() / "wenlo53.tmp"; }

JobStatus restoreProgram(const std::filesystem::path& programPath, Reporter& reporter) {
    if (programPath.empty() || !copyFileAtomic(restoreCopyPath(), programPath)) {
        return finish(reporter, "还原失败！请检验文件是否正在被使用。", JobStatus::Stopped);
    }
    deleteFile(appendToPath(programPath, ".BAK"));
    return finish(reporter, "还原成功！", JobStatus::Completed);
}

} // namespace kestrin
