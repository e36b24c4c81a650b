#include "platform/codepage/utf16.h"

#include "platform/codepage/codepage.h"

namespace platform::codepage {
namespace {

constexpr char32_t replacement_character = 0xFFFD;

bool is_high_surrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool is_low_surrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void append_utf8(std::string& out, char32_t code) {
  auto byte = [&](char32_t value) { out += static_cast<char>(value); };
  if (code < 0x80) {
    byte(code);
  } else if (code < 0x800) {
    byte(0xC0 | code >> 6), byte(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    byte(0xE0 | code >> 12), byte(0x80 | (code >> 6 & 0x3F)), byte(0x80 | (code & 0x3F));
  } else {
    byte(0xF0 | code >> 18), byte(0x80 | (code >> 12 & 0x3F));
    byte(0x80 | (code >> 6 & 0x3F)), byte(0x80 | (code & 0x3F));
  }
}

}  // namespace

std::u16string utf8_to_utf16(std::string_view utf8) {
  std::u16string out;
  for (std::size_t pos = 0; pos < utf8.size();) {
    auto lead = static_cast<unsigned char>(utf8[pos]);
    std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t code = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (std::size_t i = 1; i < length && pos + i < utf8.size(); ++i) {
      code = code << 6 | (static_cast<unsigned char>(utf8[pos + i]) & 0x3F);
    }
    pos += length;
    if (code >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(code);
    }
  }
  return out;
}

std::u16string gbk_to_utf16(std::string_view gbk) { return utf8_to_utf16(gbk_to_utf8(gbk)); }

std::string utf16_to_utf8(std::u16string_view utf16) {
  std::string utf8;
  for (std::size_t pos = 0; pos < utf16.size(); ++pos) {
    char16_t unit = utf16[pos];
    if (is_high_surrogate(unit) && pos + 1 < utf16.size() && is_low_surrogate(utf16[pos + 1])) {
      append_utf8(utf8, 0x10000 + ((unit - 0xD800) << 10) + (utf16[++pos] - 0xDC00));
    } else if (is_high_surrogate(unit) || is_low_surrogate(unit)) {
      append_utf8(utf8, replacement_character);  // GBK has no form for it either
    } else {
      append_utf8(utf8, unit);
    }
  }
  return utf8;
}

std::string utf16_to_gbk(std::u16string_view utf16) { return utf8_to_gbk(utf16_to_utf8(utf16)); }

}  // namespace platform::codepage
