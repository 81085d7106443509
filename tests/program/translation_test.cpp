#include <gtest/gtest.h>

#include <filesystem>

#include "outside/file_ops.h"
#include "program/program_files.h"
#include "program/session.h"
#include "support/program_samples.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using testing::RcmProgram;
using testing::SmallTemplate;
using testing::SplitCrLf;

constexpr const char* kFacesThreeAndOne =
    "G71 X800 Y600 Z18\nG81 P3 Y100 G54\nG81 P3 Y250.5 G54\nG81 P1 X50 G54\n";
constexpr const char* kFaceTwoRepeatsOne =
    "G71 X800 Y600 Z18\nG81 P1 X50 G54\nG81 P1 X90 G54\nG81 P2 X90 G54\nG81 P2 X50 G54\n";
constexpr const char* kFaceTwoHoles =
    "G71 X800 Y600 Z18\nG81 P2 X120 E1 G54\nG81 P2 X12.7 E2 G54\n";
constexpr const char* kNoHoles = "G71 X800 Y600 Z18\n";

const FaceMasks kBlankMasks = {"", "        ", "        ", "        ", "        "};
// PART gives PART1 to PART4.
const FaceMasks kDigitMasks = {"", "    1   ", "    2   ", "    3   ", "    4   "};

class Translation : public ::testing::Test {
 protected:
  Translation() {
    folder.MakeFolder("programs");
    folder.Write("Template.RCM", SmallTemplate());
    TranslationSettings& settings = session.Settings();
    settings.appFolder = folder.PathWithSeparator();
    settings.destinationFolder = folder.File("programs");
    UseMasks(kDigitMasks);
    session.Table().Inch = false;
  }

  void UseMasks(const FaceMasks& masks) {
    session.Settings().masks = masks;
    session.Settings().omissionRulesEnabled = AllMasksSet(masks);
  }
  std::string Gcode(const std::string& name, std::string_view text) const {
    return folder.Write("gcode/" + name, text);
  }
  std::string ReadProgram(const std::string& name) const { return folder.Read("programs/" + name); }
  // The names written, in order, each hidden one marked with "*".
  static std::string Written(const TranslationReport& report) {
    std::string names;
    for (const WrittenProgram& program : report.written) {
      names += (names.empty() ? "" : " ") +
               std::filesystem::path(program.path).filename().string() +
               (program.hidden ? "*" : "");
    }
    return names;
  }

  testing::TempFolder folder;
  testing::RecordingOperator asker;
  Session session{asker};
};

TEST_F(Translation, ApplyMaskGivesTheProgramName) {
  const struct {
    const char *source, *mask;
    int face;
    const char* name;
  } cases[] = {
      // clang-format off
      {"DOOR12", "      -3", 2, "DOOR12-3"},     {"AB", "    X   ", 2, "AB--X"},
      {"SIDEPANEL1", "        ", 2, "SIDEPANE"}, {"MY PART", "        ", 2, "MY-PART"},
      {"PART", "       1", 2, "PART---1"},     {"SIDEPANEL1", "XY      ", 2, "XYDEPANE"},
      {"PART", "/   \\:*?", 2, "PART"},        {"PART", "    \"<>|", 2, "PART"},
      {"PART", "\t   1   ", 2, "PART1"},       {"PART", "    1   ", 0, "PART"},
      {"PART", "    1   ", 5, "PART"},
      // Names count characters: UTF-8 ones, and a byte outside UTF-8 as one of its own.
      {"T\u00dcR", "       1", 2, "T\u00dcR----1"},  {"T\xdcR", "       1", 2, "T\xdcR----1"},
      {"SCHR\u00c4NKE", "       2", 2, "SCHR\u00c4NK2"},
      {"\u00c4\u00c4\u00c4\u00c4\u00c4\u00c4\u00c4\u00c4\u00c4", "        ", 2, "\u00c4\u00c4\u00c4\u00c4\u00c4\u00c4\u00c4\u00c4"},
      {"SCHR\xc4NKE9", "        ", 2, "SCHR\xc4NKE"},   {"AB", "      \u00d61", 2, "AB----\u00d61"},
      // clang-format on
  };
  for (const auto& c : cases) {
    session.Settings().masks[2] = c.mask;
    EXPECT_EQ(session.ApplyMask(c.source, c.face), c.name) << c.source << " " << c.mask;
  }
}

TEST_F(Translation, FaceTestHidesEmptyFacesAndFacesRepeatingTheirPartner) {
  struct Hole {
    int face;
    double location;
    int drill = 1;
    int dowel = 1;
  };
  const struct {
    const char* name;
    int empties, dupes;
    std::vector<Hole> holes;
    const char* hidden;  // faces 1 to 4
  } cases[] = {
      // clang-format off
      {"empties", 1, 0, {{2, 100}, {3, -5}, {4, 0.001}}, "x-x-"},
      {"grey counts as ticked", 2, 0, {}, "xxxx"},
      {"another count", 0, 1, {{1, 50}, {2, 50}, {2, 60}}, "---x"},
      {"another drill", 0, 1, {{3, 50}, {4, 50, 0}}, "-x--"},
      {"another dowel", 0, 1, {{3, 50}, {4, 50, 1, 0}}, "-x--"},
      {"another location", 0, 1, {{3, 50}, {4, 50.0001}}, "-x--"},
      {"faces 1 and 3 never", 0, 1, {{1, 50}, {2, 50}, {3, 70}, {4, 70}}, "-x-x"},
      // clang-format on
  };
  for (const auto& c : cases) {
    session.Settings().noEmpties = c.empties;
    session.Settings().noDuplicates = c.dupes;
    session.Holes().ClearHoles();
    for (const Hole& hole : c.holes) {
      const int n = ++session.Holes().FaceHoleCount[hole.face];
      session.Holes().Holes[hole.face][n] = HoleRecord{hole.location, hole.drill, hole.dowel};
    }
    std::string hidden;
    for (int face = 1; face <= 4; ++face) hidden += session.FaceTest(face) ? "x" : "-";
    EXPECT_EQ(hidden, c.hidden) << c.name;
  }
}

TEST_F(Translation, ProcessWritesTheFacesTheOmissionRulesAsk) {
  FaceMasks fourthBlank = kDigitMasks;
  fourthBlank[4] = "        ";
  const struct {
    bool rcm;
    const FaceMasks& masks;
    const char* priority;
    int empties, dupes;
    const char *gcode, *written;
  } cases[] = {
      // clang-format off
      {false, kBlankMasks, "3412", 0, 0, kFacesThreeAndOne, "PART.ACC"},
      {false, kBlankMasks, "4213", 0, 0, kFacesThreeAndOne, "PART.ACC PART.ACC PART.ACC"},
      {false, kBlankMasks, "3412", 0, 0, kNoHoles, "PART.ACC PART.ACC PART.ACC PART.ACC*"},
      {false, fourthBlank, "3412", 1, 1, kFacesThreeAndOne, "PART3.ACC"},
      {false, kDigitMasks, "3412", 0, 0, kFacesThreeAndOne, "PART3.ACC PART4.ACC PART1.ACC PART2.ACC"},
      {false, kDigitMasks, "3412", 1, 0, kFacesThreeAndOne, "PART3.ACC PART4.ACC* PART1.ACC PART2.ACC*"},
      {false, kDigitMasks, "3412", 0, 1, kFaceTwoRepeatsOne, "PART3.ACC PART4.ACC* PART1.ACC PART2.ACC*"},
      {false, kDigitMasks, "3x90", 0, 0, kFacesThreeAndOne, "PART3.ACC"},
      {false, kDigitMasks, "21", 0, 0, kFacesThreeAndOne, "PART2.ACC PART1.ACC"},
      {false, kDigitMasks, "1134", 0, 0, kFacesThreeAndOne, "PART1.ACC PART3.ACC PART4.ACC"},
      {true, kBlankMasks, "3412", 1, 1, kFaceTwoHoles, "PART.RCM PART.RCM PART.RCM PART.RCM"},
      {true, kDigitMasks, "3412", 1, 0, kFaceTwoHoles, "PART1.RCM* PART2.RCM PART3.RCM* PART4.RCM*"},
      {true, kDigitMasks, "3412", 0, 0, "%\nG81 P1 X50 Y0 Z-5 E1 G54\n", ""},  // refused
      // clang-format on
  };
  for (const auto& c : cases) {
    TranslationSettings& settings = session.Settings();
    settings.rcmFormat = c.rcm;
    UseMasks(c.masks);
    settings.facePriority = c.priority;
    settings.noEmpties = c.empties;
    settings.noDuplicates = c.dupes;
    const TranslationReport report = session.Process(Gcode("PART", c.gcode));
    EXPECT_TRUE(report.errors.empty());
    EXPECT_EQ(Written(report), c.written) << c.priority << " " << c.masks[4] << " " << c.gcode;
  }
}

TEST_F(Translation, AccShowsTheLocationInTheTableUnitUnderTheMacroName) {
  const struct {
    const char *header, *location;
    bool inch;
    const char *cell, *line;
  } cases[] = {{"G71 X800 Y600 Z18", "25.4", true, "1", "1. 1 0 1"},
               {"G71 X800 Y600 Z18", "12.7", false, "12.7", "12.7 1 0 1"},
               {"G71 X800 Y600 Z18", "100", true, "3.93700787401575", "3.937 1 0 1"},
               {"G70 X30 Y20 Z1", "1", false, "25.4", "25.4 1 0 1"},
               {"G70 X30 Y20 Z1", "94.4882", false, "2400.00028", "2400.0003 1 0 1"},
               {"G70 X30 Y20 Z1", "0.5", true, "0.5", "0.5 1 0 1"}};
  session.Settings().facePriority = "3";
  for (const auto& c : cases) {
    session.Table().Inch = c.inch;
    session.Process(Gcode("PART", std::string(c.header) + "\nG150(SHELF-4) A1\nG81 P3 X0 Y" +
                                      c.location + " Z-5 E1 G54\n"));
    EXPECT_EQ(session.Table().GetCell(1, 1), c.cell) << c.header << " " << c.location;
    const std::vector<std::string> lines = SplitCrLf(ReadProgram("PART3.ACC"));
    EXPECT_EQ(lines.at(0), "SHELF-4");  // the macro's name is the comment
    EXPECT_EQ(lines.at(7), c.line) << c.header << " " << c.location;
  }
}

TEST_F(Translation, RcmWritesEachFaceThroughTheTemplateOverHiddenAndReadOnlyPrograms) {
  session.Settings().rcmFormat = true;
  session.Settings().dowelExclusion = 2;
  folder.Write("Template.RCM", "\xEF\xBB\xBF" + SmallTemplate());  // the mark is skipped
  session.Table().SetCell(1, 1, "42");
  const std::string hidden = folder.Write("programs/PART1.RCM", "old hidden\r\n");
  SetFileAttributes(hidden, kHiddenAttribute);
  const std::string readOnly = folder.Write("programs/PART2.RCM", "old read-only\r\n");
  ASSERT_TRUE(SetReadOnly(readOnly, true).ok());
  const std::string gcode = Gcode("PART", kFaceTwoHoles);
  const TranslationReport report = session.Process(gcode);
  ASSERT_TRUE(report.ok()) << (report.errors.empty() ? "" : report.errors[0]);
  EXPECT_FALSE(IsHidden(hidden));
  EXPECT_FALSE(IsReadOnly(readOnly));
  EXPECT_EQ(ReadProgram("PART2.RCM"),
            RcmProgram("\"G-code Import Face 2\",7,8",
                       "MET,0,0,0,0.000000,9\r\n"
                       "HOL,1,0,0,120.000000,9\r\nDRI,1,0,0,1.000000,9\r\nDOW,1,0,0,0.000000,9\r\n"
                       "HOL,2,0,0,12.700000,9\r\nDRI,2,0,0,1.000000,9\r\nDOW,2,0,0,1.000000,9\r\n"
                       "HOL,3,0,0,0.000000,9\r\nDRI,3,0,0,0.000000,9\r\nDOW,3,0,0,0.000000,9\r\n"));
  EXPECT_EQ(session.LastTranslatedFile(), gcode);
  EXPECT_EQ(session.Table().GetCell(1, 1), "42");  // the table is left alone
  session.Process(Gcode("PART", "G70 X30 Y20 Z1\nG81 P1 X1.5 Y0 Z-1 E1 G54\n"));
  EXPECT_EQ(SplitCrLf(ReadProgram("PART1.RCM")).at(18), "MET,0,0,0,1.000000,9");  // inch
}

TEST_F(Translation, UnreadableFileFailsNamingItAndKeepsTheHoleSet) {
  session.ReadGcode(Gcode("PART", kFaceTwoHoles));
  const Status unreadable = session.ReadGcode(folder.File("GONE"));
  EXPECT_EQ(unreadable.error(),
            "Cannot read " + folder.File("GONE") + ": No such file or directory");
  EXPECT_EQ(session.Holes().FaceHoleCount[2], 2);
  EXPECT_EQ(session.Holes().ScannedFile, folder.File("gcode/PART"));
}

TEST_F(Translation, EmptyFileWritesNothingAndKeepsTheHoleSet) {
  session.ReadGcode(Gcode("SHELF", kFaceTwoHoles));
  for (const char* text : {"", " \r\n\t\n\r\n"}) {
    const TranslationReport report = session.Process(Gcode("PART", text));
    EXPECT_TRUE(report.empty && report.written.empty() && report.errors.empty());
  }
  EXPECT_EQ(session.Holes().FaceHoleCount[2], 2);
  // Text after blank lines is no header: refused, not empty.
  EXPECT_TRUE(session.Process(Gcode("PART", "\n\nG71 X800 Y600 Z18\n")).refused);
}

TEST_F(Translation, FileChangedWhileReadIsReadAgainAndOneThatKeepsChangingIsLeftOlder) {
  session.Settings().rcmFormat = true;
  const std::string path = Gcode("PART", kNoHoles);
  int reads = 0;
  session.SetReadObserver([&](const std::string&) {
    if (++reads == 1) Gcode("PART", kFaceTwoHoles);  // the export finishes meanwhile
  });
  TranslationReport report = session.Process(path);
  EXPECT_TRUE(report.ok());
  EXPECT_EQ(reads, 2);
  EXPECT_NE(ReadProgram("PART2.RCM").find("120.000000"), std::string::npos);

  // A file that changes at every reading: after three, nothing newer than it is left.
  session.SetReadObserver([&](const std::string&) {
    Gcode("PART", std::string(kFaceTwoHoles) + std::string(static_cast<size_t>(++reads), '\n'));
  });
  reads = 0;
  report = session.Process(path);
  EXPECT_TRUE(report.unsettled);
  EXPECT_TRUE(report.written.empty());
  EXPECT_EQ(reads, 3);
}

TEST_F(Translation, ProgramsAndTheTemplateAreFoundInAnyLetterCase) {
  session.Settings().rcmFormat = true;
  std::filesystem::remove(folder.File("Template.RCM"));
  folder.Write("template.rcm", SmallTemplate());
  folder.Write("programs/part1.rcm", "stale\r\n");
  const TranslationReport report = session.Process(Gcode("PART", kFaceTwoHoles));
  ASSERT_TRUE(report.ok()) << report.errors.at(0);
  EXPECT_EQ(Written(report), "part1.rcm PART2.RCM PART3.RCM PART4.RCM");
  EXPECT_EQ(folder.List("programs"),
            (std::vector<std::string>{"PART2.RCM", "PART3.RCM", "PART4.RCM", "part1.rcm"}));
  EXPECT_EQ(SplitCrLf(ReadProgram("part1.rcm")).at(14), "\"G-code Import Face 1\",7,8");

  // The exact spelling wins.
  folder.Write("Template.RCM", "USERLEVELS\r\nexact\r\n");
  session.Process(Gcode("PART", kFaceTwoHoles));
  EXPECT_EQ(ReadProgram("part1.rcm"), "USERLEVELS\r\nexact\r\n");
}

TEST_F(Translation, NameWithoutUsableProgramNamesIsReportedAndWritesNothing) {
  FaceMasks masks = kDigitMasks;
  masks[3] = ".       ";
  UseMasks(masks);
  const std::string gcode = Gcode("PART", kFaceTwoHoles);
  const TranslationReport report = session.Process(gcode);
  EXPECT_EQ(report.errors,
            std::vector<std::string>{"Cannot translate " + gcode +
                                     ": face 3 gets no usable program name (\".ART\")"});
  EXPECT_TRUE(folder.List("programs").empty());
}

TEST_F(Translation, RcmTemplateWithMoreThanTenHolesWritesTheRestEmpty) {
  session.Settings().rcmFormat = true;
  std::string base = SmallTemplate();
  std::string gcode = "G71 X800 Y600 Z18\n";
  for (int hole = 1; hole <= 11; ++hole) {
    const std::string n = std::to_string(hole);
    if (hole > 3) base.insert(base.size() - 5, "HOL," + n + ",0,0,5.000000,9\r\n");
    if (hole <= 10) gcode += "G81 P1 X" + n + " Y0 Z-5 E1 G54\n";
  }
  folder.Write("Template.RCM", base);
  session.Process(Gcode("PART", gcode));
  const std::vector<std::string> lines = SplitCrLf(ReadProgram("PART1.RCM"));
  EXPECT_EQ(lines.at(34), "HOL,10,0,0,10.000000,9");
  EXPECT_EQ(lines.at(35), "HOL,11,0,0,0.000000,9");
}

// Program files, loaded and saved

using ProgramFiles = Translation;

// ACC format

TEST(AccHoleLine, FollowsTheNumberPatterns) {
  const struct {
    const char *location, *drill, *dowel, *line;
  } cases[] = {
      {"", "", "", "0. 0 0 0"},
      {"-7.25", "-0.4", "2.6", "-7.25 0 0 3"},
      {"12.6999998092651", "0.5", "1.4", "12.7 1 0 1"},
      {"abc", "x", "1e0", "0. 0 0 1"},
  };
  for (const auto& c : cases) {
    ProgramTable table;
    table.SetCell(1, 1, c.location);
    table.SetCell(1, 2, c.drill);
    table.SetCell(1, 3, c.dowel);
    EXPECT_EQ(SplitCrLf(FormatAccProgram(table, 1)).at(7), c.line) << c.location;
  }
}

TEST_F(ProgramFiles, AccLoadTakesTheFirstLineAsCommentAndSavesTheSameBytes) {
  // A first word holding HOLE is still the comment only; more than ten holes are kept.
  std::string text =
      "HOLES-LEFT, \"oak\"\r\n100\r\nZones\r\n4\r\nNumber of holes\r\n12\r\n"
      "Hole 1\r\n12.5 1 0 0\r\nHole 2\r\n0.3333 0 0 1\r\n";
  for (int hole = 3; hole <= 12; ++hole) {
    text += "Hole " + std::to_string(hole) + "\r\n" + std::to_string(hole * 10) + ". 1 0 0\r\n";
  }
  const std::string path = folder.Write("P.ACC", text);
  ASSERT_TRUE(session.LoadProgramFile(path).ok());
  EXPECT_EQ(session.Table().Cmt1, "HOLES-LEFT, \"oak\"");
  EXPECT_EQ(session.Table().HoleCount, 12);
  EXPECT_EQ(session.Table().GetCell(1, 1), "12.5");
  EXPECT_EQ(session.Table().GetCell(2, 3), "1");
  // A file that cannot be read leaves the table as it was.
  EXPECT_NE(session.LoadProgramFile(folder.File("GONE.ACC")).error().find(folder.File("GONE.ACC")),
            std::string::npos);
  EXPECT_EQ(session.Table().HoleCount, 12);

  ASSERT_TRUE(session.SaveProgram(folder.File("COPY.ACC"), "").status.ok());
  EXPECT_EQ(folder.Read("COPY.ACC"), text);

  // A comment that starts with the byte-order mark character reads back as it was.
  session.Table().Cmt1 = "\xEF\xBB\xBFoak";
  ASSERT_TRUE(session.SaveProgram(folder.File("MARK.ACC"), "").status.ok());
  ASSERT_TRUE(session.LoadProgramFile(folder.File("MARK.ACC")).ok());
  EXPECT_EQ(session.Table().Cmt1, "\xEF\xBB\xBFoak");
}

// RCM format

TEST_F(ProgramFiles, RcmLoadThenSaveThroughTheTemplateGivesTheProgramBack) {
  // As a translation writes it: a comment with a comma and quotes, three holes, inch.
  const std::string program =
      RcmProgram("\"Cut 2, \"\"oak\"\"\",7,8",
                 "MET,0,0,0,-1.000000,9\r\n"
                 "HOL,1,0,0,12.500000,9\r\nDRI,1,0,0,1.000000,9\r\nDOW,1,0,0,0.000000,9\r\n"
                 "HOL,2,0,0,0.500000,9\r\nDRI,2,0,0,0.000000,9\r\nDOW,2,0,0,1.000000,9\r\n"
                 "HOL,3,0,0,12.700000,9\r\nDRI,3,0,0,1.000000,9\r\nDOW,3,0,0,1.000000,9\r\n");
  session.Settings().rcmFormat = true;
  session.Table().Inch = false;
  ASSERT_TRUE(session.LoadProgramFile(folder.Write("PART1.RCM", program)).ok());
  const ProgramTable& table = session.Table();
  EXPECT_EQ(table.FrameCaption, "PART1.RCM");
  EXPECT_EQ(table.Cmt1, "Cut 2, \"oak\"");
  EXPECT_TRUE(table.UnitsEnabled);
  EXPECT_TRUE(table.Inch);
  EXPECT_EQ(session.Table().HoleCount, 3);
  EXPECT_EQ(table.GetCell(2, 1), ".5");
  EXPECT_EQ(table.GetCell(2, 3), "1");
  EXPECT_EQ(table.GetCell(3, 1), "12.7");

  const std::string base = folder.Write("BASE.RCM", SmallTemplate());
  const SaveOutcome saved = session.SaveProgram(folder.File("OUT.RCM"), base);
  ASSERT_TRUE(saved.status.ok()) << saved.status.error();
  EXPECT_EQ(saved.path, folder.File("OUT.RCM"));
  EXPECT_EQ(folder.Read("OUT.RCM"), program);
  EXPECT_EQ(folder.Read("BASE.RCM"), SmallTemplate());
}

TEST_F(ProgramFiles, RcmLoadFillsRowsOnlyFromLineNineteenAfterTheFirstHole) {
  session.Settings().rcmFormat = true;
  std::string text = SmallTemplate();
  text.replace(text.find("MET,0,0,0,1.000000"), 18, "MET,0,0,0,0.000000");
  text.replace(text.find("HOL,1,0,0,0.000000"), 18, "hole,1,0,0,4.250000");
  text.insert(text.find("hole,1"), "DRI,0,0,0,1.000000\r\nDOW,0,0,0,1.000000\r\n");
  text.replace(text.find("P16,0"), 5, "HOL,0,0,0,9.000000");
  ASSERT_TRUE(session.LoadProgramFile(folder.Write("P.RCM", text)).ok());
  EXPECT_FALSE(session.Table().Inch);
  EXPECT_EQ(session.Table().GetCell(0, 2), "Drill");
  EXPECT_EQ(session.Table().GetCell(0, 3), "Dowel");
  EXPECT_EQ(session.Table().GetCell(1, 1), "4.25");
  EXPECT_EQ(session.Table().HoleCount, 3);
}

TEST(RcmComment, IsReadFromFieldOneAndReplacedKeepingTheOtherFields) {
  EXPECT_EQ(ReadRcmComment("\"say \"hi\" now\",7"), "say \"hi\" now");
  EXPECT_EQ(ReadRcmComment("Bare words,7"), "Bare words");
  EXPECT_EQ(ReadRcmComment("\"open,7,8"), "open");
  EXPECT_EQ(ReplaceRcmComment("\"a,b\",\"x\",8", "two\r\nlines"), "\"two  lines\",\"x\",8");
  for (const char* comment : {"a,b", "\"", "\"\"", "x\",y", "\",", "end\"", ",,,"}) {
    const std::string line = ReplaceRcmComment("\"Template\",7,8", comment);
    EXPECT_EQ(ReadRcmComment(line), comment) << line;
    EXPECT_EQ(line.substr(line.size() - 4), ",7,8") << line;
  }
}

TEST_F(ProgramFiles, TemplateLoadsAndSavesAsUntitledBesideIt) {
  session.Settings().rcmFormat = true;
  const std::string base = folder.Write("template.rcm", SmallTemplate());
  ASSERT_TRUE(session.LoadProgramFile(base).ok());
  session.Table().SetCell(1, 1, "7");
  const SaveOutcome outcome = session.SaveProgram(base, base);
  ASSERT_TRUE(outcome.status.ok());
  EXPECT_EQ(outcome.path, folder.File("Untitled.RCM"));
  EXPECT_EQ(folder.Read("template.rcm"), SmallTemplate());
  EXPECT_EQ(SplitCrLf(folder.Read("Untitled.RCM")).at(19), "HOL,1,0,0,7.000000,9");

  EXPECT_EQ(ResolveSaveTarget("/q/TEMPLATE.RCM.bak"), "/q/TEMPLATE.RCM.bak");
}

}  // namespace
}  // namespace tessaro
