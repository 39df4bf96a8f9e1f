// The passes of a contour command: every pass element the command lists
// runs once in the plain run and once more in the stepped run, where the
// depth step is added to the working height for the passes and taken off
// after them; the pass kind (low two flag bits) says in which run a pass
// takes part. Each pass places the position in its own frame, starting from
// the registers the pass before it left (the pass save area). The chain of
// coordinate transformations (at most nine records) is applied to the
// current element before or after the plain run. After the passes the work
// direction is set up from the pass direction, and an arc's radius takes
// the pass offset.
//
// What the driver changes is the position that is written, not the element
// the walk goes on with: once the position is written, what the driver
// changed is put back (RestoreChainedRegisters), so that the next element
// is joined to this one as drawn.
#include <cmath>
#include <utility>

#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

constexpr int kErrorPassElement = 4;   // a pass element that carries a radius
constexpr int kSteppedRun = 0xFFFF;
constexpr int kMirrorY = 0x400;
constexpr int kAboutCentre = 0x200;
constexpr int kSideFlags = 7;  // the element's low three flag bits: a side-plane element

// Applies one transformation record to the element: mirror, rotation (about
// the record's centre when asked), translation plus centre. The element's
// auxiliary direction pairs (the tool normal's I, J and the pass direction),
// when given, are mirrored and turned with its direction.
void TransformOne(NcElement& e, NcElement& work, const NcElement& t, std::array<double, 3>* normal = nullptr,
                  std::array<double, 2>* pass = nullptr) {
  if (t.code == 0) return;
  if ((t.flags & kMirrorY) != 0) {
    e.d1 = -e.d1;
    e.d3 = -e.d3;
    e.d5 = -e.d5;
    if (normal != nullptr) (*normal)[1] = -(*normal)[1];
    if (pass != nullptr) (*pass)[1] = -(*pass)[1];
    if (e.d1 != 0.0) work.d5 = -work.d5;
  }
  const double c = t.d2, s = t.d3;
  auto rotate = [c, s](double& x, double& y) {
    const double rx = c * x - s * y, ry = s * x + c * y;
    x = rx;
    y = ry;
  };
  rotate(e.d2, e.d3);
  if (normal != nullptr) rotate((*normal)[0], (*normal)[1]);
  if (pass != nullptr) rotate((*pass)[0], (*pass)[1]);
  auto place = [&](double& x, double& y) {
    if ((t.flags & kAboutCentre) != 0) {
      x -= t.d6;
      y -= t.d7;
    }
    rotate(x, y);
    x += t.d4 + t.d6;
    y += t.d5 + t.d7;
  };
  place(e.d4, e.d5);
  if (e.d1 != 0.0) place(work.d4, work.d5);
}

}  // namespace

int RunContext::RunContourPasses() {
  ContourWords& c = engine.contour;
  RecordPassDriverEntry();
  ScaleContourElement();
  const NcElement command = R2;
  int status = RunPassList(0);
  if (status != kStopRun && c.TransformLate != 0) status = ApplyTransformChain();
  R2 = command;
  if (status != kStopRun) status = RunSteppedPasses();
  RecordPassDriverExit();
  return status;
}

void RunContext::ScaleContourElement() {
  const auto& s = engine.stepping;
  const double base = core.ScaleBase;
  if (s.ScaleSwitch == 0 || base == 0.0) return;
  // The written position is scaled about the origin: X and Y by their
  // factors, the height by Z's; an arc keeps its centre and radius with it
  // (its radius goes with X). Only what is written is scaled: the element
  // is put back once written (RestoreChainedRegisters), so the walk joins
  // the next element to it as drawn and no value is scaled twice.
  const double fx = s.ScaleFactorX / base, fy = s.ScaleFactorY / base, fz = s.ScaleFactorZ / base;
  ContourWords& c = engine.contour;
  R0.d4 *= fx;
  R0.d5 *= fy;
  R1.d7 *= fz;
  c.LastCommandPoint = {c.LastCommandPoint[0] * fx, c.LastCommandPoint[1] * fy};
  if (R0.d1 == 0.0) return;
  R0.d1 *= fx;
  R3.d4 *= fx;
  R3.d5 *= fy;
  WorkVectorX() *= fx;
  WorkVectorY() *= fy;
  c.ArcCentre = {c.ArcCentre[0] * fx, c.ArcCentre[1] * fy};
}

int RunContext::RunPassesWithStep(int /*kind*/) {
  RecordPassDriverEntry();
  const int status = RunSteppedPasses();
  RecordPassDriverExit();
  return status;
}

int RunContext::RunSteppedPasses() {
  ContourWords& c = engine.contour;
  auto& s = engine.stepping;
  if (c.TransformLate == 0 && ApplyTransformChain() == kStopRun) return kStopRun;
  if (c.PassList[0] != 0) {
    double step = 0.0;
    bool sideways = false;
    if (s.DepthStepOn == 1) {
      if (core.FilletContour != 0) {
        step = s.DepthStep;
      } else {
        step = s.DepthStepAlt != 0.0 ? s.DepthStepAlt : s.DepthStep;
        // An element of the side plane steps in Y: the side switch is the
        // section flag with which the tool contact lowers the Y values too.
        sideways = (R0.flags & kSideFlags) == kSideFlags && s.SectionPassFlags != 0;
      }
    }
    const auto addStep = [&](double v) {
      if (sideways) {
        R0.d5 += v;
        R3.d5 += v;
      } else {
        R1.d7 += v;
      }
    };
    addStep(step);
    const NcElement command = R2;
    const int status = RunPassList(kSteppedRun);
    R2 = command;
    if (status == kStopRun) return kStopRun;
    addStep(-step);
  }
  SetUpWorkDirection();
  return LocateClosingPoint();
}

void RunContext::SetUpWorkDirection() {
  ContourWords& c = engine.contour;
  // The work direction from the pass direction; without one, the left
  // normal of the element. The pass offset scales with the pass direction's
  // length, so that an element without a pass direction gets no offset.
  const double x = c.PassDirection[0], y = c.PassDirection[1];
  const double length = std::sqrt(x * x + y * y);
  const double offset = -(R3.d0 * length);
  double wx = -R0.d3, wy = R0.d2;
  WorkLength = 1.0;
  if (length != 0.0) {
    wx = x / length;
    wy = y / length;
    WorkLength = length;
  }
  WorkVectorX() = wx;
  WorkVectorY() = wy;
  const double dot = R0.d2 * wx + R0.d3 * wy;
  const double cross = R0.d2 * wy - R0.d3 * wx;
  core.DirectionScratchDot = dot;
  core.DirectionScratchCross = cross;
  if (R0.d1 != 0.0) {
    // An arc stays concentric: the offset across it changes its radius, on
    // the side the pass direction lies. The work pair is the work direction
    // here (one pair of words).
    if (length != 0.0) {
      const double change = offset - (c.CorrectionSwitch == 0 ? engine.stepping.ExtraOffset : 0.0);
      R0.d1 += cross < 0.0 ? -change : change;
    }
    WorkVectorX() = R3.d4 - c.PreviousPoint[0];
    WorkVectorY() = R3.d5 - c.PreviousPoint[1];
  } else {
    WorkVectorX() = R0.d2 * core.ScaleBase;
    WorkVectorY() = R0.d3 * core.ScaleBase;
  }
  c.PreviousDirection = {R0.d2, R0.d3};
  c.PreviousPoint = {R0.d4, R0.d5};
  c.PreviousHeight = R1.d7;
  c.PreviousNormalK = core.ToolNormal[2];
}

int RunContext::LocateClosingPoint() {
  // A contour closed by a closing element places its passes by length.
  return engine.contour.ClosingElement >= 0 ? LocateByLength() : 0;
}

int RunContext::RunPassList(int run) {
  ContourWords& c = engine.contour;
  if (c.PassList[0] == 0) return 0;
  // The first pass of the run starts from the registers as they are: the
  // save area may hold another element's registers (or none yet), which
  // must never come back into the walk.
  SaveAllRegs(c.PassSaveArea.data());
  for (std::size_t i = 0;; ++i) {
    if (i >= c.PassList.size()) return StopWithError(kErrorPassTable);  // a list without its end
    const int entry = c.PassList[i];
    if (entry == 0) return 0;
    ElementIndex = entry;
    c.PassIndex = entry;
    c.SteppedRun = run;
    if (RunPass() == kStopRun || AbortFlag != 0) return kStopRun;
  }
}

int RunContext::RunPass() {
  ContourWords& c = engine.contour;
  const bool stepped = c.SteppedRun != 0;
  int state = 0;
  for (;;) {
    switch (state) {
      case 0: {
        RestoreAllRegs(c.PassSaveArea.data());
        if (!CheckedLoad(R2, c.PassIndex)) return kStopRun;
        static constexpr int kNext[4] = {1600, 1800, 1500, 1900};
        state = kNext[R2.flags & 3];
        if (state == 1800 && stepped) state = 1900;  // kind 1: the plain run only
        break;
      }
      case 1500:  // kind 2: both runs; the plain run turns the frame the other way
        R2.d6 = 0.0;
        R2.d7 = 0.0;
        if (!stepped) R2.d3 = -R2.d3;
        state = 1800;
        break;
      case 1600:  // kind 0: the stepped run only
        state = stepped ? 1800 : 1900;
        break;
      case 1800: {
        std::swap(R2.d4, R2.d6);
        std::swap(R2.d5, R2.d7);
        c.PassStartValue = R2.d6;
        ElementIndex = R2.code;
        c.PassFrameMode = R2.code & 0xF0;
        c.PlacementSwitch = 0;
        if (c.PassFrameMode == 0) {
          // The point is placed in the frame: an arc written from the last
          // point about its centre is placed whole with it.
          RotateFrameAbout(c.LastCommandPoint[0], c.LastCommandPoint[1]);
          RotateFrameAbout(c.ArcCentre[0], c.ArcCentre[1]);
        }
        if (PlacePassFrame() == kStopRun) return kStopRun;
        const double radius = R2.d1;
        R2.d4 = R2.d1;
        R2.d2 = R2.d4;
        R2.d1 = 0.0;
        if (radius != 0.0) {
          R2.d3 = R0.d5;
          return StopWithError(kErrorPassElement);
        }
        c.PassDirection = {0.0, 0.0};
        SaveAllRegs(c.PassSaveArea.data());
        return 0;
      }
      default:  // 1900: the registers go on to the next pass as they are
        SaveAllRegs(c.PassSaveArea.data());
        return 0;
    }
  }
}

int RunContext::ApplyTransformChain() {
  ContourWords& c = engine.contour;
  if (TransformSwitch == 0) return 0;
  if (c.TransformCount < 0 || c.TransformCount > ContourWords::kTransformLimit) return StopWithError(kErrorPassTable);
  if (c.TransformCount == 0) return 0;
  // The point last written is compared with the position being written
  // (linking moves, merging): while the chain holds, it is in the chain's
  // frame too.
  ContourWords::ChainedRegisters& k = c.Chained;
  k.passBefore = c.PassDirection;
  NcElement last{};
  last.d4 = c.LastCommandPoint[0];
  last.d5 = c.LastCommandPoint[1];
  // An arc is written about the centre kept apart from the work block.
  NcElement centre{};
  centre.d4 = c.ArcCentre[0];
  centre.d5 = c.ArcCentre[1];
  NcElement unused{};
  for (int i = 0; i < c.TransformCount; ++i) {
    const NcElement& record = c.TransformTable[static_cast<std::size_t>(i)];
    TransformOne(R0, R3, record, &core.ToolNormal, &c.PassDirection);
    TransformOne(last, unused, record);
    TransformOne(centre, unused, record);
  }
  c.LastCommandPoint = {last.d4, last.d5};
  c.ArcCentre = {centre.d4, centre.d5};
  k.passAfter = c.PassDirection;
  k.chainTurnedPass = true;
  return 0;
}

ContourWords::DriverRegisters RunContext::DriverRegistersNow() const {
  const ContourWords& c = engine.contour;
  return {.r0 = R0,
          .r3 = R3,
          .height = R1.d7,
          .workLength = WorkLength,
          .normal = core.ToolNormal,
          .last = c.LastCommandPoint,
          .centre = c.ArcCentre};
}

void RunContext::RecordPassDriverEntry() {
  ContourWords::ChainedRegisters& k = engine.contour.Chained;
  k.held = false;
  k.chainTurnedPass = false;
  k.before = DriverRegistersNow();
}

void RunContext::RecordPassDriverExit() {
  ContourWords::ChainedRegisters& k = engine.contour.Chained;
  k.after = DriverRegistersNow();
  k.held = true;
}

void RunContext::RestoreChainedRegisters() {
  // The next element is joined to this one as fetched: a join of a turned
  // element with an unturned one finds no corner. What the writing changed
  // since (an arc written as its chord) stays.
  ContourWords& c = engine.contour;
  ContourWords::ChainedRegisters& k = c.Chained;
  if (!k.held) return;
  k.held = false;
  const auto putBack = [](double& now, double before, double after) {
    if (now == after) now = before;
  };
  const ContourWords::DriverRegisters& was = k.before;
  const ContourWords::DriverRegisters& left = k.after;
  putBack(R0.d1, was.r0.d1, left.r0.d1);
  putBack(R0.d2, was.r0.d2, left.r0.d2);
  putBack(R0.d3, was.r0.d3, left.r0.d3);
  putBack(R0.d4, was.r0.d4, left.r0.d4);
  putBack(R0.d5, was.r0.d5, left.r0.d5);
  putBack(R1.d7, was.height, left.height);
  putBack(R3.d2, was.r3.d2, left.r3.d2);
  putBack(R3.d3, was.r3.d3, left.r3.d3);
  putBack(R3.d4, was.r3.d4, left.r3.d4);
  putBack(R3.d5, was.r3.d5, left.r3.d5);
  putBack(WorkLength, was.workLength, left.workLength);
  for (std::size_t i = 0; i < 3; ++i) putBack(core.ToolNormal[i], was.normal[i], left.normal[i]);
  if (k.chainTurnedPass && c.PassDirection == k.passAfter) c.PassDirection = k.passBefore;
  c.ArcCentre = was.centre;
  // The point written is where the element as fetched ends.
  std::array<double, 2>& last = c.LastCommandPoint;
  if (last[0] == left.r0.d4 && last[1] == left.r0.d5) {
    last = {was.r0.d4, was.r0.d5};
  } else if (last == left.last) {
    last = was.last;
  }
}

int RunContext::SetStartPoint(int mode) {
  ContourWords& c = engine.contour;
  auto& s = engine.stepping;
  if (TransformSwitch == 0) return 0;
  NcElement& source = mode == 1 ? R0 : R2;
  NcElement point{};
  point.d4 = source.d4;
  point.d5 = source.d5;
  if (s.ScaleSwitch != 0 && core.ScaleBase != 0.0) {
    point.d4 = point.d4 * s.ScaleFactorX / core.ScaleBase;
    point.d5 = point.d5 * s.ScaleFactorY / core.ScaleBase;
  }
  if (c.TransformCount < 0 || c.TransformCount > ContourWords::kTransformLimit) return StopWithError(kErrorPassTable);
  NcElement unused{};
  for (int i = 0; i < c.TransformCount; ++i) TransformOne(point, unused, c.TransformTable[static_cast<std::size_t>(i)]);
  source.d4 = point.d4;
  source.d5 = point.d5;
  return 0;
}

}  // namespace qup

namespace qup {

namespace {

constexpr int kFrameOrigin = 0;    // the point placed in the frame
constexpr int kFrameHeight = 16;   // the side plane: Y and the height placed
// Any other mode places the point's X alone.
constexpr int kPlacementForced = 0xFFFF;

}  // namespace

void RunContext::RotateFrameAbout(double& x, double& y) const {
  // The frame: origin R2's d6/d7, direction R2's d2/d3, offset R2's d4/d5.
  const double c = R2.d2, s = R2.d3;
  const double dx = x - R2.d6, dy = y - R2.d7;
  x = R2.d6 + c * dx - s * dy + R2.d4;
  y = R2.d7 + s * dx + c * dy + R2.d5;
}

void RunContext::RotateFrameDirection(double& x, double& y) const {
  // A direction turns with the frame; the frame's origin and offset do not
  // move it (a direction moved by them would no longer be one).
  const double c = R2.d2, s = R2.d3;
  const double rx = c * x - s * y, ry = s * x + c * y;
  x = rx;
  y = ry;
}

int RunContext::PlacePassFrame() {
  ContourWords& c = engine.contour;
  std::array<double, 3>& normal = core.ToolNormal;  // the auxiliary pair is its I, J
  std::array<double, 2>& second = c.PassDirection;
  switch (c.PassFrameMode & 0xF0) {
    case kFrameOrigin:
      RotateFrameDirection(normal[0], normal[1]);
      RotateFrameAbout(R0.d4, R0.d5);
      break;
    case kFrameHeight:
      RotateFrameAbout(R0.d5, R1.d7);
      RotateFrameDirection(normal[0], normal[1]);
      RotateFrameDirection(second[0], second[1]);
      break;
    default: {
      // The point's X from the pair the placement switch chooses.
      double x = c.PlacementSwitch == 0 ? normal[0] : second[0];
      double y = c.PlacementSwitch == 0 ? normal[1] : second[1];
      RotateFrameAbout(x, y);
      R0.d4 = x;
      break;
    }
  }
  // The work direction turns with the frame.
  RotateFrameDirection(WorkVectorX(), WorkVectorY());
  if (c.PlacementSwitch == 0) {
    // The placed registers are what the next pass starts from; the pass
    // element comes back into R2 as it is in the table.
    SaveAllRegs(c.PassSaveArea.data());
    if (!CheckedLoad(R2, c.PassIndex)) return kStopRun;
  }
  return 0;
}

int RunContext::SetupPassFrame() {
  ContourWords& c = engine.contour;
  const NcElement command = R2;
  R2.d2 = R1.d2;
  R2.d3 = R1.d3;
  R2.d6 = R1.d4;
  R2.d7 = R1.d5;
  R2.d4 = 0.0;
  R2.d5 = 0.0;
  R1.d7 = c.StoredHeight;
  switch (R1.flags) {
    case 0x220:
      c.PassFrameMode = 0;
      break;
    case 0x620:
      c.PassFrameMode = 16;
      break;
    case 0x720:
      c.PassFrameMode = 32;
      break;
    default:
      break;  // the previous mode holds
  }
  c.PlacementSwitch = kPlacementForced;
  const int status = PlacePassFrame();
  c.LastFrameHeight = R1.d7;
  c.LastFramePoint = {R0.d4, R0.d5};
  R2 = command;
  return status;
}

}  // namespace qup
