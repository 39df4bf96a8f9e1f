// The DXF import of a large drawing: 200000 entities (lines, arcs, circles
// and bulged polylines) on 8 layers, read with the layers going to drawing
// layers. The file is written once to the path in KELTO_DXF_BENCH_FILE (or
// a temporary path) so that dxf_import_benchmark.py can time another
// program's reading of the same file in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/files/dxf_reader.h"
#include "platform/headless/headless_backend.h"

namespace {

namespace fs = std::filesystem;

constexpr int kEntities = 200000;
constexpr int kLayers = 8;

fs::path BenchFile() {
  if (const char* path = std::getenv("KELTO_DXF_BENCH_FILE")) return path;
  return fs::temp_directory_path() / "kelto_dxf_import_benchmark.dxf";
}

void WriteBenchFile(const fs::path& path) {
  std::ofstream out(path, std::ios::binary);
  out << "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  0\nENDSEC\n"
      << "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n 70\n" << kLayers << "\n";
  for (int l = 0; l < kLayers; ++l) out << "  0\nLAYER\n  2\nL" << l << "\n 70\n0\n 62\n" << l + 1 << "\n  6\nCONTINUOUS\n";
  out << "  0\nENDTAB\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n";
  char buf[512];
  for (int i = 0; i < kEntities; ++i) {
    const double x = (i % 1000) * 1.5, y = (i / 1000) * 1.5;
    const int layer = i % kLayers;
    switch (i % 4) {
      case 0:
        std::snprintf(buf, sizeof buf, "  0\nLINE\n100\nAcDbEntity\n  8\nL%d\n100\nAcDbLine\n 10\n%.4f\n 20\n%.4f\n 30\n0.0\n 11\n%.4f\n 21\n%.4f\n 31\n0.0\n",
                      layer, x, y, x + 1.0, y + 0.5);
        break;
      case 1:
        std::snprintf(buf, sizeof buf, "  0\nARC\n100\nAcDbEntity\n  8\nL%d\n100\nAcDbCircle\n 10\n%.4f\n 20\n%.4f\n 30\n0.0\n 40\n0.6\n100\nAcDbArc\n 50\n%d\n 51\n%d\n",
                      layer, x, y, i % 360, (i * 7) % 360);
        break;
      case 2:
        std::snprintf(buf, sizeof buf, "  0\nCIRCLE\n100\nAcDbEntity\n  8\nL%d\n100\nAcDbCircle\n 10\n%.4f\n 20\n%.4f\n 30\n0.0\n 40\n0.4\n", layer, x, y);
        break;
      default:
        std::snprintf(buf, sizeof buf,
                      "  0\nLWPOLYLINE\n100\nAcDbEntity\n  8\nL%d\n100\nAcDbPolyline\n 90\n3\n 70\n1\n 10\n%.4f\n 20\n%.4f\n 42\n0.4\n 10\n%.4f\n 20\n%.4f\n"
                      " 10\n%.4f\n 20\n%.4f\n",
                      layer, x, y, x + 1.0, y, x + 1.0, y + 1.0);
    }
    out << buf;
  }
  out << "  0\nENDSEC\n  0\nEOF\n";
}

void BM_ImportDxf(benchmark::State& state) {
  dorn::ResetAppState();
  platform::InstallBackend(std::make_unique<platform::headless::HeadlessBackend>());
  if (!dorn::g_figureStore.Start()) state.SkipWithError("figure store");
  const fs::path path = BenchFile();
  if (!fs::exists(path)) WriteBenchFile(path);
  dorn::g_cadByLayer = 1;
  dorn::g_cadByColor = 1;
  int figures = 0;
  for (auto _ : state) {
    state.PauseTiming();
    for (int t = 0; t < dorn::kLayerCount; ++t) dorn::DecrementFigureCount(t, dorn::GetFigureCount(t));
    dorn::g_figureTableSelector = 0;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    state.ResumeTiming();
    const dorn::DxfReadOutcome outcome = dorn::ReadDxfFile(f, "bench.dxf", true);
    state.PauseTiming();
    std::fclose(f);
    if (!outcome.ok) state.SkipWithError("read failed");
    figures = outcome.figures;
    state.ResumeTiming();
  }
  state.counters["figures"] = figures;
  platform::UninstallBackend();
  dorn::ResetAppState();
}
BENCHMARK(BM_ImportDxf)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
