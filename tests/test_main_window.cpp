#include <gtest/gtest.h>

#include <functional>

#include "app/catalogue.h"
#include "app/globals.h"
#include "download_window/download_window.h"
#include "platform/ui/runtime.h"
#include "tests/support/main_window_fixture.h"

namespace {

using test_support::MainWindowTest;

TEST_F(MainWindowTest, WithoutTheRegistryValueTheProgramSaysSoAndEndsWithZero) {
  StartProgram();
  ASSERT_EQ(platform::ui::recorded_message_boxes().size(), 1u);
  EXPECT_EQ(platform::ui::recorded_message_boxes()[0].text, "游戏都没有修改个屁！");
  EXPECT_EQ(platform::ui::recorded_message_boxes()[0].caption, "信息：");
  EXPECT_EQ(platform::ui::recorded_exit_code(), 0);
  EXPECT_FALSE(main_window().visible());
  EXPECT_EQ(main_window().control("状态条1").part(1), "");
}

TEST_F(MainWindowTest, StartUpShowsTheLauncherPathAndTheOfficialMap) {
  prefix_.set_launcher_path("C:\\Games\\英雄联盟\\TCLS\\Client.exe");
  for (int start = 1; start <= 2; ++start) {  // the second start finds the folder present
    SCOPED_TRACE(start);
    platform::ui::reset_model_runtime();
    StartProgram();
    EXPECT_TRUE(std::filesystem::is_directory(prefix_.map_pack_folder()));
    EXPECT_TRUE(platform::ui::recorded_message_boxes().empty());
    EXPECT_EQ(main_window().control("状态条1").part(0), "提示信息：");
    EXPECT_EQ(main_window().control("状态条1").part(1), "C:\\Games\\英雄联盟\\TCLS\\Client.exe");
    EXPECT_EQ(LauncherPath, "C:\\Games\\英雄联盟\\TCLS\\Client.exe");
    EXPECT_EQ(main_window().control("标签6").caption(), "官方地图");
    EXPECT_EQ(main_window().control("标签5").caption(), "LOL官方");
    EXPECT_EQ(main_window().control("标签7").caption(), "未知");
    EXPECT_EQ(main_window().control("图片框1").picture(), OfficialMapEntry().preview);
    EXPECT_FALSE(main_window().control("进度条1").visible());
    EXPECT_TRUE(main_window().visible());
    EXPECT_FALSE(DownloadWindow().visible());
    EXPECT_EQ(platform::ui::recorded_exit_code(), -1);
  }
}

TEST_F(MainWindowTest, ClosingTheMainWindowEndsWithZeroAndFreesTheGlobals) {
  prefix_.set_launcher_path("C:\\LOL\\TCLS\\Client.exe");
  StartProgram();
  main_window().click("按钮1");  // disabled: nothing changes
  EXPECT_TRUE(main_window().request_close());
  EXPECT_EQ(platform::ui::recorded_exit_code(), 0);
  EXPECT_EQ(LauncherPath, "");
}

// One row of the selection table: what is in the map pack folder, what the user clicks, and
// what the window shows afterwards.
struct SelectionCase {
  const char* name;
  std::vector<std::string> files;    // names in the map pack folder; "dir:" marks a folder
  std::vector<const char*> clicks;   // buttons clicked after start-up
  const char* map_name;              // 标签6
  const char* status;                // 标签8
  const char* action;                // 按钮11
  MapActionState state;
  bool packs_disabled;
  const char* archive_name;          // SelectedArchiveName
  bool url_empty;                    // SelectedPackUrl == ""
};

class Selection : public MainWindowTest, public ::testing::WithParamInterface<SelectionCase> {};

TEST_P(Selection, ShowsTheChoiceAndSetsTheAction) {
  const SelectionCase& c = GetParam();
  prefix_.set_launcher_path("C:\\LOL\\TCLS\\Client.exe");
  for (const std::string& file : c.files) {
    bool folder = file.starts_with("dir:");
    PutInMapPackFolder(folder ? file.substr(4) : file, folder);
  }
  StartProgram();
  for (const char* button : c.clicks) main_window().click(button);

  EXPECT_EQ(main_window().control("标签6").caption(), c.map_name);
  EXPECT_EQ(main_window().control("标签8").caption(), c.status);
  EXPECT_EQ(main_window().control("按钮11").caption(), c.action);
  EXPECT_EQ(ActionState, c.state);
  EXPECT_EQ(pack_buttons_disabled(), std::vector<bool>(9, c.packs_disabled));
  EXPECT_FALSE(main_window().control("按钮9").disabled());
  EXPECT_FALSE(main_window().control("按钮11").disabled());
  EXPECT_EQ(SelectedArchiveName, c.archive_name);
  EXPECT_EQ(SelectedPackUrl.empty(), c.url_empty);
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, Selection,
    ::testing::Values(
        SelectionCase{"FirstStartWithoutBackup", {}, {}, "官方地图", "- 未备份 -", "一键备份",
                      kActionBackup, true, "", true},
        SelectionCase{"BackupPresentWithoutLevels", {"默认地图备份.zip"}, {}, "官方地图",
                      "- 已备份 -", "一键还原", kActionRestore, false, "", true},
        SelectionCase{"LevelsBackupAloneIsNoBackup", {"LEVELS.zip"}, {}, "官方地图",
                      "- 未备份 -", "一键备份", kActionBackup, true, "", true},
        SelectionCase{"ClickOnADisabledPackDoesNothing", {}, {"按钮3"}, "官方地图",
                      "- 未备份 -", "一键备份", kActionBackup, true, "", true},
        SelectionCase{"PackNotDownloaded", {"默认地图备份.zip"}, {"按钮3"}, "爱心峡谷",
                      "- 未下载 -", "一键下载", kActionDownload, false, "\\爱心峡谷.zip", false},
        SelectionCase{"PackDownloaded", {"默认地图备份.zip", "爱心峡谷.zip"}, {"按钮3"},
                      "爱心峡谷", "- 已下载 -", "一键修改", kActionInstall, false,
                      "\\爱心峡谷.zip", false},
        SelectionCase{"BloodValleyLooksUpSnowValley", {"默认地图备份.zip", "雪之峡谷.zip"},
                      {"按钮4"}, "血之峡谷", "- 已下载 -", "一键修改", kActionInstall, false,
                      "\\雪之峡谷.zip", false},
        SelectionCase{"HalloweenLabelDiffersFromItsButton", {"默认地图备份.zip"}, {"按钮1"},
                      "S万圣节", "- 未下载 -", "一键下载", kActionDownload, false,
                      "\\S2万圣节.zip", false},
        SelectionCase{"AFolderNamedLikeThePackCounts", {"默认地图备份.zip", "dir:AREA63.zip"},
                      {"按钮6"}, "AREA63", "- 已下载 -", "一键修改", kActionInstall, false,
                      "\\AREA63.zip", false},
        SelectionCase{"OfficialMapAfterAPackKeepsItsArchiveName",
                      {"默认地图备份.zip", "荒漠峡谷.zip"}, {"按钮10", "按钮9"}, "官方地图",
                      "- 已备份 -", "一键还原", kActionRestore, false, "\\荒漠峡谷.zip", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, DeletingAPackShowsItAsNotDownloadedOnTheNextChoice) {
  prefix_.set_launcher_path("C:\\LOL\\TCLS\\Client.exe");
  PutInMapPackFolder("默认地图备份.zip");
  PutInMapPackFolder("AREA91.zip");
  StartProgram();
  main_window().click("按钮5");
  EXPECT_EQ(main_window().control("按钮11").caption(), "一键修改");
  RemoveFromMapPackFolder("AREA91.zip");
  main_window().click("按钮5");
  EXPECT_EQ(main_window().control("标签8").caption(), "- 未下载 -");
  EXPECT_EQ(main_window().control("按钮11").caption(), "一键下载");
}

TEST_F(MainWindowTest, EveryPackButtonSelectsItsOwnEntry) {
  ::setenv("MAPSWITCH_PACK_HOST", "127.0.0.1:8089", 1);
  prefix_.set_launcher_path("C:\\LOL\\TCLS\\Client.exe");
  PutInMapPackFolder("默认地图备份.zip");
  StartProgram();
  for (const MapEntry& entry : MapCatalogue()) {
    if (&entry == &OfficialMapEntry()) continue;
    main_window().click(entry.button);
    EXPECT_EQ(main_window().control("图片框1").picture(), entry.preview);
    EXPECT_EQ(main_window().control("标签5").caption(), "溪石社");
    EXPECT_EQ(SelectedPackUrl, "http://127.0.0.1:8089" + std::string(entry.download_path));
  }
  ::unsetenv("MAPSWITCH_PACK_HOST");
}

}  // namespace
