// Saving and loading a drawing of 200000 figures (lines and arcs over 32
// layers) against a plain fwrite and fread of the same bytes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/document/drawing_files.h"
#include "kelto_dorn/document/figure_file_reader.h"
#include "kelto_dorn/app/record_resets.h"
#include "platform/headless/headless_backend.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "shared/handover/drawing_header.h"
#include "tests/kelto_dorn/document/document_fixture.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace dorn;

constexpr int kFigures = 200000;

struct Drawing {
  testsupport::TempFolder home;
  std::unique_ptr<CKelDoc> document;
  std::size_t bytes = 0;

  Drawing() {
    setenv("KELTO_HOME", home.path().c_str(), 1);
    platform::ResetProgramFolder();
    platform::ResetDataRoot();
    platform::InstallBackend(std::make_unique<platform::headless::HeadlessBackend>());
    dorn::test::ResetProgramState();
    g_figureStore.Start();
    InitLayerDefaults();
    document = std::make_unique<CKelDoc>();
    fs::create_directories(home.path() / "SAMPLE" / "PGM" / "SEG");
    g_drawingHeader = handover::DefaultDrawingHeader();
    for (int i = 0; i < kFigures; ++i) {
      const double x = i % 1000;
      const double y = i / 1000;
      dorn::test::Append(i % kLayerCount,
                         i % 2 == 0 ? dorn::test::MakeLine(x, y, x + 1, y + 1) : dorn::test::MakeArc(x, y, 0.5));
    }
    bytes = static_cast<std::size_t>(kFigures) * sizeof(FigureRecord);
  }
};

Drawing& Shared() {
  static Drawing d;
  return d;
}

void BM_SaveDrawing(benchmark::State& state) {
  Drawing& d = Shared();
  for (auto _ : state) {
    if (!SaveDrawing(*d.document)) state.SkipWithError("save failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * d.bytes));
}

void BM_LoadDrawing(benchmark::State& state) {
  Drawing& d = Shared();
  SaveDrawing(*d.document);
  for (auto _ : state) {
    const DrawingLoadReport r = LoadDrawing(*d.document);
    if (r.figuresLoaded != kFigures) state.SkipWithError("load lost figures");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * d.bytes));
}

// The figure file alone, without the reset and the definition file.
void BM_ReadFigureFile(benchmark::State& state) {
  Drawing& d = Shared();
  SaveDrawing(*d.document);
  const fs::path mzf = DrawingFilePath(".MZF");
  for (auto _ : state) {
    for (int t = 0; t < kLayerCount; ++t) g_figureStore.Table(t)->set_count(0);
    g_figureStore.Table(kTableCurves)->set_count(0);
    if (ReadFigureFile(mzf).loaded != kFigures) state.SkipWithError("load lost figures");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * d.bytes));
}

void BM_PlainWrite(benchmark::State& state) {
  Drawing& d = Shared();
  std::string fault;
  const std::vector<std::uint8_t> bytes = BuildFigureFile(&fault);
  const fs::path path = d.home.path() / "plain.bin";
  for (auto _ : state) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void BM_PlainRead(benchmark::State& state) {
  Drawing& d = Shared();
  std::string fault;
  std::vector<std::uint8_t> bytes = BuildFigureFile(&fault);
  const fs::path path = d.home.path() / "plain.bin";
  {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  for (auto _ : state) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    const std::size_t n = std::fread(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    benchmark::DoNotOptimize(n);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

BENCHMARK(BM_SaveDrawing)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadDrawing)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadFigureFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
