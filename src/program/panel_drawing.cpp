#include "program/panel_drawing.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <system_error>
#include <utility>

#include "app/text.h"

namespace tessaro {

namespace {

// The view box, and the area the panel is scaled into, leaving room for the caption above,
// the face numbers around and the legend below.
constexpr double kViewWidth = 440;
constexpr double kViewHeight = 460;
constexpr double kAreaLeft = 100;
constexpr double kAreaTop = 110;
constexpr double kAreaWidth = 240;
constexpr double kAreaHeight = 228;
// The measures beside each edge: two rows, the second for labels that would overlap.
constexpr double kMeasureRow = 11;        // from one row to the next above and below the panel
constexpr double kMeasureColumn = 40;     // from one column to the next left and right of it
constexpr double kMeasureGapAcross = 36;  // the least room between labels along faces 1 and 2
constexpr double kMeasureGapDown = 12;    // along faces 3 and 4

constexpr Rgb kWhite = 0xffffff;
constexpr Rgb kDrillBlue = 0x1d4f91;
constexpr Rgb kDowelBrown = 0xb3541e;
constexpr Rgb kExcludedGrey = 0x808080;
constexpr Rgb kHiddenGrey = 0x9a9a9a;
constexpr double kHiddenOpacity = 0.35;

using Role = DrawnText::Role;
using Anchor = DrawnText::Anchor;

// Text from a file made fit to show: control characters as blanks, and bytes that are not
// UTF-8 (older files are often Latin-1) as the Latin-1 characters they would be.
std::string Readable(std::string_view text) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      if (const std::size_t length = Utf8SequenceLength(text.substr(i))) {
        out.append(text.substr(i, length));
        i += length;
        continue;
      }
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += c < 0x20 || c == 0x7F ? ' ' : static_cast<char>(c);
    }
    ++i;
  }
  return out;
}

MarkKind KindOf(const HoleRecord& hole) {
  if (hole.Drill != 0 && hole.Dowel != 0) return MarkKind::kBoth;
  if (hole.Drill != 0) return MarkKind::kDrill;
  if (hole.Dowel != 0) return MarkKind::kDowel;
  return MarkKind::kNeither;
}

// A panel size as read, 0 when the header gave none that can be drawn.
double DrawableSize(double size) { return std::isfinite(size) && size > 0 ? size : 0; }

// The panel coordinates a drawing must show along one axis: the panel and every hole
// placed along it (a hole may lie beyond the panel's size).
struct Span {
  double low = 0;
  double high = 0;
  double length() const { return high - low; }
};

Span SpanAlong(const HoleSet& holes, int firstFace, double size) {
  Span span{0, size};
  for (const int face : {firstFace, firstFace + 1}) {
    for (int n = 1; n <= holes.FaceHoleCount[face]; ++n) {
      const double location = holes.Holes[face][n].Location;
      span.low = std::min(span.low, location);
      span.high = std::max(span.high, location);
    }
  }
  return span;
}

// A location with up to `decimals` decimals, without trailing zeros.
std::string Measure(double value, int decimals) {
  std::array<char, 64> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return "";
  std::string text(buffer.data(), result.ptr);
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  return text == "-0" ? "0" : text;
}

// Where one hole's label goes: its place along the edge and its mark's position.
struct Label {
  double along = 0;
  double x = 0;
  double y = 0;
  std::string text;
};

// The labels of one face, each on the first of the two rows where it keeps its distance
// from the label before it.
std::vector<DrawnText> MeasureTexts(int face, std::vector<Label> labels, double left, double top,
                                    double right, double bottom) {
  std::sort(labels.begin(), labels.end(),
            [](const Label& a, const Label& b) { return a.along < b.along; });
  const bool across = face == 1 || face == 2;
  const double gap = across ? kMeasureGapAcross : kMeasureGapDown;
  std::array<std::optional<double>, 2> last{};
  std::vector<DrawnText> texts;
  for (const Label& label : labels) {
    int row = 0;
    if (last[0] && label.along - *last[0] < gap)
      row = last[1] && label.along - *last[1] < gap ? 0 : 1;
    last[static_cast<std::size_t>(row)] = label.along;
    const double x = across      ? label.x
                     : face == 3 ? left - 9 - row * kMeasureColumn
                                 : right + 9 + row * kMeasureColumn;
    const double y = face == 1   ? top - 9 - row * kMeasureRow
                     : face == 2 ? bottom + 17 + row * kMeasureRow
                                 : label.y + 3;
    texts.push_back({.role = Role::kMeasure,
                     .x = x,
                     .y = y,
                     .size = 9,
                     .anchor = across      ? Anchor::kMiddle
                               : face == 3 ? Anchor::kEnd
                                           : Anchor::kStart,
                     .format = "%1",
                     .args = {label.text}});
  }
  return texts;
}

}  // namespace

const MarkShape& ShapeOf(MarkKind kind) {
  static const std::array<MarkShape, 4> shapes = {
      MarkShape{{{6, kWhite, kDrillBlue, 2.5}}, {}},
      MarkShape{{{5, kDowelBrown, std::nullopt, 0}}, {}},
      MarkShape{{{6, kWhite, kDrillBlue, 2.5}, {3.5, kDowelBrown, std::nullopt, 0}}, {}},
      MarkShape{{}, {{-4, -4, 4, 4, kExcludedGrey, 2}, {-4, 4, 4, -4, kExcludedGrey, 2}}},
  };
  return shapes[static_cast<std::size_t>(kind)];
}

std::optional<PanelDrawing> DescribePanel(const HoleSet& holes, const DrawingNotes& notes) {
  if (holes.RejectedFile) return std::nullopt;
  const bool metric = holes.MetricSource == 1;
  const double sizeX = DrawableSize(holes.MacroParams[kParamPanelX]);
  const double sizeY = DrawableSize(holes.MacroParams[kParamPanelY]);

  // A panel without sizes is drawn square, as far as its holes reach.
  const Span spanX = SpanAlong(holes, 1, sizeX);
  const Span spanY = SpanAlong(holes, 3, sizeY);
  double lengthX = spanX.length();
  double lengthY = spanY.length();
  if (lengthX <= 0) lengthX = lengthY > 0 ? lengthY : 1;
  if (lengthY <= 0) lengthY = lengthX;
  const double scale = std::min(kAreaWidth / lengthX, kAreaHeight / lengthY);
  const double originX = kAreaLeft + (kAreaWidth - lengthX * scale) / 2 - spanX.low * scale;
  const double originY = kAreaTop + (kAreaHeight - lengthY * scale) / 2 - spanY.low * scale;
  const double left = originX;
  const double top = originY;
  const double right = originX + (sizeX > 0 ? sizeX : lengthX) * scale;
  const double bottom = originY + (sizeY > 0 ? sizeY : lengthY) * scale;

  PanelDrawing drawing;
  drawing.width = kViewWidth;
  drawing.height = kViewHeight;
  drawing.fontFamily = "DejaVu Sans";
  drawing.panel = {left, top, right - left, bottom - top, 0xf3e3c3, 0x404040, 1.5};
  std::vector<DrawnText>& texts = drawing.texts;

  const std::string fileName = Readable(FileNamePart(holes.ScannedFile));
  DrawnText name = {
      .role = Role::kCaption, .x = 12, .y = 22, .size = 15, .bold = true, .format = "G-code file"};
  if (!fileName.empty()) {
    name.format = "%1";
    name.args = {fileName};
  }
  texts.push_back(name);
  DrawnText macro = {
      .role = Role::kCaption, .x = 12, .y = 41, .size = 13, .format = "Macro: (none)"};
  if (!holes.MacroName.empty()) {
    macro.format = notes.macroFromEarlierFile ? "Macro: %1, from an earlier file" : "Macro: %1";
    macro.args = {Readable(holes.MacroName)};
  }
  texts.push_back(macro);
  texts.push_back({.role = Role::kCaption,
                   .x = 12,
                   .y = 59,
                   .size = 13,
                   .format = metric ? "Panel %1 x %2 x %3 mm, metric (G71)"
                                    : "Panel %1 x %2 x %3 in, inch (G70)",
                   .args = {FormatShortest(holes.MacroParams[kParamPanelX]),
                            FormatShortest(holes.MacroParams[kParamPanelY]),
                            FormatShortest(holes.MacroParams[kParamPanelZ])}});

  // The face numbers stand beyond the two rows of measures; a hidden face's is greyed.
  const double middleX = (left + right) / 2;
  const double middleY = (top + bottom) / 2 + 5;
  const std::array<std::pair<double, double>, 5> numberAt = {
      std::pair{0.0, 0.0},
      {middleX, top - 34},
      {middleX, bottom + 46},
      {left - 9 - kMeasureColumn - 24, middleY},
      {right + 9 + kMeasureColumn + 24, middleY}};
  for (int face = 1; face <= 4; ++face) {
    const bool hidden = notes.hiddenFaces[static_cast<std::size_t>(face)];
    const auto [x, y] = numberAt[static_cast<std::size_t>(face)];
    texts.push_back({.role = Role::kFaceNumber,
                     .x = x,
                     .y = y,
                     .size = 14,
                     .bold = true,
                     .anchor = Anchor::kMiddle,
                     .colour = hidden ? kHiddenGrey : kDrawingInk,
                     .format = "%1",
                     .args = {std::to_string(face)}});
    if (hidden) {
      texts.push_back({.role = Role::kHidden,
                       .x = x,
                       .y = y + 12,
                       .size = 9,
                       .anchor = Anchor::kMiddle,
                       .colour = kHiddenGrey,
                       .format = "hidden"});
    }
  }

  // A location of 0 is no location: such a hole has no place on its edge.
  int unplaced = 0;
  for (int face = 1; face <= 4; ++face) {
    const double opacity = notes.hiddenFaces[static_cast<std::size_t>(face)] ? kHiddenOpacity : 1;
    std::vector<Label> labels;
    for (int n = 1; n <= holes.FaceHoleCount[face]; ++n) {
      const HoleRecord& hole = holes.Holes[face][n];
      if (hole.Location == 0) {
        ++unplaced;
        continue;
      }
      const double along = hole.Location * scale;
      const double x = face == 3 ? left : face == 4 ? right : originX + along;
      const double y = face == 1 ? top : face == 2 ? bottom : originY + along;
      drawing.holes.push_back({KindOf(hole), x, y, opacity});
      labels.push_back({along, x, y, Measure(hole.Location, metric ? 2 : 3)});
    }
    const std::vector<DrawnText> measures =
        MeasureTexts(face, std::move(labels), left, top, right, bottom);
    texts.insert(texts.end(), measures.begin(), measures.end());
  }

  // The legend: each mark with its meaning beside it.
  struct Meaning {
    MarkKind kind;
    double x, y;
    const char* text;
  };
  for (const Meaning& meaning :
       {Meaning{MarkKind::kDrill, 24, 398, "drill"}, Meaning{MarkKind::kDowel, 184, 398, "dowel"},
        Meaning{MarkKind::kBoth, 24, 420, "drill and dowel"},
        Meaning{MarkKind::kNeither, 184, 420, "neither (excluded)"}}) {
    drawing.legend.push_back({meaning.kind, meaning.x, meaning.y});
    texts.push_back({.role = Role::kLegend,
                     .x = meaning.x + 14,
                     .y = meaning.y + 4,
                     .size = 12,
                     .format = meaning.text});
  }
  const int holeCount = holes.FaceHoleCount[1] + holes.FaceHoleCount[2] + holes.FaceHoleCount[3] +
                        holes.FaceHoleCount[4];
  DrawnText note = {.role = Role::kNote,
                    .x = 12,
                    .y = 448,
                    .size = 12,
                    .italic = true,
                    .format = "No holes on faces 1 to 4"};
  if (unplaced > 0) {
    note.format = unplaced == 1 ? "%1 hole without a location, not drawn"
                                : "%1 holes without a location, not drawn";
    note.args = {std::to_string(unplaced)};
  }
  if (unplaced > 0 || holeCount == 0) texts.push_back(note);
  return drawing;
}

}  // namespace tessaro
