// UnescapeText decodes what a script host would make of
//   function xx(){var x='<prepared text>';return unescape(x);}
// without a script host: reading the literal and applying unescape directly, so text that came
// from a web server is never run.
#include <optional>

#include "platform/codepage/utf16.h"
#include "web/gbk_text.h"
#include "web/text_utilities.h"

namespace web {
namespace {

// CR LF pairs and apostrophes travel through the literal as carriers that it cannot misread.
constexpr std::string_view line_break_carrier = "{$}";
constexpr std::string_view apostrophe_carrier = "’";

std::string prepared_literal_body(std::string_view text) {
  std::string prepared = gbk::replace_all(text, "\r\n", line_break_carrier);
  if (!prepared.empty() && prepared.front() == '\r') prepared.erase(0, 1);
  // JSON escapes become unescape's "%u" form, so unescape, not the literal, decodes them.
  prepared = gbk::replace_all(prepared, "\\u", "%u");
  return gbk::replace_all(prepared, "'", apostrophe_carrier);
}

std::optional<unsigned> hex_value(std::u16string_view digits) {
  unsigned value = 0;
  for (char16_t ch : digits) {
    unsigned digit;
    if (ch >= u'0' && ch <= u'9') {
      digit = ch - u'0';
    } else if (ch >= u'a' && ch <= u'f') {
      digit = ch - u'a' + 10;
    } else if (ch >= u'A' && ch <= u'F') {
      digit = ch - u'A' + 10;
    } else {
      return std::nullopt;
    }
    value = value * 16 + digit;
  }
  return value;
}

bool is_octal_digit(char16_t ch) { return ch >= u'0' && ch <= u'7'; }

// The character of a one-letter escape such as "\n", if ch is one of those letters.
std::optional<char16_t> control_escape(char16_t ch) {
  constexpr std::u16string_view letters = u"bfnrtv", characters = u"\b\f\n\r\t\v";
  std::size_t at = letters.find(ch);
  if (at == std::u16string_view::npos) return std::nullopt;
  return characters[at];
}

// The value of a legacy octal escape starting at body[pos] (a digit 0-7): three digits at most
// after 0-3, two after 4-7, so the value stays below 256. pos moves past the digits.
char16_t octal_escape(std::u16string_view body, std::size_t& pos) {
  const std::size_t max_digits = body[pos] <= u'3' ? 3 : 2;
  unsigned value = 0;
  for (std::size_t digits = 0;
       digits < max_digits && pos < body.size() && is_octal_digit(body[pos]); ++digits) {
    value = value * 8 + (body[pos++] - u'0');
  }
  return static_cast<char16_t>(value);
}

// The value of body as the contents of a single-quoted string literal of a non-strict script;
// nothing when the statement holding it would not parse. body holds no apostrophe (the carrier
// replaced them), so the literal runs to its end.
std::optional<std::u16string> string_literal_value(std::u16string_view body) {
  std::u16string value;
  for (std::size_t pos = 0; pos < body.size();) {
    char16_t ch = body[pos++];
    // A line break ends the literal badly; U+2028 and U+2029 may stand in string literals.
    if (ch == u'\n' || ch == u'\r') return std::nullopt;
    if (ch != u'\\') {
      value += ch;
      continue;
    }
    // A backslash at the end escapes the closing quote: the literal never ends.
    if (pos == body.size()) return std::nullopt;
    ch = body[pos++];
    if (auto control = control_escape(ch)) {
      value += *control;
      continue;
    }
    switch (ch) {
      case u'\r':  // a line continuation adds nothing; CR LF counts as one line break
        if (pos < body.size() && body[pos] == u'\n') ++pos;
        break;
      case u'\n':
      case u'\u2028':
      case u'\u2029':
        break;
      case u'x': {
        auto code = pos + 2 <= body.size() ? hex_value(body.substr(pos, 2)) : std::nullopt;
        if (!code) return std::nullopt;
        value += static_cast<char16_t>(*code);
        pos += 2;
        break;
      }
      case u'u':  // the preparation turned every "\u" into "%u"; a stray one is no valid escape
        return std::nullopt;
      default:
        if (is_octal_digit(ch)) {
          --pos;
          value += octal_escape(body, pos);
        } else {
          value += ch;  // "\8", "\9", "\/", "\"" and every other character stand for themselves
        }
    }
  }
  return value;
}

// The script function unescape: "%XX" and "%uXXXX" become that code unit; every other character,
// a lone "%" included, stays.
std::u16string unescape(std::u16string_view text) {
  std::u16string out;
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    std::optional<unsigned> code;
    if (text[pos] == u'%' && pos + 6 <= text.size() && text[pos + 1] == u'u' &&
        (code = hex_value(text.substr(pos + 2, 4)))) {
      pos += 5;
    } else if (text[pos] == u'%' && pos + 3 <= text.size() &&
               (code = hex_value(text.substr(pos + 1, 2)))) {
      pos += 2;
    }
    out += code ? static_cast<char16_t>(*code) : text[pos];
  }
  return out;
}

}  // namespace

std::string UnescapeText(std::string_view text) {
  auto value = string_literal_value(
      platform::codepage::gbk_to_utf16(prepared_literal_body(gbk::until_zero(text))));
  if (!value) return {};
  // The script host hands back text that ends at its first zero character.
  std::string decoded(gbk::until_zero(platform::codepage::utf16_to_gbk(unescape(*value))));
  decoded = gbk::replace_all(decoded, apostrophe_carrier, "'");
  return gbk::replace_all(decoded, line_break_carrier, "\r\n");
}

}  // namespace web
