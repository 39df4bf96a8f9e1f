#pragma once
// Runs Debian's rs274 interpreter (package linuxcnc-uspace) on an NC program:
// the independent check that every block the system writes is accepted and
// makes the moves the test expects.
#include <filesystem>
#include <string>

namespace testsupport {

struct Rs274Run {
  bool found = false;  // rs274 is installed
  int status = -1;     // its exit status
  std::string text;    // what it printed: canonical calls and any error
};

// Runs rs274 with the tool table `tools` on `program`; its output and its
// own files stay inside `workFolder`.
Rs274Run RunRs274(const std::filesystem::path& program, const std::filesystem::path& tools,
                  const std::filesystem::path& workFolder);

}  // namespace testsupport
