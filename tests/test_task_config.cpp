// The resume file: what a save writes, what a load accepts, how CreateTask resumes from it or
// starts afresh, that a save killed at any moment leaves a complete file, and that a real INI
// reader (Python's configparser) reads what we write.
#include "engine/task_config.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <set>
#include <thread>

#include "engine/clock.h"
#include "engine/number_text.h"
#include "engine/task_cipher.h"
#include "engine/worker_threads.h"
#include "platform/codepage/codepage.h"
#include "platform/files/profile.h"
#include "tests/support/engine_fixture.h"

namespace {

using engine::DownloadTaskSpec;
using engine::RuntimeOf;
using engine::SpecOf;
using test_support::StateEvent;

constexpr char kUrl[] = "http://127.0.0.1/skinvault/Map6.zip";
constexpr engine::LocalDateTime kNow{2026, 12, 11, 20, 0, 0};

class TaskConfigTest : public test_support::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    engine::SetLocalClock([] { return kNow; });
  }

  // Task 1 as worker 1 and the timer leave it mid-download: temporary file made, `threads`
  // segments planned with some bytes each.
  void PrepareDownloadingTask(std::uint8_t threads, bool encrypt_url = false) {
    std::filesystem::remove(HostPath("a.zip!BT.Config"));
    Initialise(encrypt_url);
    DownloadTaskSpec spec = SpecFor("a.zip", kUrl);
    spec.InitThreadCount = threads;
    spec.DownUrl = "http://127.0.0.1/list.html";
    ASSERT_EQ(engine_.CreateTask(spec), 1);
    engine::JoinTaskThreads(1, engine::WaitStyle::Plain);
    engine::EditSpec(1, [](DownloadTaskSpec& s) { s.LocatName += "!BT"; });
    PutFile("a.zip!BT", std::string(3000, 'x'));
    engine::TaskRuntime& runtime = RuntimeOf(1);
    runtime.State = engine::kStateDownloading;
    runtime.FileSize = 3000;
    runtime.StartTime = engine::UnixNow() - 40;
    runtime.AlreadyTime = 25;
    runtime.Segments.resize(threads);
    std::int32_t total = 0;
    for (int i = 0; i < threads; ++i) {
      runtime.Segments[i].Done = 10 * (i + 1);
      total += 10 * (i + 1);
    }
    runtime.AlreadySize = total;
  }

  std::string ConfigPath() const { return WindowsPath("a.zip!BT.Config"); }
  void Save() const { engine::SaveTaskConfig(ConfigPath(), 1); }
  std::string Read(const char* section, const char* key) const {
    return platform::files::read_profile_string(ConfigPath(), section, key, "(missing)");
  }
  void Write(const char* section, const char* key, std::string_view value) const {
    ASSERT_TRUE(platform::files::write_profile_string(ConfigPath(), section, key, value));
  }
  // The state a failed resume leaves: -1, the one error text, the entry released, files kept.
  void ExpectResumeFails(std::string_view text) {
    ClearEvents();
    EXPECT_EQ(engine_.CreateTask(SpecFor("a.zip", kUrl)), -1);
    ASSERT_FALSE(StateEvents().empty());
    EXPECT_EQ(StateEvents().back().code, 98);
    EXPECT_EQ(StateEvents().back().text, text);
    EXPECT_EQ(RuntimeOf(1).State, engine::kStateFree);
    EXPECT_TRUE(FileThere("a.zip!BT"));
    EXPECT_TRUE(FileThere("a.zip!BT.Config"));
  }
  // Frees task 1 so that CreateTask picks it up again from the file.
  void ReleaseForResume() { engine::ReleaseTask(1); }
};

TEST_F(TaskConfigTest, SaveWritesEverySectionAndKeyInOrder) {
  PrepareDownloadingTask(3);
  Save();
  const std::string expected = std::string() +
      "[说明]\r\n"
      "友情提示=请不要更改本配置文件中的任意位置，否则可能造成不能断点续传\r\n"
      "下载说明=" + std::string(engine::NoteText) + "\r\n"
      "[Task]\r\n"
      "Url=" + kUrl + "\r\n"
      "DownUrl=http://127.0.0.1/list.html\r\n"
      "LocatName=" + WindowsPath("a.zip!BT") + "\r\n"
      "Size=20480\r\n"
      "InitThreadCount=3\r\n"
      "[Info]\r\n"
      "AlreadyTime=25\r\n"
      "StatrTime=" + std::to_string(engine::UnixNow() - 40) + "\r\n"
      "FileSize=3000\r\n"
      "AlreadySize=60\r\n"
      "Thread1=10\r\n"
      "Thread2=20\r\n"
      "Thread3=30\r\n";
  EXPECT_EQ(test_support::read_host_file(HostPath("a.zip!BT.Config")), expected);
}

TEST_F(TaskConfigTest, ThreadKeysWithoutASegmentRecordNoProgress) {
  PrepareDownloadingTask(2);
  engine::EditSpec(1, [](DownloadTaskSpec& spec) { spec.InitThreadCount = 4; });
  Save();
  EXPECT_EQ(Read("Info", "Thread2"), "20");
  EXPECT_EQ(Read("Info", "Thread3"), "0");
  EXPECT_EQ(Read("Info", "Thread4"), "0");
  EXPECT_EQ(Read("Info", "Thread5"), "(missing)");
}

TEST_F(TaskConfigTest, LoadRestoresTheTask) {
  PrepareDownloadingTask(3);
  Save();
  ReleaseForResume();
  ASSERT_TRUE(engine::LoadTaskConfig(ConfigPath(), 1));
  const DownloadTaskSpec spec = SpecOf(1);
  EXPECT_EQ(spec.Url, kUrl);
  EXPECT_EQ(spec.DownUrl, "http://127.0.0.1/list.html");
  EXPECT_EQ(spec.LocatName, WindowsPath("a.zip!BT"));
  EXPECT_EQ(spec.Size, 20480);
  EXPECT_EQ(spec.InitThreadCount, 3);
  const engine::TaskRuntime& runtime = RuntimeOf(1);
  EXPECT_EQ(runtime.AlreadyTime, 25);
  EXPECT_EQ(runtime.StartTime, engine::UnixNow() - 40);
  EXPECT_EQ(runtime.FileSize, 3000);
  EXPECT_EQ(runtime.AlreadySize, 60);
  ASSERT_EQ(runtime.Segments.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(runtime.Segments[i].Done, 10 * (i + 1));
    EXPECT_EQ(runtime.Segments[i].Start, 0);
  }
}

TEST_F(TaskConfigTest, MissingKeysReadAsTheirDefaults) {
  PrepareDownloadingTask(3);
  // Only the note section and the keys the validity rule needs.
  test_support::write_host_file(
      HostPath("a.zip!BT.Config"),
      "[说明]\r\n[Task]\r\nUrl=" + std::string(kUrl) + "\r\nLocatName=" +
          WindowsPath("a.zip!BT") + "\r\n[Info]\r\nFileSize=3000\r\nThread2=7\r\n");
  ReleaseForResume();
  ASSERT_TRUE(engine::LoadTaskConfig(ConfigPath(), 1));  // a missing note reads as the note
  const DownloadTaskSpec spec = SpecOf(1);
  EXPECT_EQ(spec.DownUrl, "-1");
  EXPECT_EQ(spec.Size, 10240);
  EXPECT_EQ(spec.InitThreadCount, 3);
  const engine::TaskRuntime& runtime = RuntimeOf(1);
  EXPECT_EQ(runtime.AlreadyTime, -1);
  EXPECT_EQ(runtime.StartTime, -1);
  EXPECT_EQ(runtime.AlreadySize, -1);
  ASSERT_EQ(runtime.Segments.size(), 3u);
  EXPECT_EQ(runtime.Segments[0].Done, 0);
  EXPECT_EQ(runtime.Segments[1].Done, 7);
  EXPECT_EQ(runtime.Segments[2].Done, 0);
}

TEST_F(TaskConfigTest, NumbersAreTheirLeadingDigits) {
  struct Case {
    const char* text;
    std::int32_t value;
  };
  const Case cases[] = {{"42", 42},          {"  42", 42},         {"\t-7", -7},
                        {"+5", 5},           {"12.9", 12},         {"-12.9", -12},
                        {"1e3", 1},          {"abc", 0},           {"", 0},
                        {"- 3", 0},          {"2147483647", 2147483647},
                        {"99999999999", 2147483647}, {"-99999999999", -2147483647 - 1}};
  for (const Case& c : cases) EXPECT_EQ(engine::LeadingInteger(c.text), c.value) << c.text;

  PrepareDownloadingTask(2);
  Save();
  Write("Task", "InitThreadCount", "258");  // one byte: 2
  Write("Task", "Size", "  30000 bytes");
  Write("Info", "Thread1", "15.75");
  ReleaseForResume();
  ASSERT_TRUE(engine::LoadTaskConfig(ConfigPath(), 1));
  EXPECT_EQ(SpecOf(1).InitThreadCount, 2);
  EXPECT_EQ(SpecOf(1).Size, 30000);
  EXPECT_EQ(RuntimeOf(1).Segments[0].Done, 15);
}

TEST_F(TaskConfigTest, ValidityRule) {
  struct Case {
    const char* what;
    const char* section;
    const char* key;
    const char* value;
  };
  const Case cases[] = {
      {"file size 0", "Info", "FileSize", "0"},
      {"file size -1", "Info", "FileSize", "-1"},
      {"address of 9 characters", "Task", "Url", "http://ab"},
      {"no temporary file under LocatName", "Task", "LocatName", "Z:\\nowhere\\a.zip!BT"},
  };
  PrepareDownloadingTask(2);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Save();
    EXPECT_TRUE(engine::LoadTaskConfig(ConfigPath(), 1));
    Write(c.section, c.key, c.value);
    EXPECT_FALSE(engine::LoadTaskConfig(ConfigPath(), 1));
    engine::EditSpec(1, [&](DownloadTaskSpec& spec) { spec.LocatName = WindowsPath("a.zip!BT"); });
    engine::EditSpec(1, [&](DownloadTaskSpec& spec) { spec.Url = kUrl; });
    RuntimeOf(1).FileSize = 3000;
  }
}

TEST_F(TaskConfigTest, EncryptUrlOnWriteAndOnRead) {
  struct Case {
    bool write_encrypted, read_encrypted;
    bool loads;
  };
  const Case cases[] = {{false, false, true}, {true, true, true}, {false, true, false},
                        {true, false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.write_encrypted << "/" << c.read_encrypted);
    engine::ReleaseEngineState();
    engine_ = engine::DownloadEngine();
    PrepareDownloadingTask(2, c.write_encrypted);
    Save();
    const std::string stored = Read("Task", "Url");
    if (c.write_encrypted) {
      ASSERT_EQ(stored.size(), 2 * std::string_view(kUrl).size() + 9);
      EXPECT_EQ(stored.find_first_not_of("0123456789ABCDEF"), std::string::npos);
      EXPECT_EQ(stored.substr(stored.size() - 9), engine::KeyTag(engine::UrlKey()));
    } else {
      EXPECT_EQ(stored, kUrl);
    }
    ReleaseForResume();
    engine::SetEncryptUrl(c.read_encrypted);
    EXPECT_EQ(engine::LoadTaskConfig(ConfigPath(), 1), c.loads);
    if (c.loads) {
      EXPECT_EQ(SpecOf(1).Url, c.write_encrypted == c.read_encrypted ? std::string(kUrl) : stored);
    } else {
      EXPECT_EQ(SpecOf(1).Url, "");
    }
    // Through CreateTask a loaded task always downloads from the client's address.
    ReleaseForResume();
    const std::string client_url = "http://127.0.0.1/other/Map6.zip";
    const std::int32_t id = engine_.CreateTask(SpecFor("a.zip", client_url));
    EXPECT_EQ(id, c.loads ? 1 : -1);
    if (c.loads) {
      EXPECT_EQ(SpecOf(1).Url, client_url);
    }
  }
}

TEST_F(TaskConfigTest, AnAddressEncipheredWithAnotherKeyFailsTheResume) {
  PrepareDownloadingTask(2, true);
  Save();
  const std::string stored = Read("Task", "Url");
  Write("Task", "Url", stored.substr(0, stored.size() - 9) + engine::KeyTag("another key"));
  ReleaseForResume();
  ExpectResumeFails("断点持续失败，原因：配置文件不存在，或被改过！");
}

TEST_F(TaskConfigTest, AnyChangedCharacterOfTheNoteFailsTheResume) {
  const std::string note(engine::NoteText);
  // Each GBK character of the note is two bytes: change the first, a middle and the last one.
  for (std::size_t at : {std::size_t{0}, note.size() / 2 & ~std::size_t{1}, note.size() - 2}) {
    SCOPED_TRACE(at);
    engine::ReleaseEngineState();
    engine_ = engine::DownloadEngine();
    PrepareDownloadingTask(2);
    Save();
    std::string edited = note;
    edited.replace(at, 2, edited.compare(at, 2, "中") == 0 ? "国" : "中");
    Write("说明", "下载说明", edited);
    ReleaseForResume();
    ExpectResumeFails("断点持续失败，原因：配置文件不存在，或被改过！");
  }
}

TEST_F(TaskConfigTest, AFileWithoutTheInfoSectionFailsTheResume) {
  PrepareDownloadingTask(2);
  Save();
  std::string text = test_support::read_host_file(HostPath("a.zip!BT.Config"));
  text.erase(text.find("[Info]"));
  test_support::write_host_file(HostPath("a.zip!BT.Config"), text);
  ReleaseForResume();
  ExpectResumeFails("断点持续失败，原因：配置文件不存在，或被改过！");
}

TEST_F(TaskConfigTest, CreateTaskResumesFromTheFileAndTheTemporaryFile) {
  engine::SetWorkerEntry(test_support::RecordingWorker);
  PrepareDownloadingTask(3);
  Save();
  ReleaseForResume();
  ClearEvents();
  ASSERT_EQ(engine_.CreateTask(SpecFor("a.zip", kUrl)), 1);
  EXPECT_EQ(StateEvents(), (std::vector<StateEvent>{
                               {1, 1, WindowsPath("a.zip!BT"), "正在启动断点续传下载..."}}));
  engine::JoinTaskThreads(1, engine::WaitStyle::Plain);
  EXPECT_EQ(test_support::WorkerArguments(), (std::vector<std::string>{"1,1"}));
  EXPECT_EQ(RuntimeOf(1).StartTime, engine::UnixNow() - 25);  // elapsed time carries on
  EXPECT_EQ(RuntimeOf(1).Segments[2].Done, 30);
  EXPECT_TRUE(FileThere("a.zip!BT"));
  EXPECT_TRUE(engine_.IsPathInUse(WindowsPath("a.zip")));
}

TEST_F(TaskConfigTest, WithoutTheTemporaryFileCreateTaskStartsAfreshAndDeletesTheFile) {
  PrepareDownloadingTask(2);
  Save();
  ReleaseForResume();
  std::filesystem::remove(HostPath("a.zip!BT"));
  ClearEvents();
  ASSERT_EQ(engine_.CreateTask(SpecFor("a.zip", kUrl)), 1);
  EXPECT_FALSE(FileThere("a.zip!BT.Config"));
  EXPECT_EQ(StateEvents(),
            (std::vector<StateEvent>{{1, 99, WindowsPath("a.zip"), "任务启动中,任务ID：1"}}));
}

TEST_F(TaskConfigTest, ResumeNeedsATaskThatIsStarting) {
  PrepareDownloadingTask(2);
  Save();
  for (std::int32_t state : {engine::kStatePausing, engine::kStateFree}) {
    RuntimeOf(1).State = state;
    ClearEvents();
    EXPECT_EQ(engine_.ResumeFromConfig(WindowsPath("a.zip"), 1, kUrl), -1);
    ASSERT_EQ(StateEvents().size(), 1u);
    EXPECT_EQ(StateEvents()[0].text, "断点持续失败，原因：任务状态不正常！");
    EXPECT_EQ(RuntimeOf(1).State, state);
  }
}

TEST_F(TaskConfigTest, ResumeLeavesATaskWithLiveThreadsAlone) {
  PrepareDownloadingTask(2);
  Save();
  engine::SetWorkerEntry(test_support::BlockingWorker);
  ASSERT_TRUE(engine::LaunchWorker(1, 2));
  ClearEvents();
  EXPECT_EQ(engine_.ResumeFromConfig(WindowsPath("a.zip"), 1, kUrl), -1);
  EXPECT_EQ(StateEvents().back().text, "断点持续失败，原因：任务状态不正常！");
  EXPECT_EQ(RuntimeOf(1).Segments.size(), 2u);
}

// A save killed at any moment leaves the old or the new file, both complete.
TEST_F(TaskConfigTest, ASaveKilledAtRandomMomentsNeverLeavesATornFile) {
  PrepareDownloadingTask(5);
  Save();
  std::mt19937 random(12345);
  std::set<std::int32_t> seen;
  for (int round = 0; round < 40; ++round) {
    int started[2];
    ASSERT_EQ(::pipe(started), 0);
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      // Alternate between two consistent states: every Done follows AlreadySize.
      for (std::int32_t step = 1;; ++step) {
        const std::int32_t unit = step % 2 == 0 ? 10 : 1000;
        engine::TaskRuntime& runtime = RuntimeOf(1);
        for (int i = 0; i < 5; ++i) runtime.Segments[i].Done = unit * (i + 1);
        runtime.AlreadySize = unit * 15;
        Save();
        if (step == 1) (void)!::write(started[1], "s", 1);
      }
    }
    ::close(started[1]);
    pollfd first_save{started[0], POLLIN, 0};
    ASSERT_EQ(::poll(&first_save, 1, 10000), 1) << "the child never saved";
    ::close(started[0]);
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 5000));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);

    ASSERT_TRUE(engine::LoadTaskConfig(ConfigPath(), 1)) << "round " << round;
    const engine::TaskRuntime& runtime = RuntimeOf(1);
    const std::int32_t unit = runtime.AlreadySize / 15;
    ASSERT_TRUE(unit == 10 || unit == 1000) << runtime.AlreadySize;
    seen.insert(unit);
    ASSERT_EQ(runtime.Segments.size(), 5u);
    for (int i = 0; i < 5; ++i) ASSERT_EQ(runtime.Segments[i].Done, unit * (i + 1));
    EXPECT_EQ(SpecOf(1).Url, kUrl);
  }
  EXPECT_EQ(seen.size(), 2u);  // the killed saves did replace the file
}

// Python's configparser, given the file decoded as GBK, sees the same sections, keys and values.
TEST_F(TaskConfigTest, ConfigparserReadsWhatWeWrite) {
  PrepareDownloadingTask(3, true);
  Save();
  const std::string script =
      "import configparser,sys\n"
      "p=configparser.ConfigParser(interpolation=None)\n"
      "p.optionxform=str\n"
      "p.read_string(open(sys.argv[1],'rb').read().decode('gbk'))\n"
      "for s in p.sections():\n"
      "  for k,v in p.items(s): print(s+'|'+k+'|'+v)\n";
  test_support::write_host_file(HostPath("dump.py"), script);
  int status = -1;
  const std::string dumped = test_support::run_command(
      "PYTHONIOENCODING=utf-8 python3 '" + HostPath("dump.py") + "' '" +
          HostPath("a.zip!BT.Config") + "'",
      &status);
  ASSERT_EQ(status, 0);

  // Every "key=value" line of the file, as section|key|value.
  const std::string text = test_support::read_host_file(HostPath("a.zip!BT.Config"));
  std::string expected, section;
  for (std::size_t at = 0, end; at < text.size(); at = end + 2) {
    end = text.find("\r\n", at);
    const std::string line = text.substr(at, end - at);
    if (line.front() == '[') {
      section = line.substr(1, line.size() - 2);
      continue;
    }
    const std::size_t equals = line.find('=');
    expected += section + "|" + line.substr(0, equals) + "|" + line.substr(equals + 1) + "\n";
  }
  EXPECT_EQ(dumped, platform::codepage::gbk_to_utf8(expected));
  EXPECT_NE(dumped.find("Thread3|30"), std::string::npos);
}

}  // namespace
