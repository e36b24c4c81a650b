#include "platform/files/files.h"

#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

#include "platform/codepage/codepage.h"

namespace fs = std::filesystem;

namespace platform::files {
namespace {

bool is_separator(char c) { return c == '\\' || c == '/'; }

bool has_drive(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// Where a drive letter's root lies on the host.
std::string drive_root(char letter) {
  char lower = static_cast<char>(letter | 0x20);
  std::string link = wine_prefix() + "/dosdevices/" + lower + ":";
  std::error_code error;
  if (fs::exists(fs::symlink_status(link, error))) return link;
  if (lower == 'c') return wine_prefix() + "/drive_c";
  if (lower == 'z') return "";
  return link;
}

std::mutex run_directory_mutex;
std::string run_directory_override;

std::string executable_folder() {
  std::error_code error;
  fs::path exe = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::current_path(error).string() : exe.parent_path().string();
}

fs::path host(std::string_view path) { return fs::path(host_path(path)); }

}  // namespace

std::string wine_prefix() {
  if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) return prefix;
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "") + "/.wine";
}

std::string host_path(std::string_view windows_path) {
  std::string utf8 = codepage::gbk_to_utf8(windows_path.substr(0, windows_path.find('\0')));
  std::string_view rest = utf8;
  std::string out;
  bool absolute = false;
  if (has_drive(rest)) {
    out = drive_root(rest[0]);
    absolute = true;
    rest.remove_prefix(2);
  } else if (!rest.empty() && is_separator(rest[0])) {
    absolute = true;  // the root of the current drive, and the program runs from Z:
  }
  std::size_t start = 0;
  while (start < rest.size()) {
    std::size_t end = start;
    while (end < rest.size() && !is_separator(rest[end])) ++end;
    if (end > start) {
      if (absolute || !out.empty()) out += '/';
      out.append(rest.substr(start, end - start));
    }
    start = end + 1;
  }
  return out.empty() && absolute ? "/" : out;
}

std::string windows_path(std::string_view host_path) {
  std::string path(host_path);
  std::replace(path.begin(), path.end(), '/', '\\');
  while (path.size() > 1 && path.back() == '\\') path.pop_back();
  return codepage::utf8_to_gbk("Z:" + (path == "\\" ? std::string() : path));
}

std::string run_directory() {
  std::lock_guard lock(run_directory_mutex);
  if (!run_directory_override.empty()) return windows_path(run_directory_override);
  if (const char* dir = std::getenv("MAPSWITCH_RUN_DIR"); dir && *dir) {
    return windows_path(fs::absolute(dir).lexically_normal().string());
  }
  return windows_path(executable_folder());
}

void override_run_directory(std::string_view host_dir) {
  std::lock_guard lock(run_directory_mutex);
  run_directory_override = host_dir;
}

bool exists(std::string_view path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(host(path), error));
}

bool is_file(std::string_view path) {
  std::error_code error;
  return fs::is_regular_file(host(path), error);
}

bool is_directory(std::string_view path) {
  std::error_code error;
  return fs::is_directory(host(path), error);
}

bool create_directory(std::string_view path) {
  std::error_code error;
  return fs::create_directory(host(path), error);
}

bool delete_file(std::string_view path) {
  return ::unlink(host_path(path).c_str()) == 0;
}

bool rename_file(std::string_view from, std::string_view to) {
  return std::rename(host_path(from).c_str(), host_path(to).c_str()) == 0;
}

std::optional<std::string> read_file(std::string_view path) {
  std::ifstream in(host(path), std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(content).str();
}

bool write_file(std::string_view path, std::string_view bytes) {
  std::ofstream out(host(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

namespace {

// The DOS attribute bits that Wine keeps in user.DOSATTRIB as "0x<hex>".
constexpr unsigned kDosReadOnly = 0x01, kDosHidden = 0x02, kDosArchive = 0x20;

}  // namespace

void set_attributes(std::string_view path, const Attributes& attributes) {
  fs::path file = host(path);
  std::error_code error;
  fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  attributes.read_only ? fs::perm_options::remove : fs::perm_options::add, error);
  unsigned bits = (attributes.read_only ? kDosReadOnly : 0) | (attributes.hidden ? kDosHidden : 0) |
                  (attributes.archive ? kDosArchive : 0);
  std::string value = "0x" + (std::ostringstream() << std::hex << bits).str();
  ::setxattr(file.c_str(), "user.DOSATTRIB", value.data(), value.size(), 0);
}

Attributes attributes(std::string_view path) {
  fs::path file = host(path);
  Attributes result;
  std::error_code error;
  auto perms = fs::status(file, error).permissions();
  result.read_only = !error && (perms & fs::perms::owner_write) == fs::perms::none;
  char value[32] = {};
  ssize_t length = ::getxattr(file.c_str(), "user.DOSATTRIB", value, sizeof value - 1);
  if (length > 0) {
    unsigned bits = static_cast<unsigned>(std::strtoul(value, nullptr, 16));
    result.hidden = bits & kDosHidden;
    result.archive = bits & kDosArchive;
  }
  return result;
}

}  // namespace platform::files
