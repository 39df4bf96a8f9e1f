// Appending a full table of figures through AppendFigure and reading them all
// back through GetFigure, against the same work on a plain vector.
#include <vector>

#include <benchmark/benchmark.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"

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
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<dorn::FigureRecord> table;
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

}  // namespace

BENCHMARK_MAIN();
