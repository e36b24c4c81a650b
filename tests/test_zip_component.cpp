// The ZIP component against itself and against real peers (Info-ZIP, Python's zipfile).
#include "platform/zip/zip_component.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <random>
#include <sstream>
#include <vector>

#include "platform/codepage/codepage.h"
#include "platform/files/files.h"
#include "platform/zip/entry_names.h"
#include "tests/support/scratch_folder.h"

namespace fs = std::filesystem;
using platform::zip::Failure;
using platform::zip::ProgressEvent;
using platform::zip::ZipComponent;
using test_support::read_host_file;
using test_support::run_command;
using test_support::utf8;
using test_support::write_host_file;

namespace {

std::string gbk(const char8_t* text) { return platform::codepage::utf8_to_gbk(utf8(text)); }
std::string windows(const fs::path& host) { return platform::files::windows_path(host.string()); }

std::string hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

std::string peer(const std::string& arguments, int* status = nullptr) {
  fs::path script = fs::path(__FILE__).parent_path() / "support" / "zip_peer.py";
  return run_command("python3 " + quoted(script) + " " + arguments, status);
}

// A peer archive entry: raw name bytes, how the name is marked, content.
enum class NameMark { None, Utf8Flag, MadeOnUnix };
struct PeerEntry {
  std::string raw_name;
  NameMark mark;
  std::string data;
};

void make_peer_archive(const fs::path& archive, const std::vector<PeerEntry>& entries) {
  std::string arguments = "make " + quoted(archive);
  for (const PeerEntry& entry : entries) {
    const char* mark = entry.mark == NameMark::Utf8Flag ? "u" : entry.mark == NameMark::MadeOnUnix ? "x" : "n";
    arguments += " " + hex(entry.raw_name) + ":" + mark + ":" + hex(entry.data);
  }
  int status = -1;
  peer(arguments, &status);
  ASSERT_EQ(status, 0);
}

struct PeerListing {
  std::string utf8_name;
  int flag_bits;
  int method;
};

std::vector<PeerListing> peer_listing(const fs::path& archive) {
  std::istringstream lines(peer("list " + quoted(archive)));
  std::vector<PeerListing> listing;
  std::string name_hex;
  PeerListing entry;
  std::uint64_t size;
  while (lines >> name_hex >> entry.flag_bits >> entry.method >> size) {
    entry.utf8_name.clear();
    for (std::size_t i = 0; i + 1 < name_hex.size(); i += 2) {
      entry.utf8_name += static_cast<char>(std::stoi(name_hex.substr(i, 2), nullptr, 16));
    }
    listing.push_back(entry);
  }
  return listing;
}

std::string random_bytes(std::size_t size, unsigned seed) {
  std::mt19937 generator(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(generator());
  return bytes;
}

std::string compressible_text(std::size_t size) {
  std::string text;
  for (int line = 0; text.size() < size; ++line) text += "level data line " + std::to_string(line * 7 % 1000) + "\n";
  text.resize(size);
  return text;
}

// Relative path -> content ("/" for a folder) of everything below root.
std::map<std::string, std::string> tree_of(const fs::path& root) {
  std::map<std::string, std::string> tree;
  for (const auto& item : fs::recursive_directory_iterator(root)) {
    std::string name = fs::relative(item.path(), root).string();
    tree[name] = item.is_directory() ? "/" : read_host_file(item.path());
  }
  return tree;
}

void set_modified(const fs::path& path, std::time_t when) {
  fs::last_write_time(path, std::chrono::file_clock::from_sys(std::chrono::system_clock::from_time_t(when)));
}

std::time_t modified(const fs::path& path) {
  return std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(fs::last_write_time(path)));
}

struct Event {
  ProgressEvent event;
  int percent;
  std::string name;
};

class ZipComponentTest : public ::testing::Test {
 protected:
  ZipComponentTest() {
    zip.on_progress([this](ProgressEvent event, int percent) {
      events.push_back({event, percent, zip.current_entry_name()});
    });
  }

  // A small game-like tree: nested Chinese names, an empty folder and file, a multi-megabyte
  // file of each kind (so that it spans several deflate chunks) and a stored archive.
  void make_game_tree(const fs::path& root) {
    write_host_file(root / "a.txt", "hello");
    write_host_file(root / utf8(u8"子目录/深层/数据.bin"), random_bytes(2'500'000, 1));
    write_host_file(root / utf8(u8"子目录/地形.txt"), compressible_text(3'300'000));
    write_host_file(root / "empty.dat", "");
    write_host_file(root / "Inner.ZIP", random_bytes(5000, 2));
    fs::create_directories(root / utf8(u8"空目录"));
    for (const auto& item : fs::recursive_directory_iterator(root)) {
      if (item.is_regular_file()) set_modified(item.path(), 1557126490);  // 2019-05-06 07:08:10 UTC
    }
  }

  test_support::ScratchFolder scratch;
  ZipComponent zip;
  std::vector<Event> events;
};

TEST_F(ZipComponentTest, FolderRoundTripKeepsNamesBytesFoldersAndTimes) {
  make_game_tree(scratch / "LEVELS");
  ASSERT_TRUE(zip.compress(windows(scratch / "LEVELS"), windows(scratch / "LEVELS.zip")));
  EXPECT_EQ(zip.failure(), Failure::None);
  ASSERT_TRUE(zip.unpack(windows(scratch / "LEVELS.zip"), windows(scratch / "out/LEVELS")));
  EXPECT_EQ(tree_of(scratch / "out/LEVELS"), tree_of(scratch / "LEVELS"));
  EXPECT_EQ(modified(scratch / "out/LEVELS" / utf8(u8"子目录/深层/数据.bin")), 1557126490);
  EXPECT_EQ(modified(scratch / "out/LEVELS/empty.dat"), 1557126490);
}

TEST_F(ZipComponentTest, PeersReadOurArchivesIdentically) {
  make_game_tree(scratch / "LEVELS");
  ASSERT_TRUE(zip.compress(windows(scratch / "LEVELS"), windows(scratch / "LEVELS.zip")));
  int status = -1;
  run_command("unzip -tq " + quoted(scratch / "LEVELS.zip") + " >/dev/null 2>&1", &status);
  EXPECT_EQ(status, 0) << "unzip -t finds a fault";
  peer("extract " + quoted(scratch / "LEVELS.zip") + " " + quoted(scratch / "python"), &status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(tree_of(scratch / "python"), tree_of(scratch / "LEVELS"));
  for (const PeerListing& entry : peer_listing(scratch / "LEVELS.zip")) {
    EXPECT_TRUE(entry.flag_bits & 0x800) << entry.utf8_name;
    if (entry.utf8_name == "Inner.ZIP") {
      EXPECT_EQ(entry.method, 0) << "archives are stored, not deflated again";
    } else if (!entry.utf8_name.ends_with("/") && entry.utf8_name != "empty.dat") {
      EXPECT_EQ(entry.method, 8) << entry.utf8_name;
    }
  }
}

TEST_F(ZipComponentTest, InfoZipArchivesUnpackToTheirNamesAndBytes) {
  make_game_tree(scratch / "src");
  int status = -1;
  run_command("cd " + quoted(scratch / "src") + " && zip -qr ../peer.zip .", &status);
  ASSERT_EQ(status, 0);
  ASSERT_TRUE(zip.unpack(windows(scratch / "peer.zip"), windows(scratch / "out")));
  EXPECT_EQ(tree_of(scratch / "out"), tree_of(scratch / "src"));
}

TEST_F(ZipComponentTest, NamesAreReadByTheirFlagAsUtf8OrCodePage936) {
  std::string name = utf8(u8"英雄联盟/地图.txt");
  make_peer_archive(scratch / "mixed.zip", {{gbk(u8"英雄联盟/地图.txt"), NameMark::None, "gbk"},
                                            {utf8(u8"峡谷.txt"), NameMark::Utf8Flag, "utf8"},
                                            {"plain.txt", NameMark::None, "ascii"},
                                            {gbk(u8"纹理.dds"), NameMark::MadeOnUnix, "unix gbk"},
                                            {utf8(u8"场景.bin"), NameMark::MadeOnUnix, "unix utf8"}});
  ASSERT_TRUE(zip.unpack(windows(scratch / "mixed.zip"), windows(scratch / "out")));
  EXPECT_EQ(read_host_file(scratch / "out" / name), "gbk");
  EXPECT_EQ(read_host_file(scratch / "out" / utf8(u8"峡谷.txt")), "utf8");
  EXPECT_EQ(read_host_file(scratch / "out/plain.txt"), "ascii");
  EXPECT_EQ(read_host_file(scratch / "out" / utf8(u8"纹理.dds")), "unix gbk");
  EXPECT_EQ(read_host_file(scratch / "out" / utf8(u8"场景.bin")), "unix utf8");
  EXPECT_EQ(events[0].name, gbk(u8"英雄联盟/地图.txt"));
  EXPECT_EQ(events[1].name, gbk(u8"峡谷.txt"));
}

TEST(EntryNames, HostileNamesAreToldFromHarmlessOnes) {
  struct Case {
    const char* name;
    bool stays_inside;
  };
  const Case cases[] = {
      {"a.txt", true},          {"a/b/c.txt", true},      {"a..b", true},
      {"..foo/x", true},        {"dir/", true},           {"./x", true},
      {"../evil", false},       {"a/../../evil", false},  {"a\\..\\..\\evil", false},
      {"..", false},            {"../d/", false},         {"/abs", false},
      {"\\abs", false},         {"C:/x", false},          {"c:evil", false},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::zip::stays_inside(c.name), c.stays_inside) << c.name;
}

TEST_F(ZipComponentTest, AnArchiveWithAHostileNameIsRefusedWhole) {
  const std::string hostile[] = {"../evil.txt", "sub/../../evil.txt", "/tmp/evil.txt", "C:/evil.txt",
                                 "..\\evil.txt", "../evil/"};
  for (const std::string& name : hostile) {
    fs::path archive = scratch / "hostile.zip";
    make_peer_archive(archive, {{"first.txt", NameMark::None, "first"}, {name, NameMark::None, "evil"}});
    events.clear();
    EXPECT_FALSE(zip.unpack(windows(archive), windows(scratch / "game/target"))) << name;
    EXPECT_EQ(zip.failure(), Failure::HostileName) << name;
    EXPECT_EQ(zip.failed_entry_name(), name);
    EXPECT_FALSE(fs::exists(scratch / "game")) << "nothing may be written: " << name;
    EXPECT_TRUE(events.empty());
  }
}

TEST_F(ZipComponentTest, ADamagedEntryIsNotInstalledAndLeavesNoTrace) {
  fs::path archive = scratch / "pack.zip";
  make_peer_archive(archive, {{"good.txt", NameMark::None, "new good"}, {"bad.txt", NameMark::None, "new bad"}});
  peer("corrupt " + quoted(archive) + " 1");
  write_host_file(scratch / "game/bad.txt", "old bad");
  EXPECT_FALSE(zip.unpack(windows(archive), windows(scratch / "game")));
  EXPECT_EQ(zip.failure(), Failure::DamagedEntry);
  EXPECT_EQ(zip.failed_entry_name(), "bad.txt");
  EXPECT_EQ(read_host_file(scratch / "game/good.txt"), "new good");
  EXPECT_EQ(read_host_file(scratch / "game/bad.txt"), "old bad");
  EXPECT_EQ(tree_of(scratch / "game").size(), 2u) << "no temporary file is left behind";
}

TEST_F(ZipComponentTest, ProgressEventsCountEveryEntry) {
  for (int n : {1, 3, 7}) {
    fs::path folder = scratch / ("tree" + std::to_string(n));
    fs::path archive = scratch / ("tree" + std::to_string(n) + ".zip");
    for (int i = 0; i < n; ++i) write_host_file(folder / ("f" + std::to_string(i)), "x");
    events.clear();
    ASSERT_TRUE(zip.compress(windows(folder), windows(archive)));
    ASSERT_EQ(events.size(), static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
      EXPECT_EQ(events[k].event, ProgressEvent::Compress);
      EXPECT_EQ(events[k].percent, (k + 1) * 100 / n) << "n=" << n << " k=" << k;
      EXPECT_EQ(events[k].name, "f" + std::to_string(k));
    }
    events.clear();
    ASSERT_TRUE(zip.unpack(windows(archive), windows(scratch / ("unpacked" + std::to_string(n)))));
    ASSERT_EQ(events.size(), static_cast<std::size_t>(n + 1));
    for (int k = 0; k < n; ++k) {
      EXPECT_EQ(events[k].event, ProgressEvent::Unpack);
      EXPECT_EQ(events[k].percent, k * 100 / n) << "n=" << n << " k=" << k;
    }
    EXPECT_EQ(events[n].percent, 100);
    EXPECT_EQ(zip.current_entry_name(), "f" + std::to_string(n - 1));
  }
}

TEST_F(ZipComponentTest, AFileIsPackedUnderItsBareNameWithoutEvents) {
  write_host_file(scratch / "Game/Map1.zip", random_bytes(70'000, 3));
  ASSERT_TRUE(zip.compress(windows(scratch / "Game/Map1.zip"), windows(scratch / "backup.zip")));
  EXPECT_TRUE(events.empty());
  std::vector<PeerListing> listing = peer_listing(scratch / "backup.zip");
  ASSERT_EQ(listing.size(), 1u);
  EXPECT_EQ(listing[0].utf8_name, "Map1.zip");
  ASSERT_TRUE(zip.unpack(windows(scratch / "backup.zip"), windows(scratch / "restored")));
  EXPECT_EQ(read_host_file(scratch / "restored/Map1.zip"), read_host_file(scratch / "Game/Map1.zip"));
}

TEST_F(ZipComponentTest, AnExistingArchiveIsReplaced) {
  make_peer_archive(scratch / "backup.zip", {{"old.txt", NameMark::None, "old"}});
  write_host_file(scratch / "LEVELS/new.txt", "new");
  ASSERT_TRUE(zip.compress(windows(scratch / "LEVELS"), windows(scratch / "backup.zip")));
  std::vector<PeerListing> listing = peer_listing(scratch / "backup.zip");
  ASSERT_EQ(listing.size(), 1u);
  EXPECT_EQ(listing[0].utf8_name, "new.txt");
}

TEST_F(ZipComponentTest, AMissingSourceWritesNothing) {
  EXPECT_FALSE(zip.compress(windows(scratch / "no/LEVELS"), windows(scratch / "LEVELS.zip")));
  EXPECT_EQ(zip.failure(), Failure::SourceMissing);
  EXPECT_FALSE(fs::exists(scratch / "LEVELS.zip"));
  write_host_file(scratch / "LEVELS.zip", "previous");
  EXPECT_FALSE(zip.compress(windows(scratch / "no/Map1.zip"), windows(scratch / "LEVELS.zip")));
  EXPECT_EQ(read_host_file(scratch / "LEVELS.zip"), "previous");
}

TEST_F(ZipComponentTest, AMissingArchiveDoesNothing) {
  EXPECT_FALSE(zip.unpack(windows(scratch / "none.zip"), windows(scratch / "target")));
  EXPECT_EQ(zip.failure(), Failure::SourceMissing);
  EXPECT_FALSE(fs::exists(scratch / "target"));
  EXPECT_TRUE(events.empty());
}

TEST_F(ZipComponentTest, UnpackCreatesTheTargetAndReplacesReadOnlyFiles) {
  make_peer_archive(scratch / "pack.zip", {{"LEVELS/", NameMark::None, ""}, {"LEVELS/map.bin", NameMark::None, "new"}});
  ASSERT_TRUE(zip.unpack(windows(scratch / "pack.zip"), windows(scratch / "a/b/Game")));
  EXPECT_EQ(read_host_file(scratch / "a/b/Game/LEVELS/map.bin"), "new");
  write_host_file(scratch / "Game/LEVELS/map.bin", "old");
  fs::permissions(scratch / "Game/LEVELS/map.bin", fs::perms::owner_read | fs::perms::group_read);
  ASSERT_TRUE(zip.unpack(windows(scratch / "pack.zip"), windows(scratch / "Game")));
  EXPECT_EQ(read_host_file(scratch / "Game/LEVELS/map.bin"), "new");
}

// A disk that fills up while the archive is written: the file-size limit makes writes fail the
// same way, even for root.
TEST_F(ZipComponentTest, AFailedBackupKeepsThePreviousArchiveAndLeavesNoPartOfTheNew) {
  write_host_file(scratch / "LEVELS/big.bin", random_bytes(3'000'000, 4));
  write_host_file(scratch / "backup/LEVELS.zip", "previous backup");
  signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit limited = saved;
  limited.rlim_cur = 1'000'000;
  setrlimit(RLIMIT_FSIZE, &limited);
  bool packed = zip.compress(windows(scratch / "LEVELS"), windows(scratch / "backup/LEVELS.zip"));
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_FALSE(packed);
  EXPECT_EQ(zip.failure(), Failure::WriteFailed);
  EXPECT_EQ(read_host_file(scratch / "backup/LEVELS.zip"), "previous backup");
  EXPECT_EQ(tree_of(scratch / "backup").size(), 1u) << "the partial archive is removed";
}

TEST_F(ZipComponentTest, AnUnreadableFileFailsTheBackup) {
  write_host_file(scratch / "LEVELS/locked.bin", "secret");
  fs::permissions(scratch / "LEVELS/locked.bin", fs::perms::none);
  write_host_file(scratch / "LEVELS.zip", "previous backup");
  auto backup_fails_on_reading = [&] {
    return !zip.compress(windows(scratch / "LEVELS"), windows(scratch / "LEVELS.zip")) &&
           zip.failure() == Failure::ReadFailed;
  };
  if (geteuid() != 0) {
    EXPECT_TRUE(backup_fails_on_reading());
  } else {
    // Root reads any file: the backup runs in a child that has given its privileges up.
    fs::permissions(scratch.path(), fs::perms::all);
    pid_t child = fork();
    if (child == 0) {
      constexpr uid_t kNobody = 65534;
      if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(2);
      _exit(backup_fails_on_reading() ? 0 : 1);
    }
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
  }
  EXPECT_EQ(read_host_file(scratch / "LEVELS.zip"), "previous backup");
}

TEST_F(ZipComponentTest, LinksAreFollowedOnlyInsideTheFolderAndNeverInLoops) {
  write_host_file(scratch / "outside/secret.txt", "secret");
  write_host_file(scratch / "LEVELS/real.txt", "real");
  fs::create_symlink(scratch / "outside/secret.txt", scratch / "LEVELS/to_secret.txt");
  fs::create_directory_symlink(scratch / "outside", scratch / "LEVELS/to_outside");
  fs::create_directory_symlink(scratch / "LEVELS", scratch / "LEVELS/loop");
  fs::create_symlink(scratch / "LEVELS/real.txt", scratch / "LEVELS/alias.txt");
  ASSERT_TRUE(zip.compress(windows(scratch / "LEVELS"), windows(scratch / "LEVELS.zip")));
  std::vector<std::string> names;
  for (const PeerListing& entry : peer_listing(scratch / "LEVELS.zip")) names.push_back(entry.utf8_name);
  EXPECT_EQ(names, (std::vector<std::string>{"alias.txt", "real.txt"}));
}

}  // namespace
