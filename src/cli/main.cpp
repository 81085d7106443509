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
    "\n"
    "--home DIR: the folder of Tessaro.INI and Template.RCM\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace tessaro::cli;
  if (argc < 2) {
    std::cerr << kUsage;
    return kExitUsage;
  }
  const std::string command = argv[1];
  const std::vector<std::string> words(argv + 2, argv + argc);
  if (command == "--version") {
    std::cout << "tessaro-cli " << TESSARO_VERSION << "\n";
    return kExitOk;
  }
  if (command == "--help" || command == "-h") {
    std::cout << kUsage;
    return kExitOk;
  }
  if (command == "holes") return RunHolesCommand(words);
  if (command == "translate") return RunTranslateCommand(words);
  if (command == "scan") return RunScanCommand(words);
  std::cerr << "tessaro-cli: unknown command " << command << "\n" << kUsage;
  return kExitUsage;
}
