#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/text.h"
#include "gcode/hole_set.h"

namespace tessaro {

// What a drawing shows beside the holes themselves.
struct DrawingNotes {
  bool macroFromEarlierFile = false;  // the file named no macro: the name carried over
  std::array<bool, 5> hiddenFaces{};  // faces 1 to 4 whose programs the omission rules hide
};

// A colour as 0xRRGGBB.
using Rgb = std::uint32_t;
inline constexpr Rgb kDrawingInk = 0x202020;  // the colour of a text unless it says another

// One text of a drawing. `format` is its English wording, the text a translation replaces;
// names, numbers and measures stand in `args`, their places marked %1, %2...
struct DrawnText {
  enum class Role { kCaption, kFaceNumber, kHidden, kMeasure, kLegend, kNote };
  enum class Anchor { kStart, kMiddle, kEnd };  // the point of the text that stands at x

  Role role = Role::kCaption;
  double x = 0;
  double y = 0;     // of the baseline
  double size = 0;  // the font's height
  bool bold = false;
  bool italic = false;
  Anchor anchor = Anchor::kStart;
  Rgb colour = kDrawingInk;
  std::string format{};
  std::vector<std::string> args{};

  std::string Text() const { return FillFormat(format, args); }
};

// What the machine does at a hole, and the mark that says so, drawn around the hole's
// centre: circles, then lines.
enum class MarkKind { kDrill, kDowel, kBoth, kNeither };
struct MarkCircle {
  double radius = 0;
  std::optional<Rgb> fill;
  std::optional<Rgb> stroke;
  double strokeWidth = 0;
};
struct MarkLine {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  Rgb stroke = kDrawingInk;
  double width = 0;
};
struct MarkShape {
  std::vector<MarkCircle> circles;
  std::vector<MarkLine> lines;
};
const MarkShape& ShapeOf(MarkKind kind);

struct DrawnMark {
  MarkKind kind = MarkKind::kDrill;
  double x = 0;
  double y = 0;
  double opacity = 1;  // below 1 on a hidden face
};

struct DrawnRect {
  double x = 0, y = 0, width = 0, height = 0;
  Rgb fill = 0xffffff;
  Rgb stroke = kDrawingInk;
  double strokeWidth = 0;
};

// A panel drawing as simple shapes and texts, in the units of a fixed view box, so that
// marks and texts keep their size whatever the panel's. Drawn in this order: the
// background, the panel, the marks of the holes and of the legend, the texts.
struct PanelDrawing {
  double width = 0;  // the view box, from 0,0
  double height = 0;
  Rgb background = 0xffffff;
  std::string fontFamily;
  DrawnRect panel;
  std::vector<DrawnMark> holes;
  std::vector<DrawnMark> legend;
  // The caption, the face numbers and "hidden", the measures, the legend, a note.
  std::vector<DrawnText> texts;
};

// The drawing of the panel of the G-code file read into `holes`: the outline to scale from
// the header's X (across) and Y (down) sizes, the face numbers around it (1 top, 2 bottom,
// 3 left, 4 right; a hidden face greyed, with "hidden" beside its number), each hole of
// faces 1 to 4 on its edge at its location, measured from the top left corner, marked by
// what the machine does there and labelled with its location in the file's units (mm with
// up to two decimals, inch with up to three; labels that would overlap are staggered
// outwards), a legend, and a caption with the file name, the macro name, the panel size
// and the units. A refused file has no drawing.
std::optional<PanelDrawing> DescribePanel(const HoleSet& holes, const DrawingNotes& notes = {});

}  // namespace tessaro
