// UTF-16 texts at the edge of the GBK world: the script-level decoders of the core work on
// UTF-16 code units, as the scripting languages they mirror do.
#pragma once
#include <string>
#include <string_view>

namespace platform::codepage {

// Well-formed UTF-8 to UTF-16.
std::u16string utf8_to_utf16(std::string_view utf8);

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string utf16_to_utf8(std::u16string_view utf16);

// GBK to UTF-16; bytes that are no GBK character come out as U+FFFD.
std::u16string gbk_to_utf16(std::string_view gbk);

// UTF-16 to GBK. Characters without a GBK form become '?', one per character (a surrogate pair
// is one character); an unpaired surrogate is such a character too.
std::string utf16_to_gbk(std::u16string_view utf16);

}  // namespace platform::codepage
