// What compress() packs: a folder's files and sub-folders, or a single file.
#pragma once
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace platform::zip {

struct SourceEntry {
  std::filesystem::path host_path;
  std::string utf8_name;  // relative, "/"-separated; folders end with "/"
  bool is_folder = false;
  std::uint64_t size = 0;
  std::time_t modified = 0;
};

// Every file and sub-folder below root, each folder before its contents, names in byte order.
// Symbolic links are followed only to places inside root and never into a folder that encloses
// them (a loop); anything else that is not a plain file or folder is left out. False when a
// folder cannot be listed or a file cannot be examined.
bool list_folder(const std::filesystem::path& root, std::vector<SourceEntry>& entries);

// The single file under its bare name; false when it is no readable plain file.
bool describe_file(const std::filesystem::path& file, SourceEntry& entry);

}  // namespace platform::zip
