#include "platform/codepage/codepage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace platform::codepage {
namespace {

// Converts with iconv; on an unconvertible sequence it writes `replacement` and skips
// `skip_bytes(input)` bytes. glibc's CP936 maps 0x80 to the euro sign as Windows does.
template <typename Skip>
std::string convert(const char* to, const char* from, std::string_view input,
                    std::string_view replacement, Skip skip_bytes) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string out;
  char buffer[4096];
  char* in = const_cast<char*>(input.data());
  std::size_t in_left = input.size();
  while (in_left > 0) {
    char* dst = buffer;
    std::size_t dst_left = sizeof buffer;
    std::size_t rc = iconv(cd, &in, &in_left, &dst, &dst_left);
    out.append(buffer, dst - buffer);
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
      out.append(replacement);
      std::size_t skip = std::min(in_left, skip_bytes(std::string_view(in, in_left)));
      in += skip;
      in_left -= skip;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

std::size_t gbk_char_length(std::string_view rest) {
  unsigned char lead = static_cast<unsigned char>(rest[0]);
  return lead >= 0x81 && lead <= 0xFE && rest.size() >= 2 ? 2 : 1;
}

std::size_t utf8_char_length(std::string_view rest) {
  std::size_t length = 1;
  while (length < rest.size() && length < 4 &&
         (static_cast<unsigned char>(rest[length]) & 0xC0) == 0x80) {
    ++length;
  }
  return length;
}

}  // namespace

std::string gbk_to_utf8(std::string_view gbk) {
  return convert("UTF-8", "CP936", gbk, "\xEF\xBF\xBD", gbk_char_length);
}

std::string utf8_to_gbk(std::string_view utf8) {
  return convert("CP936", "UTF-8", utf8, "?", utf8_char_length);
}

bool is_valid_utf8(std::string_view bytes) {
  iconv_t cd = iconv_open("UTF-16LE", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  char* in = const_cast<char*>(bytes.data());
  std::size_t in_left = bytes.size();
  bool valid = true;
  while (valid && in_left > 0) {
    char buffer[4096];
    char* dst = buffer;
    std::size_t dst_left = sizeof buffer;
    if (iconv(cd, &in, &in_left, &dst, &dst_left) == static_cast<std::size_t>(-1) &&
        errno != E2BIG) {
      valid = false;
    }
  }
  iconv_close(cd);
  return valid;
}

}  // namespace platform::codepage
