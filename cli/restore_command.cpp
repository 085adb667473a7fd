#include "cli/cli_support.h"

#include <iostream>

namespace kestrin::cli {

// Placeholder until the job is built: answers with a usage error.
void addRestoreCommand(CLI::App& app, CommandContext& context) {
    auto* command = app.add_subcommand("restore", "not built yet");
    command->allow_extras();
    command->callback([&context] {
        std::cerr << "kestrin-replacer-cli: restore: not built yet\n";
        context.exitCode = 2;
    });
}

} // namespace kestrin::cli
