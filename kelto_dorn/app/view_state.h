#pragma once
// State of the main view's transform and painting: the per-layer zoom, pan
// and grid, the projection, the layer overview, the pick tolerance, the
// paint switches and the work settings the painters read, and the view's own
// transform and paint members (g_view).
//
// Declared here, defined in view_state.cpp. ResetViewState() brings all of it
// back to the state before start-up.
#include <array>
#include <cstdint>
#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_record.h"
#include "platform/geometry.h"

namespace dorn {

// --- Per-layer view state (stored with the drawing) ------------------------
extern std::array<double, kLayerCount> g_layerScale;      // percent: at 100 one mm is one view unit
extern std::array<double, kLayerCount> g_layerOffsetX;    // pan X, view units
extern std::array<double, kLayerCount> g_layerOffsetY;    // pan Y, view units (positive moves up)
extern std::array<double, kLayerCount> g_layerGridPitch;  // mm

// Zoom limits of the drag zoom (percent).
inline constexpr double kMinDragScale = 2.0;
inline constexpr double kMaxDragScale = 1999000.0;
// A pan step is taken back when offset + centre would exceed this (view units).
inline constexpr double kMaxPanCentre = 1999000.0;

// --- Projection ------------------------------------------------------------
inline constexpr int kProjectionXY = 0;
inline constexpr int kProjectionXZ = 1;
inline constexpr int kProjectionYZ = 2;
inline constexpr int kProjectionArrow = 3;
extern int g_projection;
// Arrow view: [0] turn about Z, [1] tilt about X (degrees).
extern std::array<double, 2> g_arrowAngles;
// The point the XZ, YZ and arrow views turn and shift about (mm).
extern Vec2 g_projectionCentre;
// 3 x 3, stored column by column: element (row r, column c) at [c * 3 + r].
extern std::array<double, 9> g_projectionMatrix;

// --- Layer overview (16 tiles) ---------------------------------------------
inline constexpr int kOverviewPending = 6666;  // the next paint is the overview
inline constexpr int kOverviewShown = 1;       // one overview paint has been made
extern int g_layerOverview;
extern int g_overviewFirstLayer;                      // 0, 4, 8, 12 or 16
extern std::array<int, kLayerCount> g_overviewMarks;  // 1: the layer is marked for deletion
extern int g_layerDeleteMarking;                      // 1 while tiles are marked for deletion

// --- Picking ---------------------------------------------------------------
extern int g_pickApertureSize;  // 1..3
extern double g_pickTolerance;  // mm

// --- Paint switches --------------------------------------------------------
extern std::int32_t& g_showAxes;  // grid, axes, origins, work box
extern std::int32_t& g_showFigures;
extern std::int32_t& g_printColourMode;  // 0x1000 all in colour 0, 0x2000 dimmed
inline constexpr std::int32_t kPrintAllColourZero = 0x1000;
inline constexpr std::int32_t kPrintDimmed = 0x2000;
extern int g_showDimensions;   // 1: texts and dimensions are drawn
extern int g_showCurveArrows;  // non-zero: curve arrows; 0x8000 also names
inline constexpr int kCurveArrowNames = 0x8000;
extern int g_otherOriginColourLow;   // figures of another origin, layer tables 0..8
extern int g_otherOriginColourHigh;  // the same above table 8
extern int g_workDimColour;          // the work box's size dimensions

// --- Work settings ---------------------------------------------------------
extern double& g_workSizeX;
extern double& g_workSizeY;
extern double& g_workOffsetX;
extern double& g_workOffsetY;
extern std::int32_t& g_workOriginPosition;  // 0 centre, 1..4 upper right, upper left, lower left, lower right
extern std::int32_t& g_workBoxHidden;
// The work box corners C1..C4 in start, end, centre and dir; origin (0, 0).
extern FigureRecord g_workBoxFigure;

// --- The view's transform and paint members --------------------------------
// The polyline box takes at most this many corners.
inline constexpr int kPolylineBoxPoints = 62;
// Pen states of m_curPen besides a palette index.
inline constexpr int kPenUnknown = -1;
inline constexpr int kPenNeedsOwn = -44;
inline constexpr int kPenMade = -11;

struct ViewState {
  // Transform.
  double m_printFactor = 1.0;  // printer page / screen client area while printing
  double m_unitFactor = 4.0;   // logical units per view unit
  double m_originX = 0.0;      // logical position of the model point (0, 0)
  double m_originY = 0.0;
  double m_unitsPerMm = 1.0;  // logical units per model millimetre
  int m_clientWidth = 0;      // pixels
  int m_clientHeight = 0;
  int m_extentX = 0;  // client size x print factor
  int m_extentY = 0;
  // Drags.
  int m_lastMouseX = 0;
  int m_lastMouseY = 0;
  int m_zoomDrag = 0;
  int m_panDrag = 0;
  int m_wheelZoom = 0;
  // Axis lines of the current origin and the grid step (logical units).
  platform::Point m_axisXStart, m_axisXEnd, m_axisYStart, m_axisYEnd;
  int m_gridStepX = 1;
  int m_gridStepY = 1;
  // Painting.
  int m_curPen = kPenUnknown;   // palette index of the selected PenTable pen
  int m_arrowCounter = 0;       // 500 at the start of each curve; 0 once its arrow is drawn
  int m_curveLabelOffset = 20;  // leader length of the next curve name (logical units)
  int m_skipPaintOnce = 0;      // the next paint is skipped
  bool m_printing = false;      // painting a printer page
  int m_blockCount = 0;         // segment blocks 5.. shown by the point-group curve commands
  Vec2 m_rememberedOrigin;      // the current origin at the last paint (mm)
  std::string m_fontFace;       // face of the view's text font (CP932; empty: the default face)

  // Input state of the view that the command engines read and set.
  // Box selection: corners in client pixels, the stage (0 none, 1 zoom box,
  // 4 a command's box) and the two tilt angles of a parallelogram (degrees).
  platform::Point m_boxStart;
  platform::Point m_boxEnd;
  int m_boxStage = 0;
  double m_tiltAngle1 = 0.0;
  double m_tiltAngle2 = 0.0;
  int m_boxKind = 0;             // the BOX commands' box: 1 rectangle, 2 polyline
  int m_zoomBoxReturnState = 0;  // the pick state the zoom box hands back to
  // The finished box of a command in drawing units, relative to the current
  // origin: its first and second corner (the move of state 40 is their
  // difference).
  Vec2 m_boxFirst;
  Vec2 m_boxSecond;
  Vec2 m_moveStart;  // the start of a two-point move (mm)
  // A point proposed by a click (an arc's centre) that the next click on
  // empty space accepts (mm).
  Vec2 m_proposedPoint;
  bool m_pointProposed = false;
  // The polyline box: corners relative to the current origin (mm).
  std::array<Vec2, kPolylineBoxPoints> m_polylineBox{};
  int m_polylineCount = 0;
  int m_rubberBandCount = 0;      // the rubber band's move counter; a redraw restarts it
  int m_crossHair = 0;            // 0 off; else moves counted, the cross-hair drawn past 5
  platform::Point m_crossHairAt;  // where the cross-hair was drawn last (client pixels)
  int m_placeByMouse = 0;         // presses of "mouse point" since the last redraw
  int m_ctrlKeyState = 0;         // negative when CTRL was held at the last click
  int m_twoPointMove = 0;         // the moves take their start and target as two points
  int m_angleReference90 = 0;     // 0xFFFF: the angle picks add 90 degrees
  int m_workFigureSwitch = 0;     // 32998 in the work-figure state toggles it
  int m_curveNameMode = 0;        // 50 when the curve-name input has just ended
  int m_curveContinue = 0;        // the curve command goes on without typed names
  int m_dimensionExtension = 0;   // 1: the dimension values' extension mode
  int m_overwrite = 0;            // the overwrite switch
  int m_originMoveMode = 0;       // the origin-move-on-screen mode is on
  int m_cadDisplayMode = 0;       // 0, 1 or 2: how CAD figures are shown
  int m_selectionIndex = kNone;   // the view's selected entry
  platform::Point m_lastCursor;   // the last mouse position (client pixels)
};
extern ViewState g_view;

// True while a printer page is painted (the print path of the painters).
bool IsPrinting();
// True while a zoom or pan drag runs (the paint is cut short then).
bool IsDragging();

void ResetViewState();

}  // namespace dorn
