#pragma once
// The command state: the few program-wide words that the view (clicks, keys,
// painting) and every pick machine of the drawing commands read and write.
// Each word has one storage; its owner is named beside it. The view and the
// command engines live in folders above the kernel, so the words live here.
#include <cstdint>

#include "kelto_dorn/app/figure_record.h"

namespace dorn {

extern int g_curCommand;   // the active command id (0 none, 0xFFFF after the layer tiles were left)
extern int g_commandStep;  // step counter: low 10 bits count inputs; 0x2000, 0x4000, 0x8000 mark the pending pick
extern int g_pickState;    // what the next click means (0 none)
extern int g_snapMode;     // 0 figure, 1 mouse point, 2 intersection, 3 end or mid point
extern Vec2 g_pickPoint;   // the last click in drawing coordinates (mm)
extern int g_pickIndex;    // figures picked in this step (0, 1, 2; 0xFFFC while an intersection is chosen)
extern int g_pickResult;   // last pick: 1 found, 2 two intersection candidates, 15 or 0xFFFF nothing
// The pick state to go back to after an intersection or end-point pick (4, 46, ...).
extern int g_returnPickState;
// The figure picked before (a following pick must not report it) and the
// figure under test; -1 when none. Every new pick state clears both.
extern int g_pickExcludeIndex;
extern int g_pickTestIndex;
// Automatic intersection recognition: the system record's word (+340).
extern std::int32_t& g_autoIntersection;
extern int g_abortCount;  // non-zero while a long operation runs; Esc counts it up
extern int g_workCount;   // length of the work list (segment blocks 0 .. g_workCount - 1)
// A finished command starts again: the system record's word (+308), bit 0.
extern std::int32_t& g_continuousMode;
extern int g_copyMode;  // transforms keep the originals (command 32848)
// The command a finished command goes back to: the definition list 32966
// after a definition was stored, or the curve command that borrowed a figure
// step (32907); 0 when a command was started on its own.
extern int g_returnCommand;
extern int g_lineType;  // broken-line bits of new figures: 0, 0x1000, 0x2000 or 0x4000
// The shared path and list text buffer (CP932): paths, list texts and the
// machine name a machine choice returns.
inline constexpr int kPathBufSize = 1024;  // also g_listTextBuffer's (app_state.h)
extern char g_pathBuf[kPathBufSize];

// Back to no command: every word above that is not part of the system record.
void ResetCommandState();

}  // namespace dorn
