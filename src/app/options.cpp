#include "app/options.h"

#include <charconv>
#include <cmath>

#include "app/settings_file.h"
#include "app/text.h"

namespace tessaro {

namespace {

constexpr int kMinScanIntervalMs = 1;
constexpr int kMaxScanIntervalMs = 24 * 60 * 60 * 1000;

// A check box state read with ReadNumber and rounded (half to even); only 0, 1 and 2
// are states a box can take.
std::optional<int> CheckState(std::string_view text) {
  const double rounded = std::nearbyint(ReadNumber(text));
  if (rounded == 0 || rounded == 1 || rounded == 2) return static_cast<int>(rounded);
  return std::nullopt;
}

int ScanIntervalMs(std::string_view text) {
  const double ms = std::nearbyint(ReadNumber(text) * 1000);
  if (ms < kMinScanIntervalMs || ms > kMaxScanIntervalMs) return kDefaultScanIntervalMs;
  return static_cast<int>(ms);
}

}  // namespace

std::string MaskFromStored(std::string_view stored) {
  std::string mask;
  size_t count = 0;
  for (const std::string_view character : SplitCharacters(FirstCharacters(stored, kMaskLength))) {
    mask += (character == "*" || !IsFileNameText(character)) ? std::string_view(" ") : character;
    ++count;
  }
  mask.append(kMaskLength - count, ' ');
  return mask;
}

std::string MaskToStored(std::string_view mask) {
  std::string stored(mask);
  for (char& c : stored) {
    if (c == ' ') c = '*';
  }
  return stored;
}

bool AllMasksSet(const FaceMasks& masks) {
  for (int face = 1; face <= 4; ++face) {
    if (Trim(masks[face]).empty()) return false;
  }
  return true;
}

std::string NormaliseExclusion(std::string_view text) {
  const std::string first(text.substr(0, 1));
  return ReadNumber(first) > 0 ? first : "0";
}

bool IsFacePriority(std::string_view text) {
  if (text.empty() || text.size() > 4) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] < '1' || text[i] > '4' || text.find(text[i]) != i) return false;
  }
  return true;
}

std::optional<int> ParseWholeNumber(std::string_view text) {
  const std::string trimmed(Trim(text));
  std::string_view digits = trimmed;
  if (!digits.empty() && digits[0] == '+') {
    digits.remove_prefix(1);
    if (digits.empty() || digits[0] == '+' || digits[0] == '-') return std::nullopt;
  }
  int value = 0;
  const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (result.ec != std::errc() || result.ptr != digits.data() + digits.size()) return std::nullopt;
  return value;
}

StoredOptions ReadStoredOptions(const SettingsFile& settings) {
  auto read = [&settings](std::string_view section, std::string_view key) {
    return settings.ReadSetting(section, key);
  };
  StoredOptions options;
  options.windowTop = ReadNumber(read(keys::kWindow, keys::kTop));
  options.windowLeft = ReadNumber(read(keys::kWindow, keys::kLeft));
  options.rcmFormat = ToUpper(read(keys::kSettings, keys::kRcm)) == "YES";
  options.autoDelete = CheckState(read(keys::kSettings, keys::kAutoDelete));
  options.autoScan = CheckState(read(keys::kSettings, keys::kAutoScan));
  options.destinationPath = read(keys::kSettings, keys::kDestinationPath);
  options.sourcePath = read(keys::kSettings, keys::kSourcePath);
  options.dowelExclusion = NormaliseExclusion(read(keys::kSettings, keys::kDowellExclusion));
  options.drillExclusion = NormaliseExclusion(read(keys::kSettings, keys::kDrillExclusion));
  const std::string priority = read(keys::kSettings, keys::kFacePriority);
  if (IsFacePriority(priority)) options.facePriority = priority;
  options.deleteButtonVisible = ToUpper(read(keys::kSettings, keys::kDeleteButtonVisible)) == "YES";
  options.noDuplicates = ParseWholeNumber(read(keys::kSettings, keys::kNoDuplicates));
  options.noEmpties = ParseWholeNumber(read(keys::kSettings, keys::kNoEmpties));
  options.scanIntervalMs = ScanIntervalMs(read(keys::kSettings, keys::kScanTime));
  options.masks[0] = std::string(kMaskLength, ' ');
  for (int face = 1; face <= 4; ++face) {
    options.masks[face] = MaskFromStored(read(keys::kHorizontalRename, keys::MaskKey(face)));
  }
  return options;
}

namespace keys {
std::string MaskKey(int face) { return "Mask" + std::to_string(face); }
}  // namespace keys

}  // namespace tessaro
