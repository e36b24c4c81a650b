// Private-profile (INI) files: "[section]" lines and "key=value" lines in GBK bytes.
//
// Section and key names match without regard to the case of ASCII letters; values read back
// trimmed of surrounding spaces and tabs. A write keeps every other line of the file (comments,
// order, unknown keys) and is atomic: the new content goes to a temporary file in the same folder
// that is renamed over the old one, under a lock per file, so overlapping saves never interleave
// and a crash in the middle of a save leaves the previous complete file. Lines end in CR LF; LF
// alone is accepted on read. Paths are Windows-style GBK paths (see files.h).
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace platform::files {

// The value of key in section, or default_value when the file, the section or the key is missing.
std::string read_profile_string(std::string_view path, std::string_view section,
                                std::string_view key, std::string_view default_value);

// Sets key in section to value, creating the file and the section when missing. False when the
// file cannot be written, or when a name or the value would break the line structure (a line
// break anywhere, "=" in a key, "]" in a section name, an empty name).
bool write_profile_string(std::string_view path, std::string_view section, std::string_view key,
                          std::string_view value);

struct ProfileEntry {
  std::string section;
  std::string key;
  std::string value;
};

// Applies the entries in order with one read and one write of the file. All or nothing: when any
// entry is unfit (as above) nothing is written.
bool write_profile_strings(std::string_view path, const std::vector<ProfileEntry>& entries);

}  // namespace platform::files
