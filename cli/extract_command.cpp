#include "cli/cli_support.h"

#include <iostream>

namespace kestrin::cli {

// Placeholder until the job is built: answers with a usage error.
void addExtractCommand(CLI::App& app, CommandContext& context) {
    auto* command = app.add_subcommand("extract", "not built yet");
    command->allow_extras();
    command->callback([&context] {
        std::cerr << "kestrin-replacer-cli: extract: not built yet\n";
        context.exitCode = 2;
    });
}

} // namespace kestrin::cli
