// The resume file beside a running download (its LocatName + ".Config"): an INI file with the
// sections 说明 (a fixed hint and a note that proves the file is ours and unedited), Task (the
// spec) and Info (times, sizes and each segment's progress).
#pragma once
#include <string_view>

namespace engine {

inline constexpr std::string_view kConfigHint =
    "请不要更改本配置文件中的任意位置，否则可能造成不能断点续传";

// Writes every key of the task in one go (one read, one atomic replace of the file). A failed
// write is not reported: the download goes on and a later save tries again.
void SaveTaskConfig(std::string_view path, int id);

// Reads the file into the task's spec and runtime record. False when the note was edited (then
// nothing else is read), or when the loaded task cannot be resumed: FileSize not above 0, Url
// shorter than 10 characters, or no file named LocatName.
bool LoadTaskConfig(std::string_view path, int id);

}  // namespace engine
