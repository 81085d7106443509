#pragma once

#include <array>
#include <optional>
#include <string>

#include "gcode/hole_set.h"

namespace tessaro {

// What a drawing shows beside the holes themselves.
struct DrawingNotes {
  bool macroFromEarlierFile = false;  // the file named no macro: the name carried over
  std::array<bool, 5> hiddenFaces{};  // faces 1 to 4 whose programs the omission rules hide
};

// A drawing of the panel of the G-code file read into `holes`, as SVG text: the outline to
// scale from the header's X (across) and Y (down) sizes, the face numbers around it (1 top,
// 2 bottom, 3 left, 4 right; a hidden face greyed, with "hidden" beside its number), each
// hole of faces 1 to 4 on its edge at its location, measured from the top left corner,
// marked by what the machine does there (the marks "#drill", "#dowel", "#both" and
// "#neither") and labelled with its location in the file's units (mm with up to two
// decimals, inch with up to three; labels that would overlap are staggered outwards), a
// legend, and a caption with the file name, the macro name, the panel size and the units.
// The view box is fixed, so marks and text keep their size whatever the panel's. A refused
// file has no drawing.
std::optional<std::string> DrawPanelSvg(const HoleSet& holes, const DrawingNotes& notes = {});

}  // namespace tessaro
