// Kelto_qup: computes tool paths, writes the NC program and its reports, shows
// the paths, edits NC text and sends programs to machine tools. Started by
// Kelto_Dorn, which leaves its work files in the program folder; it runs the
// start mode found there once and stays open as a viewer until closed.
#include <cstdio>
#include <filesystem>

#include "kelto_qup/shell/companion.h"
#include "platform/application.h"
#include "platform/paths.h"
#include "platform/qt/qt_backend.h"

int main(int argc, char** argv) {
  const auto& home = platform::ProgramFolder();
  std::error_code ec;
  if (!std::filesystem::is_directory(home, ec)) {
    std::fprintf(stderr, "Kelto_qup: program folder %s does not exist\n", home.c_str());
    return 1;
  }
  platform::qt::InstallQtBackend(argc, argv);
  qup::shell::Companion companion;
  companion.Show();
  return platform::RunEventLoop();
}
