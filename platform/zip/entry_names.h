// Entry names as stored in an archive and as the program shows them.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace platform::zip {

// The language-encoding flag (bit 11): the name and comment are UTF-8.
inline constexpr unsigned long kUtf8NameFlag = 0x800;

struct EntryName {
  std::string utf8;  // for the host file system
  std::string gbk;   // for the program's texts
};

// UTF-8 when the flag is set and the bytes are well-formed UTF-8; code page 936 otherwise, as
// archives made on Chinese Windows systems carry their names. Unix tools (Info-ZIP's zip among
// them) store their UTF-8 names without the flag, so a name made on Unix that is well-formed
// UTF-8 is read as UTF-8 too: code page 936 names almost never are.
EntryName decode_entry_name(std::string_view raw, bool utf8_flag, bool made_on_unix);

// The path steps of a name, "/" and "\" both separating; empty and "." steps are dropped.
std::vector<std::string> name_steps(std::string_view utf8_name);

// False for a name that is absolute, starts with a drive letter or has a ".." step: unpacked, it
// would land outside the target folder. A ".." inside a longer step ("a..b") is harmless.
bool stays_inside(std::string_view utf8_name);

bool names_folder(std::string_view utf8_name);  // ends with a separator

}  // namespace platform::zip
