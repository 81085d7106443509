#include <CLI/CLI.hpp>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/commands.h"
#include "outside/system_text.h"
#include "tessaro_version.h"

namespace {

const char kUsage[] =
    "usage: tessaro-cli COMMAND [OPTIONS]\n"
    "       tessaro-cli --help | --version\n"
    "\n"
    "commands:\n"
    "  init [--home DIR] --source DIR --dest DIR [--format rcm|acc] [--force]\n"
    "                                                 write a new settings file\n"
    "  holes [--home DIR] [--json | --svg] FILE       print the holes of one G-code file\n"
    "  translate [--home DIR] [--dest DIR] FILE...    write the programs of G-code files\n"
    "  scan [--home DIR] [--once]                     keep the program folder in step\n"
    "  status [--home DIR] [--json]                   what the next scan would do\n"
    "\n"
    "--home DIR: the folder of Tessaro.INI and Template.RCM\n"
    "\n"
    "exit status: 0 done; 1 some file refused, empty or not translated (status: a file\n"
    "needs attention); 2 usage error; 3 configuration error (settings file missing,\n"
    "unreadable or too big, --home no folder, template or program folder missing);\n"
    "4 scan: another process keeps the program folder in step\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace tessaro::cli;
  // Names with umlauts, as the shop's files have them, read right in a Windows console too.
  tessaro::UseUtf8Console();
  if (argc < 2) {
    std::cerr << kUsage;
    return kExitUsage;
  }
  CLI::App tool("Tessaro's headless tool", "tessaro-cli");
  tool.set_version_flag("--version", std::string("tessaro-cli ") + TESSARO_VERSION);
  tool.require_subcommand(0, 1);
  const std::vector<Command> commands = {AddInitCommand(tool), AddHolesCommand(tool),
                                         AddTranslateCommand(tool), AddScanCommand(tool),
                                         AddStatusCommand(tool)};

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
