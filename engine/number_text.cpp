#include "engine/number_text.h"

#include <algorithm>
#include <limits>

namespace engine {

std::int32_t LeadingInteger(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
    magnitude = std::min(kLimit, magnitude * 10 + (text[pos] - '0'));
  }
  const std::int64_t value = negative ? -magnitude : std::min(magnitude, kLimit - 1);
  return static_cast<std::int32_t>(value);
}

}  // namespace engine
