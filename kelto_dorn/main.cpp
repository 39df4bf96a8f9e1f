// Kelto_Dorn: draws the part, attaches machining to it and writes the CAM
// hand-over for the companion program.
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/document/startup.h"
#include "platform/qt/qt_backend.h"

int main(int argc, char** argv) {
  platform::qt::InstallQtBackend(argc, argv);
  dorn::StartupSystem();
  {
    // The frame and the view are the next to come; until then the program
    // starts its document and leaves without touching the drawing on disk.
    dorn::CKelDoc document;
  }
  dorn::ReleaseSystemResources();
  return 0;
}
