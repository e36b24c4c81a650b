// The shared text routines: marker searches on GBK text, the script-free unescape decoder (checked
// against node), the code-page conversions and the file test.
#include "web/text_utilities.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/codepage/codepage.h"
#include "platform/files/files.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using web::TextAfterLast;
using web::TextBetween;
using web::UnescapeText;

// 癨 is B0 5C and 礭 is B5 5D: their trail bytes equal "\" and "]".
TEST(TextBetweenTest, FindsTheTextBetweenTheFirstMarkersOnCharacterBoundaries) {
  struct Case {
    std::string text, left, right, expected;
  } cases[] = {
      {"a[1]b[2]", "[", "]", "1"},         // the first left marker counts
      {"]x[", "[", "]", ""},               // the right one only in front of the left one
      {"abc", "<", ">", ""},               // no left marker
      {"<abc", "<", ">", ""},              // no right marker
      {"[礭]", "[", "]", "礭"},            // ] inside 礭 is no marker
      {"癨k\\值\\", "\\", "\\", "值"},     // \ inside 癨 is no marker
      {"KEY=a;key=b;", "key=", ";", "b"},  // letter case counts
      {"x\0<a>"s, "<", ">", ""},           // the text ends at its first zero byte
  };
  for (Case& c : cases) {
    EXPECT_EQ(TextBetween(c.text, c.left, c.right), c.expected) << c.text;
  }
}

TEST(TextBetweenTest, QuoteTokensInMarkerVariablesBecomeQuotesInPlace) {
  const std::string answer = R"({"ret":"ok","cip": "61.152.1.9","cname":"上海市"})";
  std::string left = "cip#引号: #引号", right = "#引号";
  EXPECT_EQ(TextBetween(answer, left, right), "61.152.1.9");
  EXPECT_EQ(left, R"(cip": ")");
  EXPECT_EQ(right, R"(")");

  std::string untouched = "cname\":\"";
  EXPECT_EQ(TextBetween(answer, untouched, "#引号"), "上海市") << "constants work as markers";
  EXPECT_EQ(untouched, "cname\":\"");
  const std::string constant = "#引号ret#引号:#引号";
  EXPECT_EQ(TextBetween(answer, constant, "#引号"), "ok");
  EXPECT_EQ(constant, "#引号ret#引号:#引号");
}

TEST(TextAfterLastTest, GivesTheTextBehindTheLastSeparator) {
  struct Case {
    std::string text, separator, expected;
  } cases[] = {
      {"http://115.com/s/abc", "/", "abc"},
      {"http://115.com/s/abc/", "/", ""},
      {"no separator", "/", ""},
      {"C:\\地图包\\癨", "\\", "癨"},  // the trail byte of 癨 is no separator
      {"a--b--c", "--", "c"},
  };
  for (const Case& c : cases) EXPECT_EQ(TextAfterLast(c.text, c.separator), c.expected) << c.text;
}

struct UnescapeCase {
  std::string input, expected;
};

const UnescapeCase unescape_cases[] = {
    {"", ""},
    {"\\u7535\\u4fe1", "电信"},  // JSON escapes
    {"\\u7535\\u4FE1 %u4e2d%u6587", "电信 中文"},
    {"a%20b%", "a b%"},
    {"%4 %zz %u12G4 %U0041", "%4 %zz %u12G4 %U0041"},  // no escapes of unescape
    {"it's 'x'\\'", "it's 'x''"},
    {"%27%u2019’", "'''"},  // every right single quotation mark comes back as an apostrophe
    {"a\r\nb\r\n", "a\r\nb\r\n"},
    {"\r\nab", "\r\nab"},
    {"\rab", "ab"},  // only a carriage return at the very front is dropped
    {"\r\rab", ""},  // the second one stays and breaks the literal
    {"a\nb", ""},    // a lone line feed
    {"a\rb", ""},    // a lone carriage return
    {"{$}", "\r\n"},
    {"abc\\", ""},  // a trailing backslash escapes the closing quote
    {"a\\\\", "a\\"},
    {"http:\\/\\/h\\/p \\\"q\\\"", "http://h/p \"q\""},
    {"a\\\nb", "ab"},  // a backslash before a line break continues the line
    {"a\\\rb", "ab"},
    {"a\\nb\\tc\\r", "a\nb\tc\r"},
    {"\\b\\f\\v\\q", "\b\f\vq"},
    {"\\x41\\x4a", "AJ"},
    {"\\x4", ""},
    {"\\xZZ", ""},
    {"\\x", ""},
    {"\\101\\7a\\400\\8\\9", "A\aa 089"},  // legacy octal escapes
    {"a\\0b", "a"},                        // a zero character ends the text
    {"a\\08", "a"},
    {"\\\\u0041", "A"},  // the "\u" inside "\\u" is rewritten first
    {"\\u", "%u"},
    {"癨u癨", "癨u癨"},                      // the trail byte 5C of 癨 is no backslash
    {"%uD83D%uDE00 \\ud83d\\ude00", "? ?"},  // a surrogate pair is one character GBK lacks
    {"%uD83D|%uDC00", "?|?"},                // unpaired surrogates
    {"%u0E01", "?"},                         // a character GBK lacks
    {"%u00e9%E9%u20AC", "éé\x80"},
    {"%41%e4%B8", "A??"},  // ä and ¸ have no GBK form
};

TEST(UnescapeTextTest, DecodesLikeTheScriptStatement) {
  for (const UnescapeCase& c : unescape_cases) {
    EXPECT_EQ(UnescapeText(c.input), c.expected) << c.input;
  }
}

std::string hex_of(std::string_view bytes) {
  std::string hex;
  char digits[3];
  for (unsigned char byte : bytes) {
    std::snprintf(digits, sizeof digits, "%02x", byte);
    hex += digits;
  }
  return hex;
}

std::string bytes_of_hex(std::string_view hex) {
  std::string bytes;
  for (std::size_t pos = 0; pos + 1 < hex.size(); pos += 2) {
    bytes += static_cast<char>(std::stoi(std::string(hex.substr(pos, 2)), nullptr, 16));
  }
  return bytes;
}

// Runs the prepared statement in node for every input (UTF-8, one per line as "x" + hex) and
// gives node's results converted to GBK, "" where the statement does not parse.
std::vector<std::string> node_results(const std::vector<std::string>& inputs_gbk) {
  const fs::path folder = fs::temp_directory_path() / ("unescape_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const std::string script = R"JS(
const fs = require('fs');
for (const line of fs.readFileSync(process.argv[2], 'utf8').split('\n')) {
  if (!line) continue;
  let t = Buffer.from(line.slice(1), 'hex').toString('utf8');
  t = t.split('\r\n').join('{$}');
  if (t.charCodeAt(0) === 13) t = t.slice(1);
  t = t.split('\\u').join('%u');
  t = t.split("'").join('\u2019');
  let r = '';
  try {
    (0, eval)("function xx(){var x='" + t + "';return unescape(x);}");
    r = xx();
  } catch (e) {
    r = '';
  }
  r = r.split('\0')[0].split('\u2019').join("'").split('{$}').join('\r\n');
  console.log('x' + Buffer.from(r, 'utf8').toString('hex'));
}
)JS";
  std::ofstream(folder / "unescape.js") << script;
  {
    std::ofstream inputs(folder / "inputs.txt");
    for (const std::string& input : inputs_gbk) {
      inputs << "x" << hex_of(platform::codepage::gbk_to_utf8(input)) << "\n";
    }
  }
  const std::string command =
      "node " + (folder / "unescape.js").string() + " " + (folder / "inputs.txt").string();
  std::vector<std::string> results;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char line[65536];
    while (std::fgets(line, sizeof line, pipe)) {
      std::string_view hex(line);
      hex.remove_prefix(1);  // the "x"
      if (!hex.empty() && hex.back() == '\n') hex.remove_suffix(1);
      results.push_back(platform::codepage::utf8_to_gbk(bytes_of_hex(hex)));
    }
    EXPECT_EQ(::pclose(pipe), 0) << command;
  }
  fs::remove_all(folder);
  return results;
}

TEST(UnescapeTextTest, AgreesWithNodeRunningTheStatement) {
  std::vector<std::string> inputs;
  for (const UnescapeCase& c : unescape_cases) inputs.push_back(c.input);
  const std::vector<std::string> from_node = node_results(inputs);
  ASSERT_EQ(from_node.size(), inputs.size()) << "node must be installed";
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    EXPECT_EQ(UnescapeText(inputs[i]), from_node[i]) << inputs[i];
  }
}

TEST(Utf8ToGbkTest, RoundTripsGbkTextAndReplacesTheRest) {
  for (std::string gbk : {"", "ascii", "一键备份 地图包\\礭癨", "\x80“”’…", "\xA1\xA1全角　空格"}) {
    EXPECT_EQ(web::Utf8ToGbk(platform::codepage::gbk_to_utf8(gbk)), gbk) << gbk;
  }
  struct Case {
    std::string utf8, gbk;
  } cases[] = {
      {"\xF0\x9F\x98\x80", "?"},  // a character GBK lacks
      {"\xE0\xB8\x81x", "?x"},
      {"a\xFF"
       "b",
       "a?b"},         // no UTF-8
      {"a\0b"s, "a"},  // the text ends at its first zero byte
  };
  for (const Case& c : cases) EXPECT_EQ(web::Utf8ToGbk(c.utf8), c.gbk) << c.utf8;
}

TEST(Big5ToSimplifiedGbkTest, ConvertsTraditionalTextAndStopsAtWhatGbkLacks) {
  struct Case {
    std::string big5, gbk;
  } cases[] = {
      // 繁體中文測試，歡迎下載地圖包
      {"\xC1\x63\xC5\xE9\xA4\xA4\xA4\xE5\xB4\xFA\xB8\xD5\xA1\x41\xC5\x77\xAA\xEF\xA4\x55\xB8\xFC"
       "\xA6\x61\xB9\xCF\xA5\x5D",
       "繁体中文测试，欢迎下载地图包"},
      {"ok \xA4\xA4\xA1\x45\xA4\xE5", "ok 中"},  // A1 45 (U+2027) has no GBK form
      {"\xA1\x45", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(web::Big5ToSimplifiedGbk(c.big5), c.gbk) << c.gbk;
}

TEST(FileExistsTest, IsTrueForFilesOnly) {
  const fs::path folder = fs::temp_directory_path() / ("file_exists_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  std::ofstream(folder / "a.zip!BT") << "x";
  const std::string windows_folder = platform::files::windows_path(folder.string());
  EXPECT_TRUE(web::FileExists(windows_folder + "\\a.zip!BT"));
  EXPECT_FALSE(web::FileExists(windows_folder + "\\b.zip"));
  EXPECT_FALSE(web::FileExists(windows_folder));
  fs::remove_all(folder);
}

}  // namespace
