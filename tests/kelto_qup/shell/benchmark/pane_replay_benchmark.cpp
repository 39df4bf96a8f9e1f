// Replaying 200 000 display records into four panes at 1920 x 1080 (the
// projection, clipping and polyline buffers of the panes included), against
// drawing the same polylines straight through the raster device context.
// The replay may cost at most 1.5 times the straight drawing.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "kelto_qup/shell/display_window.h"
#include "kelto_qup/shell/path_panes.h"
#include "platform/qt/qt_backend.h"
#include "platform/recording_context.h"

namespace {

using namespace qup::shell;

constexpr int kRecords = 200000;
constexpr platform::Size kScreen{1920, 1080};

void EnsureApplication() {
  static bool done = false;
  if (done) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "qup_pane_replay_benchmark";
  static char* argv[] = {name, nullptr};
  platform::qt::InstallQtBackend(argc, argv);
  done = true;
}

// A pocketing path: passes of short cutting moves across a 120 x 80 mm
// stock at falling depths, a rapid and a tool change every 5000 records.
const std::vector<handover::CDisplayRecord>& Records() {
  static const std::vector<handover::CDisplayRecord> records = [] {
    std::vector<handover::CDisplayRecord> r(kRecords);
    for (int i = 0; i < kRecords; ++i) {
      const int pass = i / 400, step = i % 400;
      handover::CDisplayRecord& rec = r[static_cast<std::size_t>(i)];
      rec.kind = (i % 5000 == 0) ? -1 : 1;
      rec.colorWord = static_cast<std::uint16_t>(1 + (i / 5000) % 20);
      const double t = step / 400.0;
      rec.x = static_cast<float>(-60.0 + 120.0 * ((pass % 2) ? 1.0 - t : t));
      rec.y = static_cast<float>(-40.0 + 80.0 * (pass % 100) / 100.0 + 0.3 * std::sin(step * 0.2));
      rec.z = static_cast<float>(-0.05 * (pass / 100));
    }
    return r;
  }();
  return records;
}

struct Scene {
  Scene() : colors(handover::DefaultColorTable(kBuiltInPalette)), pens(MakePenTable(colors)), panes(colors, pens) {
    panes.lib = DefaultDrawingState();
    panes.Graphic().paneWord = 1;
    for (double& z : panes.Graphic().scale) z = 400.0;
  }
  void Replay(platform::DeviceContext& dc) {
    panes.Setup(kScreen, 0);
    const auto& records = Records();
    for (std::size_t i = 0; i < records.size(); ++i) panes.Replay(dc, records[i], i == 0);
    panes.Flush(dc);
  }
  handover::ColorTable colors;
  PenTable pens;
  PathPanes panes;
};

void ReplayIntoFourPanes(benchmark::State& state) {
  EnsureApplication();
  Scene scene;
  auto dc = platform::qt::CreateRasterContext(kScreen, 0x080808);
  for (auto _ : state) scene.Replay(*dc);
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(ReplayIntoFourPanes)->Unit(benchmark::kMillisecond);

void SamePolylinesStraightThroughTheContext(benchmark::State& state) {
  EnsureApplication();
  // The polylines the replay draws, captured once.
  Scene scene;
  auto log = std::make_shared<std::vector<platform::Primitive>>();
  platform::RecordingContext recorder(kScreen, log);
  scene.Replay(recorder);
  auto dc = platform::qt::CreateRasterContext(kScreen, 0x080808);
  for (auto _ : state) {
    for (const platform::Primitive& p : *log) {
      dc->SelectPen(p.pen);
      if (p.kind == platform::PrimitiveKind::Polyline) {
        dc->Polyline(p.points);
      } else if (p.kind == platform::PrimitiveKind::Line) {
        dc->MoveTo(p.points[0]);
        dc->LineTo(p.points[1]);
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(SamePolylinesStraightThroughTheContext)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
