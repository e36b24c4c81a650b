#include "platform/registry/registry.h"

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/codepage/codepage.h"
#include "platform/codepage/utf16.h"
#include "platform/files/files.h"

namespace platform::registry {
namespace {

bool hex_digit(char c, unsigned& value) {
  if (c >= '0' && c <= '9')
    value = c - '0';
  else if (c >= 'a' && c <= 'f')
    value = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F')
    value = c - 'A' + 10;
  else
    return false;
  return true;
}

// Reads a quoted string starting at text[pos] == '"' with Wine's escapes: \\ \" \n \r \t \0 and
// \x followed by up to four hex digits of a UTF-16 code unit. Returns UTF-8; pos ends past the
// closing quote.
std::optional<std::string> parse_quoted(std::string_view text, std::size_t& pos) {
  if (pos >= text.size() || text[pos] != '"') return std::nullopt;
  std::u16string units;
  std::string pending;  // raw UTF-8 bytes between escapes
  auto flush = [&] {
    units += codepage::utf8_to_utf16(pending);
    pending.clear();
  };
  for (++pos; pos < text.size(); ++pos) {
    char c = text[pos];
    if (c == '"') {
      flush();
      ++pos;
      return codepage::utf16_to_utf8(units);
    }
    if (c != '\\' || pos + 1 >= text.size()) {
      pending += c;
      continue;
    }
    char escape = text[++pos];
    flush();
    unsigned digit = 0;
    if (escape == 'x' && pos + 1 < text.size() && hex_digit(text[pos + 1], digit)) {
      unsigned unit = 0;
      for (int count = 0; count < 4 && pos + 1 < text.size() && hex_digit(text[pos + 1], digit);
           ++count, ++pos) {
        unit = unit * 16 + digit;
      }
      units += static_cast<char16_t>(unit);
    } else if (escape == 'n') {
      units += u'\n';
    } else if (escape == 'r') {
      units += u'\r';
    } else if (escape == 't') {
      units += u'\t';
    } else if (escape == '0') {
      units += u'\0';
    } else {
      units += static_cast<char16_t>(static_cast<unsigned char>(escape));
    }
  }
  return std::nullopt;
}

// hex(2): bytes "25,00,50,00" of a UTF-16LE string, zero-terminated.
std::string parse_hex_utf16(std::string_view bytes_text) {
  std::vector<unsigned char> bytes;
  unsigned value = 0, digit = 0;
  int digits = 0;
  for (char c : bytes_text) {
    if (hex_digit(c, digit)) {
      value = value * 16 + digit;
      ++digits;
    } else if (c == ',') {
      if (digits) bytes.push_back(static_cast<unsigned char>(value));
      value = 0;
      digits = 0;
    }
  }
  if (digits) bytes.push_back(static_cast<unsigned char>(value));
  std::u16string units;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char16_t unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (unit == 0) break;
    units += unit;
  }
  return codepage::utf16_to_utf8(units);
}

// %NAME% from the environment; an unknown name stays as written, as Windows leaves it.
std::string expand_environment(std::string_view text) {
  std::string out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t open = text.find('%', pos);
    std::size_t close = open == std::string_view::npos ? open : text.find('%', open + 1);
    if (close == std::string_view::npos) break;
    out.append(text.substr(pos, open - pos));
    std::string name(text.substr(open + 1, close - open - 1));
    const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
    if (value) {
      out += value;
      pos = close + 1;
    } else {
      out += '%';
      pos = open + 1;
    }
  }
  return out.append(text.substr(pos));
}

bool equal_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Section header "[Software\\Tencent\\LOL] 1700000000": the key with its escapes undone.
std::optional<std::string> section_key(std::string_view line) {
  if (line.empty() || line[0] != '[') return std::nullopt;
  std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  std::string quoted = "\"" + std::string(line.substr(1, close - 1)) + "\"";
  std::size_t pos = 0;
  return parse_quoted(quoted, pos);
}

// The data of a value line: REG_SZ literal, REG_EXPAND_SZ expanded, anything else "".
std::string value_data(std::string_view data) {
  std::size_t pos = 0;
  if (data.starts_with("\"")) return parse_quoted(data, pos).value_or("");
  if (data.starts_with("str(2):")) {
    pos = 7;
    return expand_environment(parse_quoted(data, pos).value_or(""));
  }
  if (data.starts_with("hex(2):")) return expand_environment(parse_hex_utf16(data.substr(7)));
  return "";
}

// Logical lines: a trailing backslash continues a hex value on the next line.
std::vector<std::string> logical_lines(std::istream& in) {
  std::vector<std::string> lines;
  std::string line;
  bool continued = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (continued) {
      std::size_t start = line.find_first_not_of(" \t");
      lines.back() += start == std::string::npos ? "" : line.substr(start);
    } else {
      lines.push_back(line);
    }
    continued = !lines.back().empty() && lines.back().back() == '\\' &&
                lines.back().find("=hex") != std::string::npos;
    if (continued) lines.back().pop_back();
  }
  return lines;
}

}  // namespace

std::string read_current_user_text(std::string_view key_and_value) {
  std::string path = codepage::gbk_to_utf8(key_and_value);
  std::size_t split = path.rfind('\\');
  std::string key = split == std::string::npos ? "" : path.substr(0, split);
  std::string value_name = split == std::string::npos ? path : path.substr(split + 1);

  std::ifstream in(files::wine_prefix() + "/user.reg", std::ios::binary);
  if (!in) return "";
  bool in_key = false;
  for (const std::string& line : logical_lines(in)) {
    if (auto section = section_key(line)) {
      in_key = equal_ignoring_case(*section, key);
      continue;
    }
    if (!in_key || line.empty() || line[0] != '"') continue;
    std::size_t pos = 0;
    auto name = parse_quoted(line, pos);
    if (!name || pos >= line.size() || line[pos] != '=') continue;
    if (equal_ignoring_case(*name, value_name)) {
      return codepage::utf8_to_gbk(value_data(std::string_view(line).substr(pos + 1)));
    }
  }
  return "";
}

}  // namespace platform::registry
