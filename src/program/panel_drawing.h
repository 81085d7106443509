#pragma once

#include <optional>
#include <string>

#include "gcode/hole_set.h"

namespace tessaro {

// A drawing of the panel of the G-code file read into `holes`, as SVG text: the outline to
// scale from the header's X (across) and Y (down) sizes, the face numbers around it (1 top,
// 2 bottom, 3 left, 4 right), each hole of faces 1 to 4 on its edge at its location,
// measured from the top left corner, marked by what the machine does there (the marks
// "#drill", "#dowel", "#both" and "#neither"), a legend, and a caption with the file name,
// the macro name, the panel size and the units. The view box is fixed, so marks and text
// keep their size whatever the panel's. A refused file has no drawing.
std::optional<std::string> DrawPanelSvg(const HoleSet& holes);

}  // namespace tessaro
