#include "cli/cli_support.h"

#include <unistd.h>

#include <cstdio>

namespace kestrin::cli {

TerminalReporter::TerminalReporter() : drawing_(::isatty(STDERR_FILENO) == 1) {}

TerminalReporter::~TerminalReporter() = default;

void TerminalReporter::setMaximum(std::int64_t maximum) {
    maximum_ = maximum;
    draw(true);
}

void TerminalReporter::advance(std::int64_t steps) {
    position_ += steps;
    draw(false);
}

void TerminalReporter::setPosition(std::int64_t position) {
    position_ = position;
    draw(false);
}

void TerminalReporter::reset() {
    if (drawing_ && lastPercent_ >= 0) std::fputs("\r\x1b[K", stderr);
    position_ = 0;
    lastPercent_ = -1;
}

void TerminalReporter::draw(bool force) {
    if (!drawing_ || maximum_ <= 0) return;
    const int percent = static_cast<int>(std::min<std::int64_t>(100, position_ * 100 / maximum_));
    if (!force && percent == lastPercent_) return;
    lastPercent_ = percent;
    const int width = 40;
    const int filled = percent * width / 100;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(width - filled), '.');
    std::fprintf(stderr, "\r[%s] %3d%%", bar.c_str(), percent);
    std::fflush(stderr);
}

void TerminalReporter::showMessage(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out.push_back(text[i]);
    }
    out.push_back('\n');
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
}

int exitCodeFor(JobStatus status) { return status == JobStatus::Completed ? 0 : 1; }

const std::string& usageText() {
    static const std::string text =
        "Usage:\n"
        "  kestrin-replacer-cli to-ini COMPARISON [INI]\n"
        "      INI defaults to the ini path that the window proposes for COMPARISON.\n"
        "  kestrin-replacer-cli from-ini COMPARISON INI [--no-backup]\n"
        "      The backup is made unless --no-backup.\n"
        "  kestrin-replacer-cli extract PROGRAM [OUTPUT] [--mode M] [--no-ascii] [--gb2312 | --gbk | --big5]\n"
        "                       [--min-ascii N] [--min-mixed N] [--junk-filter] [--escape-quotes]\n"
        "                       [--no-overlap-filter]\n"
        "      M: ascii-va (default), ascii, utf16-va, utf16, delphi-ascii, delphi-utf16, vb, utf8.\n"
        "      OUTPUT defaults to PROGRAM followed by the mode's suffix.\n"
        "  kestrin-replacer-cli write-back PROGRAM [COMPARISON] [--mode M] [--pad-spaces] [--whole-sentence]\n"
        "                       [--length-prefix | --no-length-prefix] [--range MIN MAX] [--no-borrow]\n"
        "                       [--no-backup]\n"
        "      M: ascii (default), utf16, utf8, delphi-ascii, delphi-utf16, vb.\n"
        "      COMPARISON defaults to PROGRAM followed by the mode's suffix.\n"
        "  kestrin-replacer-cli restore PROGRAM\n"
        "      Restores PROGRAM from the restore copy.\n"
        "  kestrin-replacer-cli encode [--ascii | --utf16 | --utf8] TEXT\n"
        "      Prints the source length, the encoded length (decimal and hexadecimal) and the encoded bytes.\n"
        "\n"
        "Each job prints its message; exit status 0 when it completed, 1 for any other message, 2 for a\n"
        "usage error.\n";
    return text;
}

} // namespace kestrin::cli
