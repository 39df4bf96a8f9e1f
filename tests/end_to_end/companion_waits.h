#pragma once
// What the end-to-end checks wait for and read back from a companion started
// as a process: the busy word, its files, and the holes rs274 saw drilled.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "platform/record_file.h"

namespace e2e {

// Long enough for a start under the sanitizers on a busy machine.
inline constexpr std::chrono::seconds kStartLimit{60};

// Waits until `ready` holds or the limit passes.
template <class Ready>
bool WaitUntil(Ready ready, std::chrono::milliseconds limit = kStartLimit) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < until) {
    if (ready()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return ready();
}

// "$NC_EXE.@@@": 0 once a run has ended, -1 when it cannot be read.
inline int NcExeWord(const std::filesystem::path& home) {
  std::int32_t word = -1;
  return platform::ReadRecord(home / "$NC_EXE.@@@", word).ok() ? word : -1;
}

struct Plunge {
  double x, y, z;
};

// The feed moves straight down that rs274 reports, one per drilled hole, each
// at its deepest point.
inline std::vector<Plunge> Plunges(const std::string& canon) {
  std::vector<Plunge> plunges;
  const std::regex feed(R"(STRAIGHT_FEED\(([-0-9.]+), ([-0-9.]+), ([-0-9.]+),)");
  for (std::sregex_iterator it(canon.begin(), canon.end(), feed), end; it != end; ++it) {
    const Plunge p{std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3])};
    if (!plunges.empty() && plunges.back().x == p.x && plunges.back().y == p.y) {
      plunges.back().z = std::min(plunges.back().z, p.z);
    } else {
      plunges.push_back(p);
    }
  }
  return plunges;
}

}  // namespace e2e
