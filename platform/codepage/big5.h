// Big5 pages (code page 950) brought into GBK.
#pragma once
#include <string>
#include <string_view>

namespace platform::codepage {

// The GBK form of a Big5 text up to, not including, its first character that GBK lacks. Bytes
// that form no Big5 character become '?'.
std::string big5_to_gbk_until_unmapped(std::string_view big5);

}  // namespace platform::codepage
