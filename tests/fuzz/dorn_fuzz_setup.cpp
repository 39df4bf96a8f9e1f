#include "tests/fuzz/dorn_fuzz_setup.h"

#include <cstdlib>
#include <memory>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/record_resets.h"
#include "platform/text.h"
#include "shared/handover/drawing_header.h"
#include "tests/fuzz/fuzz_support.h"

namespace fuzz {

dorn::CKelDoc& DornDocument() {
  static std::unique_ptr<dorn::CKelDoc> document = [] {
    ProgramFolder();
    if (!dorn::g_figureStore.Start()) std::abort();  // no store: nothing to load into
    dorn::InitLayerDefaults();
    dorn::g_drawingHeader = handover::DefaultDrawingHeader();
    platform::SetFieldText(dorn::g_drawingHeader.unitName, "SAMPLE");
    platform::SetFieldText(dorn::g_drawingHeader.secondName, "PGM");
    platform::SetFieldText(dorn::g_drawingHeader.drawingName, "FUZZ");
    std::filesystem::create_directories(ProgramFolder() / "SAMPLE" / "PGM" / "SEG");
    std::filesystem::create_directories(ProgramFolder() / "_BAK");  // the undo snapshots
    auto made = std::make_unique<dorn::CKelDoc>();
    // The tool table's buffers, as the database editors allocate them before
    // any tool file is read.
    if (!made->tools.Allocate()) std::abort();
    return made;
  }();
  return *document;
}

std::filesystem::path DrawingFile(const char* extension) {
  return ProgramFolder() / "SAMPLE" / "PGM" / "SEG" / (std::string("FUZZ") + extension);
}

}  // namespace fuzz
