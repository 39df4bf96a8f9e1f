// A drawing on disk, fuzzed: the figure file ".MZF" and the definition file
// (".KWD", or the older ".KWQ" or ".KSE", chosen at build time) of one input,
// joined by the part separator, loaded as the File menu loads a drawing. A
// damaged drawing must load what is whole, say what was not, and never crash.
#include <cstdint>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/document/drawing_files.h"
#include "tests/fuzz/dorn_fuzz_setup.h"
#include "tests/fuzz/fuzz_support.h"

#ifndef KELTO_DEFINITION_EXTENSION
#define KELTO_DEFINITION_EXTENSION ".KWD"
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::HeadlessGuard backend;
  dorn::CKelDoc& document = fuzz::DornDocument();
  const auto parts = fuzz::SplitParts(data, size, 2);
  // Only one definition file may exist, or the loader would take the newest kind.
  fuzz::WriteInput(fuzz::DrawingFile(".MZF"), parts[0]);
  fuzz::WriteInput(fuzz::DrawingFile(KELTO_DEFINITION_EXTENSION), parts[1]);
  dorn::LoadDrawing(document);
  return 0;
}
