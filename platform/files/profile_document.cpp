#include "platform/files/profile_document.h"

namespace platform::files {
namespace {

bool is_lead_byte(char byte) {
  auto value = static_cast<unsigned char>(byte);
  return value >= 0x81 && value <= 0xFE;
}

// Position of the single-byte character ch, skipping double-byte characters, whose trail byte
// may equal "[", "]" and other ASCII letters.
std::size_t find_single_byte(std::string_view text, char ch, bool last) {
  std::size_t found = std::string_view::npos;
  for (std::size_t pos = 0; pos < text.size(); pos += is_lead_byte(text[pos]) ? 2 : 1) {
    if (text[pos] != ch || is_lead_byte(text[pos])) continue;
    found = pos;
    if (!last) break;
  }
  return found;
}

std::string_view trim(std::string_view text) {
  const char* blanks = " \t";
  std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

char ascii_lower(char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch + 32) : ch; }

// Names compare without regard to the case of single-byte letters; double-byte characters
// compare exactly.
bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t pos = 0; pos < a.size(); ++pos) {
    if (is_lead_byte(a[pos]) && pos + 1 < a.size()) {
      if (a.compare(pos, 2, b.substr(pos, 2)) != 0) return false;
      ++pos;
    } else if (ascii_lower(a[pos]) != ascii_lower(b[pos])) {
      return false;
    }
  }
  return true;
}

// The name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> section_name(std::string_view line) {
  std::string_view body = trim(line);
  if (body.empty() || body.front() != '[') return std::nullopt;
  std::size_t close = find_single_byte(body, ']', true);
  if (close == std::string_view::npos) return std::nullopt;
  return trim(body.substr(1, close - 1));
}

struct KeyLine {
  std::string_view key;
  std::string_view value;
};

// A "key=value" line; comments (";") and lines without "=" hold no key.
std::optional<KeyLine> key_line(std::string_view line) {
  std::string_view body = trim(line);
  std::size_t equals = body.find('=');
  if (body.empty() || body.front() == ';' || equals == std::string_view::npos) return std::nullopt;
  return KeyLine{trim(body.substr(0, equals)), trim(body.substr(equals + 1))};
}

bool has_line_break(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

ProfileDocument::ProfileDocument(std::string_view content) {
  while (!content.empty()) {
    std::size_t end = content.find('\n');
    std::string_view line = content.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines_.emplace_back(line);
    content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
  }
}

std::optional<ProfileDocument::SectionRange> ProfileDocument::find_section(
    std::string_view section) const {
  for (std::size_t header = 0; header < lines_.size(); ++header) {
    auto name = section_name(lines_[header]);
    if (!name || !same_name(*name, trim(section))) continue;
    std::size_t end = header + 1;
    while (end < lines_.size() && !section_name(lines_[end])) ++end;
    return SectionRange{header, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> ProfileDocument::find_key(const SectionRange& range,
                                                     std::string_view key) const {
  for (std::size_t line = range.header + 1; line < range.end; ++line) {
    auto entry = key_line(lines_[line]);
    if (entry && same_name(entry->key, trim(key))) return line;
  }
  return std::nullopt;
}

std::optional<std::string> ProfileDocument::value(std::string_view section,
                                                  std::string_view key) const {
  auto range = find_section(section);
  if (!range) return std::nullopt;
  auto line = find_key(*range, key);
  if (!line) return std::nullopt;
  return std::string(key_line(lines_[*line])->value);
}

void ProfileDocument::set_value(std::string_view section, std::string_view key,
                                std::string_view value) {
  auto range = find_section(section);
  if (!range) {
    lines_.push_back("[" + std::string(trim(section)) + "]");
    lines_.push_back(std::string(trim(key)) + "=" + std::string(value));
    return;
  }
  if (auto line = find_key(*range, key)) {
    // The stored spelling of the key stays; only the value changes.
    lines_[*line] = std::string(key_line(lines_[*line])->key) + "=" + std::string(value);
    return;
  }
  // After the section's last non-blank line, so blank separators stay between sections.
  std::size_t insert_at = range->end;
  while (insert_at > range->header + 1 && trim(lines_[insert_at - 1]).empty()) --insert_at;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert_at),
                std::string(trim(key)) + "=" + std::string(value));
}

std::string ProfileDocument::text() const {
  std::string out;
  for (const std::string& line : lines_) out.append(line).append("\r\n");
  return out;
}

bool fits_profile_line(std::string_view section, std::string_view key, std::string_view value) {
  return !trim(section).empty() && !trim(key).empty() && !has_line_break(section) &&
         !has_line_break(key) && !has_line_break(value) &&
         find_single_byte(section, ']', false) == std::string_view::npos &&
         key.find('=') == std::string_view::npos && trim(key).front() != ';' &&
         trim(key).front() != '[';
}

}  // namespace platform::files
