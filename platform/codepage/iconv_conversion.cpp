#include "platform/codepage/iconv_conversion.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <type_traits>

namespace platform::codepage {

std::string iconv_convert(const char* to, const char* from, std::string_view input,
                          const OnUnconvertible& on_unconvertible) {
  using Handle = std::unique_ptr<std::remove_pointer_t<iconv_t>, int (*)(iconv_t)>;
  iconv_t opened = iconv_open(to, from);
  if (opened == reinterpret_cast<iconv_t>(-1)) return {};
  Handle cd(opened, iconv_close);

  std::string out;
  char* in = const_cast<char*>(input.data());
  std::size_t in_left = input.size();
  while (in_left > 0) {
    char buffer[4096];
    char* dst = buffer;
    std::size_t dst_left = sizeof buffer;
    std::size_t rc = iconv(cd.get(), &in, &in_left, &dst, &dst_left);
    out.append(buffer, dst - buffer);
    if (rc != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    if (on_unconvertible.stop) break;
    out.append(on_unconvertible.replacement);
    std::size_t skip = on_unconvertible.skip ? on_unconvertible.skip({in, in_left}) : 1;
    skip = std::clamp<std::size_t>(skip, 1, in_left);
    in += skip;
    in_left -= skip;
    iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

}  // namespace platform::codepage
