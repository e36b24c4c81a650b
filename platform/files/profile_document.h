// The lines of a private-profile file held in memory, for reading and editing keys. Internal to
// platform/files: profile.cpp does the file work around it.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::files {

class ProfileDocument {
 public:
  // Splits at LF and drops the CR in front of it, so CR LF and LF files both read.
  explicit ProfileDocument(std::string_view content);

  // The trimmed value of the first key of that name in the first section of that name.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;

  // Replaces the key's line, or adds the key after the section's last entry, or appends the
  // section at the end. Every other line stays as it was.
  void set_value(std::string_view section, std::string_view key, std::string_view value);

  // The content with CR LF after every line.
  std::string text() const;

 private:
  struct SectionRange {
    std::size_t header;
    std::size_t end;  // index of the next section header, or the line count
  };
  std::optional<SectionRange> find_section(std::string_view section) const;
  std::optional<std::size_t> find_key(const SectionRange& range, std::string_view key) const;

  std::vector<std::string> lines_;
};

// Whether section, key and value can be stored without changing the file's line structure.
bool fits_profile_line(std::string_view section, std::string_view key, std::string_view value);

}  // namespace platform::files
