// Code-page conversions at the edges of the program: the core keeps every text as GBK bytes.
#pragma once
#include <string>
#include <string_view>

namespace platform::codepage {

// GBK (code page 936, with 0x80 as the euro sign) to UTF-8. Bytes that are no GBK character come
// out as U+FFFD, so a bad name still shows up readable instead of vanishing.
std::string gbk_to_utf8(std::string_view gbk);

// UTF-8 to GBK. Characters without a GBK form become '?', the system's default replacement.
std::string utf8_to_gbk(std::string_view utf8);

// True when the bytes are well-formed UTF-8.
bool is_valid_utf8(std::string_view bytes);

}  // namespace platform::codepage
