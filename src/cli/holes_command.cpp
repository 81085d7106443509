#include <iostream>

#include "cli/cli_common.h"
#include "cli/commands.h"

namespace tessaro::cli {

int RunHolesCommand(const std::vector<std::string>&) {
  std::cerr << "tessaro-cli: holes is not built yet\n";
  return kExitUsage;
}

}  // namespace tessaro::cli
