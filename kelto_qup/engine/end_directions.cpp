// Services around every join of two elements: the direction of the current
// element at its end, the side at which the next element follows (its side
// bits 0x50000), the first direction of a 0x71 command, the axis line of a
// straight move, and the choice between the two crossings of the current
// element with the next one.
#include <cmath>

#include "kelto_qup/engine/engine_geometry.h"
#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

using geom::Vec2;

int RunContext::SetEndDirection() {
  if (R0.d1 == 0.0) return 0;  // a line keeps its direction
  double wx = 0.0;
  double wy = 0.0;
  const double roundedRadius = RoundTo3Decimals(R0.d1);
  if (roundedRadius != 0.0) {
    wx = R0.d4 - R3.d4;
    wy = R0.d5 - R3.d5;
    if (R0.d1 < 0.0) {
      wx = -wx;
      wy = -wy;
    }
  } else {
    // An arc too small to turn at 0.001: it takes the next element's direction.
    R0.d2 = R1.d2;
    R0.d3 = R1.d3;
    if (R1.d1 == 0.0) return 0;
    wx = R0.d4 - R1.d6;
    wy = R0.d5 - R1.d7;
    if (R1.d1 < 0.0) {
      wx = R0.d4 - R3.d4;
      wy = R0.d5 - R3.d5;
      if (R0.d1 < 0.0) {
        wx = -wx;
        wy = -wy;
      }
    }
  }
  // The radius vector turned a quarter counter-clockwise.
  const double length = std::sqrt(wx * wx + wy * wy);
  if (length != 0.0) {
    R0.d2 = -wy / length;
    R0.d3 = wx / length;
  }
  WorkVectorX() = R3.d4 - core.ReferencePoint[0];
  WorkVectorY() = R3.d5 - core.ReferencePoint[1];
  core.EndDirectionScratch = {-wy, wx, WorkVectorX(), WorkVectorY()};
  return 0;
}

int RunContext::SetSideFromNext(int index, int type) {
  if ((core.SideCheckFlags & 0x8000) == 0) return 0;
  if (type < 0 || type > 2) return 0;
  const NcElement savedCommand = R2;
  if (!CheckedLoad(R2, index - RangeStep)) {
    R2 = savedCommand;
    return kStopRun;
  }
  // R1's direction at the joint (the end of the element before it).
  Vec2 next = geom::DirectionD2(R1);
  if (R1.d1 != 0.0) {
    const Vec2 radial = geom::UnitOr(geom::PointD4(R2) - geom::PointD6(R1), {1.0, 0.0});
    next = geom::QuarterTurn(radial, R1.d1);
  }
  // R0's direction at the joint, from the stored turn point.
  Vec2 current = geom::DirectionD2(R0);
  if (R0.d1 != 0.0) {
    const auto& turn = core.TurnPoints[static_cast<std::size_t>(type)];
    const Vec2 radial = geom::UnitOr(Vec2{turn[0], turn[1]} - geom::PointD6(R0), {1.0, 0.0});
    current = geom::QuarterTurn(radial, R0.d1);
  }
  // Positive: the next element turns clockwise (follows on the right).
  const double side = RoundTo3Decimals(current.y * next.x - current.x * next.y);
  R2 = savedCommand;
  if (side > 0.0) {
    R1.flags = (R1.flags & static_cast<int>(0xFF050000u)) | kReversedSide;
  } else {
    R1.flags &= static_cast<int>(0xFF000000u);
  }
  return 0;
}

int RunContext::SetupCommandQ() {
  core.StartVector = {0.0, 0.0};
  if ((R2.code & 0xFF00) != 0x7100) return 0;
  const double refX = core.ReferencePoint[0];
  const double refY = core.ReferencePoint[1];
  R0.d2 = R1.d2;
  R0.d3 = R1.d3;
  if (R1.d1 != 0.0) {
    // The tangent at the tool point: the radius from the centre (R1's d4/d5)
    // turned a quarter in the arc's sense.
    double dx = -(refY - R1.d5);
    double dy = refX - R1.d4;
    if (R1.d1 < 0.0) {
      dx = -dx;
      dy = -dy;
    }
    WorkVectorX() = dx;
    WorkVectorY() = dy;
    NormalizeTangent(0);
    if (WorkLength != 0.0) {
      R0.d2 = dx / WorkLength;
      R0.d3 = dy / WorkLength;
      core.StartVector = {R0.d2, R0.d3};
    }
  } else {
    core.StartVector = {core.ScaleBase * R1.d2, core.ScaleBase * R1.d3};
  }
  if ((core.StartVectorOption & 0x2) != 0) return 1;
  core.StartVector = {0.0, 0.0};
  return 0;
}

int RunContext::SetMoveMode() {
  R0.d1 = 0.0;
  const int flags = core.MoveFlags;
  if ((flags & 0x8000) != 0) {
    R0.flags = flags == 0x8002 ? kReversedSide : 3;
  } else {
    const double unit = core.DirectionUnit;
    double dx = unit;
    double dy = 0.0;
    if ((flags & 0x04) != 0) {
      dx = 0.0;
      dy = unit;
    }
    if ((flags & 0x08) != 0) {
      dx = -dx;
      dy = -dy;
    }
    R0.d2 = dx;
    R0.d3 = dy;
    R0.flags = 3;
  }
  R0.code = kCodeLine;
  CurrentFrameRecord() = R0;
  return 0;
}

int RunContext::ChooseIntersection() {
  constexpr int kKeepHighFlags = static_cast<int>(0xFFF00000u);
  R1.flags &= kKeepHighFlags;
  if (IntersectWithNext() == 0) return 0;
  const Vec2 first = geom::PointD4(R0);
  R1.flags |= kReversedSide;
  R0.d4 = R0.d6;
  R0.d5 = R0.d7;
  if (IntersectWithNext() == 0) return 0;
  const Vec2 second = geom::PointD4(R0);
  const Vec2 start{core.MoveStartPoint[0], core.MoveStartPoint[1]};

  bool takeSecond = false;
  if (R0.d1 != 0.0) {
    // On an arc: the crossing reached first from the start radius in the
    // arc's turning sense.
    const Vec2 centre = geom::PointD6(R0);
    const Vec2 u = geom::UnitOr(start - centre, {1.0, 0.0});
    auto angleOf = [&](Vec2 p) {
      const Vec2 v = p - centre;
      return geom::PolarDegrees(geom::Dot(v, u), geom::Cross(u, v));
    };
    const double a1 = angleOf(first);
    const double a2 = angleOf(second);
    takeSecond = R0.d1 > 0.0 ? !(a2 >= a1) : a2 > a1;
  } else {
    // On a line: the nearer of the crossings ahead of the start; the first
    // when neither lies ahead.
    const Vec2 dir = geom::DirectionD2(R0);
    const double dist1 = geom::Distance(first, start);
    const double dist2 = geom::Distance(second, start);
    const bool ahead1 = geom::Dot(first - start, dir) >= 0.0;
    const bool ahead2 = geom::Dot(second - start, dir) >= 0.0;
    takeSecond = (ahead1 ? dist2 : -1.0) < (ahead2 ? dist1 : -1.0);
  }
  if (takeSecond) {
    R1.flags |= kReversedSide;
    geom::SetD4(R0, second);
  } else {
    R1.flags &= kKeepHighFlags;
    geom::SetD4(R0, first);
  }
  return 1;
}

}  // namespace qup
