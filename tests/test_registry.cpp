#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/codepage/codepage.h"
#include "platform/registry/registry.h"
#include "tests/support/game_prefix.h"

namespace {

using test_support::GamePrefix;

constexpr const char* kValue = "Software\\Tencent\\LOL\\QQlogin";

struct RegistryCase {
  const char* name;
  std::string value_lines;  // the lines under [Software\\Tencent\\LOL], UTF-8
  std::string expected;     // GBK
};

class RegistryRead : public ::testing::TestWithParam<RegistryCase> {};

TEST_P(RegistryRead, ReadsTheLauncherValue) {
  GamePrefix prefix;
  ::setenv("MAPSWITCH_TEST_GAMES", "D:\\Games", 1);
  prefix.write_launcher_key(GetParam().value_lines);
  EXPECT_EQ(platform::registry::read_current_user_text(kValue), GetParam().expected);
}

// "%MAPSWITCH_TEST_GAMES%\LOL" as REG_EXPAND_SZ in Wine's hex(2) form: UTF-16LE bytes.
std::string hex2_of(const std::string& ascii) {
  std::string out = "hex(2):";
  char byte[8];
  for (char c : ascii + std::string(1, '\0')) {
    std::snprintf(byte, sizeof byte, "%02x,00,", static_cast<unsigned char>(c));
    out += byte;
  }
  out.pop_back();
  return out;
}

INSTANTIATE_TEST_SUITE_P(
    WineUserReg, RegistryRead,
    ::testing::Values(
        RegistryCase{"RegSzLiteral", "\"QQlogin\"=\"C:\\\\LOL\\\\TCLS\\\\Client.exe\"",
                     "C:\\LOL\\TCLS\\Client.exe"},
        RegistryCase{"ChineseThroughWineEscapes",
                     "\"QQlogin\"=\"C:\\\\" + test_support::wine_registry_literal("英雄联盟") +
                         "\\\\TCLS\\\\a.exe\"",
                     "C:\\英雄联盟\\TCLS\\a.exe"},
        RegistryCase{"PaddedEscapeBeforeHexDigit",
                     "\"QQlogin\"=\"" + test_support::wine_registry_literal("联盟A1") + "\"",
                     "联盟A1"},
        RegistryCase{"QuotesAndOtherValuesAround",
                     "\"Other\"=\"x\"\n\"qqlogin\"=\"say \\\"hi\\\"\"\n\"Last\"=dword:00000002",
                     "say \"hi\""},
        RegistryCase{"ExpandStrForm", "\"QQlogin\"=str(2):\"%MAPSWITCH_TEST_GAMES%\\\\LOL\"",
                     "D:\\Games\\LOL"},
        RegistryCase{"ExpandHexForm", "\"QQlogin\"=" + hex2_of("%MAPSWITCH_TEST_GAMES%\\LOL"),
                     "D:\\Games\\LOL"},
        RegistryCase{"ExpandHexFormOverSeveralLines",
                     "\"QQlogin\"=hex(2):25,00,4d,00,41,00,50,00,53,00,57,00,49,00,54,00,43,00,\\\n"
                     "  48,00,5f,00,54,00,45,00,53,00,54,00,5f,00,47,00,41,00,4d,00,45,00,53,00,\\\n"
                     "  25,00,00,00",
                     "D:\\Games"},
        RegistryCase{"UnknownVariableStays", "\"QQlogin\"=str(2):\"%NO_SUCH_VARIABLE_HERE%\\\\x\"",
                     "%NO_SUCH_VARIABLE_HERE%\\x"},
        RegistryCase{"DwordReadsEmpty", "\"QQlogin\"=dword:00000001", ""},
        RegistryCase{"BinaryReadsEmpty", "\"QQlogin\"=hex:01,02", ""},
        RegistryCase{"MissingValue", "\"Other\"=\"C:\\\\x\"", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RegistryReadMissing, MissingFileAndMissingKeyReadEmpty) {
  GamePrefix prefix;
  EXPECT_EQ(platform::registry::read_current_user_text(kValue), "");
  test_support::write_host_file(prefix.prefix() / "user.reg",
                                "WINE REGISTRY Version 2\n\n[Software\\\\Tencent\\\\LOLX] 1\n"
                                "\"QQlogin\"=\"C:\\\\x\"\n");
  EXPECT_EQ(platform::registry::read_current_user_text(kValue), "");
}

}  // namespace
