// The engine's clock: whole seconds since "1970-01-01 08:00:00" local time. On a machine set to
// UTC+8 that is the Unix time; elsewhere it is off by a constant that cancels in every difference
// the engine forms.
#pragma once
#include <cstdint>

namespace engine {

// A local calendar date-time (month and day from 1).
struct LocalDateTime {
  int year = 1970;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Seconds from the base to time (milliseconds when in_seconds is false). The base is
// "1970-01-01 08:00:00" when eight_hour_base is true, else "1970-01-01 00:00:00". 64-bit, as the
// milliseconds of any current date do not fit 32 bits.
std::int64_t UnixTime(const LocalDateTime& time, bool in_seconds = true,
                      bool eight_hour_base = true);

// UnixTime of the current local date-time, as the 32-bit seconds every engine time is kept in.
std::int32_t UnixNow();

// Where the current local date-time comes from; nullptr restores the system clock. Lets tests
// pin the clock.
using LocalClock = LocalDateTime (*)();
void SetLocalClock(LocalClock clock);

}  // namespace engine
