// One conversion loop over iconv for every code-page routine of this folder.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace platform::codepage {

// What a conversion does with input it cannot convert: stop there, or write the replacement and
// skip as many input bytes as skip() says (at least one).
struct OnUnconvertible {
  using Skip = std::size_t (*)(std::string_view rest);

  static OnUnconvertible stop_there() { return {true, {}, nullptr}; }
  static OnUnconvertible replace(std::string_view replacement, Skip skip = nullptr) {
    return {false, replacement, skip};
  }

  bool stop;
  std::string_view replacement;
  Skip skip;  // one byte when null
};

// "" when iconv knows neither code page.
std::string iconv_convert(const char* to, const char* from, std::string_view input,
                          const OnUnconvertible& on_unconvertible);

}  // namespace platform::codepage
