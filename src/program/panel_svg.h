#pragma once

#include <optional>
#include <string>

#include "gcode/hole_set.h"
#include "program/panel_drawing.h"

namespace tessaro {

// The drawing DescribePanel gives, as SVG text: the marks defined once ("#drill", "#dowel",
// "#both" and "#neither") and used at each hole (in the group "holes") and in the legend,
// the panel as the rect of class "panel", and the texts, those of the face numbers, of
// "hidden" and of the measures (in the group "measures") by their class. A refused file
// has no drawing.
std::optional<std::string> DrawPanelSvg(const HoleSet& holes, const DrawingNotes& notes = {});

}  // namespace tessaro
