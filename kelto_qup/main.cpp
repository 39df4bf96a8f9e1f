// Kelto_qup: computes tool paths, writes the NC program and its reports, shows
// the paths, edits NC text and sends programs to machine tools. Started by
// Kelto_Dorn, which leaves its work files in the program folder.
#include <cstdio>

#include "platform/paths.h"

int main() {
  const auto& home = platform::ProgramFolder();
  std::error_code ec;
  if (!std::filesystem::is_directory(home, ec)) {
    std::fprintf(stderr, "Kelto_qup: program folder %s does not exist\n", home.c_str());
    return 1;
  }
  return 0;
}
