// Replacing a whole file so that readers and crashes only ever see the old or the new content.
// Internal to platform/files.
#pragma once
#include <mutex>
#include <string>
#include <string_view>

namespace platform::files {

// One mutex per file for the whole process, so read-modify-write cycles of a file run one at a
// time. Host paths that name the same file share it.
std::mutex& write_lock_for(const std::string& host_path);

// Writes bytes to a new file beside host_path, flushes it to disk and renames it over host_path
// (keeping the old file's permissions). On failure the old file is untouched.
bool replace_file_atomically(const std::string& host_path, std::string_view bytes);

}  // namespace platform::files
