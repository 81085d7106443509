#include "program/panel_svg.h"

#include <gtest/gtest.h>

#include <cmath>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "program/session.h"
#include "support/program_samples.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

struct ExpectedMark {
  int face;
  double location;
  const char* mark;
};

class PanelSvg : public ::testing::Test {
 protected:
  // The drawing of a G-code file read as a translation reads it.
  std::optional<std::string> Draw(const std::string& gcode, int drillEx = 0, int dowelEx = 0) {
    session.Settings().drillExclusion = drillEx;
    session.Settings().dowelExclusion = dowelEx;
    EXPECT_TRUE(session.ReadGcode(folder.Write("PANEL", gcode)).ok());
    return DrawPanelSvg(session.Holes());
  }

  testing::TempFolder folder;
  testing::RecordingOperator asker;
  Session session{asker};
};

std::string AllText(const pugi::xml_document& svg) {
  std::string text;
  for (const pugi::xpath_node& node : svg.select_nodes("//text")) {
    text += std::string(node.node().child_value()) + "|";
  }
  return text;
}

TEST_F(PanelSvg, EachHoleLiesOnItsEdgeAtItsLocationWithItsMark) {
  const struct {
    const char* gcode;
    int drillEx, dowelEx;
    double sizeX, sizeY;
    const char* caption;
    const char* note;
    std::vector<ExpectedMark> marks;
  } cases[] = {
      // Marks are listed face by face, in file order within a face.
      // clang-format off
      {"G71 X800 Y600 Z18\nG150(DOOR) A1\nG81 P1 X120 E3 G54\nG81 P1 X120 E2 G56\n"
       "G81 P2 X700 E1 G54\nG81 P3 Y150 E3 G54\nG81 P4 Y50 E2 G55\nG81 P1 X5 E3 G57\n", 3, 2,
       800, 600, "|Panel 800 x 600 x 18 mm, metric (G71)|", "|1 hole without a location",
       {{1, 120, "drill"}, {1, 680, "dowel"}, {2, 700, "neither"}, {3, 150, "drill"},
        {4, 550, "dowel"}}},
      {"G70 X24.5 Y18 Z0.75\nG81 P3 Y2.125 E3 G54\nG81 P4 Y17 E1 G54\nG81 P1 X12 E3 G54\n"
       "G81 P2 X20 E3 G56\n", 3, 3, 24.5, 18, "|Panel 24.5 x 18 x 0.75 in, inch (G70)|", "",
       {{1, 12, "both"}, {2, 4.5, "both"}, {3, 2.125, "both"}, {4, 17, "neither"}}},
      {"G71 X300 Y300 Z18\n", 0, 0, 300, 300, "|Panel 300 x 300 x 18 mm",
       "|No holes on faces 1 to 4|", {}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.gcode);
    const std::optional<std::string> svg = Draw(c.gcode, c.drillEx, c.dowelEx);
    ASSERT_TRUE(svg);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(svg->c_str())) << *svg;
    const std::string texts = AllText(doc);
    EXPECT_NE(texts.find(c.caption), std::string::npos) << texts;
    EXPECT_NE(texts.find(c.note), std::string::npos) << texts;

    const pugi::xml_node panel = doc.select_node("//rect[@class='panel']").node();
    const double x = panel.attribute("x").as_double(), y = panel.attribute("y").as_double();
    const double width = panel.attribute("width").as_double();
    const double height = panel.attribute("height").as_double();
    EXPECT_NEAR(width / height, c.sizeX / c.sizeY, 0.01);
    EXPECT_GE(x, 0);
    EXPECT_LE(x + width, 440);
    const pugi::xpath_node_set faceNumbers = doc.select_nodes("//text[@class='face']");
    ASSERT_EQ(faceNumbers.size(), 4u);
    EXPECT_LT(faceNumbers[0].node().attribute("y").as_double(), y);           // 1
    EXPECT_GT(faceNumbers[1].node().attribute("y").as_double(), y + height);  // 2
    EXPECT_LT(faceNumbers[2].node().attribute("x").as_double(), x);           // 3
    EXPECT_GT(faceNumbers[3].node().attribute("x").as_double(), x + width);   // 4

    const pugi::xpath_node_set drawn = doc.select_nodes("//g[@class='holes']/use");
    ASSERT_EQ(drawn.size(), c.marks.size());
    for (std::size_t i = 0; i < c.marks.size(); ++i) {
      const ExpectedMark& hole = c.marks[i];
      const double alongX = x + hole.location * width / c.sizeX;
      const double alongY = y + hole.location * height / c.sizeY;
      const double expectedX = hole.face == 3 ? x : hole.face == 4 ? x + width : alongX;
      const double expectedY = hole.face == 1 ? y : hole.face == 2 ? y + height : alongY;
      const pugi::xml_node mark = drawn[i].node();
      SCOPED_TRACE("face " + std::to_string(hole.face) + " at " + std::to_string(hole.location));
      EXPECT_EQ(mark.attribute("xlink:href").as_string(), std::string("#") + hole.mark);
      EXPECT_NEAR(mark.attribute("x").as_double(), expectedX, 0.02);
      EXPECT_NEAR(mark.attribute("y").as_double(), expectedY, 0.02);
    }
  }
}

// Each placed hole's location beside its edge, in the file's units; labels too close to
// the one before them go to the second row.
TEST_F(PanelSvg, MeasuresStandBesideTheirHolesStaggeredWhereTheyWouldOverlap) {
  const auto measures = [this](const std::string& gcode) {
    const std::optional<std::string> svg = Draw(gcode);
    pugi::xml_document doc;
    EXPECT_TRUE(svg && doc.load_string(svg->c_str()));
    std::vector<std::pair<std::string, double>> found;  // text, row
    for (const pugi::xpath_node& node : doc.select_nodes("//text[@class='measure']")) {
      found.emplace_back(node.node().child_value(), node.node().attribute("y").as_double());
    }
    return found;
  };
  // 800 mm across 240 units of drawing: 400 and 410 lie 3 units apart, 768 far away.
  const auto metric =
      measures("G71 X800 Y300 Z18\nG81 P1 X400 G54\nG81 P1 X410.256 G54\nG81 P1 X768 G54\n");
  ASSERT_EQ(metric.size(), 3u);
  EXPECT_EQ(metric[0].first + " " + metric[1].first + " " + metric[2].first, "400 410.26 768");
  EXPECT_NE(metric[1].second, metric[0].second);  // staggered
  EXPECT_EQ(metric[2].second, metric[0].second);
  const auto inch = measures("G70 X24 Y18 Z1\nG81 P3 Y2.12549 G54\n");
  ASSERT_EQ(inch.size(), 1u);
  EXPECT_EQ(inch[0].first, "2.125");
}

// The omission rules' hidden faces greyed, and a macro name the file did not give marked.
TEST_F(PanelSvg, HiddenFacesAreGreyedAndACarriedOverMacroIsMarked) {
  session.Settings().masks = {"", "    1   ", "    2   ", "    3   ", "    4   "};
  session.Settings().omissionRulesEnabled = true;
  session.Settings().noEmpties = 1;
  Draw("G150(SHELF) A1\nG71 X300 Y300 Z18\n");
  ASSERT_TRUE(session.ReadGcode(folder.Write("SIDE", "G71 X600 Y300 Z18\nG81 P1 X100 G54\n")).ok());
  const std::optional<std::string> svg = DrawPanelSvg(session.Holes(), session.LastDrawingNotes());
  pugi::xml_document doc;
  ASSERT_TRUE(svg && doc.load_string(svg->c_str()));
  EXPECT_NE(AllText(doc).find("|Macro: SHELF, from an earlier file|"), std::string::npos);
  EXPECT_EQ(doc.select_nodes("//text[@class='hidden']").size(), 3u);  // faces 2, 3 and 4
  EXPECT_STREQ(doc.select_node("//text[@class='face'][1]").node().attribute("fill").as_string(),
               "");
  EXPECT_STREQ(doc.select_node("//text[@class='face'][2]").node().attribute("fill").as_string(),
               "#9a9a9a");
}

TEST_F(PanelSvg, MacroNameFromTheFileIsEscaped) {
  const std::optional<std::string> svg =
      Draw("G150(<b> & \"x\" \xC4 \xC3\xA4\x01) A1\nG71 X300 Y300 Z18\n");
  ASSERT_TRUE(svg);
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_string(svg->c_str())) << *svg;
  EXPECT_NE(AllText(doc).find("PANEL|Macro: <b> & \"x\" \xC3\x84 \xC3\xA4 |"), std::string::npos)
      << AllText(doc);
}

// The desktop paints the description and translates its formats; the SVG shows the same
// English texts.
TEST_F(PanelSvg, ShowsTheTextsOfTheDescriptionWithTheFilesNamesAsArguments) {
  ASSERT_TRUE(session
                  .ReadGcode(folder.Write("PANEL",
                                          "G150(<&>) A1\nG71 X800 Y600 Z18\n"
                                          "G81 P1 X0 G54\nG81 P3 Y150.5 E3 G54\n"))
                  .ok());
  const DrawingNotes notes{true, {false, false, true}};
  const std::optional<tessaro::PanelDrawing> drawing = DescribePanel(session.Holes(), notes);
  const std::optional<std::string> svg = DrawPanelSvg(session.Holes(), notes);
  pugi::xml_document doc;
  ASSERT_TRUE(drawing && svg && doc.load_string(svg->c_str()));
  std::string described;
  for (const DrawnText& text : drawing->texts) described += text.Text() + "|";
  EXPECT_EQ(AllText(doc), described);
  EXPECT_EQ(drawing->texts[1].format, "Macro: %1, from an earlier file");
  EXPECT_EQ(drawing->texts[1].args, std::vector<std::string>{"<&>"});
}

TEST_F(PanelSvg, RefusedFileHasNoDrawing) { EXPECT_FALSE(Draw("%\nG81 P1 X5 G54\n")); }

}  // namespace
}  // namespace tessaro
