#pragma once
// Program-wide state of the drawing commands: the pick filter of the hit
// test, what the search under the cursor found, the view's construction
// choice (work pick mode, candidate page, pending choice), the curve
// selection that the curve commands and the pickers share, and the measures
// left behind for their callers.
//
// The command words the view shares with every engine (g_curCommand,
// g_pickState, g_pickPoint, g_pickIndex, g_workCount, g_copyMode, ...) are in
// kelto_dorn/app/command_state.h; g_pickTolerance is the view's
// (kelto_dorn/app/view_state.h); the current curve is g_curCurveIndex
// (kelto_dorn/app/app_state.h).
//
// Declared here, defined in drawing_state.cpp. ResetDrawingState() brings all
// of it back to the state before start-up (start-up and the tests call it).
#include <array>
#include <string>
#include <vector>

#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/curve_record.h"
#include "platform/geometry.h"

namespace dorn {

// --- Hit test filter ---------------------------------------------------------
// Non-zero: only figures whose origin is the current origin of the current
// layer can be hit. The pickers of the figure store clear it; other callers
// set it for one search.
extern int g_pickSameOriginOnly;
// The index of the figure under test and of a figure that must not be
// reported (g_pickTestIndex, g_pickExcludeIndex) are command words: a hit
// counts only while the two differ.

// --- What the search under the cursor found ----------------------------------
// The found index: a figure index of g_pickFoundTable, 4096 + i for the IP
// point of curve i, 77777 / 88888 for the X / Y axis line of the current
// origin, 89001-89004 for the sides of the work box; -31 before a search.
extern int g_pickFoundIndex;
// The figure table of a found figure (a layer or 90), -1 for the others.
extern int g_pickFoundTable;

inline constexpr int kFoundNothing = -31;
inline constexpr int kFoundIpPointBase = 4096;
inline constexpr int kFoundAxisX = 77777;
inline constexpr int kFoundAxisY = 88888;
// Found indexes from here up are the axes and the work box sides.
inline constexpr int kFoundAxesFirst = 77770;
inline constexpr int kFoundWorkBoxSide1 = 89001;

// --- The view's construction choice --------------------------------------------
// m_workPickMode: what a click on a work figure chooses.
inline constexpr int kWorkPickAmong = 0;            // any candidate of blocks 6-21
inline constexpr int kWorkPickTwoFigures = 0x3057;  // the nearer of blocks 6 and 7
inline constexpr int kWorkPickTwoLists = 0x7016;    // the nearer of the lists at 10000 and 20000

struct DrawingViewState {
  int m_workPickMode = kWorkPickAmong;
  // Which candidates the highlight shows: 0 blocks 6-21, 1 blocks 6-9,
  // 2 blocks 10-15, 3 blocks 16-21 (F7, F8, F9 choose 1-3).
  int m_candidatePage = 0;
  // 1 while the candidates of a construction wait for the choosing click.
  int m_pendingChoice = 0;
  // 13999 while CurveLengthToPoint walks a curve of more than four figures
  // (an arc sweep above 359 degrees then counts as 0), else 0.
  int m_longCurveMarker = 0;
  // The length that MeasurePickDistance leaves for the figure analysis (mm).
  double m_analysisLength = 0.0;
  // Set while a delete of every curve is pending (the curve list's ALL
  // choice): curve highlights draw nothing then.
  int m_clearAllCurves = 0;
};
extern DrawingViewState g_drawingView;

// --- Curve selection (owned by the curve commands) --------------------------
// The selected curve indexes, 0xFFFF after the last; g_workCount counts them
// while curves are picked. One storage with the definition list's chosen
// rows: defined with the machining state (machining_state.h).
extern std::array<int, kCurveTableSize> g_selectionList;
// 598 while a curve command acts on every curve of g_selectionList, else 0.
extern int g_listMode;
inline constexpr int kListModeAll = 598;

// --- Curve command state (owned by the curve command engine) -----------------
// The id the curve engine was last begun with; kept across the steps of one
// command (tells 32905 from 33126 and 33127, and 32907 from 32910).
extern int g_curveCommandId;
// 50 together with g_pickState while a curve is to be picked.
extern int g_pickState2;
inline constexpr int kPickCurve = 50;
// A curve index and the curve count kept across a two-stage command.
extern int g_markedCurve;
extern int g_markedCount;
// 6144 while the modeless curve list is open, else 0.
extern int g_curveListOpen;
inline constexpr int kCurveListOpen = 6144;
// The requested point-group edit: 640 add, 650 replace, 660 delete a point
// group, 690 delete the curve.
extern int g_pointGroupEdit;

// The names chosen in the curve list (CP932, 64 bytes used of each slot); an
// empty first byte ends the list. The list's ALL choice leaves an empty name
// whose second byte is kAllCurvesMarker.
inline constexpr int kCurveNameSlots = 1024;
inline constexpr int kCurveNameSlotSize = 128;
inline constexpr char kAllCurvesMarker = 17;
extern std::array<std::array<char, kCurveNameSlotSize>, kCurveNameSlots> g_curveNameBuffers;

// The state of the curve command engine that lives between clicks.
struct CurveEngineState {
  // The view's radius proposal of the tangent-circle commands (mm).
  double promptValue = 10.0;
  // -1 on every entry: no figure under the cursor.
  int noFigureUnderCursor = -1;
  // Set while a curve command runs.
  int commandRunning = 0;
  // The figure position stepped through by the curve analysis (32912) and
  // its running length (mm).
  int analysisIndex = 0;
  double analysisLength = 0.0;
  // The count of development records entered (32933).
  int developedCount = 0;
  // Which kind of pick the view should make for the command (1, 3, 7).
  int viewPickKind = 0;
  // The input mode the point steps ask for: 1 mouse, 2 intersection, 3 any.
  int inputMode = 0;
  // The hole diameter entered for a hole-point curve (mm).
  double holeDiameter = 0.0;
  // The first value of a two-prompt transform (angle in degrees, scale in
  // percent) while its second prompt runs; 0 before it was given.
  int transformStage = 0;
  double transformValue = 0.0;
};
extern CurveEngineState g_curveEngine;

// --- Measures ---------------------------------------------------------------
// The length that FigureLength, ArcLength and PartialLengthToPoint leave
// behind for their callers (mm).
extern double g_lastLength;

// --- Figure command engine ------------------------------------------------------
// The result of the last input dialog: 0 taken, 1 pick requested, -2
// cancelled, 99 closed; negative after the first step releases the button.
extern int g_inputResult;
// The figure that delete, reverse and clip-connect work on.
extern int g_editFigureIndex;
// 1 while the selection is a BOX (2 a polyline box).
extern int g_boxMode;
// The temporary figure on screen.
inline constexpr int kBandNone = 0;
inline constexpr int kBandLineFromPoint = 22;  // last entered point to the cursor
inline constexpr int kBandCircleAtCursor = 33;  // circle of the entered radius about the cursor
inline constexpr int kBandScreenLine = 302;     // between two stored screen points
inline constexpr int kBandCurveMove = 103;      // the current curve moved with the cursor
inline constexpr int kBandSelectionBox = 804;   // a selection box
extern int g_rubberBandKind;

// The inputs a figure command has collected so far; every command start
// clears them. The polyline keeps up to kPolylinePoints points.
inline constexpr int kPolylinePoints = 480;
struct CommandInputs {
  std::array<Vec2, kPolylinePoints> points{};  // entered points, relative to the current origin
  int pointCount = 0;
  std::array<double, 4> values{};  // entered values (radius, angle, distance ...)
  int pickedFigures = 0;           // figures collected for a transform (blocks 70 on)
  std::array<int, 4> pickedIndex{};  // figure index of the pick in blocks 0-3
  int pickedTable = 0;               // the table those figures are in
  // The point input of a curve through points: its first point's figure
  // index once the input has begun (-1 before).
  int curvePointsFirst = -1;
};
extern CommandInputs g_inputArea;

// The figure engine's members of the view.
struct FigureEngineView {
  int pressedCommand = 0;  // the command whose bar button is shown pressed
  int lastPrompt = 0;      // the code of the prompt shown last
  std::string caption;     // the composed title (CP932)
  // The rubber band as it is on screen: drawn at bandCursor (client pixels).
  bool bandDrawn = false;
  platform::Point bandCursor;
  Vec2 bandAnchor;  // the last entered point (absolute, mm)
  platform::Point bandFrom, bandTo;  // the screen line of band 302
  // The pending move offset (clip-connect: the last connection point).
  Vec2 pendingMove;
  // The work list of the clip-connect: the figure indexes recorded from
  // block 5 on; clipWorkCount entries (it starts at 5).
  int clipWorkCount = 5;
  std::vector<int> clipEntries;
  FigureRecord chainEnd;       // the clip-connect chain's last figure, as stored
  int keepFlag = 0;            // the next connected figure is appended
  int connectColour = 1;       // the colour picked figures of the clip-connect show in
  int colourAlternation = 0;   // 33224 starts 33104 and 33105 alternately
  // The completed selection box: centre in client pixels and in drawing
  // coordinates, and its five outline points (the first repeated last).
  platform::Point boxCentrePixel;
  Vec2 boxCentre;
  std::array<Vec2, 5> boxOutline{};
  int ctrlCollected = 0;       // figures collected with CTRL
  int restartCommand = 0;      // a finished command waiting to start again (continuous mode)
  int depth = 0;               // engine calls on the stack
};
extern FigureEngineView g_figureView;

void ResetDrawingState();

}  // namespace dorn
