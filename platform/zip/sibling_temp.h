// A new file beside a target that replaces the target only when it is complete, so nobody ever
// sees a half-written archive or game file under the real name.
#pragma once
#include <ctime>
#include <filesystem>

namespace platform::zip {

class SiblingTemp {
 public:
  // Creates an empty hidden file in target's folder; check created().
  explicit SiblingTemp(const std::filesystem::path& target);
  ~SiblingTemp();  // removes the file unless it was committed
  SiblingTemp(const SiblingTemp&) = delete;
  SiblingTemp& operator=(const SiblingTemp&) = delete;

  bool created() const { return !path_.empty(); }
  const std::filesystem::path& path() const { return path_; }
  int fd() const { return fd_; }  // -1 once closed

  bool write_all(const char* bytes, std::size_t length);
  // Flushes to disk, keeps the modification time (when given) and closes.
  bool finish(bool sync, const std::time_t* modified);
  // Renames the file over the target; afterwards this object owns nothing.
  bool commit();

 private:
  std::filesystem::path target_;
  std::filesystem::path path_;
  int fd_ = -1;
};

}  // namespace platform::zip
