#pragma once
// EngineState: the tool-path engine's program-wide working words (range
// words, result word, offsets, accumulators, the stop word). Routines hand
// values to each other through these fields rather than through arguments.
// The job start resets it (nothing here is allocated per run).
//
// Words that one storage carries under several names are one member here,
// with reference aliases in RunContext, never two variables.
#include <cstdint>

#include "kelto_qup/engine/call_words.h"
#include "kelto_qup/engine/contour_words.h"
#include "kelto_qup/engine/engine_core_words.h"
#include "kelto_qup/engine/stepping_words.h"

namespace qup {

struct EngineState {
  // The run-stop word: 0 while a run goes on, kStopRun (0xFFFF) to stop,
  // kStopSeen (0x8FFF) once the stop poll has noticed a pending stop.
  int AbortFlag = 0;

  // Index word of the table copies (load or store ElementTable[ElementIndex])
  // and result word of the engine routines: 0xFFFF ready or found, 0 not.
  int ElementIndex = 0;

  // The element range of the current command: RangeStart (integer part of
  // the command's value 4, or the element last loaded into R1), RangeEnd
  // (millionths of value 4, the last element), RangeStep (integer part of
  // value 5, the walking step), RangeStepFraction (millionths of value 5).
  int RangeStart = 0;
  int RangeEnd = 0;
  int RangeStep = 1;
  int RangeStepFraction = 0;
  // Option bits of the range: bit 8 walks the range backwards.
  int RangeOptions = 0;

  // The element-count word of a range walk: last - start while it runs.
  int RangeElementCount = 0;
  // What MeasureElementRange leaves beside its result: the X of the range's
  // first start point and the X of its last end point.
  double RangeFirstStartX = 0.0;
  double RangeLastEndX = 0.0;
  // Where PointAtLength leaves its result: the point and the unit tangent.
  double WalkPointX = 0.0;
  double WalkPointY = 0.0;
  double WalkTangentX = 0.0;
  double WalkTangentY = 0.0;
  // The length of the element last added by AddElementLength.
  double ElementLength = 0.0;

  // The engine's move flag and move word: the shell's painting changes them,
  // so the run saves them before and restores them after every event drain.
  int MoveFlag = 0;
  int MoveWord = 0;
  // The engine's second angle word (degrees), reported with each extent.
  double SecondAngle = 0.0;
  // Non-zero once the interpreter has passed the end of the data.
  int EndOfDataFlag = 0;

  // ---- tool-path engine core words (filled by the engine's own files)
  // Declared with their meanings in engine_core_words.h.
  EngineCoreWords core;
  // The element stepper, the motion machine, the per-element motion and the
  // section offset pass (stepping_words.h); the "CALL_ON" words (call_words.h).
  SteppingWords stepping;
  CallWords call;
  // The contour run: set-up, corners, element paths, passes (contour_words.h).
  ContourWords contour;
};

}  // namespace qup
