// Appending a full table of figures through AppendFigure and reading them all
// back through GetFigure, against the same work on a plain vector.
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "platform/headless/headless_backend.h"

namespace {

// The figures one table can hold (the last ten indexes are never valid).
constexpr int kFigures = 240000;

void BM_FigureStoreAppendAndRead(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    dorn::ResetAppState();
    dorn::g_figureStore.Start();
    dorn::g_figureTableSelector = 5;
    state.ResumeTiming();

    int stored = 0;
    for (int i = 0; i < kFigures; ++i) {
      dorn::g_curFigure.number = i;
      dorn::g_curFigure.start.x = i;
      stored += dorn::AppendFigure(0) ? 1 : 0;
    }
    double sum = 0.0;
    for (int i = 0; i < stored; ++i) {
      dorn::GetFigure(i);
      sum += dorn::g_curFigure.start.x;
    }
    benchmark::DoNotOptimize(sum);
    state.counters["stored"] = stored;
  }
  dorn::ResetAppState();
}
BENCHMARK(BM_FigureStoreAppendAndRead)->Unit(benchmark::kMillisecond);

void BM_PlainVectorAppendAndRead(benchmark::State& state) {
  std::vector<dorn::FigureRecord> table;
  for (auto _ : state) {
    // Releasing the previous table is not part of the work (as for the store).
    state.PauseTiming();
    std::vector<dorn::FigureRecord>().swap(table);
    dorn::FigureRecord current;
    state.ResumeTiming();

    for (int i = 0; i < kFigures; ++i) {
      current.number = i;
      current.start.x = i;
      table.push_back(current);
    }
    double sum = 0.0;
    for (int i = 0; i < static_cast<int>(table.size()); ++i) {
      current = table[static_cast<std::size_t>(i)];
      sum += current.start.x;
    }
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(current);
  }
}
BENCHMARK(BM_PlainVectorAppendAndRead)->Unit(benchmark::kMillisecond);

// Start-up of an empty store: run alone under /usr/bin/time -v, the peak
// resident size is the memory of a started, empty figure store.
void BM_StartEmptyFigureStore(benchmark::State& state) {
  for (auto _ : state) {
    dorn::ResetAppState();
    benchmark::DoNotOptimize(dorn::g_figureStore.Start());
  }
}
BENCHMARK(BM_StartEmptyFigureStore)->Unit(benchmark::kMillisecond);

}  // namespace

// The headless backend takes the drawing-too-large box of the last appends.
int main(int argc, char** argv) {
  platform::InstallBackend(std::make_unique<platform::headless::HeadlessBackend>());
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
