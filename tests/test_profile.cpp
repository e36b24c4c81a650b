// Private-profile files: reading with defaults, editing in place, atomic and serialised writes,
// and the format as a real INI reader (Python's configparser) sees it.
#include "platform/files/profile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "platform/codepage/codepage.h"
#include "platform/files/files.h"

namespace {

namespace fs = std::filesystem;
using platform::files::ProfileEntry;
using platform::files::read_profile_string;
using platform::files::write_profile_string;
using platform::files::write_profile_strings;

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("profile_test_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    host_file_ = (folder_ / "a.Config").string();
    path_ = platform::files::windows_path(host_file_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string file_bytes() const {
    std::ifstream in(host_file_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void set_file_bytes(std::string_view bytes) const {
    std::ofstream(host_file_, std::ios::binary) << bytes;
  }
  std::size_t files_in_folder() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), {}));
  }

  fs::path folder_;
  std::string host_file_;
  std::string path_;  // the Windows-style GBK name the program uses
};

TEST_F(ProfileTest, ReadGivesTheDefaultWhenFileSectionOrKeyIsMissing) {
  EXPECT_EQ(read_profile_string(path_, "Task", "Size", "10240"), "10240");
  set_file_bytes("[Task]\r\nUrl=x\r\n[Info]\r\nSize=\r\n");
  EXPECT_EQ(read_profile_string(path_, "说明", "Url", "-1"), "-1");
  EXPECT_EQ(read_profile_string(path_, "Task", "Size", "10240"), "10240");
  EXPECT_EQ(read_profile_string(path_, "Info", "Size", "10240"), "") << "present but empty";
}

TEST_F(ProfileTest, ReadsMatchNamesLikeTheSystemDoes) {
  // LF-only lines, blanks around names and values, comments, a key outside any section, and
  // double-byte names whose trail bytes are ASCII letters or brackets (礎 B5 41, 礱 B5 61, 礭 B5
  // 5D).
  set_file_bytes(
      "Url=outside\n; Url=comment\n  [ task ]  \n  URL  =  http://a/b c  \nurl=second\n"
      "[礎]\nk=upper trail\n[礱]\nk=lower trail\n[礭]\n鍵=bracket trail\n");
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"Task", "Url", "http://a/b c"}, {"TASK", "uRL", "http://a/b c"}, {"礎", "K", "upper trail"},
      {"礱", "k", "lower trail"},      {"礭", "鍵", "bracket trail"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(read_profile_string(path_, c.section, c.key, "-1"), c.expected)
        << c.section << "/" << c.key;
  }
}

TEST_F(ProfileTest, WriteCreatesTheFileAndTheSectionWithCrLf) {
  ASSERT_TRUE(write_profile_string(path_, "说明", "友情提示", "请不要更改"));
  ASSERT_TRUE(write_profile_string(path_, "Task", "Url", "http://h/a.zip"));
  ASSERT_TRUE(write_profile_string(path_, "说明", "下载说明", "note"));
  EXPECT_EQ(file_bytes(),
            "[说明]\r\n友情提示=请不要更改\r\n下载说明=note\r\n[Task]\r\nUrl=http://h/a.zip\r\n");
  EXPECT_EQ(files_in_folder(), 1u) << "no temporary file is left behind";
}

TEST_F(ProfileTest, WriteReplacesAValueAndKeepsEveryOtherLine) {
  set_file_bytes("; kept comment\n[TASK]\nURL = old\nunknown=1\n\n[Info]\nSize=3\n");
  ASSERT_TRUE(write_profile_string(path_, "task", "Url", "new"));
  ASSERT_TRUE(write_profile_string(path_, "Task", "Added", "2"));
  ASSERT_TRUE(write_profile_string(path_, "Info", "Size", ""));
  EXPECT_EQ(
      file_bytes(),
      "; kept comment\r\n[TASK]\r\nURL=new\r\nunknown=1\r\nAdded=2\r\n\r\n[Info]\r\nSize=\r\n");
}

TEST_F(ProfileTest, UnfitNamesAndValuesAreRefusedAndLeaveTheFileAlone) {
  set_file_bytes("[Task]\r\nUrl=old\r\n");
  struct Case {
    std::string section, key, value;
  } cases[] = {
      {"Task", "Url", "a\r\n[Info]\r\nFileSize=1"},
      {"Task", "Url", "a\nb"},
      {"Task", "a=b", "v"},
      {"Ta]sk", "k", "v"},
      {"", "k", "v"},
      {"Task", " ", "v"},
      {"Task", ";k", "v"},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(write_profile_string(path_, c.section, c.key, c.value)) << c.section << c.key;
  }
  EXPECT_FALSE(write_profile_strings(path_, {{"Task", "Url", "fine"}, {"Task", "Url", "x\ny"}}))
      << "a batch is all or nothing";
  EXPECT_EQ(file_bytes(), "[Task]\r\nUrl=old\r\n");
  EXPECT_TRUE(write_profile_string(path_, "礭", "k", "v")) << "B5 5D is one character, no bracket";
}

TEST_F(ProfileTest, TextsEndAtTheirFirstZeroByte) {
  using namespace std::string_view_literals;
  ASSERT_TRUE(write_profile_string(path_, "Task\0x"sv, "Url\0y"sv, "v\0z"sv));
  EXPECT_EQ(read_profile_string(path_, "Task", "Url", "-1"), "v");
  EXPECT_EQ(read_profile_string(path_, "Task", "Nope", "d\0e"sv), "d");
}

TEST_F(ProfileTest, BatchAppliesEntriesInOrderWithOneReplacement) {
  set_file_bytes("[Info]\r\nThread1=7\r\n");
  std::vector<ProfileEntry> entries{{"Task", "Size", "10240"}, {"Info", "Thread1", "8"}};
  for (int i = 2; i <= 20; ++i) entries.push_back({"Info", "Thread" + std::to_string(i), "0"});
  entries.push_back({"Task", "Size", "20480"});
  ASSERT_TRUE(write_profile_strings(path_, entries));
  EXPECT_EQ(read_profile_string(path_, "Task", "Size", "-1"), "20480") << "later entries win";
  EXPECT_EQ(read_profile_string(path_, "Info", "Thread1", "-1"), "8");
  EXPECT_EQ(read_profile_string(path_, "Info", "Thread20", "-1"), "0");
  EXPECT_EQ(file_bytes().rfind("[Task]\r\nSize=20480\r\n"), file_bytes().size() - 20);
}

TEST_F(ProfileTest, AnUnreadableFileIsNotReplaced) {
  fs::create_directory(host_file_);  // a folder of that name cannot be read as a file
  EXPECT_FALSE(write_profile_string(path_, "Task", "Url", "x"));
  EXPECT_TRUE(fs::is_directory(host_file_));
}

TEST_F(ProfileTest, WriteKeepsThePermissionsOfTheOldFile) {
  set_file_bytes("[Task]\r\n");
  fs::permissions(host_file_,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(write_profile_string(path_, "Task", "Url", "x"));
  EXPECT_EQ(fs::status(host_file_).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// Every section a saver writes holds all its keys with one generation number.
void expect_complete(const std::string& content, int keys) {
  ASSERT_TRUE(content.empty() || content.ends_with("\r\n")) << content;
  std::istringstream lines(content);
  std::string line, section, generation;
  int count = 0;
  auto close_section = [&] {
    if (!section.empty()) {
      EXPECT_EQ(count, keys) << section << " is torn:\n" << content;
    }
  };
  while (std::getline(lines, line)) {
    ASSERT_TRUE(line.ends_with("\r")) << content;
    line.pop_back();
    if (line.starts_with("[")) {
      close_section();
      section = line, count = 0, generation.clear();
      continue;
    }
    std::string value = line.substr(line.find('=') + 1);
    if (generation.empty()) generation = value;
    EXPECT_EQ(value, generation) << section << " mixes generations:\n" << content;
    ++count;
  }
  close_section();
}

std::vector<ProfileEntry> generation_entries(const std::string& section, int generation, int keys) {
  std::vector<ProfileEntry> entries;
  for (int i = 1; i <= keys; ++i) {
    entries.push_back({section, "Thread" + std::to_string(i), std::to_string(generation)});
  }
  return entries;
}

TEST_F(ProfileTest, OverlappingSavesFromTwoThreadsNeverTearOrLoseTheFile) {
  constexpr int kKeys = 20, kRounds = 300;
  std::atomic<bool> done{false};
  std::atomic<int> failures{0};
  auto saver = [&](const std::string& section) {
    for (int round = 1; round <= kRounds; ++round) {
      if (!write_profile_strings(path_, generation_entries(section, round, kKeys))) ++failures;
      // Single-key writes interleave with the batches of the other thread.
      if (!write_profile_string(path_, section, "Thread1", std::to_string(round))) ++failures;
    }
  };
  std::thread reader([&] {
    while (!done) expect_complete(file_bytes(), kKeys);
  });
  std::thread first(saver, "Timer"), second(saver, "Worker");
  first.join();
  second.join();
  done = true;
  reader.join();
  EXPECT_EQ(failures, 0);
  for (const char* section : {"Timer", "Worker"}) {
    EXPECT_EQ(read_profile_string(path_, section, "Thread20", "-1"), std::to_string(kRounds))
        << "no update of either thread is lost";
  }
  EXPECT_EQ(files_in_folder(), 1u);
}

TEST_F(ProfileTest, AKilledSaverLeavesTheOldOrTheNewFileNeverATornOne) {
  constexpr int kKeys = 20;
  std::mt19937 random(12345);
  for (int kill = 0; kill < 25; ++kill) {
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int generation = 1;; ++generation) {
        write_profile_strings(path_, generation_entries("Info", generation, kKeys));
      }
    }
    std::this_thread::sleep_for(std::chrono::microseconds(2000 + random() % 20000));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    expect_complete(file_bytes(), kKeys);
    ASSERT_FALSE(HasFailure()) << "after kill " << kill;
  }
}

TEST_F(ProfileTest, PythonConfigparserReadsBackWhatWeWrote) {
  const std::vector<ProfileEntry> entries{
      {"说明", "友情提示", "请不要更改本配置文件中的任意位置，否则可能造成不能断点续传"},
      {"Task", "Url", "http://127.0.0.1:8080/skinvault/Map2.zip?a=%20b;c#d"},
      {"Task", "LocatName", "Z:\\opt\\地图包\\礭.zip!BT"},
      {"Info", "Thread1", "-1"},
      {"Info", "Empty", ""},
  };
  set_file_bytes("; a comment configparser skips\n");
  ASSERT_TRUE(write_profile_strings(path_, entries));
  const std::string script =
      "import configparser,sys\n"
      "p=configparser.ConfigParser(interpolation=None,strict=True)\n"
      "p.optionxform=str\n"
      "p.read_string(open(sys.argv[1],'rb').read().decode('gbk'))\n"
      "for s in p.sections():\n"
      "  for k,v in p.items(s):\n"
      "    sys.stdout.buffer.write(('%s|%s|%s\\n'%(s,k,v)).encode('utf-8'))\n";
  const std::string script_file = (folder_ / "read.py").string();
  std::ofstream(script_file) << script;
  FILE* pipe = ::popen(("python3 " + script_file + " '" + host_file_ + "'").c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string utf8;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) utf8.append(buffer, n);
  ASSERT_EQ(::pclose(pipe), 0);
  std::string expected;
  for (const ProfileEntry& e : entries) expected += e.section + "|" + e.key + "|" + e.value + "\n";
  EXPECT_EQ(platform::codepage::utf8_to_gbk(utf8), expected);
}

}  // namespace
