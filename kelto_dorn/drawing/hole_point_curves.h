#pragma once
// Hole-point curves (command 32908, and 32910 on a curve of hole points):
// each pick of a hole circle (its centre) or of a point adds a hole record
// (kind 8) behind the five reserved work blocks; the right button registers
// the holes as a curve of kind 1, or appends them to the marked curve. The
// holes inside a BOX are taken at once in drilling order.
#include "platform/device_context.h"

namespace dorn {

// The first work block that holds a hole; 0-4 are the pick's own.
inline constexpr int kFirstHoleBlock = 5;
// Steps of the command besides a pick (1).
inline constexpr int kHoleStepFinish = 2;
inline constexpr int kHoleStepBox = 10;
inline constexpr int kHoleStepBoxTaken = 11;

// The first step: the holes are picked from block 5 on (a curve being
// appended to has its holes there already when `keepHoles` is set).
void BeginHolePoints(bool keepHoles);
// Every later entry of the command, by g_commandStep; true when the command
// finished.
bool RunHolePointStep(platform::DeviceContext* dc);
// The holes in blocks 5..g_workCount-1 become a hole-point curve (or the
// marked curve's holes under 32910). False when there was nothing to
// register or the registration was refused or cancelled.
bool RegisterHolePoints(platform::DeviceContext* dc);

}  // namespace dorn
