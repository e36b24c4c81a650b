// Traditional and simplified Chinese characters.
#pragma once
#include <string>
#include <string_view>

namespace platform::codepage {

// The GBK text with its traditional Chinese characters (and phrases) turned into simplified ones,
// by OpenCC's "t2s" tables. The text comes back unchanged when those tables cannot be loaded.
std::string traditional_to_simplified(std::string_view gbk);

}  // namespace platform::codepage
