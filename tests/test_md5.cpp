// MD5 digests against the test suite of RFC 1321.
#include "platform/crypto/md5.h"

#include <gtest/gtest.h>

namespace {

TEST(Md5Test, MatchesTheReferenceDigests) {
  struct Case {
    std::string input;
    const char* digest;
  } cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
      {std::string("a\0b", 3), "70350f6027bce3713f6b76473084309b"},  // every byte counts
  };
  for (const Case& c : cases) EXPECT_EQ(platform::crypto::md5_hex(c.input), c.digest) << c.input;
}

}  // namespace
