#include "gcode/scan_router.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "gcode/gcode_reader.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using testing::GcodeReader;
using testing::RecordingOperator;
using testing::TempFolder;

// Records the calls it gets; refuses the file on line `refuseOnLine` (0: never).
class RecordingHandler : public ScanModeHandler {
 public:
  explicit RecordingHandler(ScanState& state) : state_(state) {}

  void ScanBegin(LineScanner&) override { calls.push_back("begin"); }
  void LineScanned(LineScanner& scanner) override {
    calls.push_back(std::to_string(state_.LineNumber) + ":" + scanner.Line());
    if (state_.LineNumber == refuseOnLine) state_.ScanMode = kScanIdle;
  }
  void ScanEnd(LineScanner& scanner) override { calls.push_back("end " + scanner.FileName()); }

  int refuseOnLine = 0;
  std::vector<std::string> calls;

 private:
  ScanState& state_;
};

struct RouterBench {
  RouterBench() {
    for (int mode = 1; mode <= 4; ++mode) router.SetHandler(mode, &handlers[mode - 1]);
  }

  HoleSet holes;
  ScanState state;
  RecordingOperator asker;
  ScanRouter router{holes, state, asker};
  RecordingHandler handlers[4] = {RecordingHandler(state), RecordingHandler(state),
                                  RecordingHandler(state), RecordingHandler(state)};
};

TEST(ScanRouter, RoutesEveryEventToTheHandlersOfTheModeSet) {
  RouterBench bench;
  bench.state.ScanMode = kScanWriteFace;
  bench.router.ScanText("first\nsecond\n", "T.RCM");
  EXPECT_EQ(bench.handlers[3].calls,
            (std::vector<std::string>{"begin", "1:first", "2:second", "end T.RCM"}));
  EXPECT_TRUE(bench.handlers[0].calls.empty());
  EXPECT_TRUE(bench.handlers[2].calls.empty());
  EXPECT_EQ(bench.state.ScanMode, kScanIdle);
}

TEST(ScanRouter, LineNumberAndHoleCounterStartAtZeroWithEveryScan) {
  RouterBench bench;
  bench.state.LineNumber = 17;
  bench.state.HoleCounter = 9;
  bench.state.ScanMode = kScanLoadProgram;
  bench.router.ScanText("", "P.RCM");
  EXPECT_EQ(bench.state.LineNumber, 0);
  EXPECT_EQ(bench.state.HoleCounter, 0);
  bench.state.ScanMode = kScanLoadProgram;
  bench.router.ScanText("a\nb\nc", "P.RCM");
  EXPECT_EQ(bench.state.LineNumber, 3);
}

TEST(ScanRouter, AHandlerThatSetsModeZeroEndsTheScanQuietly) {
  RouterBench bench;
  bench.handlers[0].refuseOnLine = 1;
  bench.state.ScanMode = kScanLoadProgram;
  bench.router.ScanText("bad\nmore\nlines\n", "P.RCM");
  EXPECT_EQ(bench.handlers[0].calls, (std::vector<std::string>{"begin", "1:bad"}));
  EXPECT_EQ(bench.state.LineNumber, 1);
  EXPECT_TRUE(bench.asker.questions.empty());
}

TEST(ScanRouter, ModeZeroOrWithoutHandlerReadsNothing) {
  RouterBench bench;
  bench.router.SetHandler(kScanSaveThroughBase, nullptr);
  bench.state.ScanMode = kScanSaveThroughBase;
  bench.router.ScanText("a\nb\n", "P.RCM");
  bench.router.ScanText("a\nb\n", "P.RCM");  // mode 0
  for (const RecordingHandler& handler : bench.handlers) EXPECT_TRUE(handler.calls.empty());
  EXPECT_EQ(bench.state.ScanMode, kScanIdle);
}

TEST(ScanRouter, UnreadableFileRunsNoHandlerAndNamesTheFile) {
  TempFolder folder;
  RouterBench bench;
  bench.state.ScanMode = kScanLoadProgram;
  const std::string missing = folder.File("MISSING");
  const Status status = bench.router.Scan(missing);
  EXPECT_FALSE(status.ok());
  EXPECT_NE(status.error().find(missing), std::string::npos) << status.error();
  EXPECT_TRUE(bench.handlers[0].calls.empty());
  EXPECT_EQ(bench.state.ScanMode, kScanIdle);
}

TEST(ScanRouter, ScansDoNotNest) {
  TempFolder folder;
  const std::string path = folder.Write("P.RCM", "line\n");
  RouterBench bench;
  class Nesting : public ScanModeHandler {
   public:
    Nesting(ScanRouter& router, std::string path) : router_(router), path_(std::move(path)) {}
    void ScanBegin(LineScanner&) override {}
    void LineScanned(LineScanner&) override { inner = router_.Scan(path_); }
    void ScanEnd(LineScanner&) override {}
    Status inner = Status::Ok();

   private:
    ScanRouter& router_;
    std::string path_;
  } nesting(bench.router, path);
  bench.router.SetHandler(kScanLoadProgram, &nesting);
  bench.state.ScanMode = kScanLoadProgram;
  EXPECT_TRUE(bench.router.Scan(path).ok());
  EXPECT_FALSE(nesting.inner.ok());
}

TEST(ScanRouter, ProgramScanAfterARefusedGcodeFileAsksNothing) {
  GcodeReader reader;
  reader.ReadText("%\n");
  ASSERT_EQ(reader.asker.questions.size(), 1u);
  RecordingHandler loader(reader.state);
  loader.refuseOnLine = 1;
  reader.router.SetHandler(kScanLoadProgram, &loader);
  reader.state.ScanMode = kScanLoadProgram;
  reader.router.ScanText("NOT USERLEVELS\n", "P.RCM");
  EXPECT_EQ(reader.asker.questions.size(), 1u);
}

TEST(GcodeFileRefusal, YesDeletesTheSourceFile) {
  TempFolder folder;
  const std::string path = folder.Write("PART", "%\nG81 P1 X5 G54\n");
  GcodeReader reader;
  reader.asker.answer = true;
  EXPECT_TRUE(reader.ReadFile(path).ok());
  ASSERT_EQ(reader.asker.questions.size(), 1u);
  EXPECT_EQ(reader.asker.questions[0].text,
            "         Source file PART\r    Is not of the correct file type.\r\r"
            "      Do you wish to delete it?");
  EXPECT_FALSE(folder.Exists("PART"));
  EXPECT_TRUE(reader.holes.RejectedFile);
  EXPECT_EQ(reader.Count(1), 0);
}

TEST(GcodeFileRefusal, NoKeepsTheSourceFile) {
  TempFolder folder;
  const std::string path = folder.Write("PART", "%\nG81 P1 X5 G54\n");
  GcodeReader reader;
  reader.asker.answer = false;
  EXPECT_TRUE(reader.ReadFile(path).ok());
  EXPECT_EQ(reader.asker.questions.size(), 1u);
  EXPECT_EQ(folder.Read("PART"), "%\nG81 P1 X5 G54\n");
  EXPECT_TRUE(reader.asker.told.empty());
}

TEST(GcodeFileRefusal, AcceptedFileAsksNothingAndIsNamedAsScanned) {
  TempFolder folder;
  const std::string path = folder.Write("PART", "G71 X800 Y600 Z18\r\nG81 P1 X5 G54\r\n");
  GcodeReader reader;
  EXPECT_TRUE(reader.ReadFile(path).ok());
  EXPECT_TRUE(reader.asker.questions.empty());
  EXPECT_EQ(reader.holes.ScannedFile, path);
  EXPECT_EQ(reader.Hole(1, 1).Location, 5);
  EXPECT_EQ(reader.state.ScanMode, kScanIdle);
}

TEST(GcodeFileRefusal, UnreadableGcodeFileKeepsTheHoleSetAndAsksNothing) {
  TempFolder folder;
  GcodeReader reader;
  reader.ReadText("G81 P1 X5 G54\n", "/work/BEFORE");
  EXPECT_FALSE(reader.ReadFile(folder.File("GONE")).ok());
  EXPECT_TRUE(reader.asker.questions.empty());
  EXPECT_EQ(reader.Count(1), 1);
  EXPECT_EQ(reader.holes.ScannedFile, "/work/BEFORE");
  EXPECT_FALSE(reader.holes.RejectedFile);
}

}  // namespace
}  // namespace tessaro
