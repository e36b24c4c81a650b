#include "engine/clock.h"

#include <atomic>
#include <ctime>
#include <mutex>

namespace engine {

namespace {

// Days from 1970-01-01 to the given proleptic Gregorian date.
std::int64_t days_from_civil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const unsigned year_of_era = static_cast<unsigned>(year - era * 400);
  const unsigned day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + static_cast<std::int64_t>(day_of_era) - 719468;
}

LocalDateTime system_local_now() {
  // std::localtime hands out one shared buffer; the UI thread and workers both read the clock.
  static std::mutex buffer_mutex;
  const std::time_t now = std::time(nullptr);
  std::lock_guard lock(buffer_mutex);
  const std::tm* local = std::localtime(&now);
  if (local == nullptr) return {};
  return {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday,
          local->tm_hour,        local->tm_min,     local->tm_sec};
}

std::atomic<LocalClock> local_clock{nullptr};

}  // namespace

std::int64_t UnixTime(const LocalDateTime& time, bool in_seconds, bool eight_hour_base) {
  const std::int64_t days =
      days_from_civil(time.year, static_cast<unsigned>(time.month), static_cast<unsigned>(time.day));
  std::int64_t seconds = days * 86400 + time.hour * 3600 + time.minute * 60 + time.second;
  if (eight_hour_base) seconds -= 8 * 3600;
  return in_seconds ? seconds : seconds * 1000;
}

std::int32_t UnixNow() {
  const LocalClock clock = local_clock;
  return static_cast<std::int32_t>(UnixTime(clock != nullptr ? clock() : system_local_now()));
}

void SetLocalClock(LocalClock clock) { local_clock = clock; }

}  // namespace engine
