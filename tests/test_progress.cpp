// The once-a-second progress report: its numbers, which tasks get one, the autosave at every
// third whole percent, and the window timer that drives it.
#include "engine/progress.h"

#include <gtest/gtest.h>

#include "engine/clock.h"
#include "engine/worker_threads.h"
#include "tests/support/engine_fixture.h"

namespace {

using engine::RuntimeOf;

constexpr engine::LocalDateTime kNow{2026, 12, 11, 20, 0, 0};

class ProgressTest : public test_support::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    engine::SetLocalClock([] { return kNow; });
    Initialise();
  }

  // A task in the middle of its download, its LocatName the temporary name.
  int AddDownloadingTask(const std::string& name, std::int32_t file_size, std::int32_t received,
                         std::int32_t seconds_ago) {
    const std::int32_t id = engine_.CreateTask(SpecFor(name));
    EXPECT_GE(id, 1);
    engine::JoinTaskThreads(id, engine::WaitStyle::Plain);
    engine::EditSpec(id, [](engine::DownloadTaskSpec& spec) { spec.LocatName += "!BT"; });
    engine::TaskRuntime& runtime = RuntimeOf(id);
    runtime.State = engine::kStateDownloading;
    runtime.ActiveThreads = 1;
    runtime.FileSize = file_size;
    runtime.AlreadySize = received;
    runtime.StartTime = engine::UnixNow() - seconds_ago;
    return id;
  }

  bool Saved(const std::string& name) const { return FileThere(name + "!BT.Config"); }
  void ForgetSave(const std::string& name) const {
    std::filesystem::remove(HostPath(name + "!BT.Config"));
  }
};

TEST(ProgressRounding, TwoDecimalsHalvesAwayFromZero) {
  struct Case {
    double x, rounded;
  };
  const Case cases[] = {{5.12, 5.12}, {0.125, 0.13}, {-0.125, -0.13}, {0.124, 0.12},
                        {2.5, 2.5},   {0, 0},        {99.995117, 100}};
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(engine::RoundToCents(c.x), c.rounded) << c.x;
}

TEST_F(ProgressTest, HalfOfAMebibyteInAHundredSeconds) {
  const int id = AddDownloadingTask("a.zip", 1048576, 524288, 100);
  engine::NotifyProgress(id);
  const auto events = ProgressEvents();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].id, id);
  EXPECT_EQ(events[0].file_size, 1048576);
  EXPECT_EQ(events[0].received, 524288);
  EXPECT_FLOAT_EQ(events[0].speed, 5.12f);
  EXPECT_FLOAT_EQ(events[0].percent, 50.00f);
  EXPECT_FLOAT_EQ(events[0].total_speed, 5.12f);
  EXPECT_FALSE(Saved("a.zip"));  // 50 is not divisible by 3
}

TEST_F(ProgressTest, AutosaveAtEveryThirdWholePercent) {
  struct Case {
    std::int32_t received;  // of 10000 bytes
    float percent;
    bool saved;
  };
  const Case cases[] = {
      {0, 0.00f, false},   {50, 0.50f, true},   {100, 1.00f, false}, {299, 2.99f, false},
      {300, 3.00f, true},  {350, 3.50f, true},  {399, 3.99f, true},  {400, 4.00f, false},
      {600, 6.00f, true},  {5000, 50.00f, false}, {9999, 99.99f, true}, {10000, 100.00f, false},
  };
  const int id = AddDownloadingTask("a.zip", 10000, 0, 10);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.received);
    ForgetSave("a.zip");
    ClearEvents();
    RuntimeOf(id).AlreadySize = c.received;
    engine::ProgressTick();
    ASSERT_EQ(ProgressEvents().size(), 1u);
    EXPECT_FLOAT_EQ(ProgressEvents()[0].percent, c.percent);
    EXPECT_EQ(Saved("a.zip"), c.saved);
  }
}

TEST_F(ProgressTest, TotalSpeedSumsTasksWithRunningWorkersOrIsMinusOne) {
  const int a = AddDownloadingTask("a", 1048576, 524288, 100);  // 5.12 KB/s
  const int b = AddDownloadingTask("b", 1048576, 102400, 30);   // 3.33 KB/s
  engine::NotifyProgress(a);
  ASSERT_EQ(ProgressEvents().size(), 1u);
  EXPECT_FLOAT_EQ(ProgressEvents()[0].total_speed, static_cast<float>(5.12f + 3.33));

  for (int id : {a, b}) RuntimeOf(id).ActiveThreads = 0;
  ClearEvents();
  engine::NotifyProgress(a);
  ASSERT_EQ(ProgressEvents().size(), 1u);
  EXPECT_FLOAT_EQ(ProgressEvents()[0].speed, 5.12f);
  EXPECT_FLOAT_EQ(ProgressEvents()[0].total_speed, -1.0f);
}

// Dividing by no time or by no size would report infinity or NaN; the report says 0.
TEST_F(ProgressTest, TheFirstSecondAndAnUnknownSizeReportZero) {
  const int id = AddDownloadingTask("a", 0, 4096, 0);
  engine::NotifyProgress(id);
  ASSERT_EQ(ProgressEvents().size(), 1u);
  EXPECT_EQ(ProgressEvents()[0].speed, 0.0f);
  EXPECT_EQ(ProgressEvents()[0].percent, 0.0f);
  EXPECT_EQ(ProgressEvents()[0].total_speed, -1.0f);
  EXPECT_FALSE(Saved("a"));
}

TEST_F(ProgressTest, TheTickNotifiesDownloadingTasksAndFailedOnesWithWorkersLeft) {
  struct Case {
    std::int32_t state;
    std::int32_t active_threads;
    bool notified;
  };
  const Case cases[] = {
      {engine::kStateDownloading, 1, true}, {engine::kStateError, 2, true},
      {engine::kStateError, 0, false},      {engine::kStatePausing, 1, false},
      {engine::kStateStarting, 1, false},   {engine::kStateFree, 0, false},
  };
  const int id = AddDownloadingTask("a", 1048576, 1000, 10);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.state);
    RuntimeOf(id).State = c.state;
    RuntimeOf(id).ActiveThreads = c.active_threads;
    ClearEvents();
    engine::ProgressTick();
    EXPECT_EQ(ProgressEvents().size(), c.notified ? 1u : 0u);
  }
}

TEST_F(ProgressTest, TheWindowTimerTicksEverySecondUntilShutdown) {
  engine::SetLocalClock(nullptr);
  AddDownloadingTask("a", 1048576, 1000, 10);
  platform::ui::wait_for_events(1500);
  EXPECT_EQ(ProgressEvents().size(), 1u);
  EXPECT_TRUE(engine_.Shutdown(window_));
  ClearEvents();
  platform::ui::wait_for_events(1200);
  EXPECT_TRUE(ProgressEvents().empty());
}

}  // namespace
