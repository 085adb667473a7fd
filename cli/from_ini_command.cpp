#include "cli/cli_support.h"

#include <iostream>

namespace kestrin::cli {

// Placeholder until the job is built: answers with a usage error.
void addFromIniCommand(CLI::App& app, CommandContext& context) {
    auto* command = app.add_subcommand("from-ini", "not built yet");
    command->allow_extras();
    command->callback([&context] {
        std::cerr << "kestrin-replacer-cli: from-ini: not built yet\n";
        context.exitCode = 2;
    });
}

} // namespace kestrin::cli
