#include "scan/scan_loop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "program/session.h"
#include "support/program_samples.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using std::chrono::milliseconds;

// Polls until `condition` holds; far sooner than the 60 s timer of the tests.
bool WaitFor(const std::function<bool()>& condition) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(milliseconds(10));
  }
  return true;
}

// The unattended scan on a thread of its own, over real folders.
class ScanLoopTest : public ::testing::Test {
 protected:
  ScanLoopTest() {
    folder_.MakeFolder("src");
    folder_.MakeFolder("dst");
    folder_.Write("app/Template.RCM", testing::SmallTemplate());
    session_.Settings().rcmFormat = true;
    session_.Settings().appFolder = folder_.File("app") + "/";
    session_.Settings().destinationFolder = folder_.File("dst");
    session_.Settings().masks = {"", "    1   ", "    2   ", "    3   ", "    4   "};
  }
  ~ScanLoopTest() override {
    stop_ = true;
    if (loop_.joinable()) loop_.join();
  }

  void Start(std::unique_ptr<FolderWatch> watch, milliseconds period) {
    trigger_ = std::make_unique<ChangeTrigger>(std::move(watch));
    loop_ = std::thread([this, period] {
      RunScanLoop(cycle_, {1, 1, folder_.File("src")}, *trigger_,
                  {.period = period,
                   .stopRequested = [this] { return stop_.load(); },
                   .mayTick = {},
                   .tickNow = {},
                   .report = [this](const TickOutcome&) { ++ticks_; },
                   .tell = {}});
    });
  }
  bool HasPrograms(const std::string& base) const {
    for (const char face : {'1', '2', '3', '4'}) {
      if (!folder_.Exists("dst/" + base + face + ".RCM")) return false;
    }
    return true;
  }

  testing::TempFolder folder_;
  testing::RecordingOperator asker_;
  Session session_{asker_};
  ScanCycle cycle_{session_};
  std::unique_ptr<ChangeTrigger> trigger_;
  std::atomic<bool> stop_ = false;
  std::atomic<int> ticks_ = 0;
  std::thread loop_;
};

TEST_F(ScanLoopTest, ChangesBringFewTicksLongBeforeTheTimerAndTheOrphanPassAfterADeletion) {
  std::unique_ptr<FolderWatch> watch = MakeFolderWatch();
  if (watch->waitHandle() == kNoWaitHandle) GTEST_SKIP() << "this platform reports no changes";
  Start(std::move(watch), std::chrono::minutes(1));
  ASSERT_TRUE(WaitFor([this] { return ticks_ >= 1; }));  // the first tick comes at once

  folder_.Write("src/PART", testing::kPanelGcode);
  EXPECT_TRUE(WaitFor([this] { return HasPrograms("PART"); }));
  const int ticksBefore = ticks_;
  for (int i = 0; i < 100; ++i) folder_.Write("src/P" + std::to_string(i), testing::kPanelGcode);
  EXPECT_TRUE(WaitFor([this] { return folder_.List("dst").size() == 404; }));
  EXPECT_LE(ticks_ - ticksBefore, 3);

  std::filesystem::remove(folder_.File("src/PART"));
  EXPECT_TRUE(WaitFor([this] { return folder_.List("dst").size() == 400; }));
  EXPECT_FALSE(folder_.Exists("dst/PART1.RCM"));
}

TEST_F(ScanLoopTest, WithoutChangeNotificationTheTimerAloneKeepsTheFoldersInStep) {
  Start(std::make_unique<SilentFolderWatch>(), milliseconds(200));
  ASSERT_TRUE(WaitFor([this] { return ticks_ >= 1; }));
  folder_.Write("src/PART", testing::kPanelGcode);
  EXPECT_TRUE(WaitFor([this] { return HasPrograms("PART"); }));
}

}  // namespace
}  // namespace tessaro
