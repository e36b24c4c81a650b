// A fresh folder under the system's temporary folder, removed with everything in it afterwards.
#pragma once
#include <filesystem>
#include <string>

namespace test_support {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& utf8_relative) const { return path_ / utf8_relative; }

 private:
  std::filesystem::path path_;
};

// A u8"" literal as the std::string of UTF-8 bytes that host paths and peer tools take.
inline std::string utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// Runs a shell command; its standard output, and its exit status in *status when given.
std::string run_command(const std::string& command, int* status = nullptr);

// Whole-file helpers over host paths.
void write_host_file(const std::filesystem::path& path, const std::string& bytes);
std::string read_host_file(const std::filesystem::path& path);

}  // namespace test_support
