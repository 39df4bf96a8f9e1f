// The curve commands on a big drawing: 200000 curve figures in 500 curves,
// all selected. An in-place translate, the delete of every second curve and
// a copy-mode translate of 250 curves holding 100000 figures (each copy
// registered through the scripted dialog), against a plain copy of as many
// figure records (record_copy_baseline.cpp). Each command should stay within
// ten times its baseline, and grow linearly (compare the 50000 and 200000
// figure runs).
//
// Each command takes one undo snapshot before it edits (its step takes it,
// not the routines timed here), and a batch of copies one save of the
// drawing after it: both are timed as measurements of their own
// (BM_UndoSnapshotOfCurves, BM_SaveDrawingOfCurves, on the same drawings).
#include <cstdlib>
#include <filesystem>
#include <memory>

#include <benchmark/benchmark.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/document/drawing_files.h"
#include "kelto_dorn/drawing/curve_deletion.h"
#include "kelto_dorn/drawing/curve_register_dialog.h"
#include "kelto_dorn/drawing/curve_transforms.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/document/undo.h"
#include "platform/headless/dialog_driver.h"
#include "platform/headless/headless_backend.h"
#include "shared/handover/drawing_header.h"

namespace {

using dorn::FigureRecord;

constexpr int kCurves = 500;

platform::headless::HeadlessBackend* g_backend = nullptr;

// `figures` lines shared out among `curves` curves, all selected.
void BuildCurves(int figures, int curves) {
  dorn::ResetAppState();
  dorn::ResetDrawingState();
  dorn::g_figureStore.Start();
  dorn::g_curLayer = 0;
  dorn::g_copyMode = 0;
  FigureRecord f;
  f.kind = dorn::kKindLine;
  f.dir = {1.0, 0.0};
  const int per = figures / curves;
  for (int i = 0; i < figures; ++i) {
    f.start = {static_cast<double>(i % per), static_cast<double>(i / per)};
    f.end = {f.start.x + 1.0, f.start.y};
    dorn::g_curFigure = f;
    dorn::PutFigure(dorn::kTableCurvesAlias, i);
  }
  for (int c = 0; c < curves; ++c) {
    dorn::CurveRecord& r = dorn::g_curveTable[static_cast<std::size_t>(c)];
    r = dorn::CurveRecord{};
    r.key = 10 * (c + 1);
    r.first = c * per;
    r.end = (c + 1) * per;
    std::snprintf(r.name, sizeof r.name, "C_%04d", c);
    dorn::g_selectionList[static_cast<std::size_t>(c)] = c;
  }
  dorn::g_curveCount = curves;
  dorn::g_curCurveIndex = 0;
}

void BM_TranslateInPlace(benchmark::State& state) {
  BuildCurves(static_cast<int>(state.range(0)), kCurves);
  // The command's undo snapshot is timed apart (BM_UndoSnapshotOfCurves).
  for (auto _ : state) dorn::TranslateCurves(1.0, 0.0, nullptr);
  state.counters["figures"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_TranslateInPlace)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond);

// The undo snapshot a curve command takes before it edits (the curve figures and
// the curves), written to disk: the same drawings as the translates (500
// curves for the in-place runs, 250 for the copies). On a big drawing most
// of an in-place command's time is this copy, which any edit pays.
void BM_UndoSnapshotOfCurves(benchmark::State& state) {
  BuildCurves(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const std::filesystem::path folder = std::filesystem::path(std::getenv("KELTO_HOME")) / "_BAK";
  std::filesystem::create_directories(folder);
  for (auto _ : state) dorn::SnapshotForUndo(dorn::kUndoTypeCurves);
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_UndoSnapshotOfCurves)
    ->Args({50000, kCurves})
    ->Args({200000, kCurves})
    ->Args({25000, kCurves / 2})
    ->Args({100000, kCurves / 2})
    ->Unit(benchmark::kMillisecond);

// The one save a batch of copies ends with: the drawing after the copy of
// 250 curves (the figures doubled: the sources and their copies).
void BM_SaveDrawingOfCurves(benchmark::State& state) {
  const std::filesystem::path seg = std::filesystem::path(std::getenv("KELTO_HOME")) / "SAMPLE" / "PGM" / "SEG";
  std::filesystem::create_directories(seg);
  BuildCurves(2 * static_cast<int>(state.range(0)), kCurves);
  dorn::g_drawingHeader = handover::DefaultDrawingHeader();
  dorn::CKelDoc document;
  for (auto _ : state) {
    if (!dorn::SaveDrawing(document)) state.SkipWithError("save failed");
  }
  std::filesystem::remove_all(seg);
}
BENCHMARK(BM_SaveDrawingOfCurves)->Arg(25000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_DeleteEverySecondCurve(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    BuildCurves(static_cast<int>(state.range(0)), kCurves);
    dorn::g_selectionList.fill(dorn::kNone);
    for (int c = 0; c < kCurves / 2; ++c) dorn::g_selectionList[static_cast<std::size_t>(c)] = 2 * c;
    state.ResumeTiming();
    benchmark::DoNotOptimize(dorn::DeleteCurves(nullptr));
  }
}
BENCHMARK(BM_DeleteEverySecondCurve)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond);

void BM_TranslateCopies(benchmark::State& state) {
  g_backend->WhenDialogOpensAlways(dorn::kCurveRegisterDialogId, [](platform::headless::DialogDriver& d) {
    d.Click(dorn::kCurveRegisterButton);
  });
  for (auto _ : state) {
    state.PauseTiming();
    // 250 curves holding half the figures are copied.
    BuildCurves(static_cast<int>(state.range(0)), kCurves / 2);
    dorn::g_copyMode = 1;
    state.ResumeTiming();
    // The command's undo snapshot and its save are timed apart
    // (BM_UndoSnapshotOfCurves, BM_SaveDrawingOfCurves).
    dorn::TranslateCurves(0.0, 1000.0, nullptr);
  }
}
BENCHMARK(BM_TranslateCopies)->Arg(25000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Undo snapshots and the saved drawing go to a folder of their own.
  const std::filesystem::path home = std::filesystem::temp_directory_path() / "kelto_curve_benchmark";
  std::filesystem::create_directories(home);
  setenv("KELTO_HOME", home.c_str(), 1);
  auto backend = std::make_unique<platform::headless::HeadlessBackend>();
  g_backend = backend.get();
  platform::InstallBackend(std::move(backend));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  platform::UninstallBackend();
  std::filesystem::remove_all(home);
  return 0;
}
