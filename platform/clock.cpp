#include "platform/clock.h"

#include <chrono>
#include <ctime>

namespace platform {

std::uint64_t TickMs() {
  using namespace std::chrono;
  return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

LocalTime Now() {
  std::time_t t = std::time(nullptr);
  std::tm tm {};
  localtime_r(&t, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, tm.tm_wday};
}

}  // namespace platform
