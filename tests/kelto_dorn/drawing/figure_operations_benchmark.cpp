// The BOX edits on one layer of figures all inside the box: the move (op
// 15), the move copy (op 45) and the delete with its compaction (op 16), the
// layer move of the same figures and the delete of the first half of the
// table as one range, against a plain copy of as many figure records
// (record_copy_baseline.cpp). Each should stay within ten times its baseline
// and grow linearly (compare the 50000 and 200000 figure runs). The undo
// snapshot the commands take first is timed on its own.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include <benchmark/benchmark.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/figure_operations.h"
#include "kelto_dorn/drawing/layer_split.h"
#include "platform/headless/headless_backend.h"

namespace {

using dorn::FigureRecord;

const dorn::SelectionRegion kBox{{{-1, -1}, {1e6, -1}, {1e6, 1e6}, {-1, 1e6}}};

// `n` short lines on layer 0, all inside kBox.
void BuildLayer(int n) {
  dorn::ResetAppState();
  dorn::ResetDrawingState();
  dorn::g_figureStore.Start();
  dorn::g_curLayer = 0;
  dorn::g_figureTableSelector = 0;
  dorn::g_originCount.fill(1);
  FigureRecord f;
  f.kind = dorn::kKindLine;
  f.dir = {1.0, 0.0};
  for (int i = 0; i < n; ++i) {
    f.start = {static_cast<double>(i % 1000), static_cast<double>(i / 1000)};
    f.end = {f.start.x + 0.5, f.start.y};
    dorn::g_curFigure = f;
    dorn::AppendFigure(0);
  }
  // Tables never shrink: a drawing that once held the figures keeps their
  // records. The first touch of fresh memory (which the baseline's vector
  // does not pay either) stays out of the timed edits.
  const int room = std::min(2 * n + 1000, dorn::kFigureSlotLimit);
  dorn::FigureStoreGrow(0, dorn::g_figureStore.Table(0)->capacity(), room);
  dorn::FigureStoreGrow(1, dorn::g_figureStore.Table(1)->capacity(), room);
}

void BoxEdit(benchmark::State& state, int op) {
  for (auto _ : state) {
    state.PauseTiming();
    BuildLayer(static_cast<int>(state.range(0)));
    dorn::g_figureOperation.moveVector = {0.25, 0.0};
    state.ResumeTiming();
    benchmark::DoNotOptimize(dorn::ApplyBoxEdit(op, kBox));
  }
  state.counters["figures"] = static_cast<double>(state.range(0));
}

void BM_BoxMove(benchmark::State& state) { BoxEdit(state, dorn::box_op::kMove); }
BENCHMARK(BM_BoxMove)->Arg(50000)->Arg(200000)->Iterations(5)->Unit(benchmark::kMillisecond);

// A table holds 239990 figures: the copies of 100000 fill it to 200000.
void BM_BoxMoveCopy(benchmark::State& state) { BoxEdit(state, dorn::box_op::kMoveCopy); }
BENCHMARK(BM_BoxMoveCopy)->Arg(25000)->Arg(100000)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_BoxDelete(benchmark::State& state) { BoxEdit(state, dorn::box_op::kDelete); }
BENCHMARK(BM_BoxDelete)->Arg(50000)->Arg(200000)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_MoveFiguresToLayer(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    BuildLayer(static_cast<int>(state.range(0)));
    state.ResumeTiming();
    benchmark::DoNotOptimize(dorn::MoveFiguresToLayer(0, 1, 0.0, kBox));
  }
}
BENCHMARK(BM_MoveFiguresToLayer)->Arg(50000)->Arg(200000)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_DeleteFirstHalf(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    BuildLayer(static_cast<int>(state.range(0)));
    state.ResumeTiming();
    dorn::DeleteFigureRange(0, static_cast<int>(state.range(0) / 2));
  }
}
BENCHMARK(BM_DeleteFirstHalf)->Arg(50000)->Arg(200000)->Iterations(5)->Unit(benchmark::kMillisecond);

// The snapshot an edit takes before it starts (written to the program folder).
void BM_UndoSnapshot(benchmark::State& state) {
  BuildLayer(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(dorn::SnapshotForUndo(0));
}
BENCHMARK(BM_UndoSnapshot)->Arg(50000)->Arg(200000)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Undo snapshots go to a folder of their own.
  const std::filesystem::path home = std::filesystem::temp_directory_path() / "kelto_operations_benchmark";
  std::filesystem::create_directories(home);
  setenv("KELTO_HOME", home.c_str(), 1);
  platform::InstallBackend(std::make_unique<platform::headless::HeadlessBackend>());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
