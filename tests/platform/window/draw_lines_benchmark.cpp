// 200 000 short solid lines into a 1920 x 1080 image: through the layer's
// raster device context, and with QPainter directly on the same image. The
// layer may cost at most 1.5 times the direct drawing.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <vector>

#include "platform/qt/raster_context.h"

namespace {

constexpr int kLines = 200000;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

struct Segment {
  int x0, y0, x1, y1;
};

// The same pseudo-random short segments (up to 16 pixels) for both runs.
const std::vector<Segment>& Segments() {
  static const std::vector<Segment> segments = [] {
    std::vector<Segment> s;
    s.reserve(kLines);
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 8) & 0xFFFF; };
    for (int i = 0; i < kLines; ++i) {
      const int x = static_cast<int>(next() % (kWidth - 20)), y = static_cast<int>(next() % (kHeight - 20));
      s.push_back({x, y, x + static_cast<int>(next() % 16), y + static_cast<int>(next() % 16)});
    }
    return s;
  }();
  return segments;
}

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "platform_window_draw_benchmark";
  static char* argv[] = {name, nullptr};
  if (!QGuiApplication::instance()) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    new QGuiApplication(argc, argv);
  }
}

void ThroughLayer(benchmark::State& state) {
  EnsureApplication();
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  for (auto _ : state) {
    platform::qt::RasterContext dc(&image);
    dc.SelectPen({0x0000FF, 1, platform::PenStyle::Solid});
    for (const Segment& s : Segments()) {
      dc.MoveTo({s.x0, s.y0});
      dc.LineTo({s.x1, s.y1});
    }
  }
  benchmark::DoNotOptimize(image.constBits());
  state.SetItemsProcessed(state.iterations() * kLines);
}

void DirectQPainter(benchmark::State& state) {
  EnsureApplication();
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  for (auto _ : state) {
    QPainter p(&image);
    QPen pen(QColor(255, 0, 0));
    pen.setWidth(1);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    for (const Segment& s : Segments()) p.drawLine(QPoint(s.x0, s.y0), QPoint(s.x1, s.y1));
  }
  benchmark::DoNotOptimize(image.constBits());
  state.SetItemsProcessed(state.iterations() * kLines);
}

BENCHMARK(ThroughLayer)->Unit(benchmark::kMillisecond);
BENCHMARK(DirectQPainter)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
