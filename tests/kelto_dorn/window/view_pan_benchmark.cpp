// Panning by mouse over the 200000-figure drawing (lines and arcs on 32
// layers): one step of a right drag repaints the current layer while the
// drag lasts, against a full repaint of that layer; and a move that only
// shifts an XOR band (the box of a command) draws the band twice on the
// backing image and repaints nothing.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/window/kel_view.h"
#include "kelto_dorn/window/program.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/headless_frame.h"
#include "platform/qt/qt_backend.h"
#include "tests/kelto_dorn/app/view_sample_drawing.h"

extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

constexpr int kFigures = 200000;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

struct Program {
  std::unique_ptr<platform::Frame> frame;
  std::unique_ptr<dorn::CKelDoc> document;
  std::unique_ptr<dorn::CKelView> view;
};

Program& TheProgram() {
  static Program p = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "dorn_view_pan_benchmark";
    static char* argv[] = {name, nullptr};
    platform::qt::InstallQtBackend(argc, argv);  // the application object of the raster images
    dorn::ResetProgramState();
    platform::headless::InstallHeadlessBackend();
    dorn::g_figureStore.Start();
    dorn::SetDefaultPalette(0);
    dorn::RebuildPenTable();
    Program made;
    made.frame = platform::CreateFrame();
    static_cast<platform::headless::HeadlessFrame&>(*made.frame).view().Resize(kWidth, kHeight);
    made.document = std::make_unique<dorn::CKelDoc>();
    made.view = std::make_unique<dorn::CKelView>(*made.document);
    made.view->OnCreate(made.frame->View());
    for (int l = 0; l < dorn::kLayerCount; ++l) {
      dorn::g_layerScale[l] = 100.0;
      dorn::g_layerGridPitch[l] = 10.0;
    }
    dorn::g_showFigures = 1;
    dorn::g_view.m_clientWidth = kWidth;
    dorn::g_view.m_clientHeight = kHeight;
    dorn::test::MakeManyFigures(kFigures, kWidth, kHeight);
    dorn::g_curLayer = dorn::g_figureTableSelector = 0;
    return made;
  }();
  return p;
}

std::unique_ptr<platform::DeviceContext> Image() { return platform::qt::CreateRasterContext({kWidth, kHeight}, 0); }

void FullRepaintOfTheLayer(benchmark::State& state) {
  Program& p = TheProgram();
  auto dc = Image();
  for (auto _ : state) p.view->OnPaint(*dc);
  state.counters["figures"] = dorn::GetFigureCount(0);
}

void OnePanStepOfARightDrag(benchmark::State& state) {
  Program& p = TheProgram();
  auto dc = Image();
  p.view->OnPaint(*dc);
  dorn::g_view.m_panDrag = 1;
  dorn::g_view.m_lastMouseX = 900;
  dorn::g_view.m_lastMouseY = 500;
  int x = 900;
  for (auto _ : state) {
    x = x == 900 ? 901 : 900;  // back and forth by a pixel
    dorn::ZoomPanByDrag(x, 500);
    p.view->OnPaint(*dc);
  }
  dorn::g_view.m_panDrag = 0;
}

void OneMoveOfAnXorBand(benchmark::State& state) {
  Program& p = TheProgram();
  auto dc = Image();
  p.view->OnPaint(*dc);
  dorn::g_view.m_boxStage = 4;
  dorn::g_view.m_boxStart = {100, 100};
  dorn::g_view.m_boxEnd = {800, 600};
  int x = 800;
  for (auto _ : state) {
    p.view->DrawRubberBandBox(*dc, 4);  // the old band off
    x = x == 800 ? 801 : 800;
    dorn::g_view.m_boxEnd = {x, 600};
    p.view->DrawRubberBandBox(*dc, 4);  // the new band on
  }
  dorn::g_view.m_boxStage = 0;
}

// The raster engine hands some of its work to a pool of threads (the XOR band
// mostly): the processor time counted is the whole process's, not only this
// thread's, or that work would not show.
BENCHMARK(FullRepaintOfTheLayer)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(OnePanStepOfARightDrag)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(OneMoveOfAnXorBand)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

}  // namespace

BENCHMARK_MAIN();
