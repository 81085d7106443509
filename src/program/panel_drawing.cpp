#include "program/panel_drawing.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <system_error>

#include "app/text.h"

namespace tessaro {

namespace {

// The view box, and the area the panel is scaled into, leaving room for the caption above,
// the face numbers around and the legend below.
constexpr double kViewWidth = 360;
constexpr double kViewHeight = 420;
constexpr double kAreaLeft = 36;
constexpr double kAreaTop = 86;
constexpr double kAreaWidth = 288;
constexpr double kAreaHeight = 228;

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

std::string Plural(int count, std::string_view one) {
  return std::to_string(count) + " " + std::string(one) + (count == 1 ? "" : "s");
}

}  // namespace

std::optional<std::string> DrawPanelSvg(const HoleSet& holes) {
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
  svg += Text(12, 41, "font-size=\"13\"",
              "Macro: " + (holes.MacroName.empty() ? "(none)" : holes.MacroName));
  svg += Text(12, 59, "font-size=\"13\"",
              "Panel " + FormatShortest(holes.MacroParams[kParamPanelX]) + " x " +
                  FormatShortest(holes.MacroParams[kParamPanelY]) + " x " +
                  FormatShortest(holes.MacroParams[kParamPanelZ]) +
                  (metric ? " mm, metric (G71)" : " in, inch (G70)"));

  svg += "<rect class=\"panel\" x=\"" + Number(left) + "\" y=\"" + Number(top) + "\" width=\"" +
         Number(right - left) + "\" height=\"" + Number(bottom - top) +
         "\" fill=\"#f3e3c3\" stroke=\"#404040\" stroke-width=\"1.5\"/>\n";
  const char* faceNumber = "font-size=\"14\" font-weight=\"bold\" text-anchor=\"middle\"";
  const double middleX = (left + right) / 2;
  const double middleY = (top + bottom) / 2 + 5;
  svg += Text(middleX, top - 12, faceNumber, "1");
  svg += Text(middleX, bottom + 24, faceNumber, "2");
  svg += Text(left - 16, middleY, faceNumber, "3");
  svg += Text(right + 16, middleY, faceNumber, "4");

  // A location of 0 is no location: such a hole has no place on its edge.
  int unplaced = 0;
  svg += "<g class=\"holes\">\n";
  for (int face = 1; face <= 4; ++face) {
    for (int n = 1; n <= holes.FaceHoleCount[face]; ++n) {
      const HoleRecord& hole = holes.Holes[face][n];
      if (hole.Location == 0) {
        ++unplaced;
        continue;
      }
      const double along = hole.Location * scale;
      const double x = face == 3 ? left : face == 4 ? right : originX + along;
      const double y = face == 1 ? top : face == 2 ? bottom : originY + along;
      svg += Mark(MarkOf(hole), x, y);
    }
  }
  svg += "</g>\n";

  const char* legend = "font-size=\"12\"";
  svg += "<g class=\"legend\">\n";
  svg += Mark("drill", 24, 358) + Text(38, 362, legend, "drill");
  svg += Mark("dowel", 184, 358) + Text(198, 362, legend, "dowel");
  svg += Mark("both", 24, 380) + Text(38, 384, legend, "drill and dowel");
  svg += Mark("neither", 184, 380) + Text(198, 384, legend, "neither (excluded)");
  svg += "</g>\n";
  std::string note;
  if (unplaced > 0) {
    note = Plural(unplaced, "hole") + " without a location, not drawn";
  } else if (holes.FaceHoleCount[1] + holes.FaceHoleCount[2] + holes.FaceHoleCount[3] +
                 holes.FaceHoleCount[4] ==
             0) {
    note = "No holes on faces 1 to 4";
  }
  if (!note.empty()) svg += Text(12, 408, "font-size=\"12\" font-style=\"italic\"", note);
  return svg + "</svg>\n";
}

}  // namespace tessaro
