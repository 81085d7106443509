#pragma once

#include <string>
#include <vector>

namespace tessaro::cli {

// Each command takes the words after its name and returns the exit status.
int RunHolesCommand(const std::vector<std::string>& words);
int RunTranslateCommand(const std::vector<std::string>& words);
int RunScanCommand(const std::vector<std::string>& words);

}  // namespace tessaro::cli
