#include "program/panel_drawing.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

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

constexpr const char* kMarks =
    "<defs>\n"
    "<g id=\"drill\"><circle r=\"6\" fill=\"#ffffff\" stroke=\"#1d4f91\" "
    "stroke-width=\"2.5\"/></g>\n"
    "<g id=\"dowel\"><circle r=\"5\" fill=\"#b3541e\"/></g>\n"
    "<g id=\"both\"><circle r=\"6\" fill=\"#ffffff\" stroke=\"#1d4f91\" stroke-width=\"2.5\"/>"
    "<circle r=\"3.5\" fill=\"#b3541e\"/></g>\n"
    "<g id=\"neither\"><path d=\"M-4,-4 L4,4 M-4,4 L4,-4\" stroke=\"#808080\" "
    "stroke-width=\"2\"/></g>\n"
    "</defs>\n";

// Coordinates with two decimals, whatever the locale.
std::string Number(double value) {
  std::array<char, 64> buffer{};
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                    std::isfinite(value) ? value : 0.0, std::chars_format::fixed, 2);
  if (result.ec != std::errc()) return "0";
  std::string text(buffer.data(), result.ptr);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text == "-0" ? "0" : text;
}

// Text from a file as XML character data: markup characters escaped, control characters
// as blanks, and bytes that are not UTF-8 (older files are often Latin-1) as the Latin-1
// characters they would be.
std::string XmlText(std::string_view text) {
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
    } else if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (c == '"') {
      out += "&quot;";
    } else {
      out += c < 0x20 || c == 0x7F ? ' ' : static_cast<char>(c);
    }
    ++i;
  }
  return out;
}

std::string Text(double x, double y, std::string_view attributes, std::string_view content) {
  return "<text x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" " + std::string(attributes) + ">" +
         XmlText(content) + "</text>\n";
}

std::string Mark(std::string_view mark, double x, double y) {
  return "<use xlink:href=\"#" + std::string(mark) + "\" x=\"" + Number(x) + "\" y=\"" + Number(y) +
         "\"/>\n";
}

const char* MarkOf(const HoleRecord& hole) {
  if (hole.Drill != 0 && hole.Dowel != 0) return "both";
  if (hole.Drill != 0) return "drill";
  if (hole.Dowel != 0) return "dowel";
  return "neither";
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
std::string MeasureLabels(int face, std::vector<Label> labels, double left, double top,
                          double right, double bottom) {
  std::sort(labels.begin(), labels.end(),
            [](const Label& a, const Label& b) { return a.along < b.along; });
  const bool across = face == 1 || face == 2;
  const double gap = across ? kMeasureGapAcross : kMeasureGapDown;
  std::array<std::optional<double>, 2> last{};
  std::string svg;
  for (const Label& label : labels) {
    int row = 0;
    if (last[0] && label.along - *last[0] < gap)
      row = last[1] && label.along - *last[1] < gap ? 0 : 1;
    last[static_cast<std::size_t>(row)] = label.along;
    const char* style = face == 3   ? "class=\"measure\" font-size=\"9\" text-anchor=\"end\""
                        : face == 4 ? "class=\"measure\" font-size=\"9\""
                                    : "class=\"measure\" font-size=\"9\" text-anchor=\"middle\"";
    switch (face) {
      case 1:
        svg += Text(label.x, top - 9 - row * kMeasureRow, style, label.text);
        break;
      case 2:
        svg += Text(label.x, bottom + 17 + row * kMeasureRow, style, label.text);
        break;
      case 3:
        svg += Text(left - 9 - row * kMeasureColumn, label.y + 3, style, label.text);
        break;
      default:
        svg += Text(right + 9 + row * kMeasureColumn, label.y + 3, style, label.text);
        break;
    }
  }
  return svg;
}

std::string Plural(int count, std::string_view one) {
  return std::to_string(count) + " " + std::string(one) + (count == 1 ? "" : "s");
}

}  // namespace

std::optional<std::string> DrawPanelSvg(const HoleSet& holes, const DrawingNotes& notes) {
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

  const std::string width = Number(kViewWidth);
  const std::string height = Number(kViewHeight);
  std::string svg =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
      "version=\"1.1\" width=\"" +
      width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + " " + height +
      "\" font-family=\"DejaVu Sans, sans-serif\" fill=\"#202020\">\n" + kMarks + "<rect width=\"" +
      width + "\" height=\"" + height + "\" fill=\"#ffffff\"/>\n";

  const std::string fileName = FileNamePart(holes.ScannedFile);
  svg += Text(12, 22, "font-size=\"15\" font-weight=\"bold\"",
              fileName.empty() ? "G-code file" : fileName);
  svg += Text(
      12, 41, "font-size=\"13\"",
      "Macro: " + (holes.MacroName.empty() ? "(none)" : holes.MacroName) +
          (!holes.MacroName.empty() && notes.macroFromEarlierFile ? ", from an earlier file" : ""));
  svg += Text(12, 59, "font-size=\"13\"",
              "Panel " + FormatShortest(holes.MacroParams[kParamPanelX]) + " x " +
                  FormatShortest(holes.MacroParams[kParamPanelY]) + " x " +
                  FormatShortest(holes.MacroParams[kParamPanelZ]) +
                  (metric ? " mm, metric (G71)" : " in, inch (G70)"));

  svg += "<rect class=\"panel\" x=\"" + Number(left) + "\" y=\"" + Number(top) + "\" width=\"" +
         Number(right - left) + "\" height=\"" + Number(bottom - top) +
         "\" fill=\"#f3e3c3\" stroke=\"#404040\" stroke-width=\"1.5\"/>\n";
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
    svg += Text(x, y,
                std::string("class=\"face\" font-size=\"14\" font-weight=\"bold\" "
                            "text-anchor=\"middle\"") +
                    (hidden ? " fill=\"#9a9a9a\"" : ""),
                std::to_string(face));
    if (hidden) {
      svg += Text(x, y + 12,
                  "class=\"hidden\" font-size=\"9\" text-anchor=\"middle\" fill=\"#9a9a9a\"",
                  "hidden");
    }
  }

  // A location of 0 is no location: such a hole has no place on its edge.
  int unplaced = 0;
  std::string measures;
  svg += "<g class=\"holes\">\n";
  for (int face = 1; face <= 4; ++face) {
    const bool hidden = notes.hiddenFaces[static_cast<std::size_t>(face)];
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
      std::string mark = Mark(MarkOf(hole), x, y);
      if (hidden) mark.insert(mark.size() - 3, " opacity=\"0.35\"");
      svg += mark;
      labels.push_back({along, x, y, Measure(hole.Location, metric ? 2 : 3)});
    }
    measures += MeasureLabels(face, std::move(labels), left, top, right, bottom);
  }
  svg += "</g>\n<g class=\"measures\">\n" + measures + "</g>\n";

  const char* legend = "font-size=\"12\"";
  svg += "<g class=\"legend\">\n";
  svg += Mark("drill", 24, 398) + Text(38, 402, legend, "drill");
  svg += Mark("dowel", 184, 398) + Text(198, 402, legend, "dowel");
  svg += Mark("both", 24, 420) + Text(38, 424, legend, "drill and dowel");
  svg += Mark("neither", 184, 420) + Text(198, 424, legend, "neither (excluded)");
  svg += "</g>\n";
  std::string note;
  if (unplaced > 0) {
    note = Plural(unplaced, "hole") + " without a location, not drawn";
  } else if (holes.FaceHoleCount[1] + holes.FaceHoleCount[2] + holes.FaceHoleCount[3] +
                 holes.FaceHoleCount[4] ==
             0) {
    note = "No holes on faces 1 to 4";
  }
  if (!note.empty()) svg += Text(12, 448, "font-size=\"12\" font-style=\"italic\"", note);
  return svg + "</svg>\n";
}

}  // namespace tessaro
