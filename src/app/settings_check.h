#pragma once

#include <string>
#include <vector>

namespace tessaro {

class SettingsFile;
struct StoredOptions;

// A value of the settings file that is not taken as it stands.
struct SettingProblem {
  int line = 0;       // of the key, counted from 1
  std::string key;    // "ScanTime"
  std::string value;  // as stored
  std::string why;    // "is not a number of seconds from 0.001 to 86400"
  std::string used;   // what is used instead: "5"
};

// Checks every key the program reads: a malformed or out-of-range value, a mask that
// is too long or holds characters no file name can, a face order that is not up to
// four different digits 1 to 4, an exclusion that is not one digit, a folder that does
// not exist. Keys that are missing are not problems: their defaults apply. `stored` is
// what ReadStoredOptions made of the same file: what is used instead.
std::vector<SettingProblem> CheckSettings(const SettingsFile& settings,
                                          const StoredOptions& stored);

// "/x/Tessaro.INI line 4: ScanTime=abc is not a number of seconds from 0.001 to 86400;
// 5 is used instead"
std::string DescribeProblem(const std::string& settingsPath, const SettingProblem& problem);

}  // namespace tessaro
