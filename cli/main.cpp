// kestrin-replacer-cli: every job of the window, from the command line.

#include "cli/cli_support.h"

#include <cstdio>
#include <iostream>

int main(int argc, char** argv) {
    using namespace kestrin::cli;
    CLI::App app("Kestrin Replacer: patch translated strings into program files", "kestrin-replacer-cli");
    app.require_subcommand(1);
    app.set_help_flag("-h,--help", "Show the usage");
    CommandContext context;
    addToIniCommand(app, context);
    addFromIniCommand(app, context);
    addExtractCommand(app, context);
    addWriteBackCommand(app, context);
    addRestoreCommand(app, context);
    addEncodeCommand(app, context);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << usageText();
        return 0;
    } catch (const CLI::ParseError& error) {
        std::cerr << "kestrin-replacer-cli: " << error.what() << "\n\n" << usageText();
        return 2;
    } catch (const UsageError& error) {
        std::cerr << "kestrin-replacer-cli: " << error.what() << "\n\n" << usageText();
        return 2;
    }
    return context.exitCode;
}
