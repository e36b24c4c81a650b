// The engine object and its task table: initialisation, task creation with its checks and its
// resume-or-fresh decision, the table's ids, pause / continue / stop, the notifications and the
// engine's clock.
#include "engine/download_engine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <thread>

#include "engine/clock.h"
#include "engine/pump_wait.h"
#include "engine/task_config.h"
#include "engine/task_table.h"
#include "engine/worker_threads.h"
#include "platform/ui/runtime.h"
#include "tests/support/engine_fixture.h"

namespace {

using engine::DownloadTaskSpec;
using engine::RuntimeOf;
using engine::SpecOf;
using test_support::EngineTest;
using test_support::StateEvent;

// Threads of this process, as the kernel counts them.
int process_threads() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Threads:", 0) == 0) return std::stoi(line.substr(8));
  }
  return -1;
}

// ---- initialisation ----

void other_progress(std::int32_t, std::int32_t, std::int32_t, float, float, float) {}
void other_state(std::int32_t, std::int32_t, std::string_view, std::string_view) {}

TEST_F(EngineTest, InitialisationNeedsBothCallbacksAndOnlyTheFirstCallCounts) {
  EXPECT_EQ(engine_.BT_初始化(window_, nullptr, other_state), 0);
  EXPECT_EQ(engine_.BT_初始化(window_, other_progress, nullptr), 0);
  EXPECT_EQ(engine::CurrentStateCallback(), nullptr);

  Initialise();
  EXPECT_EQ(engine_.BT_初始化(window_, other_progress, other_state, true), 1);
  EXPECT_NE(engine::CurrentStateCallback(), other_state);
  EXPECT_FALSE(engine::EncryptUrl());

  // One timer was set, and Shutdown removes it.
  EXPECT_TRUE(engine_.Shutdown(window_));
  EXPECT_FALSE(engine_.Shutdown(window_));
  EXPECT_EQ(engine_.BT_初始化(window_, other_progress, other_state, true), 1);
  EXPECT_EQ(engine::CurrentStateCallback(), other_state);
  EXPECT_TRUE(engine::EncryptUrl());
}

TEST_F(EngineTest, CreateTaskBeforeInitialisationShowsTheHint) {
  EXPECT_EQ(engine_.CreateTask(SpecFor("a.zip")), -1);
  ASSERT_EQ(platform::ui::recorded_message_boxes().size(), 1u);
  EXPECT_EQ(platform::ui::recorded_message_boxes()[0].text,
            "请选用 BT_初始化() 命令进行初始化后才能下载");
  EXPECT_EQ(platform::ui::recorded_message_boxes()[0].caption, "友情提醒");
  EXPECT_EQ(engine_.GetTaskCount(), 0);
}

TEST_F(EngineTest, ShutdownEmptiesTheTableAndLetsRunningThreadsGoWithTheirFiles) {
  engine::SetWorkerEntry(test_support::BlockingWorker);
  Initialise();
  ASSERT_EQ(engine_.CreateTask(SpecFor("a.zip")), 1);
  engine::EditSpec(1, [](DownloadTaskSpec& spec) { spec.LocatName += "!BT"; });
  PutFile("a.zip!BT");
  EXPECT_TRUE(engine_.Shutdown(window_));
  EXPECT_EQ(engine_.GetTaskCount(), 0);
  EXPECT_TRUE(FileThere("a.zip!BT"));
}

// ---- CreateTask ----

TEST_F(EngineTest, AddressCheck) {
  struct Case {
    const char* url;
    std::int32_t result;
  };
  const Case cases[] = {
      {"http://ab", -2},             // 9 characters
      {"http://a.b", 1},             // 10 characters
      {"http://a.b//c.zip", -2},     // a second "//" behind the scheme's
      {"ftp://a//b.zip", -2},        // "//" starting at character 8
      {"http:a//bcde.zip", 1},       // "//" starting at character 7 is the scheme's place
      {"https://a.b/c.zip", 1},      // https with no further "//"
      {"https://a.b/c//d.zip", -2},
  };
  Initialise();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    ClearEvents();
    const std::int32_t id = engine_.CreateTask(SpecFor("a.zip", c.url));
    if (c.result == -2) {
      EXPECT_EQ(id, -2);
      EXPECT_EQ(StateEvents(), (std::vector<StateEvent>{{255, 98, "", "下载地址有误"}}));
    } else {
      ASSERT_GE(id, 1);
      engine::ReleaseTask(id);
    }
  }
}

TEST_F(EngineTest, PathIsBusyOnlyOnceItsTaskIsPastTheSizeProbe) {
  Initialise();
  ASSERT_EQ(engine_.CreateTask(SpecFor("a.zip")), 1);
  EXPECT_EQ(engine_.CreateTask(SpecFor("a.zip")), 2);  // task 1 is still probing
  engine::EditSpec(1, [](DownloadTaskSpec& spec) { spec.LocatName += "!BT"; });
  ClearEvents();
  EXPECT_TRUE(engine_.IsPathInUse(WindowsPath("a.zip")));
  EXPECT_FALSE(engine_.IsPathInUse(WindowsPath("A.zip")));  // exact case
  EXPECT_EQ(engine_.CreateTask(SpecFor("a.zip")), -3);
  EXPECT_EQ(StateEvents(), (std::vector<StateEvent>{{255, 98, "", "此任务正在下载中"}}));
}

TEST_F(EngineTest, TheCopyIsNormalised) {
  struct Case {
    std::int32_t size;
    std::uint8_t threads;
    const char* down_url;
    std::int32_t want_size;
    std::uint8_t want_threads;
    const char* want_down_url;
  };
  const Case cases[] = {
      {2048, 0, "   ", 20480, 3, "/"},
      {10240, 5, "", 10240, 5, "/"},
      {10239, 9, "\xA1\xA1 ", 20480, 5, "/"},  // ideographic space counts as blank
      {65536, 1, "http://a/b", 65536, 1, "http://a/b"},
  };
  Initialise();
  for (const Case& c : cases) {
    DownloadTaskSpec spec = SpecFor("a.zip");
    spec.Size = c.size;
    spec.InitThreadCount = c.threads;
    spec.DownUrl = c.down_url;
    spec.ExtraHeaders = "X-A: 1";
    const std::int32_t id = engine_.CreateTask(spec);
    ASSERT_GE(id, 1);
    const DownloadTaskSpec copy = SpecOf(id);
    EXPECT_EQ(copy.Size, c.want_size);
    EXPECT_EQ(copy.InitThreadCount, c.want_threads);
    EXPECT_EQ(copy.DownUrl, c.want_down_url);
    EXPECT_EQ(copy.ExtraHeaders, "X-A: 1");
    EXPECT_EQ(copy.Url, spec.Url);
    EXPECT_EQ(RuntimeOf(id).State, engine::kStateStarting);
    engine::ReleaseTask(id);
  }
}

TEST_F(EngineTest, ReleasedIdsAreReusedLowestFirstWithoutGrowingTheTable) {
  Initialise();
  for (int expected = 1; expected <= 3; ++expected) {
    EXPECT_EQ(engine_.CreateTask(SpecFor("f" + std::to_string(expected))), expected);
  }
  engine::RuntimeOf(2).FileSize = 77;
  engine::ReleaseTask(3);
  engine::ReleaseTask(2);
  EXPECT_EQ(engine_.FindFreeTask(), 2);
  EXPECT_EQ(engine_.CreateTask(SpecFor("g")), 2);
  EXPECT_EQ(engine_.GetTaskCount(), 3);
  EXPECT_EQ(SpecOf(2).LocatName, WindowsPath("g"));
  EXPECT_EQ(RuntimeOf(2).FileSize, 0);
  EXPECT_EQ(engine_.CreateTask(SpecFor("h")), 3);
  EXPECT_EQ(engine_.FindFreeTask(), -1);
}

TEST_F(EngineTest, AFullTableRefusesWithItsOwnText) {
  Initialise();
  for (int id = 1; id <= engine::kMaxTasks; ++id) {
    ASSERT_EQ(engine_.CreateTask(SpecFor("f" + std::to_string(id))), id);
  }
  ClearEvents();
  EXPECT_EQ(engine_.CreateTask(SpecFor("one-more")), -1);
  EXPECT_EQ(StateEvents(),
            (std::vector<StateEvent>{{255, 98, "", "任务数量已达上限(254个),无法创建新任务"}}));
  EXPECT_EQ(engine_.GetTaskCount(), engine::kMaxTasks);
}

TEST_F(EngineTest, AFreshStartDeletesTheTargetAndEveryLeftover) {
  struct Case {
    bool target, temp, config;
  };
  const Case cases[] = {{true, true, false}, {false, false, true}, {true, false, false}};
  Initialise();
  for (const Case& c : cases) {
    if (c.target) PutFile("a.zip");
    if (c.temp) PutFile("a.zip!BT");
    if (c.config) PutFile("a.zip!BT.Config");
    ClearEvents();
    const std::int32_t id = engine_.CreateTask(SpecFor("a.zip"));
    ASSERT_EQ(id, 1);
    EXPECT_FALSE(FileThere("a.zip"));
    EXPECT_FALSE(FileThere("a.zip!BT"));
    EXPECT_FALSE(FileThere("a.zip!BT.Config"));
    EXPECT_EQ(StateEvents(),
              (std::vector<StateEvent>{{1, 99, WindowsPath("a.zip"), "任务启动中,任务ID：1"}}));
    engine::ReleaseTask(id);
  }
}

// The outer call reuses an entry whose last thread is still there and serves window events while
// it waits; a click handled meanwhile calls CreateTask again on the same thread.
TEST_F(EngineTest, ACreateTaskNestedInAnotherOnesWaitIsRefusedInsteadOfWaitingForEver) {
  engine::SetWorkerEntry(test_support::BlockingWorker);
  Initialise();
  ASSERT_EQ(engine_.CreateTask(SpecFor("a")), 1);
  engine::ReleaseTask(1);
  static std::int32_t nested_result = 0;
  platform::ui::post_to_ui([this] { nested_result = engine_.CreateTask(SpecFor("b")); });
  platform::ui::post_to_ui([] { RuntimeOf(1).StopRequested = true; });
  EXPECT_EQ(engine_.CreateTask(SpecFor("c")), 1);
  EXPECT_EQ(nested_result, -1);
  EXPECT_EQ(engine_.GetTaskCount(), 1);
  EXPECT_EQ(engine_.CreateTask(SpecFor("d")), 2);  // the guard is free again
}

TEST_F(EngineTest, PumpWaitServesTheUiThreadAndSleepsElsewhere) {
  bool served = false;
  platform::ui::post_to_ui([&served] { served = true; });
  std::thread elsewhere([] {
    const auto started = std::chrono::steady_clock::now();
    engine::PumpWait(30);
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(30));
  });
  elsewhere.join();
  EXPECT_FALSE(served);
  const auto started = std::chrono::steady_clock::now();
  engine::PumpWait(60);
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(60));
  EXPECT_TRUE(served);
}

TEST_F(EngineTest, StartTaskRunsWorkerOneOnTheTaskWithItsArgument) {
  engine::SetWorkerEntry(test_support::RecordingWorker);
  Initialise();
  ASSERT_EQ(engine_.CreateTask(SpecFor("a")), 1);
  engine::JoinTaskThreads(1, engine::WaitStyle::Plain);
  ASSERT_EQ(engine_.CreateTask(SpecFor("b")), 2);
  engine::JoinTaskThreads(2, engine::WaitStyle::Plain);
  EXPECT_EQ(test_support::WorkerArguments(), (std::vector<std::string>{"1,1", "2,1"}));
}

TEST_F(EngineTest, StartTaskLeavesARunWithLiveThreadsAlone) {
  engine::SetWorkerEntry(test_support::BlockingWorker);
  Initialise();
  ASSERT_EQ(engine_.CreateTask(SpecFor("a")), 1);
  engine_.StartTask(1);
  EXPECT_EQ(RuntimeOf(1).LiveThreads, 1);
  ClearEvents();
  engine_.StartTask(0);
  engine_.StartTask(9);
  EXPECT_TRUE(StateEvents().empty());  // ids beyond the table are not told to anybody
  engine_.StartTask(255);
  EXPECT_EQ(StateEvents(), (std::vector<StateEvent>{{255, 98, "", "任务ID错误！ - 10000"}}));
}

TEST_F(EngineTest, TheDefaultWorkerEntryFailsTheTaskPlainly) {
  engine::SetWorkerEntry(nullptr);
  Initialise();
  ASSERT_EQ(engine_.CreateTask(SpecFor("a")), 1);
  engine::JoinTaskThreads(1, engine::WaitStyle::Plain);
  EXPECT_EQ(RuntimeOf(1).State, engine::kStateFree);
  EXPECT_EQ(StateEvents().back(),
            (StateEvent{1, 98, WindowsPath("a"), "下载线程不可用,无法下载"}));
}

// ---- the table's operations ----

TEST_F(EngineTest, CountsAndValidity) {
  Initialise();
  EXPECT_FALSE(engine_.IsTaskValid(1));
  ASSERT_EQ(engine_.CreateTask(SpecFor("a")), 1);
  ASSERT_EQ(engine_.CreateTask(SpecFor("b")), 2);
  RuntimeOf(2).State = engine::kStateDownloading;
  EXPECT_EQ(engine_.GetTaskCount(), 2);
  EXPECT_EQ(engine_.GetDownloadingCount(), 1);

  struct Case {
    std::int32_t state;
    bool valid, running;
  };
  const Case cases[] = {{0, true, true},  {2, true, true},  {4, true, false}, {6, true, false},
                        {90, false, false}, {98, true, true}, {99, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.state);
    RuntimeOf(1).State = c.state;
    EXPECT_EQ(engine_.IsTaskValid(1), c.valid);
    EXPECT_EQ(engine_.IsTaskRunning(1), c.running);
  }
  ClearEvents();
  EXPECT_FALSE(engine_.IsTaskRunning(0));
  EXPECT_FALSE(engine_.IsTaskValid(0));
  EXPECT_FALSE(engine_.IsTaskValid(3));
  EXPECT_TRUE(StateEvents().empty());
  EXPECT_FALSE(engine_.IsTaskValid(255));
  EXPECT_EQ(StateEvents(), (std::vector<StateEvent>{{255, 98, "", "任务ID错误！"}}));
}

TEST_F(EngineTest, PauseTask) {
  Initialise();
  ASSERT_EQ(engine_.CreateTask(SpecFor("a")), 1);
  const std::string path = WindowsPath("a");
  ClearEvents();
  EXPECT_TRUE(engine_.PauseTask(1));  // running (starting)
  EXPECT_EQ(RuntimeOf(1).State, engine::kStatePausing);
  EXPECT_TRUE(engine_.PauseTask(1));  // not running: reported paused again
  EXPECT_EQ(StateEvents(), (std::vector<StateEvent>{{1, 7, path, "暂停中..."},
                                                    {1, 4, path, "下载被暂停"}}));
  engine::ReleaseTask(1);
  ClearEvents();
  EXPECT_FALSE(engine_.PauseTask(1));
  EXPECT_FALSE(engine_.PauseTask(2));
  EXPECT_TRUE(StateEvents().empty());
}

TEST_F(EngineTest, ReleaseKeepsThreadCountHeadersAndSegmentBounds) {
  Initialise();
  DownloadTaskSpec spec = SpecFor("a");
  spec.ExtraHeaders = "Cookie: a=1";
  ASSERT_EQ(engine_.CreateTask(spec), 1);
  engine::TaskRuntime& runtime = RuntimeOf(1);
  runtime.Segments.resize(2);
  runtime.Segments[1].Start = 10;
  runtime.Segments[1].End = 19;
  runtime.Segments[1].Done = 4;
  runtime.AlreadySize = 4;
  runtime.ActiveThreads = 2;
  engine::ReleaseTask(1);
  const DownloadTaskSpec released = SpecOf(1);
  EXPECT_EQ(released.Url, "");
  EXPECT_EQ(released.LocatName, "");
  EXPECT_EQ(released.DownUrl, "");
  EXPECT_EQ(released.Size, 0);
  EXPECT_EQ(released.InitThreadCount, 5);
  EXPECT_EQ(released.ExtraHeaders, "Cookie: a=1");
  EXPECT_EQ(runtime.State, engine::kStateFree);
  EXPECT_EQ(runtime.ActiveThreads, 0);
  EXPECT_EQ(runtime.AlreadySize, 0);
  EXPECT_EQ(runtime.Segments[1].Start, 10);
  EXPECT_EQ(runtime.Segments[1].End, 19);
  EXPECT_EQ(runtime.Segments[1].Done, 0);
}

TEST_F(EngineTest, NotificationsOfIdZeroAndOfIdsBeyondTheTableAreDropped) {
  Initialise();
  ASSERT_EQ(engine_.CreateTask(SpecFor("a")), 1);
  ClearEvents();
  engine::NotifyState(0, 98, "x");
  engine::NotifyState(2, 98, "x");
  engine::NotifyState(255, 1, "y");
  engine::NotifyState(1, 7, "z");
  EXPECT_EQ(StateEvents(), (std::vector<StateEvent>{{255, 1, "", "y"}, {1, 7, WindowsPath("a"), "z"}}));
}

TEST_F(EngineTest, StopTaskOnATaskThatIsNotRunningChangesNothing) {
  Initialise();
  EXPECT_EQ(engine_.StopAllTasks(), 0);
  ASSERT_EQ(engine_.CreateTask(SpecFor("a")), 1);
  engine::EditSpec(1, [](DownloadTaskSpec& spec) { spec.LocatName += "!BT"; });
  PutFile("a!BT");
  RuntimeOf(1).State = engine::kStatePausing;
  ClearEvents();
  EXPECT_TRUE(engine_.StopTask(1));
  EXPECT_EQ(RuntimeOf(1).State, engine::kStatePausing);
  EXPECT_TRUE(FileThere("a!BT"));
  EXPECT_TRUE(StateEvents().empty());
  EXPECT_FALSE(engine_.StopTask(0));
  EXPECT_FALSE(engine_.StopTask(255));
  EXPECT_EQ(StateEvents(), (std::vector<StateEvent>{{255, 98, "", "任务ID错误！"}}));
}

TEST_F(EngineTest, StoppingATaskWhoseWorkerIsBlockedReturnsPromptlyAndLeavesNoThread) {
  engine::SetWorkerEntry(test_support::BlockingWorker);
  Initialise();
  // A first thread can bring helper threads of the runtime along (ThreadSanitizer starts one):
  // count after they exist.
  std::thread([] {}).join();
  const int threads_before = process_threads();
  ASSERT_EQ(engine_.CreateTask(SpecFor("a")), 1);
  engine::EditSpec(1, [](DownloadTaskSpec& spec) { spec.LocatName += "!BT"; });
  PutFile("a!BT");
  PutFile("a!BT.Config");
  RuntimeOf(1).State = engine::kStateDownloading;
  EXPECT_EQ(process_threads(), threads_before + 1);
  const std::string path = WindowsPath("a!BT");
  ClearEvents();

  const auto started = std::chrono::steady_clock::now();
  EXPECT_TRUE(engine_.StopTask(1));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));

  EXPECT_EQ(RuntimeOf(1).LiveThreads, 0);
  EXPECT_TRUE(RuntimeOf(1).Threads.empty());
  EXPECT_EQ(process_threads(), threads_before);
  EXPECT_FALSE(FileThere("a!BT"));
  EXPECT_FALSE(FileThere("a!BT.Config"));
  EXPECT_EQ(RuntimeOf(1).State, engine::kStateFree);
  EXPECT_EQ(ProgressEvents().size(), 1u);
  EXPECT_EQ(StateEvents(), (std::vector<StateEvent>{{1, 6, path, "下载被停止！"}}));
}

TEST_F(EngineTest, StopAllTasksVisitsEveryId) {
  engine::SetWorkerEntry(test_support::BlockingWorker);
  Initialise();
  for (const char* name : {"a", "b", "c"}) ASSERT_GE(engine_.CreateTask(SpecFor(name)), 1);
  engine::ReleaseTask(2);  // a worker that completed on its own; its thread may still be there
  EXPECT_EQ(engine_.StopAllTasks(), 3);
  for (int id = 1; id <= 3; ++id) EXPECT_EQ(RuntimeOf(id).State, engine::kStateFree);
  EXPECT_EQ(RuntimeOf(1).LiveThreads, 0);
  EXPECT_EQ(RuntimeOf(3).LiveThreads, 0);
}

TEST_F(EngineTest, DeleteTaskFiles) {
  Initialise();
  ASSERT_EQ(engine_.CreateTask(SpecFor("a")), 1);
  engine::EditSpec(1, [](DownloadTaskSpec& spec) { spec.LocatName += "!BT"; });
  PutFile("a!BT");
  PutFile("a!BT.Config");
  EXPECT_TRUE(engine_.DeleteTaskFiles(1));
  EXPECT_FALSE(FileThere("a!BT"));
  EXPECT_FALSE(FileThere("a!BT.Config"));
  EXPECT_FALSE(engine_.DeleteTaskFiles(1));  // nothing left to delete
  EXPECT_FALSE(engine_.DeleteTaskFiles(2));
}

// ---- continuing a paused task ----

TEST_F(EngineTest, ContinueCompletesThePauseAndResumesUnderTheSameId) {
  engine::SetWorkerEntry(test_support::RecordingWorker);
  Initialise();
  ASSERT_EQ(engine_.CreateTask(SpecFor("a.zip", "http://127.0.0.1/a.zip")), 1);
  engine::JoinTaskThreads(1, engine::WaitStyle::Plain);
  // As worker 1 leaves it once the size is known and the file made.
  engine::EditSpec(1, [](DownloadTaskSpec& spec) { spec.LocatName += "!BT"; });
  PutFile("a.zip!BT", std::string(4096, 'x'));
  engine::TaskRuntime& runtime = RuntimeOf(1);
  runtime.FileSize = 4096;
  runtime.AlreadySize = 1000;
  runtime.Segments[0].Done = 1000;
  EXPECT_TRUE(engine_.PauseTask(1));
  const std::string temp = WindowsPath("a.zip!BT");
  ClearEvents();

  EXPECT_TRUE(engine_.ContinueTask(1));
  EXPECT_EQ(StateEvents(), (std::vector<StateEvent>{{1, 4, temp, "下载被暂停"},
                                                    {1, 5, temp, "继续下载,启动中..."},
                                                    {1, 1, temp, "正在启动断点续传下载..."}}));
  engine::JoinTaskThreads(1, engine::WaitStyle::Plain);
  EXPECT_EQ(test_support::WorkerArguments(), (std::vector<std::string>{"1,1"}));
  EXPECT_EQ(runtime.State, engine::kStateStarting);
  EXPECT_EQ(runtime.FileSize, 4096);
  EXPECT_EQ(runtime.Segments[0].Done, 1000);
  EXPECT_EQ(SpecOf(1).Url, "http://127.0.0.1/a.zip");
}

TEST_F(EngineTest, ContinueFailsWhenTheTemporaryFileIsGone) {
  Initialise();
  ASSERT_EQ(engine_.CreateTask(SpecFor("a.zip")), 1);
  engine::EditSpec(1, [](DownloadTaskSpec& spec) { spec.LocatName += "!BT"; });
  RuntimeOf(1).State = engine::kStatePausing;
  ClearEvents();
  EXPECT_FALSE(engine_.ContinueTask(1));
  const std::string temp = WindowsPath("a.zip!BT");
  EXPECT_EQ(StateEvents(),
            (std::vector<StateEvent>{{1, 4, temp, "下载被暂停"},
                                     {1, 98, temp, "继续下载失败，原因：文件不存在，可能被删除了！"}}));
  EXPECT_EQ(RuntimeOf(1).State, engine::kStateFree);
  EXPECT_FALSE(engine_.ContinueTask(1));  // released
}

TEST_F(EngineTest, ContinueOnARunningTaskHasNothingToDo) {
  Initialise();
  ASSERT_EQ(engine_.CreateTask(SpecFor("a.zip")), 1);
  ClearEvents();
  EXPECT_TRUE(engine_.ContinueTask(1));
  EXPECT_TRUE(StateEvents().empty());
  EXPECT_FALSE(engine_.ContinueTask(7));
}

// ---- the engine's clock ----

TEST(EngineClock, SecondsSinceEightOClockOnNewYearsDay1970) {
  struct Case {
    engine::LocalDateTime time;
    bool in_seconds, eight_hour_base;
    std::int64_t want;
  };
  const Case cases[] = {
      {{1970, 1, 1, 8, 0, 0}, true, true, 0},
      {{1970, 1, 1, 0, 0, 0}, true, true, -28800},
      {{1970, 1, 1, 0, 0, 0}, true, false, 0},
      {{1970, 1, 2, 8, 0, 1}, true, true, 86401},
      {{1970, 1, 2, 8, 0, 1}, false, true, 86401000},
      {{2000, 3, 1, 8, 0, 0}, true, true, 951868800},  // past a leap day
      {{2026, 12, 11, 19, 38, 54}, false, true, 1796989134000},
  };
  for (const Case& c : cases) EXPECT_EQ(engine::UnixTime(c.time, c.in_seconds, c.eight_hour_base), c.want);
}

TEST(EngineClock, NowIsZeroAtTheBase) {
  engine::SetLocalClock([] { return engine::LocalDateTime{1970, 1, 1, 8, 0, 0}; });
  EXPECT_EQ(engine::UnixNow(), 0);
  engine::SetLocalClock(nullptr);
}

TEST(EngineClock, NowIsUnixTimeOnAClockSetToUtcPlusEight) {
  const char* saved = std::getenv("TZ");
  const std::string saved_tz = saved ? saved : "";
  ::setenv("TZ", "UTC-8", 1);
  ::tzset();
  const std::int32_t now = engine::UnixNow();
  const long long date_now = std::stoll(test_support::run_command("TZ=UTC-8 date +%s"));
  saved ? ::setenv("TZ", saved_tz.c_str(), 1) : ::unsetenv("TZ");
  ::tzset();
  EXPECT_LE(std::llabs(date_now - now), 1);
}

}  // namespace
