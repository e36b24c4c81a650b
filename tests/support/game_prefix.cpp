#include "tests/support/game_prefix.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "platform/codepage/codepage.h"
#include "platform/files/files.h"

namespace fs = std::filesystem;

namespace test_support {

GamePrefix::GamePrefix() {
  fs::create_directories(prefix() / "drive_c");
  fs::create_directories(prefix() / "dosdevices");
  fs::create_directories(run_directory());
  ::setenv("WINEPREFIX", prefix().c_str(), 1);
  platform::files::override_run_directory(run_directory().string());
}

GamePrefix::~GamePrefix() {
  platform::files::override_run_directory("");
  ::unsetenv("WINEPREFIX");
}

fs::path GamePrefix::map_pack_folder() const { return run_directory() / utf8("地图包"); }

void GamePrefix::write_launcher_key(const std::string& value_lines_gbk) {
  write_host_file(prefix() / "user.reg",
                  "WINE REGISTRY Version 2\n"
                  ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n"
                  "#arch=win64\n\n"
                  "[Software\\\\Tencent\\\\LOL] 1733900000\n"
                  "#time=1db4b6d3c3a5e20\n" +
                      utf8(value_lines_gbk) + "\n");
}

void GamePrefix::set_launcher_path(const std::string& windows_path_gbk) {
  write_launcher_key("\"QQlogin\"=\"" + wine_registry_literal(windows_path_gbk) + "\"");
}

fs::path GamePrefix::map_drive(char letter, const std::string& folder_name) {
  fs::path target = folder_ / folder_name;
  fs::create_directories(target);
  fs::path link = prefix() / "dosdevices" / (std::string(1, letter) + ":");
  fs::remove(link);
  fs::create_directory_symlink(target, link);
  return target;
}

std::string utf8(const std::string& gbk) { return platform::codepage::gbk_to_utf8(gbk); }

std::string wine_registry_literal(const std::string& gbk) {
  const std::string utf8 = test_support::utf8(gbk);
  std::u32string wide;
  for (std::size_t i = 0; i < utf8.size();) {
    unsigned char lead = utf8[i];
    int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (int k = 1; k < length; ++k) c = (c << 6) | (utf8[i + k] & 0x3F);
    wide += c;
    i += length;
  }
  std::string out;
  for (std::size_t i = 0; i < wide.size(); ++i) {
    char32_t c = wide[i];
    if (c == '\\' || c == '"') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      // Wine pads to four digits only when a hex digit follows, as its writer does.
      bool hex_follows = i + 1 < wide.size() && wide[i + 1] < 0x80 && std::isxdigit(wide[i + 1]);
      char buffer[16];
      std::snprintf(buffer, sizeof buffer, hex_follows ? "\\x%04x" : "\\x%x",
                    static_cast<unsigned>(c));
      out += buffer;
    }
  }
  return out;
}

}  // namespace test_support
