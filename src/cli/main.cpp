#include <CLI/CLI.hpp>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/commands.h"
#include "tessaro_version.h"

namespace {

const char kUsage[] =
    "usage: tessaro-cli COMMAND [OPTIONS]\n"
    "\n"
    "commands:\n"
    "  holes [--home DIR] [--json] FILE               print the holes of one G-code file\n"
    "  translate [--home DIR] [--dest DIR] FILE...    write the programs of G-code files\n"
    "  scan [--home DIR] [--once]                     keep the program folder in step\n"
    "  status [--home DIR] [--json]                   what the next scan would do\n"
    "\n"
    "--home DIR: the folder of Tessaro.INI and Template.RCM\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace tessaro::cli;
  if (argc < 2) {
    std::cerr << kUsage;
    return kExitUsage;
  }
  CLI::App tool("Tessaro's headless tool", "tessaro-cli");
  tool.set_version_flag("--version", std::string("tessaro-cli ") + TESSARO_VERSION);
  tool.require_subcommand(0, 1);
  const std::vector<Command> commands = {AddHolesCommand(tool), AddTranslateCommand(tool),
                                         AddScanCommand(tool), AddStatusCommand(tool)};

  try {
    tool.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    // A command's own help is CLI11's; the tool's is the summary above.
    std::cout << (tool.get_subcommands().empty() ? kUsage : tool.help());
    return kExitOk;
  } catch (const CLI::CallForVersion& version) {
    std::cout << version.what() << "\n";
    return kExitOk;
  } catch (const CLI::ParseError& error) {
    for (const Command& command : commands) {
      if (command.line->parsed()) {
        std::cerr << "tessaro-cli " << command.line->get_name() << ": " << error.what() << "\n"
                  << command.usage;
        return kExitUsage;
      }
    }
    const std::string first = argv[1];
    std::cerr << "tessaro-cli: "
              << (first.rfind('-', 0) == 0 ? error.what() : "unknown command " + first) << "\n"
              << kUsage;
    return kExitUsage;
  }

  for (const Command& command : commands) {
    if (command.line->parsed()) return command.run();
  }
  std::cerr << "tessaro-cli: name a command\n" << kUsage;
  return kExitUsage;
}
