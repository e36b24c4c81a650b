#include "platform/zip/sibling_temp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace platform::zip {
namespace {

// New files get the permissions an ordinary create would give them, not mkstemp's 0600.
mode_t creation_mode() {
  static const mode_t mode = [] {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
  }();
  return mode;
}

}  // namespace

SiblingTemp::SiblingTemp(const std::filesystem::path& target) : target_(target) {
  std::string hidden_name = ".";
  hidden_name += target.filename().string();
  hidden_name += ".XXXXXX";
  std::string pattern = (target.parent_path() / hidden_name).string();
  fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd_ < 0) return;
  ::fchmod(fd_, creation_mode());
  path_ = pattern;
}

SiblingTemp::~SiblingTemp() {
  if (fd_ >= 0) ::close(fd_);
  if (!path_.empty()) ::unlink(path_.c_str());
}

bool SiblingTemp::write_all(const char* bytes, std::size_t length) {
  while (length > 0) {
    ssize_t written = ::write(fd_, bytes, length);
    if (written <= 0) return false;
    bytes += written;
    length -= static_cast<std::size_t>(written);
  }
  return true;
}

bool SiblingTemp::finish(bool sync, const std::time_t* modified) {
  if (fd_ < 0) return false;
  bool ok = !sync || ::fsync(fd_) == 0;
  if (modified) {
    struct timespec times[2] = {{0, UTIME_NOW}, {*modified, 0}};
    ::futimens(fd_, times);  // a lost time is no reason to lose the file
  }
  ok = ::close(fd_) == 0 && ok;
  fd_ = -1;
  return ok;
}

bool SiblingTemp::commit() {
  if (fd_ >= 0 || path_.empty()) return false;
  if (std::rename(path_.c_str(), target_.c_str()) != 0) return false;
  path_.clear();
  return true;
}

}  // namespace platform::zip
