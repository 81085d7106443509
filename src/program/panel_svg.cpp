#include "program/panel_svg.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <string_view>
#include <system_error>

namespace tessaro {

namespace {

using Role = DrawnText::Role;

constexpr std::array<const char*, 4> kMarkNames = {"drill", "dowel", "both", "neither"};

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

std::string Colour(Rgb rgb) {
  std::array<char, 8> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "#%06x", static_cast<unsigned>(rgb & 0xffffff));
  return buffer.data();
}

std::string Paint(const char* attribute, const std::optional<Rgb>& colour) {
  return std::string(" ") + attribute + "=\"" + (colour ? Colour(*colour) : "none") + "\"";
}

std::string XmlEscaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string MarkDefinitions() {
  std::string svg = "<defs>\n";
  for (std::size_t kind = 0; kind < kMarkNames.size(); ++kind) {
    svg += "<g id=\"" + std::string(kMarkNames[kind]) + "\">";
    const MarkShape& shape = ShapeOf(static_cast<MarkKind>(kind));
    for (const MarkCircle& circle : shape.circles) {
      svg += "<circle r=\"" + Number(circle.radius) + "\"" + Paint("fill", circle.fill);
      if (circle.stroke) {
        svg +=
            Paint("stroke", circle.stroke) + " stroke-width=\"" + Number(circle.strokeWidth) + "\"";
      }
      svg += "/>";
    }
    for (const MarkLine& line : shape.lines) {
      svg += "<line x1=\"" + Number(line.x1) + "\" y1=\"" + Number(line.y1) + "\" x2=\"" +
             Number(line.x2) + "\" y2=\"" + Number(line.y2) + "\"" + Paint("stroke", line.stroke) +
             " stroke-width=\"" + Number(line.width) + "\"/>";
    }
    svg += "</g>\n";
  }
  return svg + "</defs>\n";
}

std::string Mark(const DrawnMark& mark) {
  return "<use xlink:href=\"#" + std::string(kMarkNames[static_cast<std::size_t>(mark.kind)]) +
         "\" x=\"" + Number(mark.x) + "\" y=\"" + Number(mark.y) + "\"" +
         (mark.opacity < 1 ? " opacity=\"" + Number(mark.opacity) + "\"" : "") + "/>\n";
}

std::string Text(const DrawnText& text) {
  std::string svg = "<text x=\"" + Number(text.x) + "\" y=\"" + Number(text.y) + "\" ";
  if (text.role == Role::kFaceNumber) svg += "class=\"face\" ";
  if (text.role == Role::kHidden) svg += "class=\"hidden\" ";
  if (text.role == Role::kMeasure) svg += "class=\"measure\" ";
  svg += "font-size=\"" + Number(text.size) + "\"";
  if (text.bold) svg += " font-weight=\"bold\"";
  if (text.italic) svg += " font-style=\"italic\"";
  if (text.anchor == DrawnText::Anchor::kMiddle) svg += " text-anchor=\"middle\"";
  if (text.anchor == DrawnText::Anchor::kEnd) svg += " text-anchor=\"end\"";
  if (text.colour != kDrawingInk) svg += Paint("fill", text.colour);
  return svg + ">" + XmlEscaped(text.Text()) + "</text>\n";
}

// The texts of the roles given, in the drawing's order.
std::string Texts(const PanelDrawing& drawing, std::initializer_list<Role> roles) {
  std::string svg;
  for (const DrawnText& text : drawing.texts) {
    if (std::find(roles.begin(), roles.end(), text.role) != roles.end()) svg += Text(text);
  }
  return svg;
}

}  // namespace

std::optional<std::string> DrawPanelSvg(const HoleSet& holes, const DrawingNotes& notes) {
  const std::optional<PanelDrawing> drawing = DescribePanel(holes, notes);
  if (!drawing) return std::nullopt;
  const std::string width = Number(drawing->width);
  const std::string height = Number(drawing->height);
  std::string svg =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
      "version=\"1.1\" width=\"" +
      width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + " " + height +
      "\" font-family=\"" + XmlEscaped(drawing->fontFamily) + ", sans-serif\"" +
      Paint("fill", kDrawingInk) + ">\n" + MarkDefinitions() + "<rect width=\"" + width +
      "\" height=\"" + height + "\"" + Paint("fill", drawing->background) + "/>\n";
  svg += Texts(*drawing, {Role::kCaption});
  const DrawnRect& panel = drawing->panel;
  svg += "<rect class=\"panel\" x=\"" + Number(panel.x) + "\" y=\"" + Number(panel.y) +
         "\" width=\"" + Number(panel.width) + "\" height=\"" + Number(panel.height) + "\"" +
         Paint("fill", panel.fill) + Paint("stroke", panel.stroke) + " stroke-width=\"" +
         Number(panel.strokeWidth) + "\"/>\n";
  svg += Texts(*drawing, {Role::kFaceNumber, Role::kHidden});
  svg += "<g class=\"holes\">\n";
  for (const DrawnMark& mark : drawing->holes) svg += Mark(mark);
  svg += "</g>\n<g class=\"measures\">\n" + Texts(*drawing, {Role::kMeasure}) + "</g>\n";
  svg += "<g class=\"legend\">\n";
  for (const DrawnMark& mark : drawing->legend) svg += Mark(mark);
  svg += Texts(*drawing, {Role::kLegend}) + "</g>\n";
  return svg + Texts(*drawing, {Role::kNote}) + "</svg>\n";
}

}  // namespace tessaro
