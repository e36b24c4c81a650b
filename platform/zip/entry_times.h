// File times inside an archive: the DOS date every reader knows (local time, two-second steps)
// and the extended-timestamp extra field (0x5455) with the exact modification time in UTC.
#pragma once
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace platform::zip {

unsigned long to_dos_datetime(std::time_t time);
std::time_t from_dos_datetime(unsigned long dos_datetime);

std::string timestamp_extra(std::time_t modified);
std::optional<std::time_t> timestamp_from_extra(std::string_view extra);

}  // namespace platform::zip
