// The passes of a contour command: every pass element the command lists
// runs once in the plain run and once more in the stepped run, where the
// depth step is added to the working height for the passes and taken off
// after them; the pass kind (low two flag bits) says in which run a pass
// takes part. The chain of coordinate transformations (at most nine
// records) is applied to the current element before or after the plain run.
#include <cmath>
#include <utility>

#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

constexpr int kErrorPassElement = 4;   // a pass element that carries a radius
constexpr int kSteppedRun = 0xFFFF;
constexpr int kMirrorY = 0x400;
constexpr int kAboutCentre = 0x200;

// Applies one transformation record to the element: mirror, rotation (about
// the record's centre when asked), translation plus centre.
void TransformOne(NcElement& e, NcElement& work, const NcElement& t) {
  if (t.code == 0) return;
  if ((t.flags & kMirrorY) != 0) {
    e.d1 = -e.d1;
    e.d3 = -e.d3;
    e.d5 = -e.d5;
    if (e.d1 != 0.0) work.d5 = -work.d5;
  }
  const double c = t.d2, s = t.d3;
  auto rotate = [c, s](double& x, double& y) {
    const double rx = c * x - s * y, ry = s * x + c * y;
    x = rx;
    y = ry;
  };
  rotate(e.d2, e.d3);
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
  const NcElement command = R2;
  if (RunPassList(0) == kStopRun) return kStopRun;
  if (c.TransformLate != 0 && ApplyTransformChain() == kStopRun) return kStopRun;
  R2 = command;
  return RunPassesWithStep(0);
}

int RunContext::RunPassesWithStep(int /*kind*/) {
  ContourWords& c = engine.contour;
  auto& s = engine.stepping;
  if (c.TransformLate == 0 && ApplyTransformChain() == kStopRun) return kStopRun;
  if (c.PassList[0] == 0) return LocateClosingPoint();
  double step = 0.0;
  if (s.DepthStepOn == 1) step = core.FilletContour != 0 ? s.DepthStep : (s.DepthStepAlt != 0.0 ? s.DepthStepAlt : s.DepthStep);
  R1.d7 += step;
  const NcElement command = R2;
  const int status = RunPassList(kSteppedRun);
  R2 = command;
  R1.d7 -= step;
  return status == kStopRun ? kStopRun : LocateClosingPoint();
}

int RunContext::LocateClosingPoint() {
  // A contour closed by a closing element places its passes by length.
  return engine.contour.ClosingElement >= 0 ? LocateByLength() : 0;
}

int RunContext::RunPassList(int run) {
  ContourWords& c = engine.contour;
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
  NcElement pass;
  if (!CheckedLoad(pass, c.PassIndex)) return kStopRun;
  const bool stepped = c.SteppedRun != 0;
  switch (pass.flags & 3) {
    case 0:  // only in the stepped run
      if (!stepped) return 0;
      break;
    case 1:  // only in the plain run
      if (stepped) return 0;
      break;
    case 2:  // both; the plain run turns the pass over
      pass.d6 = 0.0;
      pass.d7 = 0.0;
      if (!stepped) pass.d3 = -pass.d3;
      break;
    default:  // never
      return 0;
  }
  R2 = pass;
  std::swap(R2.d4, R2.d6);
  std::swap(R2.d5, R2.d7);
  c.PassStartValue = pass.d4;
  if (pass.d1 != 0.0) {
    R2.d3 = R0.d5;
    return StopWithError(kErrorPassElement);
  }
  return 0;
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
  k.r0Before = R0;
  k.r3Before = R3;
  k.lastBefore = c.LastCommandPoint;
  NcElement last{};
  last.d4 = c.LastCommandPoint[0];
  last.d5 = c.LastCommandPoint[1];
  // An arc is written about the centre kept apart from the work block.
  k.centreBefore = c.ArcCentre;
  NcElement centre{};
  centre.d4 = c.ArcCentre[0];
  centre.d5 = c.ArcCentre[1];
  NcElement unused{};
  for (int i = 0; i < c.TransformCount; ++i) {
    const NcElement& record = c.TransformTable[static_cast<std::size_t>(i)];
    TransformOne(R0, R3, record);
    TransformOne(last, unused, record);
    TransformOne(centre, unused, record);
  }
  c.LastCommandPoint = {last.d4, last.d5};
  c.ArcCentre = {centre.d4, centre.d5};
  k.r0After = R0;
  k.r3After = R3;
  k.lastAfter = c.LastCommandPoint;
  k.held = true;
  return 0;
}

void RunContext::RestoreChainedRegisters() {
  // The next element is joined to this one as fetched: a join of a turned
  // element with an unturned one finds no corner. What the writing changed
  // since (an arc written as its chord) stays.
  ContourWords::ChainedRegisters& k = engine.contour.Chained;
  if (!k.held) return;
  k.held = false;
  const auto putBack = [](double& now, double before, double after) {
    if (now == after) now = before;
  };
  putBack(R0.d1, k.r0Before.d1, k.r0After.d1);
  putBack(R0.d2, k.r0Before.d2, k.r0After.d2);
  putBack(R0.d3, k.r0Before.d3, k.r0After.d3);
  putBack(R0.d4, k.r0Before.d4, k.r0After.d4);
  putBack(R0.d5, k.r0Before.d5, k.r0After.d5);
  putBack(R3.d4, k.r3Before.d4, k.r3After.d4);
  putBack(R3.d5, k.r3Before.d5, k.r3After.d5);
  engine.contour.ArcCentre = k.centreBefore;
  // The point written is where the element as fetched ends.
  std::array<double, 2>& last = engine.contour.LastCommandPoint;
  if (last[0] == k.r0After.d4 && last[1] == k.r0After.d5) {
    last = {k.r0Before.d4, k.r0Before.d5};
  } else if (last == k.lastAfter) {
    last = k.lastBefore;
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

constexpr int kFrameOrigin = 0;    // the work point placed in the frame
constexpr int kFrameHeight = 16;   // the side plane: Y and the height placed
constexpr int kPlacementForced = 0xFFFF;

}  // namespace

void RunContext::RotateFrameAbout(double& x, double& y) const {
  // The frame: origin R2's d6/d7, direction R2's d2/d3, offset R2's d4/d5.
  const double c = R2.d2, s = R2.d3;
  const double dx = x - R2.d6, dy = y - R2.d7;
  x = R2.d6 + c * dx - s * dy + R2.d4;
  y = R2.d7 + s * dx + c * dy + R2.d5;
}

int RunContext::PlacePassFrame() {
  ContourWords& c = engine.contour;
  switch (c.PassFrameMode) {
    case kFrameOrigin:
      RotateFrameAbout(R0.d4, R0.d5);
      break;
    case kFrameHeight:
      RotateFrameAbout(R0.d5, R1.d7);
      break;
    default:
      // The X and the height placed; the result is the point's X.
      RotateFrameAbout(R0.d4, R1.d7);
      break;
  }
  // The work direction turns with the frame.
  const double wx = WorkVectorX(), wy = WorkVectorY();
  WorkVectorX() = R2.d2 * wx - R2.d3 * wy;
  WorkVectorY() = R2.d3 * wx + R2.d2 * wy;
  if (c.PlacementSwitch == 0 && c.PassIndex != 0 && !CheckedLoad(R2, c.PassIndex)) return kStopRun;
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
