#include <gtest/gtest.h>

#include "web/gbk_text.h"

namespace {

namespace gbk = web::gbk;

// "北" has no 0x5C byte, but B1 5C is one double-byte character whose trail byte is '\'.
const std::string kTrailBackslash = "\xB1\x5C";

TEST(GbkText, SearchesNeverMatchInsideACharacter) {
  std::string text = "a" + kTrailBackslash + "b\\c";
  EXPECT_EQ(gbk::find(text, "\\"), 4u);
  EXPECT_EQ(gbk::rfind(text, "\\"), 4u);
  EXPECT_EQ(gbk::find("英雄联盟TCLS", "TCLS"), 8u);
  EXPECT_EQ(gbk::find("abc", "x"), gbk::npos);
  // A needle whose first byte is a trail byte of the text never matches there.
  EXPECT_EQ(gbk::find("\xD6\xD0\xB9\xFA", "\xD0\xB9"), gbk::npos);
  EXPECT_EQ(gbk::find("aXbX", "X", 2), 3u);
}

TEST(GbkText, ReplaceAllSkipsLookalikeBytes) {
  EXPECT_EQ(gbk::replace_all("a" + kTrailBackslash + "\\", "\\", "/"), "a" + kTrailBackslash + "/");
  EXPECT_EQ(gbk::replace_all("#引号x#引号", "#引号", "\""), "\"x\"");
  EXPECT_EQ(gbk::replace_all("abc", "", "z"), "abc");
}

TEST(GbkText, TrimsAsciiAndIdeographicSpaces) {
  EXPECT_EQ(gbk::trim_spaces("  \xA1\xA1 x y\xA1\xA1  "), "x y");
  EXPECT_EQ(gbk::trim_spaces("   "), "");
  // Only whole characters count: A1 A1 that straddles two characters is no space.
  EXPECT_EQ(gbk::trim_spaces("\xB0\xA1\xA1\xA1"), "\xB0\xA1");
  EXPECT_EQ(gbk::trim_spaces("x\xA1\xA1\xA1"), "x\xA1\xA1\xA1");
  EXPECT_EQ(gbk::trim_spaces("\xA1\xA1\xB0\xA1"), "\xB0\xA1");
}

TEST(GbkText, UntilZeroStopsAtTheFirstZeroByte) {
  EXPECT_EQ(gbk::until_zero(std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(gbk::until_zero("ab"), "ab");
}

}  // namespace
