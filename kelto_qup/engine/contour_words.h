#pragma once
// The words of a contour run: the set-up of a contour command and its lead
// element, the corner join, the element and corner paths with the pending
// linking move, and the pass driver. They live in EngineState (member
// `contour`), so the job start resets them with the rest of the engine.
#include <array>

#include "shared/handover/nc_element.h"

namespace qup {

// The pending linking move: straight moves that go on in one direction and
// one slope are collected here and written as one move.
struct PendingMoveRecord {
  std::array<double, 2> MoveStart{};  // where the move began (X, Y)
  std::array<double, 2> MoveEnd{};    // where it ends so far (X, Y)
  double MoveHeight = 0.0;            // the height (R1's d7) that goes with MoveEnd
  double MoveSlope = 0.0;             // slope of the merged moves, degrees
  double MoveBaseHeight = 0.0;        // height at MoveStart, the slope's base
  int MovePen = 0;                    // drawing pen of the move
  std::array<double, 3> MoveNormal{};  // tool normal at MoveEnd
  int MergedCount = 0;                 // moves that extended it
};

struct ContourWords {
  using NcElement = handover::NcElement;

  // ---- contour run set-up and lead element
  double ProcessOffset1 = 0.0;  // d1 of the running process start
  double ProcessOffset2 = 0.0;  // d2 of the running process start
  double CommandOffset = 0.0;   // d0 of the running contour command
  int AllowanceMode = 0;        // 0, 1 (flag 0x800) or 2 (flag 0x400)
  int CommandFlagsCopy = 0;
  int OneShotMark = 0;
  double CarriedValue5 = 0.0;  // the last non-zero d5 of a command (1e-6 by flag 0x100)
  NcElement ReferenceSlot{};
  // The job holds a 0xC4C4 element: the reference slot takes the command.
  int ReferenceFromCommand = 0;
  int LeadRangeFirst = 0;
  int LeadElementIndex = 0;
  std::array<double, 2> LastOutputPoint{};
  std::array<double, 2> LastCommandPoint{};
  int CompensationWord = 0;  // 0, 4 or 8 by the command's sub-type
  int ContourRunMark = 0;
  int RangeCommandIndex = 0;
  // The running contour command, copied at set-up: its d5 is the height of
  // the per-element motion (a missing one is CarriedValue5).
  NcElement SectionCommand{};
  // The code of the contour command (0x71xx) the walk last took: a lead at
  // a contour's end is built only after one.
  int SnapshotCommandCode = 0;
  // Set while the block output's start point is already restored for the
  // contour: the prelude and the first element then go on from where it is.
  int StartPointRestored = 0;

  // ---- element join (corner)
  std::array<double, 2> CornerFactors{};
  int NoCrossingMark = 0;
  double CornerOffset = 0.0;
  int CornerGuard = 0;
  int CornerRequest = 0;
  int SecondRangeWord = 0;
  int PendingCornerElement = 0;
  int FineFitWord = 0;
  int DampingSwitch = 0;
  int StyleResult = 0;
  double StoredSideOffset = 0.0;
  // The smallest correction of the last corner fit (what the message of a
  // fit that did not converge reports).
  double CornerFitCorrection = 0.0;
  // The fitted corner points: P on the current element's side, Q on the next.
  std::array<double, 2> CornerP{};
  std::array<double, 2> CornerQ{};
  // The joint as drawn that the corner goes round (its centre), and the
  // sense it turns in (+1 counter-clockwise).
  std::array<double, 2> CornerJoint{};
  double CornerSense = 1.0;
  std::array<double, 2> KeptR1Point{};
  NcElement CornerFrame{};

  // ---- element path routines
  std::array<double, 2> ContourRefPoint1{};
  std::array<double, 2> ContourRefPoint2{};
  int JoinBusy = 0;
  // The centre of the arc being processed (the joined arc or a corner).
  std::array<double, 2> ArcCentre{};
  int MarkerPending = 0;
  int LineSkip = 0;
  int PendingMove = 0;
  int StartWord = 0;
  int ReentryWord = 0;
  double FeedFactor = 0.0;
  int FeedOverrideWord = 0;
  double ArcTolerance = 0.01;
  double ArcLimit = 0.0;
  int ArcCheckSwitch = 0;
  int ElementOutputWord = 0;
  int OutputOptionWord = 0;
  int ContourStopWord = 0;
  // The arc being stepped: centre X, Y, start angle, sweep (degrees), end
  // point X, Y and the signed radius.
  std::array<double, 7> ArcSaveWords{};
  int FoldCounter = 0;
  double StoredSign = 1.0;
  double StepFactor = 1.0;
  double StoredStep = 0.0;
  PendingMoveRecord Pending;
  // The contour asks for compensated moves: straight moves are collected
  // while SnapshotFlags has any of 0xED00.
  int CompensationRequest = 0;
  int ArcStepCount = 0;
  int ArcStepIndex = 0;
  // The temporary emission offset of the block output.
  double EmissionOffset = 0.0;

  // ---- corner path
  int CornerNextState = 5;  // the step kind after a finished element: 5 ends it
  int CornerStepOptions = 0;
  int ProportionalCorner = 0;
  // How a stepped corner turns the tool normal and the height from the
  // frame where it begins to the frame where it ends: the tilt and the
  // azimuth (degrees) at the start and their changes; the height as
  // CornerSlope x t + CornerBase (linear) or CornerSlope x sin(azimuth) +
  // CornerBase (proportional, the height following the Y of the radius).
  double CornerTilt = 0.0;
  double CornerTiltChange = 0.0;
  double CornerAzimuth = 0.0;
  double CornerAzimuthChange = 0.0;
  double CornerSlope = 0.0;
  double CornerBase = 0.0;

  // ---- pass driver
  static constexpr int kTransformLimit = 9;
  std::array<int, 64> PassList{};  // element indices ended by 0
  int PassIndex = 0;
  int SteppedRun = 0;
  int TransformLate = 0;
  std::array<NcElement, kTransformLimit> TransformTable{};
  int TransformCount = 0;
  // The pass driver (the passes' frames, the transform chain, the work
  // direction and an arc's radius set up after the passes) moves the
  // position that is written, not the element the walk goes on with: the
  // registers and words as the driver found and as it left them, so that
  // what it changed can be put back once the position is written.
  struct DriverRegisters {
    NcElement r0, r3;
    double height = 0.0;  // R1's d7
    double workLength = 0.0;
    std::array<double, 3> normal{};  // the tool normal
    std::array<double, 2> last{};    // LastCommandPoint
    std::array<double, 2> centre{};  // ArcCentre
  };
  struct ChainedRegisters {
    bool held = false;
    DriverRegisters before, after;
    // The pass direction as the chain found and left it.
    std::array<double, 2> passBefore{}, passAfter{};
    bool chainTurnedPass = false;
  } Chained;
  int PassFrameMode = 0;
  int PlacementSwitch = 0;
  double PassStartValue = 0.0;
  // The four registers that the passes of one run hand on from pass to pass.
  std::array<NcElement, 4> PassSaveArea{};
  // The element's two auxiliary direction pairs are, in this engine, the
  // tool normal's (I, J) (its K is the third auxiliary value) and this pass
  // direction, which the location by length leaves and the work direction
  // after the passes is built from. Both turn with the element.
  std::array<double, 2> PassDirection{};
  int ClosingElement = -1;
  std::array<double, 2> LastFramePoint{};
  double LastFrameHeight = 0.0;
  double StoredHeight = 0.0;
  // The correction switch: 0 takes the correction value (the process's extra
  // offset) off the pass offset that an arc's radius gets. No hand-over
  // record sets it.
  int CorrectionSwitch = 0;
  // The previous element's values, kept after the passes: its direction,
  // point, height (R1's d7) and the tool normal's K.
  std::array<double, 2> PreviousDirection{};
  std::array<double, 2> PreviousPoint{};
  double PreviousHeight = 0.0;
  double PreviousNormalK = 0.0;
};

}  // namespace qup
