// Byte-level text work on GBK strings that respects double-byte characters: a lead byte
// 0x81-0xFE and the byte after it form one character, so a trail byte that happens to equal an
// ASCII separator such as a backslash is never taken for one.
#pragma once
#include <string>
#include <string_view>

namespace web::gbk {

inline constexpr std::size_t npos = std::string_view::npos;

bool is_lead_byte(unsigned char byte);

// First / last occurrence of needle that starts on a character boundary; npos when none.
std::size_t find(std::string_view text, std::string_view needle, std::size_t from = 0);
std::size_t rfind(std::string_view text, std::string_view needle);

// Every occurrence on a character boundary, scanning left to right without overlaps.
std::string replace_all(std::string_view text, std::string_view from, std::string_view to);

// Strips ASCII spaces and the ideographic space (A1 A1) at both ends.
std::string trim_spaces(std::string_view text);

// The text up to the first zero byte, as the core's routines read their arguments.
std::string_view until_zero(std::string_view text);

}  // namespace web::gbk
