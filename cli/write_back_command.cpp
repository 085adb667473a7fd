#include "cli/cli_support.h"
#include "core/file_io.h"
#include "writeback/write_back_job.h"

#include <array>
#include <map>
#include <string>
#include <vector>

namespace kestrin::cli {
namespace {

// The mode names in the order of the mode list.
const std::map<std::string, int> kModeNames{
    {"ascii", 0}, {"utf16", 1}, {"utf8", 2}, {"delphi-ascii", 3}, {"delphi-utf16", 4}, {"vb", 5},
};

struct WriteBackArguments {
    std::string program;
    std::string comparison;
    int mode = 0;
    bool padSpaces = false;
    bool wholeSentence = false;
    bool lengthPrefix = false;
    bool noLengthPrefix = false;
    std::vector<std::string> range;
    bool noBorrow = false;
    bool noBackup = false;
};

} // namespace

void addWriteBackCommand(CLI::App& app, CommandContext& context) {
    auto arguments = std::make_shared<WriteBackArguments>();
    auto* command = app.add_subcommand("write-back", "Write the translations of a comparison file into a program file");
    command->add_option("PROGRAM", arguments->program, "The program file to patch")->required();
    command->add_option("COMPARISON", arguments->comparison, "The translated comparison file");
    command->add_option("--mode", arguments->mode, "ascii (default), utf16, utf8, delphi-ascii, delphi-utf16, vb")
        ->transform(CLI::CheckedTransformer(kModeNames, CLI::ignore_case));
    command->add_flag("--pad-spaces", arguments->padSpaces, "Pad shorter translations with spaces");
    command->add_flag("--whole-sentence", arguments->wholeSentence, "Replace whole strings; the file may grow or shrink");
    auto* on = command->add_flag("--length-prefix", arguments->lengthPrefix, "Update Delphi and VB length fields");
    auto* off = command->add_flag("--no-length-prefix", arguments->noLengthPrefix, "Leave length fields alone");
    on->excludes(off);
    off->excludes(on);
    command->add_option("--range", arguments->range, "Only the entries numbered MIN to MAX")->expected(2)->type_name("MIN MAX");
    command->add_flag("--no-borrow", arguments->noBorrow, "Never use the zero bytes after a string");
    command->add_flag("--no-backup", arguments->noBackup, "Make no .BAK backup");

    command->callback([arguments, &context] {
        const std::filesystem::path programPath(arguments->program);
        WriteBackSettings settings;
        const auto update = applyWriteBackMode(arguments->mode, programPath, settings);
        if (!update) throw UsageError("write-back: unknown mode");
        if (arguments->lengthPrefix) settings.updateLengthPrefix = true;
        if (arguments->noLengthPrefix) settings.updateLengthPrefix = false;
        settings.padWithSpaces = arguments->padSpaces;
        settings.wholeSentence = arguments->wholeSentence;
        settings.borrowZeroBytes = !arguments->noBorrow;
        if (arguments->range.size() == 2) {
            settings.useRange = true;
            settings.rangeMinText = arguments->range[0];
            settings.rangeMaxText = arguments->range[1];
        }
        const std::filesystem::path comparisonPath =
            arguments->comparison.empty() ? update->comparisonPath : std::filesystem::path(arguments->comparison);
        TerminalReporter reporter;
        context.exitCode =
            exitCodeFor(runWriteBack(programPath, comparisonPath, settings, !arguments->noBackup, reporter));
    });
}

} // namespace kestrin::cli
