// Program-wide state of the Kelto_Dorn kernel: see app_state.h.
#include "kelto_dorn/app/app_state.h"

#include "kelto_dorn/app/command_state.h"

#include <cstring>

namespace dorn {

handover::DrawingHeader g_drawingHeader;
handover::ColorTable g_colorTable;
double& g_globalZ = g_drawingHeader.workSizeZ;
std::int32_t& g_globalZMode = g_drawingHeader.globalZMode;
std::int32_t& g_curOriginIndex = g_drawingHeader.curOriginIndex;
std::int32_t& g_backgroundIndex = g_colorTable.backgroundIndex;
std::int32_t& g_figureStyle = g_colorTable.figureColor;
std::int32_t& g_curveColor = g_colorTable.curveColor;

char g_textBuffer[kTextBufferSize] = {};
char (&g_listTextBuffer)[kTextBufferSize] = g_pathBuf;
int g_dropBarePoint = 0;
int g_valuePairCount = 0;
double g_valuePairA = 0.0;
double g_valuePairB = 0.0;

double g_lastDistance = 0.0;
double g_lineLength = 0.0;

int g_figureTableSelector = 0;
int g_curLayer = 0;
std::int32_t g_figureAttribute = 0;
FigureRecord g_curFigure;
FigureRecord g_savedFigure;
int g_undoSaved = 0;
FigureStore g_figureStore;

std::array<CurveRecord, kCurveTableSize> g_curveTable{};
int g_curveCount = 0;
int g_curCurveIndex = 0;
CurveRecord g_curCurveRecord;

std::array<TextRecord, kTextRecordCount> g_textRecords{};
std::array<TextRecord, kTextRecordCount> g_textRecordBank{};

DefinitionIndexTable<kSurfaceSlotCount> g_surfaceIndexTable;
DefinitionIndexTable<kMachiningSlotCount> g_machiningIndexTable;

std::array<LayerViewRecord, kLayerCount> g_layerViews{};
std::array<std::array<Vec2, kOriginsPerLayer>, kLayerCount> g_originTable{};
std::array<int, kLayerCount> g_originCount{};
std::array<int, kLayerCount> g_layerOriginIndex{};

double g_shrinkRate = 0.0;
double g_moveRate = 0.0;
double g_joinTolerance = 0.0;
double g_showIpPoint = 0.0;
double g_viewSettingD1 = 0.0;
double g_viewSettingD2 = 0.0;
int g_cadByLayer = 0;
int g_dxfCompound = 0;
int g_cadByColor = 0;
int g_showDashed = 0;
int g_showChain1 = 0;
int g_showChain2 = 0;
int g_viewSettingI1 = 0;
int g_viewSettingI2 = 0;
int g_viewSettingI3 = 0;
std::uint8_t g_viewSettingFlag1 = 0;
std::uint8_t g_viewSettingFlag2 = 0;

DimensionStyle g_dimensionStyle;
std::array<Vec2, 4> g_arrowWingVectors{};
int g_dimTextSlider = 0;

int FocusedEditIndex = 0;

std::array<platform::Color, kPaletteSize> PaletteColors{};
std::array<platform::Pen, kPaletteSize> PenTable{};
int g_beepOff = 0;

double NewFigureDepth() { return g_globalZMode == handover::DrawingHeader::kGlobalZBottom ? g_globalZ : 0.0; }

std::int32_t DefaultFigureColour() { return g_colorTable.figureColor; }
std::int32_t DefaultSegmentColour() { return g_colorTable.curveColor; }

Vec2 CurrentLayerOrigin() {
  if (g_curLayer < 0 || g_curLayer >= kLayerCount) return {};
  if (g_curOriginIndex < 0 || g_curOriginIndex >= kOriginsPerLayer) return {};
  return g_originTable[static_cast<std::size_t>(g_curLayer)][static_cast<std::size_t>(g_curOriginIndex)];
}

void ResetAppState() {
  g_drawingHeader = handover::DrawingHeader{};
  g_colorTable = handover::ColorTable{};
  std::memset(g_textBuffer, 0, sizeof g_textBuffer);
  g_dropBarePoint = 0;
  g_valuePairCount = 0;
  g_valuePairA = g_valuePairB = 0.0;
  g_lastDistance = g_lineLength = 0.0;
  g_figureTableSelector = 0;
  g_curLayer = 0;
  g_figureAttribute = 0;
  g_curFigure = g_savedFigure = FigureRecord{};
  g_undoSaved = 0;
  g_figureStore.Release();
  g_figureStore.full = false;
  g_curveTable.fill(CurveRecord{});
  g_curveCount = g_curCurveIndex = 0;
  g_curCurveRecord = CurveRecord{};
  TextRecord freeText;
  freeText.layer = kTextRecordFree;
  g_textRecords.fill(freeText);
  g_textRecordBank.fill(freeText);
  g_surfaceIndexTable = {};
  g_machiningIndexTable = {};
  g_layerViews.fill(LayerViewRecord{});
  for (auto& layer : g_originTable) layer.fill(Vec2{});
  g_originCount.fill(0);
  g_layerOriginIndex.fill(0);
  g_shrinkRate = g_moveRate = g_joinTolerance = g_showIpPoint = 0.0;
  g_viewSettingD1 = g_viewSettingD2 = 0.0;
  g_cadByLayer = g_dxfCompound = g_cadByColor = 0;
  g_showDashed = g_showChain1 = g_showChain2 = 0;
  g_viewSettingI1 = g_viewSettingI2 = g_viewSettingI3 = 0;
  g_viewSettingFlag1 = g_viewSettingFlag2 = 0;
  g_dimensionStyle = DimensionStyle{};
  g_arrowWingVectors = {};
  g_dimTextSlider = 0;
  FocusedEditIndex = 0;
  PaletteColors.fill(0);
  PenTable.fill(platform::Pen{});
  g_beepOff = 0;
}

}  // namespace dorn
