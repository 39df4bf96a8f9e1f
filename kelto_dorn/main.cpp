// Kelto_Dorn: draws the part, attaches machining to it and writes the CAM
// hand-over for the companion program.
#include <cstdio>

#include "platform/paths.h"

int main() {
  // The program folder must exist and be writable: settings, hand-over and
  // undo files live there. The full start-up builds on this.
  const auto& home = platform::ProgramFolder();
  std::error_code ec;
  std::filesystem::create_directories(home, ec);
  if (ec) {
    std::fprintf(stderr, "Kelto_Dorn: program folder %s: %s\n", home.c_str(), ec.message().c_str());
    return 1;
  }
  return 0;
}
