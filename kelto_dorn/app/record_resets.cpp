// Resets and lookups: see record_resets.h.
#include "kelto_dorn/app/record_resets.h"

#include "kelto_dorn/app/dimension_painter.h"

#include "kelto_dorn/app/app_state.h"

namespace dorn {
namespace {

// Defaults of a layer's view.
constexpr double kDefaultLayerScale = 50.0;  // percent
constexpr double kNoGridPitch = 9999.0;      // mm: no grid pitch set yet

void ResetViewSettings() {
  g_shrinkRate = 20.0;
  g_moveRate = 25.0;
  g_joinTolerance = 0.01;  // mm
  g_showIpPoint = 0.0;
  g_viewSettingD1 = g_viewSettingD2 = 0.0;
  g_cadByLayer = 0;
  g_dxfCompound = 1;
  g_cadByColor = 1;
  g_showDashed = 1;
  g_showChain1 = 1;
  g_showChain2 = 1;
  g_viewSettingI1 = g_viewSettingI2 = g_viewSettingI3 = 0;
  g_viewSettingFlag1 = g_viewSettingFlag2 = 0;
}

void ResetDimensionStyle() {
  g_dimensionStyle.arrowAngle = 15.0;  // degrees
  g_dimensionStyle.arrowLength = 4.0;  // mm
  g_dimensionStyle.textSize = 5.0;     // mm
  g_dimTextSlider = 5;
  g_dimensionStyle.dimLineColor = 21;
  g_dimensionStyle.textColor = 7;
  g_dimensionStyle.dimPrecision = 0;
  g_dimensionStyle.arrowFilled = 0;
  g_dimensionStyle.dimPickMode = 0;
  g_dimensionStyle.dimTextAlign = 0;
  UpdateDimensionArrowShape();
}

}  // namespace

void InitLayerTables() {
  g_originCount.fill(1);
  g_layerOriginIndex.fill(0);
  for (auto& layer : g_originTable) layer.fill(Vec2{});
}

void InitLayerDefaults() {
  for (LayerViewRecord& r : g_layerViews) {
    r.marker = kLayerViewMarker;
    for (std::int32_t& v : r.values) v = 0;
    r.centreX = r.centreY = 0.0;
    r.scale = kDefaultLayerScale;
    if (!(r.gridPitch > 0.0)) r.gridPitch = kNoGridPitch;
  }
  g_figureTableSelector = 0;
  g_curLayer = 0;
  InitLayerTables();
  g_curOriginIndex = g_layerOriginIndex[0];
  ResetViewSettings();
  ResetDimensionStyle();
}

void ResetCurrentCurve() {
  CurveRecord r;
  r.layer = g_curLayer;
  r.colour = kCurveDefaultColour;
  r.topZ = NewFigureDepth();
  g_curCurveRecord = r;
}

int FindCurveByKey(std::int32_t key) {
  const int n = g_curveCount < kCurveTableSize ? g_curveCount : kCurveTableSize;
  for (int i = 0; i < n; ++i) {
    if (g_curveTable[static_cast<std::size_t>(i)].key == key) return i;
  }
  return kNone;
}

int FindSurfaceByKey(std::int32_t key) {
  const int n = g_surfaceIndexTable.count < kSurfaceSlotCount ? g_surfaceIndexTable.count : kSurfaceSlotCount;
  for (int i = 0; i < n; ++i) {
    if (g_surfaceIndexTable.records[static_cast<std::size_t>(i)].key == key) return i;
  }
  return kNone;
}

}  // namespace dorn
