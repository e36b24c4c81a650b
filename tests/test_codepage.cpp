#include <gtest/gtest.h>

#include "platform/codepage/codepage.h"

namespace {

using platform::codepage::gbk_to_utf8;
using platform::codepage::utf8_to_gbk;

struct CodepageCase {
  const char* name;
  std::string gbk;
  std::string utf8;
};

class GbkUtf8 : public ::testing::TestWithParam<CodepageCase> {};

TEST_P(GbkUtf8, ConvertsBothWays) {
  EXPECT_EQ(gbk_to_utf8(GetParam().gbk), GetParam().utf8);
  EXPECT_EQ(utf8_to_gbk(GetParam().utf8), GetParam().gbk);
}

INSTANTIATE_TEST_SUITE_P(
    CodePage936, GbkUtf8,
    ::testing::Values(CodepageCase{"Ascii", "Map1.zip", "Map1.zip"},
                      CodepageCase{"Chinese", "默认地图备份.zip",
                                   "\xE9\xBB\x98\xE8\xAE\xA4\xE5\x9C\xB0\xE5\x9B\xBE\xE5\xA4\x87"
                                   "\xE4\xBB\xBD.zip"},
                      CodepageCase{"EuroAt0x80", "\x80", "\xE2\x82\xAC"},
                      CodepageCase{"IdeographicSpace", "\xA1\xA1", "\xE3\x80\x80"},
                      CodepageCase{"Empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Codepage, UnconvertibleInputIsReplacedNotDropped) {
  EXPECT_EQ(utf8_to_gbk("a\xF0\x9F\x98\x80z"), "a?z");  // an emoji has no GBK form
  EXPECT_EQ(gbk_to_utf8("a\xFFz"), "a\xEF\xBF\xBDz");
  EXPECT_TRUE(platform::codepage::is_valid_utf8("\xE4\xB8\xAD"));
  EXPECT_FALSE(platform::codepage::is_valid_utf8("\xD6\xD0"));  // GBK bytes
}

}  // namespace
