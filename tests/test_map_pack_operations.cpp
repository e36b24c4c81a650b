// Backup, restore and install through the main window, on the model-only runtime, over a temporary
// Wine-style prefix whose drive X: is a scratch folder.
#include "app/map_pack_operations.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>

#include "app/catalogue.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "platform/files/files.h"
#include "platform/ui/runtime.h"
#include "platform/zip/zip_component.h"
#include "tests/support/scratch_folder.h"

namespace fs = std::filesystem;
using platform::ui::Control;
using platform::ui::Form;
using test_support::read_host_file;
using test_support::run_command;
using test_support::utf8;
using test_support::write_host_file;

namespace {


const char* const kPackButtons[] = {"按钮1", "按钮2", "按钮3", "按钮4", "按钮5",
                                    "按钮6", "按钮7", "按钮8", "按钮10"};

// What the progress bar went through while an operation ran.
class ProgressRecorder : public platform::ui::FormView {
 public:
  struct Seen {
    int position;
    bool visible;
  };
  std::vector<Seen> seen;

  void control_changed(const Control& control) override {
    if (control.name() == "进度条1") seen.push_back({control.position(), control.visible()});
  }
  void visibility_changed(bool) override {}
};

std::map<std::string, std::string> tree_of(const fs::path& root) {
  std::map<std::string, std::string> tree;
  for (const auto& item : fs::recursive_directory_iterator(root)) {
    tree[fs::relative(item.path(), root).string()] = item.is_directory() ? "/" : read_host_file(item.path());
  }
  return tree;
}

class MapPackOperationsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { platform::ui::init_runtime(platform::ui::Backend::ModelOnly); }

  MapPackOperationsTest() {
    fs::create_directories(scratch / "prefix/dosdevices");
    fs::create_directory_symlink(scratch / "drive_x", scratch / "prefix/dosdevices/x:");
    setenv("WINEPREFIX", (scratch / "prefix").c_str(), 1);
    fs::create_directories(scratch / utf8(u8"run/地图包"));
    platform::files::override_run_directory((scratch / "run").string());
    platform::ui::reset_model_runtime();
    window = &LoadMainWindow();
    auto owned = std::make_unique<ProgressRecorder>();
    recorder = owned.get();
    window->attach_view(std::move(owned));
    LauncherPath = "X:\\Games\\英雄联盟\\TCLS\\launcher.exe";
    SelectedArchiveName.clear();
  }

  ~MapPackOperationsTest() override {
    platform::files::override_run_directory("");
    unsetenv("WINEPREFIX");
  }

  fs::path game() const { return scratch / utf8(u8"drive_x/Games/英雄联盟/Game"); }
  fs::path pack_folder() const { return scratch / utf8(u8"run/地图包"); }

  void make_official_map() {
    write_host_file(game() / "LEVELS/map11/info.txt", "summoner's rift");
    write_host_file(game() / utf8(u8"LEVELS/map11/纹理/地面.dds"), std::string(200'000, 'g'));
    write_host_file(game() / "LEVELS/map12/scene.bin", "howling abyss");
    write_host_file(game() / "Map1.zip", "official Map1 archive");
  }

  bool verifies(const fs::path& archive) {
    int status = -1;
    run_command("unzip -tq '" + archive.string() + "' >/dev/null 2>&1", &status);
    return status == 0;
  }

  void make_pack(const char8_t* archive_name, const std::map<std::string, std::string>& files) {
    test_support::ScratchFolder source;
    for (const auto& [name, bytes] : files) write_host_file(source / name, bytes);
    platform::zip::ZipComponent zip;
    ASSERT_TRUE(zip.compress(platform::files::windows_path(source.path().string()),
                             platform::files::windows_path((pack_folder() / utf8(archive_name)).string())));
  }

  test_support::ScratchFolder scratch;
  Form* window = nullptr;
  ProgressRecorder* recorder = nullptr;
};

TEST(TextLeftOf, TakesTheTextBeforeTheFirstOccurrence) {
  struct Case {
    std::string text, search, left;
  };
  const Case cases[] = {
      {"X:\\Games\\英雄联盟\\TCLS\\launcher.exe", "TCLS", "X:\\Games\\英雄联盟\\"},
      {"abcTCLSdefTCLS", "TCLS", "abc"},
      {"TCLS\\launcher.exe", "TCLS", ""},
      {"C:\\Games\\tcls\\launcher.exe", "TCLS", ""},
      {"C:\\Games\\launcher.exe", "TCLS", ""},
      // 0x81 0x54 is one double-byte character whose second byte looks like a "T".
      {"\x81TCLS\\TCLS", "TCLS", "\x81TCLS\\"},
  };
  for (const Case& c : cases) EXPECT_EQ(TextLeftOf(c.text, c.search), c.left) << c.text;
}

TEST_F(MapPackOperationsTest, GameFoldersLieBesideTcls) {
  EXPECT_EQ(GameFolder(), "X:\\Games\\英雄联盟\\Game");
  EXPECT_EQ(LevelsFolder(), "X:\\Games\\英雄联盟\\Game\\LEVELS");
  fs::create_directories(game() / "LEVELS");
  EXPECT_TRUE(fs::equivalent(platform::files::host_path(LevelsFolder()), game() / "LEVELS"));
  LauncherPath = "D:\\英雄联盟\\launcher.exe";
  EXPECT_EQ(GameFolder(), "Game");
  EXPECT_EQ(LevelsFolder(), "Game\\LEVELS");
}

TEST_F(MapPackOperationsTest, BackupThenASecondClickRestoresWithoutRemovingAnything) {
  make_official_map();
  SelectOfficialMap();
  ASSERT_EQ(window->control("按钮11").caption(), "一键备份");
  ASSERT_TRUE(window->control("按钮1").disabled());
  std::map<std::string, std::string> official = tree_of(game());

  window->click("按钮11");
  EXPECT_TRUE(verifies(pack_folder() / "LEVELS.zip"));
  EXPECT_TRUE(verifies(pack_folder() / utf8(u8"默认地图备份.zip")));
  for (const char* button : kPackButtons) EXPECT_FALSE(window->control(button).disabled()) << button;
  EXPECT_EQ(window->control("标签8").caption(), "- 已备份 -");
  EXPECT_EQ(window->control("按钮11").caption(), "一键还原");
  EXPECT_EQ(ActionState, kActionRestore);
  EXPECT_FALSE(window->control("进度条1").visible());
  EXPECT_EQ(window->control("进度条1").position(), 100);
  EXPECT_EQ(window->control("状态条1").part(1), "map12/scene.bin");

  write_host_file(game() / "LEVELS/map11/info.txt", "a pack's version");
  write_host_file(game() / "LEVELS/added_by_pack.txt", "stays");
  fs::remove_all(game() / "LEVELS/map12");
  fs::remove(game() / "Map1.zip");
  window->click("按钮11");
  official["LEVELS/added_by_pack.txt"] = "stays";
  EXPECT_EQ(tree_of(game()), official);
  EXPECT_FALSE(window->control("进度条1").visible());
  EXPECT_EQ(ActionState, kActionRestore);
  EXPECT_EQ(window->control("按钮11").caption(), "一键还原");
}

TEST_F(MapPackOperationsTest, TheProgressBarIsShownAndMovesWhileTheOperationRuns) {
  make_official_map();
  SelectOfficialMap();
  recorder->seen.clear();
  window->click("按钮11");
  ASSERT_GE(recorder->seen.size(), 4u);
  EXPECT_TRUE(recorder->seen.front().visible);
  EXPECT_FALSE(recorder->seen.back().visible);
  std::vector<int> positions;
  for (std::size_t i = 1; i + 1 < recorder->seen.size(); ++i) {
    EXPECT_TRUE(recorder->seen[i].visible);
    positions.push_back(recorder->seen[i].position);
  }
  EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
  EXPECT_LT(positions.front(), 100);
  EXPECT_EQ(positions.back(), 100);
}

TEST_F(MapPackOperationsTest, AFailedBackupLeavesThePacksDisabled) {
  SelectOfficialMap();
  window->click("按钮11");  // there is no game folder to back up
  EXPECT_FALSE(fs::exists(pack_folder() / "LEVELS.zip"));
  EXPECT_FALSE(fs::exists(pack_folder() / utf8(u8"默认地图备份.zip")));
  for (const char* button : kPackButtons) EXPECT_TRUE(window->control(button).disabled()) << button;
  EXPECT_EQ(window->control("标签8").caption(), "- 未备份 -");
  EXPECT_EQ(window->control("按钮11").caption(), "一键备份");
  EXPECT_FALSE(window->control("进度条1").visible());
}

TEST_F(MapPackOperationsTest, WithoutTclsTheGameFolderIsRelativeToTheCurrentFolder) {
  LauncherPath = "D:\\英雄联盟\\launcher.exe";
  fs::path here = fs::current_path();
  write_host_file(scratch / "cwd/Game/LEVELS/level.txt", "relative");
  write_host_file(scratch / "cwd/Game/Map1.zip", "relative map");
  fs::current_path(scratch / "cwd");
  SelectOfficialMap();
  window->click("按钮11");
  fs::current_path(here);
  EXPECT_TRUE(verifies(pack_folder() / "LEVELS.zip"));
  EXPECT_TRUE(verifies(pack_folder() / utf8(u8"默认地图备份.zip")));
  EXPECT_EQ(ActionState, kActionRestore);
}

TEST_F(MapPackOperationsTest, InstallReplacesReadOnlyGameFiles) {
  make_official_map();
  make_pack(u8"爱心峡谷.zip", {{"LEVELS/map11/info.txt", "love valley"}, {"Map1.zip", "pack Map1"}});
  fs::permissions(game() / "LEVELS/map11/info.txt", fs::perms::owner_read);
  fs::permissions(game() / "Map1.zip", fs::perms::owner_read);
  SelectMapPack(MapCatalogue()[4]);  // 按钮3, 爱心峡谷
  ASSERT_EQ(ActionState, kActionInstall);
  window->click("按钮11");
  EXPECT_EQ(read_host_file(game() / "LEVELS/map11/info.txt"), "love valley");
  EXPECT_EQ(read_host_file(game() / "Map1.zip"), "pack Map1");
  EXPECT_EQ(read_host_file(game() / "LEVELS/map12/scene.bin"), "howling abyss");
  EXPECT_FALSE(window->control("进度条1").visible());
  EXPECT_EQ(ActionState, kActionInstall);
  EXPECT_EQ(window->control("按钮11").caption(), "一键修改");
}

TEST_F(MapPackOperationsTest, APackThatWouldWriteOutsideTheGameIsRefusedWithAClearText) {
  make_official_map();
  make_pack(u8"爱心峡谷.zip", {{"evil.txt", "x"}});
  // Rename the entry to climb out of the game folder; same length, so the archive stays intact.
  fs::path archive = pack_folder() / utf8(u8"爱心峡谷.zip");
  std::string bytes = read_host_file(archive);
  for (std::size_t at; (at = bytes.find("evil.txt")) != std::string::npos;) bytes.replace(at, 8, "../e.txt");
  write_host_file(archive, bytes);
  SelectMapPack(MapCatalogue()[4]);
  window->click("按钮11");
  EXPECT_FALSE(fs::exists(game().parent_path() / "e.txt"));
  EXPECT_EQ(window->control("状态条1").part(1).rfind("压缩包里有写到目标文件夹之外的文件名", 0), 0u)
      << window->control("状态条1").part(1);
  EXPECT_FALSE(window->control("进度条1").visible());
}

}  // namespace
