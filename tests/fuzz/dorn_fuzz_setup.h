#pragma once
// The program state a Kelto_Dorn reader needs, made once per fuzz process:
// the figure store started, the layer defaults, one document, a drawing named
// "SAMPLE"/"PGM"/"FUZZ" whose SEG folder exists, the tool table allocated.
// A backend must be installed (HeadlessGuard) before the first call.
#include <filesystem>

#include "kelto_dorn/document/document.h"

namespace fuzz {

dorn::CKelDoc& DornDocument();
// The SEG folder of the fuzz drawing, and its file with the given extension.
std::filesystem::path DrawingFile(const char* extension);

}  // namespace fuzz
