#include "cli/cli_support.h"

#include <iostream>

namespace kestrin::cli {

// Placeholder until the job is built: answers with a usage error.
void addWriteBackCommand(CLI::App& app, CommandContext& context) {
    auto* command = app.add_subcommand("write-back", "not built yet");
    command->allow_extras();
    command->callback([&context] {
        std::cerr << "kestrin-replacer-cli: write-back: not built yet\n";
        context.exitCode = 2;
    });
}

} // namespace kestrin::cli
