#include "scan/change_trigger.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tessaro {
namespace {

using std::chrono::milliseconds;
using Clock = ChangeTrigger::Clock;

// Tells the changes and the failure the test gives it.
class ToldWatch : public FolderWatch {
 public:
  Status Watch(const std::string&) override {
    return failure.empty() ? Status::Ok() : Status::Failed(failure);
  }
  WaitHandle waitHandle() const override { return kNoWaitHandle; }
  int TakeChanges() override { return std::exchange(changes, 0); }

  int changes = 0;
  std::string failure;
};

struct Trigger {
  ToldWatch* watch = new ToldWatch;
  ChangeTrigger trigger{std::unique_ptr<FolderWatch>(watch)};

  // Changes told at these milliseconds; when the tick is due, in milliseconds.
  std::optional<long> DueAfter(const std::vector<long>& changesAt, int changesEach = 1) {
    for (const long at : changesAt) {
      watch->changes = changesEach;
      trigger.TakeChanges(Clock::time_point(milliseconds(at)));
    }
    const auto due = trigger.TickDue();
    if (!due) return std::nullopt;
    return std::chrono::duration_cast<milliseconds>(due->time_since_epoch()).count();
  }
};

TEST(ChangeTrigger, TicksOnceTheFolderIsQuietOrAtTheLatestASecondAfterTheFirstChange) {
  EXPECT_EQ(Trigger().DueAfter({}), std::nullopt);
  EXPECT_EQ(Trigger().DueAfter({0, 100}, 0), std::nullopt);  // woken, nothing told
  EXPECT_EQ(Trigger().DueAfter({0}), 200);
  EXPECT_EQ(Trigger().DueAfter({0, 50, 120}), 320);
  EXPECT_EQ(Trigger().DueAfter({0, 150, 300, 450, 600, 750, 900}), 1000);  // a long copy
}

TEST(ChangeTrigger, ChangesBeforeATickAreItsOwnAndChangesWhileItRunsGiveOneMore) {
  Trigger t;
  EXPECT_EQ(t.DueAfter({0}), 200);
  t.trigger.TickStarting();
  EXPECT_EQ(t.DueAfter({}), std::nullopt);
  EXPECT_EQ(t.DueAfter({500, 550}), 750);
  t.trigger.TickStarting();
  EXPECT_EQ(t.DueAfter({}), std::nullopt);
}

TEST(ChangeTrigger, AFolderThatCannotBeWatchedIsToldOnceUntilItCanBe) {
  Trigger t;
  t.watch->failure = "Cannot watch /gone: No such file or directory";
  EXPECT_EQ(t.trigger.Watch("/gone"), t.watch->failure);
  EXPECT_EQ(t.trigger.Watch("/gone"), std::nullopt);
  t.watch->failure.clear();
  EXPECT_EQ(t.trigger.Watch("/gone"), std::nullopt);
  t.watch->failure = "Cannot watch /gone: No such file or directory";
  EXPECT_EQ(t.trigger.Watch("/gone"), t.watch->failure);
}

}  // namespace
}  // namespace tessaro
