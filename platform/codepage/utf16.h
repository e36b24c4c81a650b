// UTF-16 texts at the edge of the GBK world: the script-level decoders of the core work on
// UTF-16 code units, as the scripting languages they mirror do.
#pragma once
#include <string>
#include <string_view>

namespace platform::codepage {

// GBK to UTF-16; bytes that are no GBK character come out as U+FFFD.
std::u16string gbk_to_utf16(std::string_view gbk);

// UTF-16 to GBK. Characters without a GBK form become '?', one per character (a surrogate pair
// is one character); an unpaired surrogate is such a character too.
std::string utf16_to_gbk(std::u16string_view utf16);

}  // namespace platform::codepage
