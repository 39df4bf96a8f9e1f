#pragma once
// The subprogram-call words of "CALL_ON" (command 0x7800): set by the call
// handler of the interpreter, read by the contour routines of the engine.
// They live in EngineState (member `call`); the call record itself is save
// slot 551 (RunContext::CallRecord).
//
// The call record, an NcElement-shaped record: d0 the current value of the
// value-stepping kinds, d1 the current value of kinds 2, 18 and 258, d4 the
// pair (call index, call extra), d5 the pair (pass kind, call flags), both
// packed as FixedPointPair.
#include <array>
#include <cstdint>

#include "shared/handover/nc_element.h"

namespace qup {

struct CallWords {
  using NcElement = handover::NcElement;

  // ---- what the contour routines read
  double CallValue = 0.0;  // the value of the pass being run (depth or offset)
  int CallStart = 0;       // the call's stored element range
  int CallEnd = 0;
  // The call code of the running call: 17 or 18 (kinds 0 and 1), 49 or 50
  // (kinds 2, 17, 18); the contour routines call it the call state.
  int CallState = 0;
  int CallLimitIndex = 0;  // table index of the call command (its d1..d3 bound the offset)

  // ---- the call handler's own words
  int CallRepeatCount = 0;  // raised by every call, lowered when one finishes
  int CallMode = 0;         // 1 kind 0, 2 kind 1, else 0
  int SteppingWord = 0;     // 0x10 value stepping, 0x1 the second value
  int IntersectionKind = 0;
  int OptionWord = 0;  // the command's int1; bit 0x8000 a descending call reached its end
  double StepValue = 0.0;
  double IntersectionValue = 0.0;  // the line's position of kinds 17/18 minus the start value
  int IntersectionLastRun = 0;     // the pass at the final value has been set up
  int SecondValueSwitch = 0;
  int RotationCallSwitch = 0;
  int DescendingFlag = 0;
  std::uint32_t RecordedDepth = 0;  // the interpreter's depth when the call began
  int CallIndex = 0;                // the call command's table index
  int CallExtra = 0;
  double SavedCallStart = 0.0;  // the command's d1 and d3 kept by ResetCallState
  double SavedCallEnd = 0.0;
  std::array<double, 2> CallOffsets{};
  std::array<NcElement, 4> SavedCallFrames{};
  int CallPassWord = 0;  // 0xFFFF after a pass of a call with pass totals
  int AngularSwitch = 0;

  // The contour loop's result word: 0xFFFF while a set-up pass holds the
  // overrun, 2 a replay pass; a call group repeats only while it is 0 or 2.
  int ContourPassWord = 0;
};

}  // namespace qup
