#include "platform/files/profile.h"

#include "platform/files/atomic_replace.h"
#include "platform/files/files.h"
#include "platform/files/profile_document.h"

namespace platform::files {
namespace {

// The core's texts end at their first zero byte.
std::string_view until_zero(std::string_view text) { return text.substr(0, text.find('\0')); }

ProfileEntry entry_until_zero(const ProfileEntry& entry) {
  return {std::string(until_zero(entry.section)), std::string(until_zero(entry.key)),
          std::string(until_zero(entry.value))};
}

}  // namespace

std::string read_profile_string(std::string_view path, std::string_view section,
                                std::string_view key, std::string_view default_value) {
  // Writers replace the file by renaming, so a read sees one complete version without locking.
  auto content = read_file(until_zero(path));
  if (content) {
    auto value = ProfileDocument(*content).value(until_zero(section), until_zero(key));
    if (value) return *value;
  }
  return std::string(until_zero(default_value));
}

bool write_profile_string(std::string_view path, std::string_view section, std::string_view key,
                          std::string_view value) {
  return write_profile_strings(path,
                               {{std::string(section), std::string(key), std::string(value)}});
}

bool write_profile_strings(std::string_view path, const std::vector<ProfileEntry>& entries) {
  path = until_zero(path);
  std::vector<ProfileEntry> fitting;
  for (const ProfileEntry& entry : entries) {
    fitting.push_back(entry_until_zero(entry));
    const ProfileEntry& last = fitting.back();
    if (!fits_profile_line(last.section, last.key, last.value)) return false;
  }
  const std::string host = host_path(path);
  std::lock_guard<std::mutex> guard(write_lock_for(host));
  auto content = read_file(path);
  // A file that exists but cannot be read must not be replaced by the new keys alone.
  if (!content && exists(path)) return false;
  ProfileDocument document(content.value_or(""));
  for (const ProfileEntry& entry : fitting)
    document.set_value(entry.section, entry.key, entry.value);
  return replace_file_atomically(host, document.text());
}

}  // namespace platform::files
