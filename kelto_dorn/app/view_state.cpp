// State of the main view's transform and painting: see view_state.h.
#include "kelto_dorn/app/view_state.h"

namespace dorn {

namespace {
constexpr double kStartLayerScale = 50.0;   // percent
constexpr double kStartGridPitch = 9999.0;  // mm: no grid pitch set yet

constexpr std::array<double, kLayerCount> FilledLayers(double value) {
  std::array<double, kLayerCount> a{};
  for (double& v : a) v = value;
  return a;
}
}  // namespace

std::array<double, kLayerCount> g_layerScale = FilledLayers(kStartLayerScale);
std::array<double, kLayerCount> g_layerOffsetX{};
std::array<double, kLayerCount> g_layerOffsetY{};
std::array<double, kLayerCount> g_layerGridPitch = FilledLayers(kStartGridPitch);

int g_projection = kProjectionXY;
std::array<double, 2> g_arrowAngles{};
Vec2 g_projectionCentre;
std::array<double, 9> g_projectionMatrix{1, 0, 0, 0, 1, 0, 0, 0, 1};

int g_layerOverview = 0;
int g_overviewFirstLayer = 0;
std::array<int, kLayerCount> g_overviewMarks{};
int g_layerDeleteMarking = 0;

int g_pickApertureSize = 1;
double g_pickTolerance = 1.0;

std::int32_t& g_showAxes = g_drawingHeader.showAxes;
std::int32_t& g_showFigures = g_drawingHeader.showFigures;
std::int32_t& g_printColourMode = g_drawingHeader.printOptions;
int g_showDimensions = 1;
int g_showCurveArrows = 0;
// Figures made under another origin of the layer stand out in these colours.
constexpr int kDefaultOtherOriginColourLow = 13;
constexpr int kDefaultOtherOriginColourHigh = 14;
int g_otherOriginColourLow = kDefaultOtherOriginColourLow;
int g_otherOriginColourHigh = kDefaultOtherOriginColourHigh;
// The dimension line colour of a new dimension style.
constexpr int kDefaultWorkDimColour = 21;
int g_workDimColour = kDefaultWorkDimColour;

double& g_workSizeX = g_drawingHeader.workSizeX;
double& g_workSizeY = g_drawingHeader.workSizeY;
double& g_workOffsetX = g_drawingHeader.originOffsetX;
double& g_workOffsetY = g_drawingHeader.originOffsetY;
std::int32_t& g_workOriginPosition = g_drawingHeader.workOriginPosition;
std::int32_t& g_workBoxHidden = g_drawingHeader.workBoxHidden;
FigureRecord g_workBoxFigure;

ViewState g_view;

bool IsPrinting() { return g_view.m_printing; }
bool IsDragging() { return g_view.m_zoomDrag != 0 || g_view.m_panDrag != 0 || g_view.m_wheelZoom != 0; }

void ResetViewState() {
  // Until a drawing brings its own, every layer starts like a reset layer
  // view record: 50 percent, no pan, and no grid pitch set.
  g_layerScale.fill(kStartLayerScale);
  g_layerOffsetX.fill(0.0);
  g_layerOffsetY.fill(0.0);
  g_layerGridPitch.fill(kStartGridPitch);
  g_projection = kProjectionXY;
  g_arrowAngles = {0.0, 0.0};
  g_projectionCentre = {};
  g_projectionMatrix = {1, 0, 0, 0, 1, 0, 0, 0, 1};
  g_layerOverview = 0;
  g_overviewFirstLayer = 0;
  g_overviewMarks.fill(0);
  g_layerDeleteMarking = 0;
  g_pickApertureSize = 1;
  g_pickTolerance = 1.0;
  g_showDimensions = 1;
  g_showCurveArrows = 0;
  g_otherOriginColourLow = kDefaultOtherOriginColourLow;
  g_otherOriginColourHigh = kDefaultOtherOriginColourHigh;
  g_workDimColour = kDefaultWorkDimColour;
  g_workBoxFigure = FigureRecord{};
  g_view = ViewState{};
}

}  // namespace dorn
