#pragma once
// Editing a curve through points: the four edits of the "カーブの編集"
// commands arm the pick of a point-group curve; the pick takes its points
// into the work blocks (19 the picked figure, 20.. its group), and the edit
// then deletes the curve or rebuilds it from the edited points.
#include "platform/device_context.h"

namespace dorn {

// The point-group edits (g_pointGroupEdit).
inline constexpr int kPointGroupAdd = 640;
inline constexpr int kPointGroupReplace = 650;
inline constexpr int kPointGroupDelete = 660;
inline constexpr int kPointGroupDeleteCurve = 690;

// Commands 33048-33051: an undo snapshot, the edit remembered, a beep, and
// pick state and prompt 630.
void BeginPointGroupEdit(int mode);
// The routing of the point-group family: 33048-33051 begin their edit;
// 33009 opens the "カーブの編集" menu of the four and begins the chosen one.
void RoutePointGroupCommand(int id);
// The "カーブの編集" popup menu at the cursor: the chosen edit's command id
// (33048-33051), or 0 when it was closed.
int ShowCurveEditMenu();

// A click in pick state 630: the point-group figure under the cursor and
// its group are taken; the curve is deleted (690), or the pick state
// becomes the edit's so that the next click picks a point of the group.
void PointGroupInput(platform::DeviceContext& dc);

// Deletes every figure of the selected table that carries the number of the
// edited curve (block 19); unless the code is 690, the work points (blocks
// 20..g_workCount-1) are appended again with a new number and the curve is
// built through them. Returns the figure count of the table.
int FinishCurveThroughPoints(int code);

}  // namespace dorn
