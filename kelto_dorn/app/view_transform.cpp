// The view transform, projections, zoom and pan: see view_transform.h.
#include "kelto_dorn/app/view_transform.h"

#include <cmath>

#include "kelto_dorn/app/geometry.h"

namespace dorn {

namespace {

std::size_t CurrentLayerIndex() {
  const int l = (g_curLayer >= 0 && g_curLayer < kLayerCount) ? g_curLayer : 0;
  return static_cast<std::size_t>(l);
}

// Pan in view units, quartered in the overview.
double OverviewPanFactor() { return g_layerOverview == kOverviewPending ? 0.25 : 1.0; }

// Shift of the current layer's tile centre from the window centre, as a
// fraction of the extent: -3/8, -1/8, +1/8, +3/8 for columns or rows 0..3.
double TileShift(int index) { return (2.0 * index - 3.0) / 8.0; }

}  // namespace

void UpdateViewTransform() {
  ViewState& v = g_view;
  const std::size_t l = CurrentLayerIndex();
  v.m_arrowCounter = 0;
  if (g_layerScale[l] < 1.0) g_layerScale[l] = 1.0;
  if (g_layerGridPitch[l] < 1.0) g_layerGridPitch[l] = 1.0;
  if (v.m_printFactor != 1.0) {
    v.m_extentX = static_cast<int>(v.m_clientWidth * v.m_printFactor);
    v.m_extentY = static_cast<int>(v.m_clientHeight * v.m_printFactor);
    v.m_unitFactor = kScreenUnitFactor * v.m_printFactor;
  } else {
    v.m_extentX = v.m_clientWidth;
    v.m_extentY = v.m_clientHeight;
    v.m_unitFactor = kScreenUnitFactor;
  }
  const double panX = g_layerOffsetX[l] * OverviewPanFactor();
  const double panY = g_layerOffsetY[l] * OverviewPanFactor();
  LayerViewRecord& r = g_layerViews[l];
  r.centreX = v.m_extentX * 0.5 / v.m_unitFactor + panX;
  r.centreY = v.m_extentY * 0.5 / v.m_unitFactor + panY;
  r.scale = g_layerScale[l];
  r.gridPitch = g_layerGridPitch[l];
  v.m_originX = v.m_unitFactor * r.centreX;
  v.m_originY = v.m_extentY - r.centreY * v.m_unitFactor;
  v.m_unitsPerMm = r.scale * v.m_unitFactor * 0.01;
}

platform::Point WorldToScreenRaw(double x, double y) {
  const ViewState& v = g_view;
  return {TruncateLogical(x * v.m_unitsPerMm + v.m_originX), TruncateLogical(v.m_originY - v.m_unitsPerMm * y)};
}

void WorldToScreenExact(double dx, double dy, double z, double& x, double& y) {
  const ViewState& v = g_view;
  double px = g_curFigure.origin.x + dx;
  double py = g_curFigure.origin.y + dy;
  double pz = z;
  const Vec2 c = g_projectionCentre;
  if (g_projection == kProjectionArrow) {
    const auto& m = g_projectionMatrix;  // column by column
    const double d0 = px - c.x, d1 = py - c.y, d2 = pz;
    px = c.x + m[0] * d0 + m[3] * d1 + m[6] * d2;
    py = c.y + m[1] * d0 + m[4] * d1 + m[7] * d2;
    pz = m[2] * d0 + m[5] * d1 + m[8] * d2;
  }
  double qx = px, qy = py;
  switch (g_projection) {
    case kProjectionXZ:
    case kProjectionArrow:
      qx = px;
      qy = c.y + pz;
      break;
    case kProjectionYZ:
      qx = c.x + py;
      qy = c.y + pz;
      break;
    default:
      break;
  }
  x = qx * v.m_unitsPerMm + v.m_originX;
  y = v.m_originY - v.m_unitsPerMm * qy;
  if (g_layerOverview == kOverviewPending) {
    const int t = g_curLayer - g_overviewFirstLayer;
    if (t >= 0 && t < 16) {
      x += TileShift(t % 4) * v.m_extentX;
      y += TileShift(t / 4) * v.m_extentY;
    }
  }
}

platform::Point WorldToScreen(double dx, double dy, double z) {
  double x = 0.0, y = 0.0;
  WorldToScreenExact(dx, dy, z, x, y);
  return {TruncateLogical(x), TruncateLogical(y)};
}

Vec2 ScreenToWorld(platform::Point p) {
  const ViewState& v = g_view;
  if (v.m_unitsPerMm == 0.0) return {};
  return {(p.x - v.m_originX) / v.m_unitsPerMm, (v.m_originY - p.y) / v.m_unitsPerMm};
}

void BuildArrowViewMatrix() {
  double a = 0.0, b = 0.0;
  if (g_projection == kProjectionArrow) {
    a = g_arrowAngles[0] * kRadiansPerDegree;
    b = g_arrowAngles[1] * kRadiansPerDegree;
  }
  // Row-major working copies; the stored matrix is column by column.
  const double rz[3][3] = {{std::cos(a), -std::sin(a), 0}, {std::sin(a), std::cos(a), 0}, {0, 0, 1}};
  const double rx[3][3] = {{1, 0, 0}, {0, std::cos(b), -std::sin(b)}, {0, std::sin(b), std::cos(b)}};
  double product[3][3] = {};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c)
      for (int k = 0; k < 3; ++k) product[r][c] += rx[r][k] * rz[k][c];
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) g_projectionMatrix[static_cast<std::size_t>(c * 3 + r)] = product[r][c];
}

void UpdateAxisAndGrid() {
  ViewState& v = g_view;
  const std::size_t l = CurrentLayerIndex();
  const LayerViewRecord& r = g_layerViews[l];
  const Vec2 o = CurrentLayerOrigin();
  // The axis lines reach 130 view units to either side of the window's
  // horizontal middle (100) and 100 to either side of its vertical one (75).
  const double x1 = (100.0 - r.centreX - 130.0) * 100.0 / r.scale;
  const double x2 = (100.0 - r.centreX + 130.0) * 100.0 / r.scale;
  v.m_axisXStart = WorldToScreenRaw(x1, o.y);
  v.m_axisXEnd = WorldToScreenRaw(x2, o.y);
  const int step = TruncateLogical(r.gridPitch * v.m_unitsPerMm);
  v.m_gridStepX = v.m_gridStepY = step == 0 ? 1 : step;
  const double y1 = (75.0 - r.centreY - 100.0) * 100.0 / r.scale;
  const double y2 = (75.0 - r.centreY + 100.0) * 100.0 / r.scale;
  v.m_axisYStart = WorldToScreenRaw(o.x, y1);
  v.m_axisYEnd = WorldToScreenRaw(o.x, y2);
  double factor = 1.0;
  if (g_pickApertureSize == 2) factor = 2.0;
  if (g_pickApertureSize == 3) factor = 3.0;
  g_pickTolerance = 100.0 / r.scale * factor;
}

void SaveViewCentre() {
  const ViewState& v = g_view;
  if (v.m_unitsPerMm == 0.0) return;
  const std::size_t l = CurrentLayerIndex();
  const double cx = (v.m_clientWidth * 0.5 - v.m_originX) / v.m_unitsPerMm;
  const double cy = (v.m_originY - v.m_clientHeight * 0.5) / v.m_unitsPerMm;
  g_layerOffsetX[l] = cx * g_layerScale[l] * -0.01;
  g_layerOffsetY[l] = cy * g_layerScale[l] * -0.01;
}

bool PageOverviewByWheel(int wheelDelta) {
  // The last page starts at layer 16 and shows layers 16..31.
  constexpr int kOverviewPageStep = 4;
  constexpr int kLastOverviewPage = 16;
  if (g_layerOverview != kOverviewPending || wheelDelta == 0) return false;
  if (wheelDelta > 0 && g_overviewFirstLayer > 0) {
    g_overviewFirstLayer -= kOverviewPageStep;
    return true;
  }
  if (wheelDelta < 0 && g_overviewFirstLayer < kLastOverviewPage) {
    g_overviewFirstLayer += kOverviewPageStep;
    return true;
  }
  return false;
}

bool ZoomPanByDrag(int x, int y) {
  ViewState& v = g_view;
  const std::size_t l = CurrentLayerIndex();
  bool changed = false;
  if (v.m_unitsPerMm != 0.0) {
    const double dx = (x - v.m_lastMouseX) / v.m_unitsPerMm;
    const double dy = (y - v.m_lastMouseY) / v.m_unitsPerMm;
    const double s = g_layerScale[l];
    const double u = s * 0.02 * dx;
    const double w = s * 0.02 * dy;
    if (v.m_zoomDrag || v.m_wheelZoom) {
      double scale = s + u;
      if (scale < kMinDragScale) scale = kMinDragScale;
      if (scale > kMaxDragScale) scale = kMaxDragScale;
      g_layerScale[l] = scale;
      SaveViewCentre();
      changed = true;
    } else if (v.m_panDrag) {
      if (g_projection == kProjectionArrow) {
        g_arrowAngles[0] += 0.5 * u;
        g_arrowAngles[1] += 0.5 * w;
      } else {
        const LayerViewRecord& r = g_layerViews[l];
        const double ox = g_layerOffsetX[l] + u;
        if (!(ox + r.centreX > kMaxPanCentre)) g_layerOffsetX[l] = ox;
        const double oy = g_layerOffsetY[l] - w;
        if (!(oy + r.centreY > kMaxPanCentre)) g_layerOffsetY[l] = oy;
      }
      changed = true;
    }
  }
  v.m_lastMouseX = x;
  v.m_lastMouseY = y;
  return changed;
}

}  // namespace dorn
