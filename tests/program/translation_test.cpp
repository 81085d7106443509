#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "outside/file_ops.h"
#include "program/program_test_support.h"
#include "program/session.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using testing::CrLfLines;
using testing::NoSayingOperator;
using testing::SmallTemplate;
using testing::SplitCrLf;
using testing::TempFolder;

constexpr const char* kFacesThreeAndOne =
    "G71 X800 Y600 Z18\n"
    "G81 P3 X0 Y100 Z-5 E1 G54\n"
    "G81 P3 X0 Y250.5 Z-5 E1 G54\n"
    "G81 P1 X50 Y0 Z-5 E1 G54\n";

constexpr const char* kNoHoles = "G71 X800 Y600 Z18\n";

constexpr const char* kRefused = "%\nG81 P1 X50 Y0 Z-5 E1 G54\n";

const FaceMasks kBlankMasks = {"", "        ", "        ", "        ", "        "};
// PART gives PART1 to PART4.
const FaceMasks kDigitMasks = {"", "    1   ", "    2   ", "    3   ", "    4   "};

class Translation : public ::testing::Test {
 protected:
  Translation() {
    folder.MakeFolder("programs");
    folder.MakeFolder("gcode");
    folder.Write("Template.RCM", SmallTemplate());
    TranslationSettings& settings = session.Settings();
    settings.appFolder = folder.PathWithSeparator();
    settings.destinationFolder = folder.File("programs");
    settings.masks = kBlankMasks;
    settings.omissionRulesEnabled = false;
    session.Table().Inch = false;
  }

  void UseMasks(const FaceMasks& masks) {
    session.Settings().masks = masks;
    session.Settings().omissionRulesEnabled = AllMasksSet(masks);
  }

  std::string Gcode(const std::string& name, std::string_view text) {
    return folder.Write("gcode/" + name, text);
  }

  std::string Program(const std::string& name) const { return folder.File("programs/" + name); }
  std::string ReadProgram(const std::string& name) const { return folder.Read("programs/" + name); }

  std::vector<std::string> ProgramNames() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.File("programs"))) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  static std::vector<std::string> Written(const TranslationReport& report) {
    std::vector<std::string> names;
    for (const WrittenProgram& program : report.written) {
      names.push_back(std::filesystem::path(program.path).filename().string() +
                      (program.hidden ? " hidden" : ""));
    }
    return names;
  }

  TempFolder folder;
  NoSayingOperator asker;
  Session session{asker};
};

using Names = std::vector<std::string>;

// ApplyMask

struct MaskCase {
  const char* source;
  const char* mask;
  const char* name;
};

class ApplyMaskOf : public Translation, public ::testing::WithParamInterface<MaskCase> {};

TEST_P(ApplyMaskOf, GivesTheProgramName) {
  FaceMasks masks = kBlankMasks;
  masks[2] = GetParam().mask;
  UseMasks(masks);
  EXPECT_EQ(session.ApplyMask(GetParam().source, 2), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ApplyMaskOf,
    ::testing::Values(
        MaskCase{"DOOR12", "      -3", "DOOR12-3"}, MaskCase{"AB", "    X   ", "AB--X"},
        MaskCase{"SIDEPANEL1", "        ", "SIDEPANE"}, MaskCase{"MY PART", "        ", "MY-PART"},
        MaskCase{"PART", "    1   ", "PART1"}, MaskCase{"PART", "       1", "PART---1"},
        MaskCase{"SIDEPANEL1", "XY      ", "XYDEPANE"}, MaskCase{"  LEAD", "        ", "LEAD"},
        MaskCase{"P", "ABCDEFGH", "ABCDEFGH"}, MaskCase{"PART", "/   \\:*?", "PART"},
        MaskCase{"PART", "    \"<>|", "PART"}, MaskCase{"PART", "\t   1   ", "PART1"},
        MaskCase{"PART", "", "PART"}));

TEST_F(Translation, ApplyMaskOfFaceZeroOrOutsideTheFacesKeepsTheName) {
  UseMasks(kDigitMasks);
  EXPECT_EQ(session.ApplyMask("PART", 0), "PART");
  EXPECT_EQ(session.ApplyMask("PART", 5), "PART");
  EXPECT_EQ(session.ApplyMask("PART", -1), "PART");
}

// FaceTest

class FaceTestOf : public Translation {
 protected:
  FaceTestOf() {
    UseMasks(kDigitMasks);
    session.Settings().noEmpties = 0;
    session.Settings().noDupes = 0;
  }
  void Hole(int face, int n, double location, int drill = 1, int dowel = 1) {
    session.Holes().Holes[face][n] = HoleRecord{location, drill, dowel};
  }
};

TEST_F(FaceTestOf, IsFalseWhileTheRulesAreDisabled) {
  UseMasks(kBlankMasks);
  session.Settings().noEmpties = 1;
  session.Settings().noDupes = 1;
  for (int face = 1; face <= 4; ++face) EXPECT_FALSE(session.FaceTest(face)) << face;
}

TEST_F(FaceTestOf, EmptiesHidesAFaceWithoutPositiveLocation) {
  session.Settings().noEmpties = 1;
  Hole(2, 1, 100);
  Hole(3, 1, -5);
  Hole(4, 1, 0.001);
  EXPECT_TRUE(session.FaceTest(1));
  EXPECT_FALSE(session.FaceTest(2));
  EXPECT_TRUE(session.FaceTest(3));
  EXPECT_FALSE(session.FaceTest(4));
}

TEST_F(FaceTestOf, GreyCheckBoxCountsAsTicked) {
  session.Settings().noEmpties = 2;
  EXPECT_TRUE(session.FaceTest(1));
}

TEST_F(FaceTestOf, DuplicatesHidesFaceTwoRepeatingFaceOneInAnyOrder) {
  session.Settings().noDupes = 1;
  Hole(1, 1, 50, 1, 0);
  Hole(1, 2, 120, 1, 1);
  Hole(1, 3, 700, 0, 1);
  Hole(2, 1, 700, 0, 1);
  Hole(2, 2, 50, 1, 0);
  Hole(2, 3, 120, 1, 1);
  EXPECT_TRUE(session.FaceTest(2));
  EXPECT_FALSE(session.FaceTest(1));
}

TEST_F(FaceTestOf, DuplicatesNeedTheSameCountOfHoles) {
  session.Settings().noDupes = 1;
  Hole(1, 1, 50);
  Hole(2, 1, 50);
  Hole(2, 2, 60);
  EXPECT_FALSE(session.FaceTest(2));
}

TEST_F(FaceTestOf, DuplicatesNeedTheSameFlags) {
  session.Settings().noDupes = 1;
  Hole(3, 1, 50, 1, 1);
  Hole(4, 1, 50, 1, 0);
  EXPECT_FALSE(session.FaceTest(4));
  Hole(4, 1, 50, 0, 1);
  EXPECT_FALSE(session.FaceTest(4));
  Hole(4, 1, 50.0001, 1, 1);
  EXPECT_FALSE(session.FaceTest(4));
  Hole(4, 1, 50, 1, 1);
  EXPECT_TRUE(session.FaceTest(4));
}

TEST_F(FaceTestOf, TwoEmptyPartnerFacesHideTheSecond) {
  session.Settings().noDupes = 1;
  EXPECT_FALSE(session.FaceTest(1));
  EXPECT_TRUE(session.FaceTest(2));
  EXPECT_FALSE(session.FaceTest(3));
  EXPECT_TRUE(session.FaceTest(4));
}

TEST_F(FaceTestOf, FacesOneAndThreeAreNeverDuplicates) {
  session.Settings().noDupes = 1;
  Hole(1, 1, 50);
  Hole(2, 1, 50);
  Hole(3, 1, 70);
  Hole(4, 1, 70);
  EXPECT_FALSE(session.FaceTest(1));
  EXPECT_FALSE(session.FaceTest(3));
}

TEST_F(FaceTestOf, EmptiesComesBeforeDuplicates) {
  session.Settings().noEmpties = 1;
  session.Settings().noDupes = 1;
  Hole(1, 1, 50);
  Hole(2, 1, 60);
  EXPECT_FALSE(session.FaceTest(2));
  EXPECT_TRUE(session.FaceTest(3));
}

TEST_F(FaceTestOf, FacesOutsideOneToFourAreNeverHidden) {
  session.Settings().noEmpties = 1;
  EXPECT_FALSE(session.FaceTest(0));
  EXPECT_FALSE(session.FaceTest(5));
}

// Process, ACC format

TEST_F(Translation, BlankMasksWriteTheFirstFaceWithHolesInPriorityOrderOnly) {
  session.Settings().facePriority = "3412";
  const TranslationReport report = session.Process(Gcode("PART", kFacesThreeAndOne));
  ASSERT_TRUE(report.ok());
  EXPECT_EQ(Written(report), (Names{"PART.ACC"}));
  EXPECT_EQ(ProgramNames(), (Names{"PART.ACC"}));
  EXPECT_EQ(ReadProgram("PART.ACC"),
            "\r\n100\r\nZones\r\n4\r\nNumber of holes\r\n2\r\n"
            "Hole 1\r\n100. 1 0 1\r\nHole 2\r\n250.5 1 0 1\r\n");
  EXPECT_FALSE(IsHidden(Program("PART.ACC")));
  EXPECT_EQ(session.State().HoleCounter, 2);
  EXPECT_EQ(session.State().ScanMode, kScanIdle);
  EXPECT_EQ(session.Holes().FaceHoleCount, (std::array<int, 5>{0, 0, 0, 0, 0}));
}

TEST_F(Translation, BlankMasksWriteEmptyFacesBeforeTheFirstFaceWithHoles) {
  session.Settings().facePriority = "4213";
  const TranslationReport report = session.Process(Gcode("PART", kFacesThreeAndOne));
  EXPECT_EQ(Written(report), (Names{"PART.ACC", "PART.ACC", "PART.ACC"}));
  EXPECT_EQ(SplitCrLf(ReadProgram("PART.ACC")).at(7), "50. 1 0 1");
}

TEST_F(Translation, BlankMasksAndNoHolesWriteOneHiddenEmptyProgram) {
  const TranslationReport report = session.Process(Gcode("PART", kNoHoles));
  ASSERT_TRUE(report.ok());
  EXPECT_EQ(Written(report), (Names{"PART.ACC", "PART.ACC", "PART.ACC", "PART.ACC hidden"}));
  EXPECT_EQ(ProgramNames(), (Names{"PART.ACC"}));
  EXPECT_EQ(ReadProgram("PART.ACC"), "\r\n100\r\nZones\r\n4\r\nNumber of holes\r\n0\r\n");
  EXPECT_TRUE(IsHidden(Program("PART.ACC")));
}

TEST_F(Translation, OneBlankMaskStopsAfterTheFirstFaceWithHolesUnderItsOwnName) {
  FaceMasks masks = kDigitMasks;
  masks[4] = "        ";
  UseMasks(masks);
  session.Settings().noEmpties = 1;
  session.Settings().noDupes = 1;
  const TranslationReport report = session.Process(Gcode("PART", kFacesThreeAndOne));
  EXPECT_EQ(Written(report), (Names{"PART3.ACC"}));
}

TEST_F(Translation, FilledMasksWriteAllFacesInPriorityOrder) {
  UseMasks(kDigitMasks);
  session.Settings().facePriority = "3412";
  const TranslationReport report = session.Process(Gcode("PART", kFacesThreeAndOne));
  ASSERT_TRUE(report.ok());
  EXPECT_EQ(Written(report), (Names{"PART3.ACC", "PART4.ACC", "PART1.ACC", "PART2.ACC"}));
  EXPECT_EQ(SplitCrLf(ReadProgram("PART1.ACC")).at(5), "1");
  EXPECT_EQ(SplitCrLf(ReadProgram("PART3.ACC")).at(5), "2");
  EXPECT_EQ(SplitCrLf(ReadProgram("PART4.ACC")).at(5), "0");
}

TEST_F(Translation, FilledMasksWithEmptiesHideOnlyTheEmptyFaces) {
  UseMasks(kDigitMasks);
  session.Settings().noEmpties = 1;
  const TranslationReport report = session.Process(Gcode("PART", kFacesThreeAndOne));
  EXPECT_EQ(Written(report),
            (Names{"PART3.ACC", "PART4.ACC hidden", "PART1.ACC", "PART2.ACC hidden"}));
  EXPECT_FALSE(IsHidden(Program("PART1.ACC")));
  EXPECT_TRUE(IsHidden(Program("PART2.ACC")));
  EXPECT_FALSE(IsHidden(Program("PART3.ACC")));
  EXPECT_TRUE(IsHidden(Program("PART4.ACC")));
}

TEST_F(Translation, FilledMasksWithDuplicatesHideTheRepeatingFace) {
  UseMasks(kDigitMasks);
  session.Settings().noDupes = 1;
  const TranslationReport report = session.Process(Gcode("PART",
                                                         "G71 X800 Y600 Z18\n"
                                                         "G81 P1 X50 Y0 Z-5 E1 G54\n"
                                                         "G81 P1 X90 Y0 Z-5 E1 G54\n"
                                                         "G81 P2 X90 Y0 Z-5 E1 G54\n"
                                                         "G81 P2 X50 Y0 Z-5 E1 G54\n"));
  EXPECT_EQ(Written(report),
            (Names{"PART3.ACC", "PART4.ACC hidden", "PART1.ACC", "PART2.ACC hidden"}));
}

TEST_F(Translation, PriorityPositionsWithoutAFaceDigitAreSkipped) {
  UseMasks(kDigitMasks);
  session.Settings().facePriority = "3x90";
  EXPECT_EQ(Written(session.Process(Gcode("PART", kFacesThreeAndOne))), (Names{"PART3.ACC"}));
  session.Settings().facePriority = "21";
  EXPECT_EQ(Written(session.Process(Gcode("PART", kFacesThreeAndOne))),
            (Names{"PART2.ACC", "PART1.ACC"}));
}

TEST_F(Translation, AccCommentIsTheMacroName) {
  UseMasks(kDigitMasks);
  session.Process(Gcode("PART",
                        "G71 X800 Y600 Z18\n"
                        "G150(SHELF-4) A32\n"
                        "G81 P1 Y0 Z-5 E1 G54 X=a\n"));
  EXPECT_EQ(SplitCrLf(ReadProgram("PART1.ACC")).at(0), "SHELF-4");
  EXPECT_EQ(session.Table().Cmt1, "SHELF-4");
}

TEST_F(Translation, ATenthHoleIsTheLastRowAndLocationZeroEndsTheFace) {
  UseMasks(kDigitMasks);
  std::string text = "G71 X800 Y600 Z18\n";
  for (int hole = 1; hole <= 10; ++hole) {
    text += "G81 P1 X" + std::to_string(hole * 10) + " Y0 Z-5 E1 G54\n";
  }
  text += "G81 P2 X10 Y0 Z-5 E1 G54\nG81 P2 X20 Y0 Z-5 E1 G57\nG81 P2 X30 Y0 Z-5 E1 G54\n";
  session.Process(Gcode("PART", text));
  EXPECT_EQ(SplitCrLf(ReadProgram("PART1.ACC")).at(5), "10");
  EXPECT_EQ(SplitCrLf(ReadProgram("PART1.ACC")).at(25), "100. 1 0 1");
  EXPECT_EQ(SplitCrLf(ReadProgram("PART2.ACC")).at(5), "1");
}

struct UnitCase {
  const char* header;
  const char* location;
  bool inch;
  const char* cell;
  const char* line;
};

class UnitConversion : public Translation, public ::testing::WithParamInterface<UnitCase> {};

TEST_P(UnitConversion, ShowsTheLocationInTheTableUnit) {
  UseMasks(kDigitMasks);
  session.Table().Inch = GetParam().inch;
  session.Settings().facePriority = "3";
  session.Process(Gcode("PART", std::string(GetParam().header) + "\nG81 P3 X0 Y" +
                                    GetParam().location + " Z-5 E1 G54\n"));
  EXPECT_EQ(session.Table().GetCell(1, 1), GetParam().cell);
  EXPECT_EQ(SplitCrLf(ReadProgram("PART3.ACC")).at(7), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Units, UnitConversion,
    ::testing::Values(UnitCase{"G71 X800 Y600 Z18", "25.4", true, "1", "1. 1 0 1"},
                      UnitCase{"G71 X800 Y600 Z18", "12.7", false, "12.7", "12.7 1 0 1"},
                      UnitCase{"G71 X800 Y600 Z18", "100", true, "3.93700787401575", "3.937 1 0 1"},
                      UnitCase{"G70 X30 Y20 Z1", "1", false, "25.4", "25.4 1 0 1"},
                      UnitCase{"G70 X30 Y20 Z1", "94.4882", false, "2400.00028", "2400.0003 1 0 1"},
                      UnitCase{"G70 X30 Y20 Z1", "0.5", true, "0.5", "0.5 1 0 1"}));

TEST_F(Translation, FileWithoutHeaderKeepsThePreviousFilesUnits) {
  UseMasks(kDigitMasks);
  session.Settings().facePriority = "3";
  session.Table().Inch = true;
  session.Process(Gcode("PANA", "G71 X800 Y600 Z18\nG81 P3 X0 Y25.4 Z-5 E1 G54\n"));
  session.Process(Gcode("PANB", "G81 P3 X0 Y50.8 Z-5 E1 G54\n"));
  EXPECT_EQ(SplitCrLf(ReadProgram("PANB3.ACC")).at(7), "2. 1 0 1");
}

TEST_F(Translation, AccLeavesTheLastTranslatedFileAlone) {
  session.Process(Gcode("PART", kFacesThreeAndOne));
  EXPECT_EQ(session.LastTranslatedFile(), "");
}

// Process, RCM format

class RcmTranslation : public Translation {
 protected:
  RcmTranslation() { session.Settings().rcmFormat = true; }
};

constexpr const char* kFaceTwoHoles =
    "G71 X800 Y600 Z18\n"
    "G81 P2 X120 Y600 Z-5 E1 G54\n"
    "G81 P2 X12.7 Y600 Z-5 E2 G54\n";

TEST_F(RcmTranslation, WritesEachFaceThroughTheTemplate) {
  UseMasks(kDigitMasks);
  session.Settings().dowelExclusion = 2;
  const std::string gcode = Gcode("PART", kFaceTwoHoles);
  const TranslationReport report = session.Process(gcode);
  ASSERT_TRUE(report.ok());
  EXPECT_EQ(Written(report), (Names{"PART1.RCM", "PART2.RCM", "PART3.RCM", "PART4.RCM"}));
  EXPECT_EQ(ReadProgram("PART2.RCM"),
            "USERLEVELS,1,0\r\nP2,0\r\nP3,0\r\nP4,0\r\nP5,0\r\nP6,0\r\nP7,0\r\nP8,0\r\nP9,0\r\n"
            "P10,0\r\nP11,0\r\nP12,0\r\nP13,0\r\nP14,0\r\n"
            "\"G-code Import Face 2\",7,8\r\n"
            "P16,0\r\nLOCK,1\r\nP18,0\r\n"
            "MET,0,0,0,0.000000,9\r\n"
            "HOL,1,0,0,120.000000,9\r\nDRI,1,0,0,1.000000,9\r\nDOW,1,0,0,0.000000,9\r\n"
            "HOL,2,0,0,12.700000,9\r\nDRI,2,0,0,1.000000,9\r\nDOW,2,0,0,1.000000,9\r\n"
            "HOL,3,0,0,0.000000,9\r\nDRI,3,0,0,0.000000,9\r\nDOW,3,0,0,0.000000,9\r\n"
            "END\r\n");
  EXPECT_EQ(SplitCrLf(ReadProgram("PART1.RCM")).at(14), "\"G-code Import Face 1\",7,8");
  EXPECT_EQ(SplitCrLf(ReadProgram("PART1.RCM")).at(19), "HOL,1,0,0,0.000000,9");
  EXPECT_EQ(session.LastTranslatedFile(), gcode);
  EXPECT_EQ(session.Holes().FaceHoleCount, (std::array<int, 5>{0, 0, 0, 0, 0}));
  EXPECT_EQ(session.State().ScanMode, kScanIdle);
}

TEST_F(RcmTranslation, InchGcodeWritesTheUnitRecordOne) {
  UseMasks(kDigitMasks);
  session.Process(Gcode("PART", "G70 X30 Y20 Z1\nG81 P1 X1.5 Y0 Z-1 E1 G54\n"));
  const std::vector<std::string> lines = SplitCrLf(ReadProgram("PART1.RCM"));
  EXPECT_EQ(lines.at(18), "MET,0,0,0,1.000000,9");
  EXPECT_EQ(lines.at(19), "HOL,1,0,0,1.500000,9");
}

TEST_F(RcmTranslation, LeavesTheProgramTableAlone) {
  UseMasks(kDigitMasks);
  session.Table().Cmt1 = "kept";
  session.Table().SetCell(1, 1, "42");
  session.Process(Gcode("PART", kFaceTwoHoles));
  EXPECT_EQ(session.Table().Cmt1, "kept");
  EXPECT_EQ(session.Table().GetCell(1, 1), "42");
}

TEST_F(RcmTranslation, BlankMasksLeaveOneFileHoldingFaceFour) {
  const TranslationReport report = session.Process(Gcode("PART", kFaceTwoHoles));
  EXPECT_EQ(Written(report), (Names{"PART.RCM", "PART.RCM", "PART.RCM", "PART.RCM"}));
  EXPECT_EQ(ProgramNames(), (Names{"PART.RCM"}));
  EXPECT_EQ(SplitCrLf(ReadProgram("PART.RCM")).at(14), "\"G-code Import Face 4\",7,8");
}

TEST_F(RcmTranslation, OmissionRulesHideFacesButWriteThemAll) {
  UseMasks(kDigitMasks);
  session.Settings().noEmpties = 1;
  const TranslationReport report = session.Process(Gcode("PART", kFaceTwoHoles));
  EXPECT_EQ(Written(report),
            (Names{"PART1.RCM hidden", "PART2.RCM", "PART3.RCM hidden", "PART4.RCM hidden"}));
  EXPECT_TRUE(IsHidden(Program("PART1.RCM")));
  EXPECT_FALSE(IsHidden(Program("PART2.RCM")));
}

TEST_F(RcmTranslation, LongSourceNamesAreCutToEightCharacters) {
  const TranslationReport report = session.Process(Gcode("SIDEPANEL1", kNoHoles));
  EXPECT_EQ(ProgramNames(), (Names{"SIDEPANE.RCM"}));
  EXPECT_TRUE(report.ok());
}

TEST_F(RcmTranslation, MissingTemplateIsReportedAndNothingIsWritten) {
  std::filesystem::remove(folder.File("Template.RCM"));
  const TranslationReport report = session.Process(Gcode("PART", kFaceTwoHoles));
  EXPECT_FALSE(report.ok());
  EXPECT_FALSE(report.refused);
  ASSERT_EQ(report.errors.size(), 1u);
  EXPECT_NE(report.errors[0].find("Template.RCM"), std::string::npos) << report.errors[0];
  EXPECT_TRUE(report.written.empty());
  EXPECT_TRUE(ProgramNames().empty());
  EXPECT_EQ(session.LastTranslatedFile(), "");
}

TEST_F(RcmTranslation, TemplateWithMoreThanTenHolesWritesTheRestEmpty) {
  UseMasks(kDigitMasks);
  std::string text = SmallTemplate();
  std::string extra;
  for (int hole = 4; hole <= 11; ++hole) {
    extra += "HOL," + std::to_string(hole) + ",0,0,0.000000,9\r\nDRI," + std::to_string(hole) +
             ",0,0,0.000000,9\r\n";
  }
  text.insert(text.find("END"), extra);
  folder.Write("Template.RCM", text);
  std::string gcode = "G71 X800 Y600 Z18\n";
  for (int hole = 1; hole <= 10; ++hole) {
    gcode += "G81 P1 X" + std::to_string(hole) + " Y0 Z-5 E1 G54\n";
  }
  session.Process(Gcode("PART", gcode));
  const std::vector<std::string> lines = SplitCrLf(ReadProgram("PART1.RCM"));
  EXPECT_EQ(lines.at(40), "HOL,10,0,0,10.000000,9");
  EXPECT_EQ(lines.at(41), "DRI,10,0,0,1.000000,9");
  EXPECT_EQ(lines.at(42), "HOL,11,0,0,0.000000,9");
  EXPECT_EQ(lines.at(43), "DRI,11,0,0,0.000000,9");
}

// Both formats

class EitherFormat : public Translation, public ::testing::WithParamInterface<bool> {
 protected:
  EitherFormat() {
    session.Settings().rcmFormat = GetParam();
    UseMasks(kDigitMasks);
  }
  std::string Name(int face) const {
    return "PART" + std::to_string(face) + (GetParam() ? ".RCM" : ".ACC");
  }
};

TEST_P(EitherFormat, HiddenAndReadOnlyProgramsAreOverwritten) {
  const std::string hidden = folder.Write("programs/" + Name(1), "old hidden\r\n");
  SetFileAttributes(hidden, kHiddenAttribute);
  const std::string readOnly = folder.Write("programs/" + Name(3), "old read-only\r\n");
  ASSERT_TRUE(SetReadOnly(readOnly, true).ok());
  ASSERT_TRUE(IsHidden(hidden));
  ASSERT_TRUE(IsReadOnly(readOnly));

  const TranslationReport report = session.Process(Gcode("PART", kFacesThreeAndOne));
  ASSERT_TRUE(report.ok()) << (report.errors.empty() ? "" : report.errors[0]);
  EXPECT_NE(ReadProgram(Name(1)).find("50"), std::string::npos);
  EXPECT_NE(ReadProgram(Name(3)).find("250.5"), std::string::npos);
  EXPECT_FALSE(IsHidden(hidden));
  EXPECT_FALSE(IsReadOnly(readOnly));
}

TEST_P(EitherFormat, RefusedFileLeavesTheDestinationUnchanged) {
  folder.Write("programs/" + Name(1), "previous program\r\n");
  folder.Write("programs/OTHER.RCM", "other\r\n");
  const std::string gcode = Gcode("PART", kRefused);
  const TranslationReport report = session.Process(gcode);
  EXPECT_TRUE(report.refused);
  EXPECT_FALSE(report.ok());
  EXPECT_TRUE(report.written.empty());
  EXPECT_EQ(ProgramNames(), (Names{"OTHER.RCM", Name(1)}));
  EXPECT_EQ(ReadProgram(Name(1)), "previous program\r\n");
  EXPECT_EQ(asker.questions.size(), 1u);
  EXPECT_TRUE(FileExists(gcode));
  EXPECT_EQ(session.LastTranslatedFile(), "");
}

TEST_P(EitherFormat, MissingDestinationFolderIsReportedNamingTheProgram) {
  session.Settings().destinationFolder = folder.File("gone");
  const TranslationReport report = session.Process(Gcode("PART", kFacesThreeAndOne));
  EXPECT_FALSE(report.ok());
  EXPECT_TRUE(report.written.empty());
  ASSERT_FALSE(report.errors.empty());
  EXPECT_NE(report.errors[0].find(Name(GetParam() ? 1 : 3)), std::string::npos) << report.errors[0];
}

TEST_P(EitherFormat, UnreadableGcodeFileIsReportedNamingIt) {
  const TranslationReport report = session.Process(folder.File("gcode/NONE"));
  EXPECT_FALSE(report.ok());
  EXPECT_FALSE(report.refused);
  ASSERT_EQ(report.errors.size(), 1u);
  EXPECT_NE(report.errors[0].find("NONE"), std::string::npos);
  EXPECT_TRUE(ProgramNames().empty());
}

INSTANTIATE_TEST_SUITE_P(Formats, EitherFormat, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "Rcm" : "Acc";
                         });

// Settings as stored

TEST(StoredSettings, OmissionRulesCountOnlyWithAllMasksSet) {
  StoredOptions stored;
  stored.masks = {"", "*******1", "*******2", "*******3", "********"};
  stored.noEmpties = 1;
  stored.noDuplicates = 1;
  TranslationSettings settings = TranslationSettingsFromStored(stored, "/app/");
  EXPECT_FALSE(settings.omissionRulesEnabled);
  EXPECT_EQ(settings.masks[4], "        ");
  EXPECT_EQ(settings.masks[1], "       1");

  stored.masks[4] = "*******4";
  settings = TranslationSettingsFromStored(stored, "/app/");
  EXPECT_TRUE(settings.omissionRulesEnabled);
  EXPECT_EQ(settings.noEmpties, 1);
  EXPECT_EQ(settings.noDupes, 1);
}

TEST(StoredSettings, CarryFormatFoldersPriorityAndExclusions) {
  StoredOptions stored;
  stored.rcmFormat = true;
  stored.destinationPath = "/dest/";
  stored.facePriority = "21";
  stored.drillExclusion = "3";
  stored.dowelExclusion = "7";
  stored.noEmpties = 5;
  const TranslationSettings settings = TranslationSettingsFromStored(stored, "/app/");
  EXPECT_TRUE(settings.rcmFormat);
  EXPECT_EQ(settings.appFolder, "/app/");
  EXPECT_EQ(settings.destinationFolder, "/dest/");
  EXPECT_EQ(settings.facePriority, "21");
  EXPECT_EQ(settings.drillExclusion, 3);
  EXPECT_EQ(settings.dowelExclusion, 7);
  EXPECT_EQ(settings.noEmpties, 0) << "a check box takes only 0, 1 and 2";
  EXPECT_EQ(settings.noDupes, 0);
  EXPECT_EQ(settings.programExtension(), "RCM");
}

}  // namespace
}  // namespace tessaro
