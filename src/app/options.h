#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tessaro {

class SettingsFile;

inline constexpr int kMaskLength = 8;

// The four filename masks, one per face; slots 1 to 4 are used, slot 0 stays blank.
// Each mask has exactly eight characters; a blank keeps the source name's character.
using FaceMasks = std::array<std::string, 5>;

// A stored mask turned into its in-memory form: every "*" becomes a blank, the text is
// padded with blanks or cut to eight characters, and a character a file name cannot
// hold counts as blank.
std::string MaskFromStored(std::string_view stored);
// An in-memory mask in its stored form: every blank written as "*".
std::string MaskToStored(std::string_view mask);
// True when every mask 1 to 4 holds a character other than blank: the omission rules
// Empties and Duplicates are then enabled.
bool AllMasksSet(const FaceMasks& masks);

// An exclusion box's text normalised: its first character, and "0" when that does not
// read as a number above 0. So "12" gives "1", "-3", "", "x" give "0".
std::string NormaliseExclusion(std::string_view text);

// The extension of the programs of a format: "RCM" or "ACC".
inline std::string ProgramExtension(bool rcmFormat) { return rcmFormat ? "RCM" : "ACC"; }

inline constexpr int kDefaultScanIntervalMs = 5000;
inline constexpr std::string_view kDefaultFacePriority = "3412";

// Every option of the settings file read with its default, as start-up reads them.
struct StoredOptions {
  // Settings
  bool rcmFormat = false;         // RCM reads "YES" in any letter case
  std::optional<int> autoDelete;  // ReadNumber rounded; nullopt when not 0, 1 or 2
  std::optional<int> autoScan;    // likewise
  std::string sourcePath;         // as stored ("" when missing)
  std::string destinationPath;
  std::string drillExclusion = "0";  // normalised digit
  std::string dowelExclusion = "0";
  std::string facePriority = std::string(kDefaultFacePriority);  // see IsFacePriority
  bool deleteButtonVisible = false;  // DeleteButtonVisible reads "YES" in any letter case
  std::optional<int> noDuplicates;   // strict whole number; nullopt when empty or not one
  std::optional<int> noEmpties;
  int scanIntervalMs = kDefaultScanIntervalMs;  // ScanTime * 1000 when within 1 ms .. a day
  // Window
  double windowTop = 0;  // twips
  double windowLeft = 0;
  // HorizontalRename
  FaceMasks masks;

  std::string programExtension() const { return ProgramExtension(rcmFormat); }
  bool omissionRulesEnabled() const { return AllMasksSet(masks); }
};

StoredOptions ReadStoredOptions(const SettingsFile& settings);

// A face order: one to four different digits 1 to 4 ("3412", "21").
bool IsFacePriority(std::string_view text);

// A strict whole number: optional sign and digits, blanks around allowed; nullopt
// for an empty text, letters, fractions or a number out of range.
std::optional<int> ParseWholeNumber(std::string_view text);

// The settings keys, spelled once.
namespace keys {
inline constexpr std::string_view kSettings = "Settings";
inline constexpr std::string_view kWindow = "Window";
inline constexpr std::string_view kDirDialogBox = "DirDialogBox";
inline constexpr std::string_view kHorizontalRename = "HorizontalRename";
inline constexpr std::string_view kAutoDelete = "AutoDelete";
inline constexpr std::string_view kAutoScan = "AutoScan";
inline constexpr std::string_view kSourcePath = "SourcePath";
inline constexpr std::string_view kDestinationPath = "DestinationPath";
inline constexpr std::string_view kDowellExclusion = "DowellExclusion";
inline constexpr std::string_view kDrillExclusion = "DrillExclusion";
inline constexpr std::string_view kFacePriority = "FacePriority";
inline constexpr std::string_view kDeleteButtonVisible = "DeleteButtonVisible";
inline constexpr std::string_view kNoDuplicates = "NoDuplicates";
inline constexpr std::string_view kNoEmpties = "NoEmpties";
inline constexpr std::string_view kScanTime = "ScanTime";
inline constexpr std::string_view kRcm = "RCM";
inline constexpr std::string_view kTop = "Top";
inline constexpr std::string_view kLeft = "Left";
inline constexpr std::string_view kLastDir = "LastDir";
std::string MaskKey(int face);  // "Mask1" .. "Mask4"
}  // namespace keys

}  // namespace tessaro
