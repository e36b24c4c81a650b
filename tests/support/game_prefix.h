// A Wine-style prefix and a run directory in a scratch folder, wired into the process:
// WINEPREFIX points at the prefix and the program's run directory at run/. Names that test code
// passes in are GBK, like every literal of ours; host paths are UTF-8.
#pragma once
#include <filesystem>
#include <string>

#include "tests/support/scratch_folder.h"

namespace test_support {

class GamePrefix {
 public:
  GamePrefix();
  ~GamePrefix();

  std::filesystem::path prefix() const { return folder_ / "prefix"; }
  std::filesystem::path run_directory() const { return folder_ / "run"; }
  std::filesystem::path map_pack_folder() const;
  const ScratchFolder& folder() const { return folder_; }

  // user.reg as Wine writes it, with the given lines under [Software\\Tencent\\LOL].
  void write_launcher_key(const std::string& value_lines_gbk);
  // The QQlogin value as REG_SZ, escaped the way Wine escapes it.
  void set_launcher_path(const std::string& windows_path_gbk);
  // Drive letter X: mapped to a folder of the scratch area through dosdevices.
  std::filesystem::path map_drive(char letter, const std::string& folder_name);

 private:
  ScratchFolder folder_;
};

// A GBK string as a Wine registry literal: backslashes and quotes escaped, non-ASCII as \xNNNN.
std::string wine_registry_literal(const std::string& gbk);

// The UTF-8 form of a GBK name, for host paths.
std::string utf8(const std::string& gbk);

}  // namespace test_support
