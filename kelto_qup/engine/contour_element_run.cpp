// The run of one contour element: it is joined to the one before it, then
// stepped (ComputeCornerPath) until nothing is left to do; each step's
// position goes through the per-element motion and the passes, and the
// element path writes it. The first element of a run brings the tool to the
// contour first.
#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

bool IsCornerMarker(const NcElement& e) { return e.code == 0x1001 || e.flags == 0x11300; }

}  // namespace

int RunContext::RunJoinedContour() {
  ContourWords& c = engine.contour;
  c.ContourRefPoint1 = {R1.d6, R1.d7};
  c.ContourRefPoint2 = {R2.d6, R2.d7};
  c.JoinBusy = 0xFFFF;
  TraceStep(142, 1);
  const int joined = JoinElementsForced();
  c.JoinBusy = 0;
  if (joined != 1 || AbortFlag != 0) return kStopRun;
  if (R0.code == 0x1001 && c.MarkerPending == 1) {
    R0.code = kCodeLine;
    R0.d1 = 0.0;
    c.MarkerPending = 0;
  }
  // An arc's centre, kept apart from the work block that the motion uses.
  if (R0.d1 != 0.0) c.ArcCentre = {R3.d4, R3.d5};
  int result = ProcessContour();
  if (result != kStopRun && (core.ContourFlags & 0x10000) != 0) {
    // An arc swallowed by the offset was skipped: the path goes on from its centre.
    R0.d4 = core.SkippedArcCentre[0];
    R0.d5 = core.SkippedArcCentre[1];
    result = ProcessContour();
    c.ContourRefPoint1 = {R1.d6, R1.d7};
    c.ContourRefPoint2 = {R2.d6, R2.d7};
    c.MarkerPending = 1;
  }
  return result;
}

int RunContext::JoinElementsForced() {
  if (RangeStep == 1) return cal303();
  // Walking backwards, the next element is joined on R0's other side.
  const int flags = R1.flags;
  R1.flags = (R0.flags & kReversedSide) == 0 ? (R1.flags | kReversedSide) : (R1.flags & ~kReversedSide);
  core.FlagWord = R1.flags;
  const int result = cal303();
  // A corner built between them has put its marker in R1 (the element is
  // fetched again after it): the marker keeps its own flags, or the corner
  // is taken for an element and never cut.
  if (!IsCornerMarker(R1)) R1.flags = flags;
  return result;
}

int RunContext::ProcessContour() {
  ContourWords& c = engine.contour;
  c.ContourStopWord = 0;
  CornerKind = 0;
  c.PendingMove = 0;
  c.LineSkip = R0.d1 == 0.0 ? -1 : 0;
  TraceStep(142, 2);
  while (AbortFlag == 0) {
    R1.d6 = c.ContourRefPoint1[0];
    R1.d7 = c.ContourRefPoint1[1];
    R2.d6 = c.ContourRefPoint2[0];
    R2.d7 = c.ContourRefPoint2[1];
    const int step = ComputeCornerPath();
    if (step == kStopRun) return kStopRun;
    if (step == 0) {
      FlushPendingMove(0);
      return AbortFlag != 0 ? kStopRun : 0;
    }
    if (step == 1 && EmitElementMotion(0) == kStopRun) return kStopRun;
    if (RunContourPasses() == kStopRun || AbortFlag != 0) break;
    if (c.ReentryWord != 0) {
      FlushPendingMove(0);
      RestoreChainedRegisters();
      c.StartWord = 0;
      c.ReentryWord = 1;
      continue;
    }
    int e = 1;
    if (c.StartWord != 0) {
      e = ComputeElementPath(0);
    } else if (c.StartPointRestored == 0) {
      if (ComputeElementStart() == kStopRun) return kStopRun;
      e = ComputeElementPath(0);
    } else {
      e = ComputeElementPath(0);
    }
    RestoreChainedRegisters();
    if (e == kStopRun || AbortFlag != 0) break;
    c.StartWord = 0xFFFF;
    if (e != 1) {
      ShiftElementRegisters();
      return 0;
    }
  }
  return kStopRun;
}

int RunContext::ComputeCornerPath() {
  ContourWords& c = engine.contour;
  switch (CornerKind & 0xF) {
    case 0:
      if (IsCornerMarker(R0)) return CornerFrames();
      return StartElementSteps();
    case 1:
      return 0;
    case 2:
      return AdvanceArcAngle();
    case 3:
      return StepArc();
    case 4:
      return NextLeadLineStep();
    case 6:
      CornerKind = c.CornerNextState;
      ElementIndex = CornerKind;
      AddPendingSequence();
      return 1;
    default:
      return 0;
  }
}

int RunContext::StartElementSteps() {
  ContourWords& c = engine.contour;
  const int flags = core.SnapshotFlags;
  const auto oneStep = [&] {
    CornerKind = c.CornerNextState;
    AddPendingSequence();
    return 1;
  };
  if (R0.d1 == 0.0) {
    // A line is one step, unless the snapshot asks for it to be stepped.
    const int line = flags & 0xF900;
    if (line == 0) return oneStep();
    if ((line & 0x1000) == 0) return StepLeadLine();
  }
  // An arc (or a line the snapshot treats as one) is stepped when the
  // snapshot asks for it, or when the step options ask for it and the
  // element is offset.
  const int arc = flags & 0xFD06;
  if ((arc & 0xFD00) != 0) return StepArcFromTool();
  if (arc == 0 && (c.CornerStepOptions & 6) == 0) return oneStep();
  if (c.CommandOffset + R3.d0 != 0.0) return StepArcFromTool();
  return oneStep();
}

int RunContext::StepArcFromTool() {
  ContourWords& c = engine.contour;
  // The arc starts where the tool stands. At a contour's first element the
  // approach is written after this step, so the tool is not there yet: the
  // element path steps that arc itself once the tool has come down.
  if (c.StartWord == 0) {
    CornerKind = c.CornerNextState;
    AddPendingSequence();
    return 1;
  }
  R2.d6 = c.LastCommandPoint[0];
  R2.d7 = c.LastCommandPoint[1];
  R3.d4 = c.ArcCentre[0];
  R3.d5 = c.ArcCentre[1];
  return StepArc();
}

}  // namespace qup
