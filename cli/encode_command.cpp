#include "cli/cli_support.h"
#include "core/code_page.h"
#include "lengthtool/length_tool.h"

#include <iostream>
#include <memory>
#include <string>

namespace kestrin::cli {
namespace {

struct EncodeArguments {
    std::string text;
    bool ascii = false;
    bool utf16 = false;
    bool utf8 = false;
};

} // namespace

void addEncodeCommand(CLI::App& app, CommandContext& context) {
    auto arguments = std::make_shared<EncodeArguments>();
    auto* command = app.add_subcommand("encode", "Show a text's length and the bytes a write-back stores for it");
    auto* ascii = command->add_flag("--ascii", arguments->ascii, "Code page 936 bytes (default)");
    auto* utf16 = command->add_flag("--utf16", arguments->utf16, "UTF-16LE bytes");
    auto* utf8 = command->add_flag("--utf8", arguments->utf8, "UTF-8 bytes");
    ascii->excludes(utf16)->excludes(utf8);
    utf16->excludes(ascii)->excludes(utf8);
    utf8->excludes(ascii)->excludes(utf16);
    command->add_option("TEXT", arguments->text, "The text as written in a comparison file")->required();

    command->callback([arguments, &context] {
        const ToolEncoding encoding = arguments->utf16 ? ToolEncoding::Unicode
                                      : arguments->utf8 ? ToolEncoding::Utf8
                                                        : ToolEncoding::Ascii;
        // The text arrives as UTF-8, as typed into the tool's box it becomes code page 936.
        const LengthToolResult result = computeLengthTool(utf8ToCp936(arguments->text), encoding);
        std::cout << result.sourceDecimal << ' ' << result.sourceHex << '\n'
                  << result.encodedDecimal << ' ' << result.encodedHex << '\n'
                  << result.byteList << '\n';
        context.exitCode = 0;
    });
}

} // namespace kestrin::cli
