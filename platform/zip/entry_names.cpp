#include "platform/zip/entry_names.h"

#include "platform/codepage/codepage.h"

namespace platform::zip {
namespace {

bool is_separator(char c) { return c == '/' || c == '\\'; }

bool is_ascii_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Every step, including empty and "." ones.
std::vector<std::string_view> raw_steps(std::string_view name) {
  std::vector<std::string_view> steps;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= name.size(); ++i) {
    if (i == name.size() || is_separator(name[i])) {
      steps.push_back(name.substr(start, i - start));
      start = i + 1;
    }
  }
  return steps;
}

}  // namespace

EntryName decode_entry_name(std::string_view raw, bool utf8_flag, bool made_on_unix) {
  if ((utf8_flag || made_on_unix) && codepage::is_valid_utf8(raw)) {
    return {std::string(raw), codepage::utf8_to_gbk(raw)};
  }
  return {codepage::gbk_to_utf8(raw), std::string(raw)};
}

std::vector<std::string> name_steps(std::string_view utf8_name) {
  std::vector<std::string> steps;
  for (std::string_view step : raw_steps(utf8_name)) {
    if (!step.empty() && step != ".") steps.emplace_back(step);
  }
  return steps;
}

bool stays_inside(std::string_view utf8_name) {
  if (!utf8_name.empty() && is_separator(utf8_name[0])) return false;
  if (utf8_name.size() >= 2 && utf8_name[1] == ':' && is_ascii_letter(utf8_name[0])) return false;
  for (std::string_view step : raw_steps(utf8_name)) {
    if (step == "..") return false;
  }
  return true;
}

bool names_folder(std::string_view utf8_name) {
  return !utf8_name.empty() && is_separator(utf8_name.back());
}

}  // namespace platform::zip
