// A DXF file, fuzzed: the first byte picks the import options ("複合図形",
// "カラー別表示", "レイヤー別表示"), the rest is the file. A damaged file
// must never crash or hang, and a read that reports failure must leave the
// figure tables, the texts and the curve counter as they were.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/drawing/curve_through_points.h"
#include "kelto_dorn/files/dxf_reader.h"
#include "tests/fuzz/dorn_fuzz_setup.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  fuzz::HeadlessGuard backend;
  dorn::CKelDoc& document = fuzz::DornDocument();
  dorn::ResetDrawing(document);
  dorn::g_dxfCompound = data[0] & 1;
  dorn::g_cadByColor = (data[0] >> 1) & 1;
  dorn::g_cadByLayer = (data[0] >> 2) & 1;
  dorn::g_figureTableSelector = 0;
  int before[dorn::kLayerCount + 1];
  for (int t = 0; t <= dorn::kLayerCount; ++t) before[t] = dorn::GetFigureCount(t);
  const int texts = dorn::TextRecordsInUse();
  const int curves = dorn::GetFigureCount(dorn::kTableCurves);
  const int curveNumber = dorn::g_pointCurveNumber;

  std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data + 1), size - 1, "rb");
  if (file == nullptr) return 0;
  const dorn::DxfReadOutcome outcome = dorn::ReadDxfFile(file, "FUZZ.DXF");
  std::fclose(file);
  if (outcome.ok) return 0;
  bool same = dorn::TextRecordsInUse() == texts && dorn::GetFigureCount(dorn::kTableCurves) == curves &&
              dorn::g_pointCurveNumber == curveNumber && !outcome.message.empty();
  for (int t = 0; t <= dorn::kLayerCount; ++t) same = same && dorn::GetFigureCount(t) == before[t];
  if (!same) std::abort();
  return 0;
}
