// A full repaint of 200000 lines and arcs spread over the 32 layers into a
// 1920 x 1080 image: through the view (transform, culling, arc points, pen
// choice), against drawing the very same primitives straight through the
// device context. The view's own work must stay well below the drawing
// itself: the repaint may cost at most 1.5 times the direct drawing.
//
// The same repaint zoomed in ten times about the centre shows a hundredth of
// the drawing's area; the figures outside are passed over before any pen or
// point work, so it may cost at most a tenth of the full repaint.
#include <QGuiApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/drawing_painter.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/app/view_state.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/qt/raster_context.h"
#include "platform/recording_context.h"
#include "tests/kelto_dorn/app/view_sample_drawing.h"

extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

constexpr int kFigures = 200000;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

void EnsureDrawing() {
  static bool made = false;
  if (made) return;
  made = true;
  static int argc = 1;
  static char name[] = "dorn_view_repaint_benchmark";
  static char* argv[] = {name, nullptr};
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);
  dorn::ResetAppState();
  platform::InstallBackend(std::make_unique<platform::headless::HeadlessBackend>());
  dorn::g_figureStore.Start();
  dorn::ResetViewState();
  dorn::SetDefaultPalette(0);
  dorn::RebuildPenTable();
  for (int l = 0; l < dorn::kLayerCount; ++l) {
    dorn::g_layerScale[l] = 100.0;
    dorn::g_layerGridPitch[l] = 10.0;
    dorn::g_originCount[l] = 1;
  }
  dorn::g_view.m_clientWidth = kWidth;
  dorn::g_view.m_clientHeight = kHeight;
  dorn::g_showFigures = 1;
  dorn::test::MakeManyFigures(kFigures, kWidth, kHeight);
}

void SetScale(double scale) {
  for (int l = 0; l < dorn::kLayerCount; ++l) dorn::g_layerScale[l] = scale;
}

// Every layer, one after the other: the whole drawing.
void RepaintAllLayers(platform::DeviceContext& dc) {
  for (int l = 0; l < dorn::kLayerCount; ++l) {
    dorn::g_curLayer = l;
    dorn::g_figureTableSelector = l;
    dorn::DrawDrawing(dorn::kDrawFull, dc);
  }
  dorn::g_curLayer = 0;
  dorn::g_figureTableSelector = 0;
}

// The primitives the view issues, recorded once.
const std::vector<platform::Primitive>& Primitives() {
  static const std::vector<platform::Primitive> primitives = [] {
    platform::RecordingContext dc({kWidth, kHeight});
    RepaintAllLayers(dc);
    return dc.Primitives();
  }();
  return primitives;
}

void RepaintThroughView(benchmark::State& state) {
  EnsureDrawing();
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::black);
  for (auto _ : state) {
    platform::qt::RasterContext dc(&image);
    RepaintAllLayers(dc);
  }
  benchmark::DoNotOptimize(image.constBits());
  state.SetItemsProcessed(state.iterations() * kFigures);
}

void DrawDirectly(benchmark::State& state) {
  EnsureDrawing();
  const auto& primitives = Primitives();
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::black);
  for (auto _ : state) {
    platform::qt::RasterContext dc(&image);
    for (const platform::Primitive& p : primitives) {
      if (!(dc.CurrentPen() == p.pen)) dc.SelectPen(p.pen);
      if (p.kind == platform::PrimitiveKind::Polyline) dc.Polyline(p.points);
    }
  }
  benchmark::DoNotOptimize(image.constBits());
  state.counters["primitives"] = static_cast<double>(primitives.size());
  state.SetItemsProcessed(state.iterations() * kFigures);
}

// Ten times the scale about the same centre: a hundredth of the area.
void RepaintZoomedIn(benchmark::State& state) {
  EnsureDrawing();
  SetScale(1000.0);
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::black);
  for (auto _ : state) {
    platform::qt::RasterContext dc(&image);
    RepaintAllLayers(dc);
  }
  SetScale(100.0);
  benchmark::DoNotOptimize(image.constBits());
  state.SetItemsProcessed(state.iterations() * kFigures);
}

BENCHMARK(RepaintThroughView)->Unit(benchmark::kMillisecond);
BENCHMARK(DrawDirectly)->Unit(benchmark::kMillisecond);
BENCHMARK(RepaintZoomedIn)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
