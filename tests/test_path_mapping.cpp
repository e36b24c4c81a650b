#include <gtest/gtest.h>

#include <filesystem>

#include "platform/codepage/codepage.h"
#include "platform/files/files.h"
#include "tests/support/game_prefix.h"

namespace {

namespace fs = std::filesystem;
using test_support::GamePrefix;

struct PathCase {
  const char* name;
  std::string windows;        // GBK
  std::string host_relative;  // GBK; "<prefix>" and "<dosdevices>" stand for those folders
};

class PathMapping : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathMapping, MapsWindowsPathsOntoThePrefix) {
  GamePrefix prefix;
  prefix.map_drive('x', "x-drive");
  std::string expected = test_support::utf8(GetParam().host_relative);
  auto substitute = [&](const std::string& token, const std::string& value) {
    if (expected.starts_with(token)) expected = value + expected.substr(token.size());
  };
  substitute("<prefix>", prefix.prefix().string());
  substitute("<dosdevices>", (prefix.prefix() / "dosdevices").string());
  EXPECT_EQ(platform::files::host_path(GetParam().windows), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PathMapping,
    ::testing::Values(
        PathCase{"DriveThroughDosdevices", "X:\\Games\\英雄联盟\\Game",
                 "<dosdevices>/x:/Games/英雄联盟/Game"},
        PathCase{"LowerCaseDriveLetter", "x:\\a", "<dosdevices>/x:/a"},
        PathCase{"DriveCWithoutLink", "C:\\Games\\LOL", "<prefix>/drive_c/Games/LOL"},
        PathCase{"DriveZIsTheRoot", "Z:\\opt\\mapswitch", "/opt/mapswitch"},
        PathCase{"DriveZAlone", "Z:\\", "/"},
        PathCase{"UnmappedDriveStaysUnderDosdevices", "Q:\\a", "<dosdevices>/q:/a"},
        PathCase{"RelativePath", "Game\\LEVELS", "Game/LEVELS"},
        PathCase{"MixedAndRepeatedSeparators", "Z:/opt\\\\a//b\\", "/opt/a/b"},
        PathCase{"ChineseNames", "地图包\\雪之峡谷.zip", "地图包/雪之峡谷.zip"},
        PathCase{"EndsAtZeroByte", std::string("Z:\\a\0b", 6), "/a"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PathMapping, TrailByteLikeBackslashIsNoSeparator) {
  std::string character = "\xB1\x5C";  // one GBK character whose second byte is '\\'
  EXPECT_EQ(platform::files::host_path("Z:\\tmp\\" + character + ".zip"),
            "/tmp/" + platform::codepage::gbk_to_utf8(character) + ".zip");
}

TEST(PathMapping, HostPathsBecomeZDrivePaths) {
  EXPECT_EQ(platform::files::windows_path("/opt/mapswitch"), "Z:\\opt\\mapswitch");
  EXPECT_EQ(platform::files::windows_path(test_support::utf8("/opt/地图/")), "Z:\\opt\\地图");
}

TEST(PathMapping, RunDirectoryIsTheProgramFolderUnlessOverridden) {
  fs::path exe = fs::read_symlink("/proc/self/exe");
  EXPECT_EQ(platform::files::host_path(platform::files::run_directory()),
            exe.parent_path().string());
  GamePrefix prefix;
  EXPECT_EQ(platform::files::host_path(platform::files::run_directory()),
            prefix.run_directory().string());
}

TEST(Files, ExistsFindsFilesAndFoldersAlike) {
  GamePrefix prefix;
  fs::create_directories(prefix.prefix() / "drive_c" / test_support::utf8("地图包") / "AREA63.zip");
  test_support::write_host_file(prefix.prefix() / "drive_c" / "a.zip", "x");
  EXPECT_TRUE(platform::files::exists("C:\\地图包\\AREA63.zip"));
  EXPECT_TRUE(platform::files::exists("C:\\a.zip"));
  EXPECT_FALSE(platform::files::exists("C:\\b.zip"));
  EXPECT_TRUE(platform::files::create_directory("C:\\新建"));
  EXPECT_FALSE(platform::files::create_directory("C:\\新建"));
  EXPECT_TRUE(fs::is_directory(prefix.prefix() / "drive_c" / test_support::utf8("新建")));
}

TEST(Files, ReadOnlyAttributeIsKeptInTheFileMode) {
  GamePrefix prefix;
  test_support::write_host_file(prefix.prefix() / "drive_c" / "f.txt", "x");
  platform::files::set_attributes("C:\\f.txt", {.read_only = true, .hidden = true});
  EXPECT_TRUE(platform::files::attributes("C:\\f.txt").read_only);
  EXPECT_EQ(fs::status(prefix.prefix() / "drive_c" / "f.txt").permissions() & fs::perms::owner_write,
            fs::perms::none);
  platform::files::set_attributes("C:\\f.txt", {});
  EXPECT_FALSE(platform::files::attributes("C:\\f.txt").read_only);
}

}  // namespace
