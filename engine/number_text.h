// Numbers read back from the resume file.
#pragma once
#include <cstdint>
#include <string_view>

namespace engine {

// Leading blanks skipped, an optional sign, then the leading decimal digits; 0 when there are
// none. What follows the digits (a fraction, other text) is ignored, so "12.9" reads as its whole
// part 12. Values beyond 32 bits saturate instead of wrapping.
std::int32_t LeadingInteger(std::string_view text);

}  // namespace engine
