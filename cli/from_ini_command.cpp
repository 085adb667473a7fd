#include "cli/cli_support.h"
#include "comparison/ini_import.h"

#include <memory>
#include <string>

namespace kestrin::cli {

void addFromIniCommand(CLI::App& app, CommandContext& context) {
    struct Arguments {
        std::string comparison;
        std::string ini;
        bool noBackup = false;
    };
    auto arguments = std::make_shared<Arguments>();
    auto* command = app.add_subcommand("from-ini", "Merge a translated ini file back into a comparison file");
    command->add_option("COMPARISON", arguments->comparison, "The comparison file to rewrite")->required();
    command->add_option("INI", arguments->ini, "The translated ini file")->required();
    command->add_flag("--no-backup", arguments->noBackup, "Do not copy the comparison file to COMPARISON.BAK first");
    command->callback([arguments, &context] {
        TerminalReporter reporter;
        context.exitCode = exitCodeFor(mergeIniIntoComparison(std::filesystem::path(arguments->comparison),
                                                              std::filesystem::path(arguments->ini),
                                                              !arguments->noBackup, reporter));
    });
}

} // namespace kestrin::cli
