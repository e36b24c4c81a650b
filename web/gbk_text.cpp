#include "web/gbk_text.h"

namespace web::gbk {

bool is_lead_byte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

namespace {

// Length of the character that starts at pos: 2 for a lead byte with a trail byte behind it.
std::size_t char_length(std::string_view text, std::size_t pos) {
  return is_lead_byte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

}  // namespace

std::size_t find(std::string_view text, std::string_view needle, std::size_t from) {
  if (needle.empty()) return from <= text.size() ? from : npos;
  for (std::size_t pos = 0; pos + needle.size() <= text.size(); pos += char_length(text, pos)) {
    if (pos >= from && text.compare(pos, needle.size(), needle) == 0) return pos;
  }
  return npos;
}

std::size_t rfind(std::string_view text, std::string_view needle) {
  std::size_t last = npos;
  for (std::size_t pos = find(text, needle); pos != npos; pos = find(text, needle, pos + 1)) {
    last = pos;
  }
  return last;
}

std::string replace_all(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  std::size_t done = 0;
  for (std::size_t pos = find(text, from); pos != npos; pos = find(text, from, done)) {
    out.append(text.substr(done, pos - done)).append(to);
    done = pos + from.size();
  }
  return out.append(text.substr(done));
}

std::string trim_spaces(std::string_view text) {
  auto space_at_front = [&] {
    return (!text.empty() && text.front() == ' ') ||
           (text.size() >= 2 && text.substr(0, 2) == "\xA1\xA1");
  };
  while (space_at_front()) text.remove_prefix(text.front() == ' ' ? 1 : 2);
  for (;;) {
    if (!text.empty() && text.back() == ' ') {
      text.remove_suffix(1);
    } else if (text.size() >= 2 && text.substr(text.size() - 2) == "\xA1\xA1" &&
               rfind(text, "\xA1\xA1") == text.size() - 2) {
      text.remove_suffix(2);
    } else {
      break;
    }
  }
  return std::string(text);
}

std::string_view until_zero(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

}  // namespace web::gbk
