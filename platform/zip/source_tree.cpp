#include "platform/zip/source_tree.h"

#include <sys/stat.h>

#include <algorithm>

namespace fs = std::filesystem;

namespace platform::zip {
namespace {

bool is_within(const fs::path& inner, const fs::path& outer) {
  auto [outer_end, inner_at] = std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
  return outer_end == outer.end();
}

class FolderLister {
 public:
  FolderLister(const fs::path& root, std::vector<SourceEntry>& entries)
      : entries_(entries) {
    std::error_code error;
    root_ = fs::canonical(root, error);
    ok_ = !error;
  }

  bool run() {
    if (!ok_) return false;
    std::vector<fs::path> enclosing{root_};
    return list(root_, "", enclosing);
  }

 private:
  bool list(const fs::path& folder, const std::string& prefix, std::vector<fs::path>& enclosing) {
    std::error_code error;
    std::vector<fs::path> children;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
      children.push_back(it->path());
    }
    if (error) return false;
    std::sort(children.begin(), children.end(),
              [](const fs::path& a, const fs::path& b) { return a.filename().string() < b.filename().string(); });
    for (const fs::path& child : children) {
      if (!add(child, prefix + child.filename().string(), enclosing)) return false;
    }
    return true;
  }

  bool add(const fs::path& child, const std::string& name, std::vector<fs::path>& enclosing) {
    std::error_code error;
    fs::path real = child;
    if (fs::is_symlink(fs::symlink_status(child, error))) {
      real = fs::canonical(child, error);
      if (error || !is_within(real, root_)) return true;  // dangling, or pointing outside
    }
    struct stat info {};
    if (::stat(real.c_str(), &info) != 0) return false;
    if (S_ISDIR(info.st_mode)) {
      fs::path canonical_folder = fs::canonical(real, error);
      if (error) return false;
      if (std::find(enclosing.begin(), enclosing.end(), canonical_folder) != enclosing.end()) {
        return true;  // a link back up the tree: a loop
      }
      entries_.push_back({child, name + "/", true, 0, info.st_mtime});
      enclosing.push_back(canonical_folder);
      bool listed = list(real, name + "/", enclosing);
      enclosing.pop_back();
      return listed;
    }
    if (S_ISREG(info.st_mode)) {
      entries_.push_back({real, name, false, static_cast<std::uint64_t>(info.st_size), info.st_mtime});
    }
    return true;  // devices, pipes and sockets have no content to keep
  }

  std::vector<SourceEntry>& entries_;
  fs::path root_;
  bool ok_ = false;
};

}  // namespace

bool list_folder(const fs::path& root, std::vector<SourceEntry>& entries) {
  return FolderLister(root, entries).run();
}

bool describe_file(const fs::path& file, SourceEntry& entry) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  entry = {file, file.filename().string(), false, static_cast<std::uint64_t>(info.st_size),
           info.st_mtime};
  return true;
}

}  // namespace platform::zip
