#include "app/settings_check.h"

#include <cmath>
#include <optional>
#include <string_view>

#include "app/options.h"
#include "app/settings_file.h"
#include "app/text.h"
#include "outside/file_ops.h"

namespace tessaro {

namespace {

// A plain decimal number: digits with at most one period, nothing else.
std::optional<double> PlainNumber(std::string_view text) {
  if (text.empty() || text.find_first_not_of("0123456789.") != std::string_view::npos ||
      text.find('.') != text.rfind('.') || text == ".") {
    return std::nullopt;
  }
  return ReadNumber(text);
}

class Checker {
 public:
  Checker(const SettingsFile& settings, const StoredOptions& stored)
      : settings_(settings), stored_(stored) {}

  std::vector<SettingProblem> Run() {
    YesNo(keys::kRcm, stored_.rcmFormat);
    YesNo(keys::kDeleteButtonVisible, stored_.deleteButtonVisible);
    Folder(keys::kSourcePath);
    Folder(keys::kDestinationPath);
    CheckState(keys::kAutoScan, stored_.autoScan);
    CheckState(keys::kAutoDelete, stored_.autoDelete);
    CheckState(keys::kNoEmpties, stored_.noEmpties);
    CheckState(keys::kNoDuplicates, stored_.noDuplicates);
    Exclusion(keys::kDrillExclusion, stored_.drillExclusion);
    Exclusion(keys::kDowellExclusion, stored_.dowelExclusion);
    if (const std::string value = Value(keys::kSettings, keys::kFacePriority);
        !value.empty() && !IsFacePriority(value)) {
      Add(keys::kSettings, keys::kFacePriority, value, "is not one to four different digits 1 to 4",
          stored_.facePriority);
    }
    if (const std::string value = Value(keys::kSettings, keys::kScanTime); !value.empty()) {
      const std::optional<double> seconds = PlainNumber(value);
      if (!seconds || *seconds < 0.001 || *seconds > 86400) {
        Add(keys::kSettings, keys::kScanTime, value,
            "is not a number of seconds from 0.001 to 86400",
            FormatGeneral(stored_.scanIntervalMs / 1000.0));
      }
    }
    for (int face = 1; face <= 4; ++face) Mask(face);
    return std::move(problems_);
  }

 private:
  std::string Value(std::string_view section, std::string_view key) const {
    return settings_.ReadSetting(section, key);
  }

  void Add(std::string_view section, std::string_view key, const std::string& value,
           const std::string& why, const std::string& used) {
    problems_.push_back(
        {settings_.LineOf(section, key).value_or(0), std::string(key), value, why, used});
  }

  void YesNo(std::string_view key, bool taken) {
    const std::string value = Value(keys::kSettings, key);
    const std::string upper = ToUpper(value);
    if (!value.empty() && upper != "YES" && upper != "NO") {
      Add(keys::kSettings, key, value, "is neither YES nor NO", taken ? "YES" : "NO");
    }
  }

  void Folder(std::string_view key) {
    const std::string value = Value(keys::kSettings, key);
    if (!value.empty() && !FolderExists(value)) {
      Add(keys::kSettings, key, value, "names no folder that exists", "the name as it stands");
    }
  }

  void CheckState(std::string_view key, const std::optional<int>& taken) {
    const std::string value = Value(keys::kSettings, key);
    const std::optional<int> whole = ParseWholeNumber(value);
    if (!value.empty() && (!whole || *whole < 0 || *whole > 2)) {
      Add(keys::kSettings, key, value, "is not 0, 1 or 2", std::to_string(taken.value_or(0)));
    }
  }

  void Exclusion(std::string_view key, const std::string& taken) {
    const std::string value = Value(keys::kSettings, key);
    if (!value.empty() && (value.size() != 1 || value[0] < '0' || value[0] > '9')) {
      Add(keys::kSettings, key, value, "is not one digit 0 to 9", taken);
    }
  }

  void Mask(int face) {
    const std::string key = keys::MaskKey(face);
    const std::string value = Value(keys::kHorizontalRename, key);
    const std::string taken = MaskToStored(stored_.masks[static_cast<size_t>(face)]);
    if (CharacterCount(value) > kMaskLength) {
      Add(keys::kHorizontalRename, key, value, "is longer than 8 characters", taken);
      return;
    }
    for (const std::string_view character : SplitCharacters(value)) {
      if (character != "*" && character != " " && !IsFileNameText(character)) {
        Add(keys::kHorizontalRename, key, value, "holds characters no file name can hold", taken);
        return;
      }
    }
  }

  const SettingsFile& settings_;
  const StoredOptions& stored_;
  std::vector<SettingProblem> problems_;
};

}  // namespace

std::vector<SettingProblem> CheckSettings(const SettingsFile& settings,
                                          const StoredOptions& stored) {
  return Checker(settings, stored).Run();
}

std::string DescribeProblem(const std::string& settingsPath, const SettingProblem& problem) {
  return settingsPath + " line " + std::to_string(problem.line) + ": " + problem.key + "=" +
         problem.value + " " + problem.why + "; " + problem.used + " is used instead";
}

}  // namespace tessaro
