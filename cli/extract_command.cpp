#include "cli/cli_support.h"
#include "extract/extraction_job.h"
#include "extract/extraction_settings.h"

#include <map>
#include <memory>
#include <string>

namespace kestrin::cli {
namespace {

struct ExtractArguments {
    std::string program;
    std::string output;
    int mode = 0;
    bool noAscii = false;
    bool gb2312 = false;
    bool gbk = false;
    bool big5 = false;
    long long minAscii = 2;
    long long minMixed = 2;
    bool junkFilter = false;
    bool escapeQuotes = false;
    bool noOverlapFilter = false;
};

std::map<std::string, int> modeNames() {
    std::map<std::string, int> names;
    for (int i = 0; i < kExtractionModeCount; ++i)
        names.emplace(std::string(extractionModeName(*extractionModeAt(i))), i);
    return names;
}

} // namespace

void addExtractCommand(CLI::App& app, CommandContext& context) {
    auto arguments = std::make_shared<ExtractArguments>();
    auto* command = app.add_subcommand("extract", "Find the strings of a program file and write a comparison file");
    command->add_option("PROGRAM", arguments->program, "The file to scan")->required();
    command->add_option("OUTPUT", arguments->output, "The comparison file to write");
    command->add_option("--mode", arguments->mode,
                        "ascii-va (default), ascii, utf16-va, utf16, delphi-ascii, delphi-utf16, vb, utf8")
        ->transform(CLI::CheckedTransformer(modeNames(), CLI::ignore_case));
    command->add_flag("--no-ascii", arguments->noAscii, "Plain English and symbols off");
    auto* gb2312 = command->add_flag("--gb2312", arguments->gb2312, "Double-byte class GB2312 (extended)");
    auto* gbk = command->add_flag("--gbk", arguments->gbk, "Double-byte class GBK");
    auto* big5 = command->add_flag("--big5", arguments->big5, "Double-byte class BIG5");
    gb2312->excludes(gbk)->excludes(big5);
    gbk->excludes(gb2312)->excludes(big5);
    big5->excludes(gb2312)->excludes(gbk);
    command->add_option("--min-ascii", arguments->minAscii, "Minimum length of plain English strings (default 2)");
    command->add_option("--min-mixed", arguments->minMixed, "Minimum length of mixed strings (default 2)");
    command->add_flag("--junk-filter", arguments->junkFilter, "Drop strings of digits and symbols");
    command->add_flag("--escape-quotes", arguments->escapeQuotes, "Write a double quote as backslash and quote");
    command->add_flag("--no-overlap-filter", arguments->noOverlapFilter,
                      "Address-based modes: keep strings that start inside the previous one");

    command->callback([arguments, &context] {
        const auto mode = extractionModeAt(arguments->mode);
        if (!mode) throw UsageError("extract: unknown mode");
        const std::filesystem::path programPath(arguments->program);

        ExtractionSettings settings;
        const ClassBoxStates boxes{!arguments->noAscii, arguments->gb2312, arguments->gbk, arguments->big5};
        const std::string asciiText = std::to_string(clampMinLength(arguments->minAscii));
        const std::string mixedText = std::to_string(clampMinLength(arguments->minMixed));
        deriveClassSettings(boxes, asciiText, mixedText, settings);
        settings.junkFilter = arguments->junkFilter;
        settings.escapeQuotes = arguments->escapeQuotes;
        settings.overlapFilter = !arguments->noOverlapFilter;
        applyExtractionMode(*mode, programPath, settings);

        const std::filesystem::path outputPath = arguments->output.empty()
                                                     ? suggestOutputName(programPath, *mode)
                                                     : std::filesystem::path(arguments->output);
        TerminalReporter reporter;
        context.exitCode = exitCodeFor(
            runExtraction(programPath, outputPath, anyClassBoxOn(boxes), *mode, settings, reporter));
    });
}

} // namespace kestrin::cli
