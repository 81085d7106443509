#include "gcode/scan_router.h"

#include <gtest/gtest.h>

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

// The G-code reader's router with recording handlers for the program modes 1, 2 and 4.
struct RouterBench : GcodeReader {
  RouterBench() {
    for (int mode : {kScanLoadProgram, kScanSaveThroughBase, kScanWriteFace}) {
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
  EXPECT_TRUE(bench.handlers[kScanLoadProgram].calls.empty());
  EXPECT_EQ(bench.state.HoleCounter, 0);
  EXPECT_EQ(bench.state.ScanMode, kScanIdle);
}

TEST(ScanRouter, AHandlerThatSetsModeZeroEndsTheScanQuietly) {
  RouterBench bench;
  bench.handlers[kScanLoadProgram].onLine = [&] { bench.state.ScanMode = kScanIdle; };
  bench.Run(kScanLoadProgram, "bad\nmore\n");
  EXPECT_EQ(bench.handlers[kScanLoadProgram].calls, (Calls{"begin", "1:bad"}));
  EXPECT_TRUE(bench.asker.questions.empty());
}

TEST(ScanRouter, ModeZeroOrWithoutHandlerReadsNothing) {
  RouterBench bench;
  bench.router.SetHandler(kScanSaveThroughBase, nullptr);
  bench.Run(kScanSaveThroughBase, "a\nb\n");
  bench.Run(kScanIdle, "a\nb\n");
  for (const RecordingHandler& handler : bench.handlers) EXPECT_TRUE(handler.calls.empty());
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

TEST(ScanRouter, ProgramScanAfterARefusedGcodeFileAsksNothing) {
  RouterBench bench;
  bench.ReadText("%\n");
  ASSERT_EQ(bench.asker.questions.size(), 1u);
  bench.handlers[kScanLoadProgram].onLine = [&] { bench.state.ScanMode = kScanIdle; };
  bench.Run(kScanLoadProgram, "NOT USERLEVELS\n");
  EXPECT_EQ(bench.asker.questions.size(), 1u);
}

TEST(GcodeFileRefusal, YesDeletesTheSourceFileAndNoKeepsIt) {
  for (const bool yes : {true, false}) {
    TempFolder folder;
    const std::string path = folder.Write("PART", "%\nG81 P1 X5 G54\n");
    GcodeReader reader;
    reader.asker.answer = yes;
    EXPECT_TRUE(reader.ReadFile(path).ok());
    ASSERT_EQ(reader.asker.questions.size(), 1u);
    EXPECT_EQ(reader.asker.questions[0].text, testing::kRefusalText);
    EXPECT_EQ(folder.Exists("PART"), !yes);
    EXPECT_TRUE(reader.holes.RejectedFile);
    EXPECT_TRUE(reader.asker.told.empty());
  }
}

TEST(GcodeFileRefusal, UnreadableFileFailsNamingItAndKeepsTheHoleSet) {
  TempFolder folder;
  GcodeReader reader;
  reader.ReadText("G81 P1 X5 G54\n", "/work/BEFORE");
  const Status status = reader.ReadFile(folder.File("GONE"));
  EXPECT_NE(status.error().find(folder.File("GONE")), std::string::npos) << status.error();
  EXPECT_TRUE(reader.asker.questions.empty());
  EXPECT_EQ(reader.state.ScanMode, kScanIdle);
  EXPECT_EQ(reader.Count(1), 1);
  EXPECT_EQ(reader.holes.ScannedFile, "/work/BEFORE");
  EXPECT_FALSE(reader.holes.RejectedFile);
}

}  // namespace
}  // namespace tessaro
