#include "cli/cli_support.h"
#include "comparison/ini_export.h"
#include "comparison/ini_path.h"

#include <memory>
#include <string>

namespace kestrin::cli {

void addToIniCommand(CLI::App& app, CommandContext& context) {
    struct Arguments {
        std::string comparison;
        std::string ini;
    };
    auto arguments = std::make_shared<Arguments>();
    auto* command = app.add_subcommand("to-ini", "Convert a comparison file to an ini file");
    command->add_option("COMPARISON", arguments->comparison, "The comparison file")->required();
    auto* ini = command->add_option("INI", arguments->ini, "The ini file to write (default: the proposed ini path)");
    command->callback([arguments, ini, &context] {
        const std::filesystem::path comparison(arguments->comparison);
        const std::filesystem::path iniPath = ini->count() > 0 ? std::filesystem::path(arguments->ini)
                                                               : iniPathFor(comparison);
        TerminalReporter reporter;
        context.exitCode = exitCodeFor(convertComparisonToIni(comparison, iniPath, reporter));
    });
}

} // namespace kestrin::cli
