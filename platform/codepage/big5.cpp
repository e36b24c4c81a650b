#include "platform/codepage/big5.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace platform::codepage {
namespace {

using IconvHandle = std::unique_ptr<std::remove_pointer_t<iconv_t>, int (*)(iconv_t)>;

IconvHandle open_conversion(const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  return IconvHandle(cd == reinterpret_cast<iconv_t>(-1) ? nullptr : cd, iconv_close);
}

enum class OnUnconvertible { ReplaceByteWithQuestionMark, Stop };

std::string convert(const char* to, const char* from, std::string_view input,
                    OnUnconvertible on_unconvertible) {
  IconvHandle cd = open_conversion(to, from);
  if (!cd) return {};
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
    if (on_unconvertible == OnUnconvertible::Stop) break;
    out += '?';
    ++in, --in_left;
    iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

}  // namespace

std::string big5_to_gbk_until_unmapped(std::string_view big5) {
  std::string utf8 = convert("UTF-8", "CP950", big5, OnUnconvertible::ReplaceByteWithQuestionMark);
  return convert("CP936", "UTF-8", utf8, OnUnconvertible::Stop);
}

}  // namespace platform::codepage
