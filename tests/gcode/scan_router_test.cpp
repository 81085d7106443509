#include "gcode/scan_router.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "gcode/gcode_reader.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using testing::GcodeReader;
using testing::TempFolder;
using Calls = std::vector<std::string>;

// Records the calls it gets and runs `onLine` after each line.
struct RecordingHandler : ScanModeHandler {
  void ScanBegin(LineScanner&) override { calls.push_back("begin"); }
  void LineScanned(LineScanner& scanner) override {
    calls.push_back(std::to_string(state->LineNumber) + ":" + scanner.Line());
    if (onLine) onLine();
  }
  void ScanEnd(LineScanner& scanner) override { calls.push_back("end " + scanner.FileName()); }

  ScanState* state = nullptr;
  std::function<void()> onLine;
  Calls calls;
};

// The G-code reader's router with recording handlers for the program modes 1 and 4.
struct RouterBench : GcodeReader {
  RouterBench() {
    for (int mode : {kScanLoadProgram, kScanWriteFace}) {
      handlers[mode].state = &state;
      router.SetHandler(mode, &handlers[mode]);
    }
  }
  void Run(int mode, std::string_view text) {
    state.ScanMode = mode;
    router.ScanText(text, "P.RCM");
  }

  RecordingHandler handlers[5];
};

TEST(ScanRouter, RoutesEveryEventToTheHandlersOfTheModeSetWithCountersFromZero) {
  RouterBench bench;
  bench.state.LineNumber = 17;
  bench.state.HoleCounter = 9;
  bench.Run(kScanWriteFace, "first\nsecond\n");
  EXPECT_EQ(bench.handlers[kScanWriteFace].calls,
            (Calls{"begin", "1:first", "2:second", "end P.RCM"}));
  EXPECT_EQ(bench.state.HoleCounter, 0);
  EXPECT_EQ(bench.state.ScanMode, kScanIdle);
  bench.Run(kScanSaveThroughBase, "a\nb\n");  // no handler
  bench.Run(kScanIdle, "a\nb\n");
  EXPECT_TRUE(bench.handlers[kScanLoadProgram].calls.empty());
  EXPECT_EQ(bench.handlers[kScanWriteFace].calls.size(), 4u);
}

TEST(ScanRouter, HandlerThatSetsModeZeroEndsTheScanWithoutTheGcodeQuestion) {
  RouterBench bench;
  bench.ReadText("%\n");
  ASSERT_EQ(bench.asker.questions.size(), 1u);
  bench.handlers[kScanLoadProgram].onLine = [&] { bench.state.ScanMode = kScanIdle; };
  bench.Run(kScanLoadProgram, "bad\nmore\n");
  EXPECT_EQ(bench.handlers[kScanLoadProgram].calls, (Calls{"begin", "1:bad"}));
  EXPECT_EQ(bench.asker.questions.size(), 1u);
}

TEST(ScanRouter, ScansDoNotNest) {
  TempFolder folder;
  const std::string path = folder.Write("P.RCM", "line\n");
  RouterBench bench;
  Status inner = Status::Ok();
  bench.handlers[kScanLoadProgram].onLine = [&] { inner = bench.router.Scan(path); };
  bench.state.ScanMode = kScanLoadProgram;
  EXPECT_TRUE(bench.router.Scan(path).ok());
  EXPECT_FALSE(inner.ok());
}

TEST(GcodeFileRefusal, FirstLineOfOnlyAPercentSignAsksAndYesDeletesTheFile) {
  for (const bool yes : {true, false}) {
    TempFolder folder;
    const std::string path = folder.Write("PART", "%\nG71 X800 Y600 Z18\nG81 P1 X5 G54\n");
    GcodeReader reader;
    reader.holes.ScannedFile = "/work/BEFORE";
    reader.asker.answer = yes;
    EXPECT_TRUE(reader.ReadFile(path).ok());
    EXPECT_EQ(reader.asker.questions,
              std::vector<std::string>{"Alert!|         Source file PART\r    Is not of the "
                                       "correct file type.\r\r      Do you wish to delete it?"});
    EXPECT_EQ(folder.Exists("PART"), !yes);
    EXPECT_TRUE(reader.holes.RejectedFile);
    EXPECT_EQ(reader.holes.FaceHoleCount, (std::array<int, 5>{}));
    EXPECT_EQ(reader.holes.MacroParams[kParamPanelX], 0);  // nothing after line 1 is read
    EXPECT_EQ(reader.holes.ScannedFile, "/work/BEFORE");
  }
}

TEST(GcodeFileRefusal, UnreadableFileFailsNamingItAndKeepsTheHoleSet) {
  TempFolder folder;
  GcodeReader reader;
  reader.ReadText("G81 P1 X5 G54\n", "/work/BEFORE");
  const Status status = reader.ReadFile(folder.File("GONE"));
  EXPECT_EQ(status.error(), "Cannot read " + folder.File("GONE") + ": No such file or directory");
  EXPECT_TRUE(reader.asker.questions.empty());
  EXPECT_EQ(reader.state.ScanMode, kScanIdle);
  EXPECT_EQ(reader.Count(1), 1);
  EXPECT_EQ(reader.holes.ScannedFile, "/work/BEFORE");
}

}  // namespace
}  // namespace tessaro
