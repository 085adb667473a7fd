#include "cli/cli_support.h"
#include "writeback/write_back_job.h"

#include <memory>
#include <string>

namespace kestrin::cli {

void addRestoreCommand(CLI::App& app, CommandContext& context) {
    auto program = std::make_shared<std::string>();
    auto* command = app.add_subcommand("restore", "Restore a program file from the restore copy");
    command->add_option("PROGRAM", *program, "The program file to restore")->required();
    command->callback([program, &context] {
        TerminalReporter reporter;
        context.exitCode = exitCodeFor(restoreProgram(std::filesystem::path(*program), reporter));
    });
}

} // namespace kestrin::cli
