// Writes the four-hole hand-over into a folder (by hand: run Kelto_qup there
// under xvfb-run and look at its window).
#include <cstdio>
#include <exception>
#include <filesystem>

#include "tests/end_to_end/four_hole_job.h"

int main(int argc, char** argv) {
  if (argc != 2 && argc != 4) {
    std::fprintf(stderr, "usage: %s <program folder> [<start mode> <sub-mode>]\n", argv[0]);
    return 2;
  }
  try {
    const int mode = argc == 4 ? std::atoi(argv[2]) : 4;
    const int subMode = argc == 4 ? std::atoi(argv[3]) : 6;
    std::filesystem::create_directories(argv[1]);
    e2e::FourHoleJob(mode, subMode).Write(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
