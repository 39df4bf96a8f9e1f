#include "tests/kelto_qup/support/rs274.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace testsupport {

namespace fs = std::filesystem;

namespace {

fs::path FindRs274() {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    const fs::path candidate = fs::path(dir) / "rs274";
    if (!dir.empty() && fs::exists(candidate)) return candidate;
  }
  return {};
}

}  // namespace

Rs274Run RunRs274(const fs::path& program, const fs::path& tools, const fs::path& workFolder) {
  Rs274Run run;
  const fs::path rs274 = FindRs274();
  if (rs274.empty()) return run;
  run.found = true;
  // rs274 keeps its tool table in a file mapped from $HOME and truncates it
  // at start: runs in parallel (ctest -j) sharing one HOME crash each other,
  // so every run gets the test's own folder as HOME.
  const fs::path out = workFolder / "rs274.txt";
  const std::string command = "HOME='" + workFolder.string() + "' '" + rs274.string() + "' -t '" + tools.string() +
                              "' -g '" + program.string() + "' > '" + out.string() + "' 2>&1 < /dev/null";
  run.status = std::system(command.c_str());
  std::ifstream in(out);
  std::stringstream text;
  text << in.rdbuf();
  run.text = text.str();
  return run;
}

}  // namespace testsupport
