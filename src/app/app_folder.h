#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessaro {

inline constexpr const char* kSettingsFileName = "Tessaro.INI";
inline constexpr const char* kTemplateFileName = "Template.RCM";
inline constexpr std::string_view kTemplateBaseName = "Template";

// The template's name, in any letter case: "Template" as a base name (a program of
// that name is never an orphan), "Template.RCM" as a file name (it is never
// overwritten by a save).
bool IsTemplateBaseName(std::string_view baseName);
bool IsTemplateFileName(std::string_view fileName);

// The folder of Tessaro.INI and Template.RCM, ending with a path separator:
// `home` when given; else the executable's folder when it already holds Tessaro.INI
// (a portable copy); else the per-user configuration folder ($XDG_CONFIG_HOME/tessaro,
// by default ~/.config/tessaro), created when missing. No settings file is ever created
// beside an executable that has none.
std::string ResolveAppFolder(const std::string& home, const std::string& executablePath);

// Whether the settings of `appFolder` are still to be made: there is no Tessaro.INI, or
// an empty one (a portable copy as unpacked, which holds one to say where its settings go).
bool IsFirstStart(const std::string& appFolder);

// Where the RCM format takes its template from, as a sentence for the operator.
std::string TemplatePlace(const std::string& appFolder);

// A first start finds no template, and none is ever copied there for the operator: the
// template comes from the shop's own machine. When the RCM format is in force in the
// settings of `appFolder` and Template.RCM is not there, the line that says where to put
// it; nullopt otherwise. A template saved in another letter case is no missing one.
std::optional<std::string> MissingTemplateHint(const std::string& appFolder);

}  // namespace tessaro
