#pragma once
// The mouse half of the view: a left click becomes g_pickPoint and is
// dispatched on g_pickState into the pick machines of the command engines; a
// right click steps back one input or ends the command; moves draw the
// coordinate read-out and the XOR feedback; the wheel zooms; and the snap,
// cancel and end-of-input commands act on the same state. A state whose
// engine entries are not installed does nothing.
//
// Files: pick_dispatch.cpp (left clicks by state), pick_right.cpp (right
// clicks), pick_steps.cpp (EndPick, ResumePickCommand and the steps the
// dispatch shares), view_mouse.cpp (events, moves, drags, the wheel, the
// tiles), snap_commands.cpp.
#include "kelto_dorn/app/figure_record.h"
#include "platform/device_context.h"
#include "platform/geometry.h"

namespace dorn {

class CKelView;

// Pick states the view itself names.
inline constexpr int kPickStateZoomBox = 1;
inline constexpr int kPickStateFreePoint = 4;
inline constexpr int kPickStateIntersection = 6;
inline constexpr int kPickStateWorkFigure = 7;
inline constexpr int kPickStatePointOnFigure = 8;
inline constexpr int kPickStatePolylineBox = 22;
inline constexpr int kPickStateHoleCircle = 66;
inline constexpr int kPickStateEndPoint = 80;
inline constexpr int kPickStateJoin = 350;
inline constexpr int kPickStateMoveTarget = 616;
inline constexpr int kPickStateDimensionPreview = 4101;
inline constexpr int kPickStateDimCross = 33154;
inline constexpr int kPickStateDimLine = 33155;

// The step counter's input count; the bits above mark the pending pick.
inline constexpr int kStepCountMask = 0x3FF;
inline constexpr int kStepEndPointSnap = 0x4000;
// g_pickIndex while one of two intersection points has to be chosen.
inline constexpr int kChoosingIntersection = 0xFFFC;
// The work pick mode in which a chosen work figure ends a curve command.
inline constexpr int kWorkPickCurveResult = 0x7016;
// The colour picked figures are highlighted in.
inline constexpr int kHighlightColour = 1;

// What the click handlers share: the view, a prepared device context and
// whether CTRL was held.
struct ClickContext {
  CKelView& view;
  platform::DeviceContext& dc;
  bool ctrl = false;
};

// --- events (view_mouse.cpp) ---
void OnLeftButtonDown(CKelView& view, platform::Point p, unsigned modifiers);
void OnRightButtonDown(CKelView& view, platform::Point p);
void OnMouseMoveTo(CKelView& view, platform::Point p);
void OnButtonUp(CKelView& view, bool left);
void OnMouseWheel(CKelView& view, platform::Point p, int delta);
// The layer tile under a client point (0-15), or -1 outside the grid.
int OverviewTileAt(CKelView& view, platform::Point p);

// --- left and right clicks by pick state ---
void DispatchLeftClick(ClickContext& c, platform::Point p);
void DispatchRightClick(ClickContext& c);

// True while `command` is a machining definition command whose picks go to
// the definition flow's pick handler (installed).
bool TakesDefinitionPicks(int command);

// --- steps the dispatch shares (pick_steps.cpp) ---
// Steps the machine: g_commandStep + 1 and the figure engine with the active
// command; a negative result without CTRL ends the pick.
void EnterMachine(ClickContext& c);
// The same with a given command id (its own step taken as is).
void EnterMachineWith(ClickContext& c, int command);
// Back to no command: the figure engine's reset, or the least of it (the
// command words cleared, prompt 0) while that engine is not installed.
void ResetViewCommandInput();
// The curve engine with the active command.
void EnterCurveMachine();
// The join step of the curve join; 32826 when a figure was appended, else 0.
int JoinNextFigure(ClickContext& c);
// F5 and a click on the chain end during the join registration: the last
// joined figure is taken back.
void TakeBackJoinedFigure(ClickContext& c);
// The free point of the click, relative to the current origin, as the
// command's point.
void TakeFreePoint(ClickContext& c);
// A point of the drawing (absolute) as the commands take it: relative to the
// current origin, however it was found (a free click, an intersection, a
// snapped end or centre).
Vec2 FromCurrentOrigin(Vec2 absolute);
// The intersection of the two picked figures (work slots 0 and 1).
void PickSecondFigurePoint(ClickContext& c);
// Draws segment block i in its own colour (or in the given colour).
void DrawBlock(platform::DeviceContext& dc, int block, int colour = -1);
// Draws a point mark at a drawing point (absolute, mm).
void DrawPointAt(platform::DeviceContext& dc, const Vec2& point, int colour);
// Point kinds: a point, a hole point, the point-group points.
bool IsPointKindOf(int kind);
// The pending choice of two intersection points (absolute: first in start,
// second in end).
FigureRecord& PendingIntersectionChoice();
// The prompt of the point-on-figure states after a click.
void ShowPointPickPrompt();

// --- snap, cancel and end-of-input commands (snap_commands.cpp) ---
void OnSnapMouse(CKelView& view);         // 32998
void OnSnapIntersection(CKelView& view);  // 32999
void OnSnapEndPoint(CKelView& view);      // 33001
void OnToggleAutoIntersection();          // 33222
void OnCancelPick(CKelView& view);        // 33017 and Esc
void OnEndInput(CKelView& view);          // 33225
void OnToggleDimensionExtension();        // 33257
void OnToggleOverwrite();                 // 33055

}  // namespace dorn
