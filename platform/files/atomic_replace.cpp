#include "platform/files/atomic_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <map>
#include <memory>

namespace platform::files {
namespace {

std::string canonical_key(const std::string& host_path) {
  std::error_code error;
  std::filesystem::path canonical = std::filesystem::weakly_canonical(host_path, error);
  return error ? host_path : canonical.string();
}

bool write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Creates a temporary file of a fresh name in the target's folder; -1 when it cannot.
int create_temporary(const std::filesystem::path& target, std::string& temporary_path) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary_path = (target.parent_path() /
                      ("." + target.filename().string() + "." + std::to_string(::getpid()) + "." +
                       std::to_string(counter++) + ".tmp"))
                         .string();
    int fd = ::open(temporary_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Makes the rename itself durable; a folder that cannot be synced is no reason to fail.
void sync_folder(const std::filesystem::path& folder) {
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

std::mutex& write_lock_for(const std::string& host_path) {
  // Entries are never removed: a program writes a handful of such files in its lifetime, and a
  // mutex must outlive every thread that may still wait on it.
  static std::mutex map_lock;
  static std::map<std::string, std::unique_ptr<std::mutex>> locks;
  std::lock_guard<std::mutex> guard(map_lock);
  auto& lock = locks[canonical_key(host_path)];
  if (!lock) lock = std::make_unique<std::mutex>();
  return *lock;
}

bool replace_file_atomically(const std::string& host_path, std::string_view bytes) {
  const std::filesystem::path target(host_path);
  std::string temporary_path;
  int fd = create_temporary(target, temporary_path);
  if (fd < 0) return false;
  struct stat old_file {};
  if (::stat(host_path.c_str(), &old_file) == 0) ::fchmod(fd, old_file.st_mode & 07777);
  bool written = write_all(fd, bytes) && ::fsync(fd) == 0;
  written = ::close(fd) == 0 && written;
  if (!written || ::rename(temporary_path.c_str(), host_path.c_str()) != 0) {
    ::unlink(temporary_path.c_str());
    return false;
  }
  sync_folder(target.parent_path());
  return true;
}

}  // namespace platform::files
