#pragma once

#include "cli/cli_common.h"

namespace tessaro::cli {

// Each adds its command, with the command's options, to the tool's command line.
Command AddHolesCommand(CLI::App& tool);
Command AddInitCommand(CLI::App& tool);
Command AddTranslateCommand(CLI::App& tool);
Command AddScanCommand(CLI::App& tool);
Command AddStatusCommand(CLI::App& tool);

}  // namespace tessaro::cli
