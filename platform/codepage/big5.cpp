#include "platform/codepage/big5.h"

#include "platform/codepage/iconv_conversion.h"

namespace platform::codepage {

std::string big5_to_gbk_until_unmapped(std::string_view big5) {
  std::string utf8 = iconv_convert("UTF-8", "CP950", big5, OnUnconvertible::replace("?"));
  return iconv_convert("CP936", "UTF-8", utf8, OnUnconvertible::stop_there());
}

}  // namespace platform::codepage
