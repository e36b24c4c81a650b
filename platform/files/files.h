// Files and folders addressed by Windows-style GBK paths ("C:\游戏\Game", "地图包\a.zip").
//
// Paths map onto a Wine-style prefix ($WINEPREFIX, default ~/.wine): drive X: is
// <prefix>/dosdevices/x: when that link exists, else C: is <prefix>/drive_c and Z: is "/". A path
// without a drive is relative to the current directory; "\" and "/" both separate.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace platform::files {

// The prefix's host folder: $WINEPREFIX, else ~/.wine.
std::string wine_prefix();

// The host (UTF-8, POSIX) path that a Windows-style GBK path names.
std::string host_path(std::string_view windows_path);

// The Windows-style GBK path of a host path: under Z: unless it lies in a mapped drive's folder.
std::string windows_path(std::string_view host_path);

// Folder of the program file as "Z:\..." without a trailing backslash.
std::string run_directory();
// Tests and the demo place the program's files elsewhere; empty restores the default.
void override_run_directory(std::string_view host_dir);

bool exists(std::string_view path);  // a file or a folder
bool is_file(std::string_view path);
bool is_directory(std::string_view path);

bool create_directory(std::string_view path);  // one level; false when it exists
bool delete_file(std::string_view path);
bool rename_file(std::string_view from, std::string_view to);  // replaces an existing target

std::optional<std::string> read_file(std::string_view path);
bool write_file(std::string_view path, std::string_view bytes);

struct Attributes {
  bool read_only = false;
  bool hidden = false;
  bool archive = false;
};
// Read-only maps to the file mode; hidden and archive to the user.DOSATTRIB extended attribute
// where the file system keeps one. Failures are ignored, as callers never examine them.
void set_attributes(std::string_view path, const Attributes& attributes);
Attributes attributes(std::string_view path);

}  // namespace platform::files
