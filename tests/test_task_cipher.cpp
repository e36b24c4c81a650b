// The resume file's text cipher: tags, hex round trips, the tolerance rules of the decoder, the
// keys' shape and the committed note constant.
#include "engine/task_cipher.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/ui/runtime.h"

namespace {

using namespace engine;
using namespace std::string_literals;

// md5("abc") = 900150983cd24fb0d6963f7d28e17f72, characters 3 to 11.
const std::string abc_tag = "0150983CD";

TEST(TaskCipherTest, KeyTagIsNineUpperCaseDigitsOfTheKeysDigest) {
  EXPECT_EQ(KeyTag("abc"), abc_tag);
  EXPECT_EQ(KeyTag("abc\0ignored"s), abc_tag) << "texts end at their first zero byte";
  EXPECT_EQ(KeyTag(NoteKey()).size(), 9u);
  EXPECT_NE(KeyTag(NoteKey()), KeyTag(UrlKey()));
}

TEST(TaskCipherTest, EncipherWritesTwoUpperCaseDigitsPerMaskedByteThenTheTag) {
  struct Case {
    std::string text;
    std::string cipher_body;
  } cases[] = {
      {"", ""},
      {"A", "1B"},           // 0x41 ^ 0x5A
      {"\x5A\x5B", "0001"},  // leading zeros below 16
      {"电", "EFBD"},        // GBK B5 E7
      {"\xFF\x80", "A5DA"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncipherText(c.text, "abc"), c.cipher_body + abc_tag) << c.cipher_body;
    EXPECT_EQ(DecipherText(c.cipher_body + abc_tag, "abc"), c.text) << c.cipher_body;
  }
}

TEST(TaskCipherTest, DecipherAcceptsOrRefusesValuesLikeThis) {
  struct Case {
    std::string cipher;
    std::string text;
  } cases[] = {
      {"1b3e" + abc_tag,
       "A"
       "d"},  // lower-case digits: 0x3E ^ 0x5A = 'd'
      {"1B1" + abc_tag,
       "A"
       "\x5B"},                               // an odd last digit is read alone
      {"1B" + KeyTag("abd"), ""},             // another key
      {"1B" + std::string("0150983cd"), ""},  // the tag compares with its case
      {"1BG0" + abc_tag, ""},                 // no hex digit: an edited value
      {"1B 0" + abc_tag, ""},
      {abc_tag.substr(1), ""},  // shorter than a tag
      {"", ""},
      {"1B" + abc_tag +
           "\0"
           "1B"s,
       "A"},  // the cipher ends at its first zero byte
  };
  for (const Case& c : cases) EXPECT_EQ(DecipherText(c.cipher, "abc"), c.text) << c.cipher;
}

TEST(TaskCipherTest, AddressesRoundTripUnderTheUrlKeyOnly) {
  const std::string url = "http://127.0.0.1:8080/skinvault/Map2.zip?名=值";
  const std::string cipher = EncipherText(url, UrlKey());
  EXPECT_EQ(cipher.size(), 2 * url.size() + 9);
  EXPECT_EQ(cipher.find_first_not_of("0123456789ABCDEF"), std::string::npos);
  EXPECT_EQ(DecipherText(cipher, UrlKey()), url);
  EXPECT_EQ(DecipherText(cipher, NoteKey()), "");
  EXPECT_EQ(DecipherText(url, UrlKey()), "") << "a plain address carries no tag";
}

TEST(TaskCipherTest, TheCommittedNoteCipherMatchesTheNote) {
  EXPECT_EQ(EncipherText(NoteText, NoteKey()), NoteCipherText);
  EXPECT_EQ(DecipherText(NoteCipherText, NoteKey()), NoteText);
}

// Counts characters of a GBK text: double-byte characters, then the digits, then the rest.
struct KeyShape {
  std::size_t head, number, tail;
};
KeyShape shape_of(const std::string& key) {
  KeyShape shape{0, 0, 0};
  std::size_t pos = 0;
  for (; pos + 1 < key.size() && static_cast<unsigned char>(key[pos]) >= 0x81; pos += 2) {
    ++shape.head;
  }
  for (; pos < key.size() && key[pos] >= '0' && key[pos] <= '9'; ++pos) ++shape.number;
  for (; pos + 1 < key.size() && static_cast<unsigned char>(key[pos]) >= 0x81; pos += 2) {
    ++shape.tail;
  }
  return pos == key.size() ? shape : KeyShape{0, 0, 0};
}

TEST(TaskCipherTest, KeysAreATextANumberAndATextOfTheirLengths) {
  KeyShape note = shape_of(NoteKey()), url = shape_of(UrlKey());
  EXPECT_EQ(note.head, 10u);
  EXPECT_GT(note.number, 0u);
  EXPECT_EQ(note.tail, 9u);
  EXPECT_EQ(url.head, 12u);
  EXPECT_GT(url.number, 0u);
  EXPECT_EQ(url.tail, 4u);
}

TEST(TaskCipherTest, PendingEventsAreServedWhileDecipheringOnTheUiThreadOnly) {
  platform::ui::init_runtime(platform::ui::Backend::ModelOnly);
  int served = 0;
  const std::string cipher = EncipherText("abc", "k");

  std::thread([&] {
    platform::ui::post_to_ui([&] { ++served; });
    EXPECT_EQ(DecipherText(cipher, "k"), "abc");
  }).join();
  EXPECT_EQ(served, 0) << "a worker thread never serves the UI's events";

  EXPECT_EQ(DecipherText(cipher, "k"), "abc");
  EXPECT_EQ(served, 1);
}

}  // namespace
