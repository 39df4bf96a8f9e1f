#pragma once
// Time: a monotonic millisecond tick for pacing and time-outs, and local time
// for stamps in files and reports.
#include <cstdint>

namespace platform {

// Milliseconds since an arbitrary start; never goes backwards.
std::uint64_t TickMs();

struct LocalTime {
  int year, month, day, hour, minute, second, weekday;  // month 1-12, weekday 0 = Sunday
};
LocalTime Now();

}  // namespace platform
