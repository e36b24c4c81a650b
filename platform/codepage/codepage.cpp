#include "platform/codepage/codepage.h"

#include "platform/codepage/iconv_conversion.h"

namespace platform::codepage {
namespace {

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

// glibc's CP936 maps 0x80 to the euro sign as Windows does.
std::string gbk_to_utf8(std::string_view gbk) {
  return iconv_convert("UTF-8", "CP936", gbk,
                       OnUnconvertible::replace("\xEF\xBF\xBD", gbk_char_length));
}

std::string utf8_to_gbk(std::string_view utf8) {
  return iconv_convert("CP936", "UTF-8", utf8, OnUnconvertible::replace("?", utf8_char_length));
}

bool is_valid_utf8(std::string_view bytes) {
  for (std::size_t pos = 0; pos < bytes.size();) {
    auto lead = static_cast<unsigned char>(bytes[pos]);
    std::size_t length;
    char32_t smallest;  // overlong forms are invalid
    if (lead < 0x80) {
      ++pos;
      continue;
    } else if ((lead >> 5) == 0x6) {
      length = 2, smallest = 0x80;
    } else if ((lead >> 4) == 0xE) {
      length = 3, smallest = 0x800;
    } else if ((lead >> 3) == 0x1E) {
      length = 4, smallest = 0x10000;
    } else {
      return false;
    }
    if (pos + length > bytes.size()) return false;
    char32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
      auto trail = static_cast<unsigned char>(bytes[pos + i]);
      if ((trail & 0xC0) != 0x80) return false;
      code = code << 6 | (trail & 0x3F);
    }
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    pos += length;
  }
  return true;
}

}  // namespace platform::codepage
