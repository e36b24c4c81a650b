#include "web/text_utilities.h"

#include "platform/codepage/big5.h"
#include "platform/codepage/chinese_variants.h"
#include "platform/codepage/codepage.h"
#include "platform/files/files.h"
#include "web/gbk_text.h"

namespace web {

std::string TextMarker::resolve() {
  constexpr std::string_view quote_token = "#引号";
  if (gbk::find(text_, quote_token) == gbk::npos) return std::string(gbk::until_zero(text_));
  std::string resolved = gbk::replace_all(text_, quote_token, "\"");
  if (variable_) *variable_ = resolved;
  return std::string(gbk::until_zero(resolved));
}

std::string TextBetween(std::string_view text, TextMarker left, TextMarker right) {
  const std::string left_text = left.resolve();
  const std::string right_text = right.resolve();
  text = gbk::until_zero(text);
  std::size_t left_at = gbk::find(text, left_text);
  if (left_at == gbk::npos) return {};
  std::string_view rest = text.substr(left_at + left_text.size());
  std::size_t right_at = gbk::find(rest, right_text);
  if (right_at == gbk::npos) return {};
  return std::string(rest.substr(0, right_at));
}

std::string TextAfterLast(std::string_view text, std::string_view separator) {
  text = gbk::until_zero(text);
  separator = gbk::until_zero(separator);
  std::size_t last = gbk::rfind(text, separator);
  return last == gbk::npos ? std::string() : std::string(text.substr(last + separator.size()));
}

std::string Utf8ToGbk(std::string_view utf8) {
  return std::string(gbk::until_zero(platform::codepage::utf8_to_gbk(gbk::until_zero(utf8))));
}

std::string Big5ToSimplifiedGbk(std::string_view big5) {
  return platform::codepage::traditional_to_simplified(
      platform::codepage::big5_to_gbk_until_unmapped(gbk::until_zero(big5)));
}

bool FileExists(std::string_view path) { return platform::files::is_file(gbk::until_zero(path)); }

}  // namespace web
