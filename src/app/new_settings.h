#pragma once

#include <string>

#include "outside/status.h"

namespace tessaro {

// What a first start asks for.
struct NewSettings {
  std::string sourceFolder;
  std::string destinationFolder;
  bool rcmFormat = true;
};

// The text of a new Tessaro.INI: the two folders and the format, with a comment for
// each key, and the masks that give PART1 to PART4 for the G-code file PART.
std::string NewSettingsText(const NewSettings& settings);

// Writes a new Tessaro.INI into `appFolder` (atomically). An existing one is kept unless
// `overwrite`: the failure then names it.
Status WriteNewSettings(const std::string& appFolder, const NewSettings& settings, bool overwrite);

}  // namespace tessaro
