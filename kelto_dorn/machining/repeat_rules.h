#pragma once
// The repeat conditions of a process step (繰り返し): two ranges at step
// offsets 328 and 368 (RepeatBlock: flags with bit 0 active and, in range 1,
// bit 15 escape-corner cutting; UNI figure; style; start, cut per pass, end),
// the cutting direction pair (8, 208), reverse travel (32), the ZONE figures
// with their directions (144/148, 200/204) and trim (152), the feed while
// cutting in (216). The window-free rules of the two repeat dialogs.
#include "kelto_dorn/machining/step_condition.h"

namespace dorn {

// Styles of a range.
namespace repeat_style {
inline constexpr int kOff = 0;
inline constexpr int kXY = 1;
inline constexpr int kZ = 2;
inline constexpr int kSlope = 3;
inline constexpr int kScale = 4;
inline constexpr int kZone = 5;
inline constexpr int kUX = 6;
inline constexpr int kUZ = 7;
inline constexpr int kXYPercent = 8;
inline constexpr int kZPercent = 9;
inline constexpr int kUniPercent = 10;
}  // namespace repeat_style

inline constexpr std::int32_t kEscapeCornerBit = 0x8000;

// Cutting direction: 0 周回, 1 一定, 2 往復.
enum class CutDirection { Around, OneWay, ToAndFro };
CutDirection DirectionOf(const StepCondition& s);
// Sets the pair; 往復 also clears reverse travel.
void SetDirection(StepCondition& s, CutDirection direction);
// 逆走行: toggles, but stays off under 往復.
void ToggleReverseTravel(StepCondition& s);
// 反転: a negative direction word becomes +1, anything else -1.
void FlipZoneDirection(std::int32_t& word);
// 逃がしコーナー切削 on range 1's flags: a set bit leaves the low 12 bits,
// a clear one is set.
void ToggleEscapeCorner(RepeatBlock& range1);

// A range without a cut per pass is inactive; range 1 stays active while
// reverse travel is on. Shared by the repeat, section-cut and area-cut
// dialogs.
void NormaliseRepeatRanges(StepCondition& s);

// The range the 310 dialog opens on: the first with a cut, else range 1.
int OpeningRepeatRange(const StepCondition& s);

// RESET of the repeat dialogs (machining: 310, else 313). Range 2's flags,
// reverse travel, the feed and the OFFSET section word stay.
void ResetRepeatConditions(StepCondition& s, bool machiningDialog);

// Closing (登 録 and Esc): both ranges marked active (the 310 dialog keeps
// range 1's upper flag bits), then normalised.
void MarkRangesForClose(StepCondition& s, bool machiningDialog);

}  // namespace dorn
