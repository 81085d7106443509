#pragma once

#include <array>
#include <string>

namespace tessaro {

inline constexpr int kFaceSlots = 5;         // faces 0 to 4; 1 to 4 are the panel's edges
inline constexpr int kMaxHolesPerFace = 10;  // hole numbers 1 to 10
inline constexpr int kMacroParamCount = 21;  // A = 1 ... T = 20
inline constexpr int kParamPanelX = 12;      // L
inline constexpr int kParamPanelY = 8;       // H
inline constexpr int kParamPanelZ = 19;      // S

struct HoleRecord {
  double Location = 0;  // along the face, in the G-code file's units; 0 = no location
  int Drill = 0;        // 1 = drilled
  int Dowel = 0;        // 1 = receives a dowel
};

using MacroParameters = std::array<double, kMacroParamCount>;

// What a G-code file yields: the holes per face and the values that carry over from
// file to file (panel sizes and macro parameters, macro name, units).
struct HoleSet {
  // Holes[face][n] for n = 1 .. FaceHoleCount[face]; entry 0 is never written.
  std::array<std::array<HoleRecord, kMaxHolesPerFace + 1>, kFaceSlots> Holes{};
  std::array<int, kFaceSlots> FaceHoleCount{};
  MacroParameters MacroParams{};
  std::string MacroName;
  int MetricSource = 0;       // 1 after G71, 0 after G70
  bool RejectedFile = false;  // the last G-code file's first line was not acceptable
  std::string ScannedFile;    // path of the last G-code file read to its end

  void ClearHoles() {
    Holes = {};
    FaceHoleCount = {};
  }
};

}  // namespace tessaro
