// Zoom and pan of the 2-D panes: the zoom box, the zoom-undo stack, the
// step keys and the fit of the path extents.
#include <algorithm>
#include <cmath>

#include "kelto_qup/shell/path_panes.h"

namespace qup::shell {

namespace {

constexpr double kZoomLimit = 999999.0;
constexpr double kWideBox = 1.333333333;
constexpr double kWideExtents = 1.4933;
constexpr double kFitMargin = 0.85;
constexpr double kFallbackZoom = 50.0;
constexpr double kPixelsPerUnit = 4.0;

// Zoom percent and pixels per mm of a pane: one-pane scale is zoom x 0.04.
double PixelsPerPercent(int pane) { return 0.01 * kPixelsPerUnit * (pane == 0 ? 1.0 : 0.5); }

// The fitting zoom rounded down to a convenient value: one or two leading
// digits (1, 1.5, 2, 2.5, 3, 4, 5, 6, 8 times a power of ten).
double RoundZoom(double zoom) {
  if (!(zoom > 0.0)) return kFallbackZoom;
  const double decade = std::pow(10.0, std::floor(std::log10(zoom)));
  const double steps[] = {8, 6, 5, 4, 3, 2.5, 2, 1.5, 1};
  for (double s : steps) {
    if (zoom >= s * decade) return s * decade;
  }
  return decade;
}

}  // namespace

void PathPanes::FoldAccumulators() {
  auto& g = lib.graphic;
  for (int p = 0; p < kPaneCount; ++p) {
    g.scale[p] += zoomAccumulator;
    g.centreX[p] += panAccumulatorX;
    g.centreY[p] += panAccumulatorY;
  }
  zoomAccumulator = panAccumulatorX = panAccumulatorY = 0.0;
}

bool PathPanes::ZoomToBox(int pane, platform::Rect box) {
  const platform::Rect b = box.Normalized();
  const auto a = PaneToModel(pane, {b.left, b.top});
  const auto c = PaneToModel(pane, {b.right, b.bottom});
  const double width = std::fabs(c[0] - a[0]), height = std::fabs(c[1] - a[1]);
  const PaneGeometry& g = Pane(pane);
  const bool wide = width > kWideBox * height;
  const double extent = wide ? g.rect.Width() : g.rect.Height();
  const double span = wide ? width : height;
  const double zoom = span > 0.0 ? extent / span / (PixelsPerPercent(pane) * printScale) : kZoomLimit * 2;
  const double centreX = (a[0] + c[0]) * 0.5, centreY = (a[1] + c[1]) * 0.5;
  if (!(std::fabs(zoom) <= kZoomLimit) || !(std::fabs(centreX) <= kZoomLimit) || !(std::fabs(centreY) <= kZoomLimit)) {
    return false;
  }
  FoldAccumulators();
  auto& rec = lib.graphic;
  if (zoomUndo.size() < kZoomUndoDepth)
    zoomUndo.push_back({pane, rec.scale[pane], rec.centreX[pane], rec.centreY[pane]});
  rec.scale[pane] = zoom;
  const double toOffset = -zoom * (pane == 0 ? 0.01 : 0.005);
  rec.centreX[pane] = centreX * toOffset;
  rec.centreY[pane] = centreY * toOffset;
  return true;
}

bool PathPanes::UndoZoom(int pane) {
  if (zoomUndo.empty() || pane < 0 || pane >= kPaneCount) return false;
  const ZoomUndoEntry e = zoomUndo.back();
  zoomUndo.pop_back();
  auto& rec = lib.graphic;
  rec.scale[pane] = e.zoom;
  rec.centreX[pane] = e.offsetX;
  rec.centreY[pane] = e.offsetY;
  zoomAccumulator = panAccumulatorX = panAccumulatorY = 0.0;
  return true;
}

bool PathPanes::StepZoom(int direction) {
  zoomAccumulator += direction * cgm.zoomStep;
  if (direction < 0 && lib.graphic.scale[0] + zoomAccumulator < 1.0) {
    zoomAccumulator -= direction * cgm.zoomStep;
    return false;
  }
  return true;
}

void PathPanes::StepPan(int dx, int dy) {
  panAccumulatorX += dx * cgm.panStep;
  panAccumulatorY += dy * cgm.panStep;
}

void PathPanes::CenterOrigin(platform::Size client, int listHeight) {
  auto& rec = lib.graphic;
  zoomAccumulator = panAccumulatorX = panAccumulatorY = 0.0;
  const PathExtents3& e = extents;
  const bool usable = e.Exist() && std::max({std::fabs(e.minX), std::fabs(e.maxX), std::fabs(e.minY), std::fabs(e.maxY),
                                             std::fabs(e.minZ), std::fabs(e.maxZ)}) <= kZoomLimit;
  // The pane's 2-D box of the extents: the eight corners projected.
  const auto projected = [&](int pane, std::array<double, 2>& lo, std::array<double, 2>& hi) {
    lo = {kZoomLimit * 10, kZoomLimit * 10};
    hi = {-kZoomLimit * 10, -kZoomLimit * 10};
    for (double x : {e.minX, e.maxX})
      for (double y : {e.minY, e.maxY})
        for (double z : {e.minZ, e.maxZ}) {
          const auto p = PanePair(pane, x, y, z);
          lo = {std::min(lo[0], p[0]), std::min(lo[1], p[1])};
          hi = {std::max(hi[0], p[0]), std::max(hi[1], p[1])};
        }
  };
  double zoom = kFallbackZoom;
  if (usable) {
    std::array<double, 2> lo{}, hi{};
    projected(FourPanes() ? 1 : 0, lo, hi);
    const double width = hi[0] - lo[0], height = hi[1] - lo[1];
    const int pane = FourPanes() ? 1 : 0;
    const double w = client.cx * (pane == 0 ? 1.0 : 0.5);
    const double h = std::max(1, client.cy - listHeight) * (pane == 0 ? 1.0 : 0.5);
    const double pixelsPerMm =
        width > kWideExtents * height ? (width > 0 ? w / width : 0) : (height > 0 ? h / height : 0);
    zoom = RoundZoom(pixelsPerMm / PixelsPerPercent(pane) * kFitMargin);
  }
  for (int p = 0; p < kPaneCount; ++p) {
    rec.scale[p] = zoom;
    rec.centreX[p] = rec.centreY[p] = 0.0;
    if (!usable) continue;
    std::array<double, 2> lo{}, hi{};
    projected(p, lo, hi);
    const double toOffset = -zoom * (p == 0 ? 0.01 : 0.005);
    rec.centreX[p] = (lo[0] + hi[0]) * 0.5 * toOffset;
    rec.centreY[p] = (lo[1] + hi[1]) * 0.5 * toOffset;
  }
}

}  // namespace qup::shell
