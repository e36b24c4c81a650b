#include "platform/zip/entry_times.h"

#include <cstdint>

namespace platform::zip {
namespace {

constexpr std::uint16_t kTimestampTag = 0x5455;
constexpr unsigned char kModifiedTimePresent = 0x01;

std::uint16_t read_u16(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                    static_cast<unsigned char>(bytes[at + 1]) << 8);
}

}  // namespace

unsigned long to_dos_datetime(std::time_t time) {
  std::tm local{};
  localtime_r(&time, &local);
  if (local.tm_year < 80) return (1UL << 21) | (1UL << 16);  // the DOS epoch, 1980-01-01
  return static_cast<unsigned long>(local.tm_year - 80) << 25 |
         static_cast<unsigned long>(local.tm_mon + 1) << 21 |
         static_cast<unsigned long>(local.tm_mday) << 16 |
         static_cast<unsigned long>(local.tm_hour) << 11 |
         static_cast<unsigned long>(local.tm_min) << 5 | static_cast<unsigned long>(local.tm_sec / 2);
}

std::time_t from_dos_datetime(unsigned long dos) {
  std::tm local{};
  local.tm_year = static_cast<int>((dos >> 25) & 0x7F) + 80;
  local.tm_mon = static_cast<int>((dos >> 21) & 0x0F) - 1;
  local.tm_mday = static_cast<int>((dos >> 16) & 0x1F);
  local.tm_hour = static_cast<int>((dos >> 11) & 0x1F);
  local.tm_min = static_cast<int>((dos >> 5) & 0x3F);
  local.tm_sec = static_cast<int>(dos & 0x1F) * 2;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

std::string timestamp_extra(std::time_t modified) {
  auto seconds = static_cast<std::uint32_t>(modified);
  std::string extra = {static_cast<char>(kTimestampTag & 0xFF), static_cast<char>(kTimestampTag >> 8),
                       5, 0, static_cast<char>(kModifiedTimePresent)};
  for (int shift = 0; shift < 32; shift += 8) extra += static_cast<char>((seconds >> shift) & 0xFF);
  return extra;
}

std::optional<std::time_t> timestamp_from_extra(std::string_view extra) {
  for (std::size_t at = 0; at + 4 <= extra.size();) {
    std::uint16_t tag = read_u16(extra, at);
    std::size_t size = read_u16(extra, at + 2);
    std::string_view data = extra.substr(at + 4, std::min(size, extra.size() - at - 4));
    if (tag == kTimestampTag && data.size() >= 5 && (data[0] & kModifiedTimePresent)) {
      std::uint32_t seconds = 0;
      for (int i = 0; i < 4; ++i) seconds |= static_cast<std::uint32_t>(static_cast<unsigned char>(data[1 + i])) << (8 * i);
      return static_cast<std::time_t>(seconds);
    }
    at += 4 + size;
  }
  return std::nullopt;
}

}  // namespace platform::zip
