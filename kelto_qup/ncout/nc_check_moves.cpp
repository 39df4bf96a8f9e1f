// Where the NC text check moves the tool: each block's end point from the
// modal state, straight moves, arcs (R or I J K, helices) cut into chords on
// the true arc, canned-cycle holes with the drill outline, and the monitor
// texts of the block.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"

namespace qup {

namespace {

constexpr double kDegToRad = 0.017453292519943295;
constexpr double kMinArcRadius = 0.001;
constexpr int kMaxArcSteps = 100000;
constexpr int kSlowMode = 0x2;

// The plane's axes: first, second and the third (helix) axis.
struct PlaneAxes {
  std::size_t a, b, c;
};

PlaneAxes AxesOf(int plane) {
  if (plane == 2) return {0, 2, 1};
  if (plane == 3) return {1, 2, 0};
  return {0, 1, 2};
}

std::string Format(const char* utf8Format, double value) {
  char text[96];
  std::snprintf(text, sizeof text, platform::Sjis(utf8Format).c_str(), value);
  return text;
}

}  // namespace

void RunContext::CheckMove(double x, double y, double z, int kind) {
  const NcCheckState& k = transfer.Check;
  if (k.ThreadForm != 0) {
    // Thread milling: the A angle turns Y and Z about X.
    const double a = k.Last[3] * kDegToRad;
    const double ty = y * std::cos(a) - z * std::sin(a);
    z = y * std::sin(a) + z * std::cos(a);
    y = ty;
  }
  PathExtents& e = output.Extents;
  e.MinX = std::min(e.MinX, x);
  e.MinY = std::min(e.MinY, y);
  e.MinZ = std::min(e.MinZ, z);
  e.MaxX = std::max(e.MaxX, x);
  e.MaxY = std::max(e.MaxY, y);
  e.MaxZ = std::max(e.MaxZ, z);
  host.DrawCheckSegment(x, y, z, kind);
  if (transfer.Plot.Active) PlotDrawToCurrent(x, y, z, kind > 0);
}

void RunContext::CheckArc(const std::array<double, 6>& from, const std::array<double, 6>& to) {
  const NcCheckState& k = transfer.Check;
  const PlaneAxes ax = AxesOf(k.Plane);
  const bool clockwise = k.Motion == 2;
  const double sa = from[ax.a], sb = from[ax.b];
  double oa = 0.0, ob = 0.0, radius = 0.0;
  if (k.GivenR) {
    const double ha = (to[ax.a] - sa) * 0.5, hb = (to[ax.b] - sb) * 0.5;
    const double c = std::hypot(ha, hb);
    double h = k.R * k.R - c * c > 0.00001 ? std::sqrt(k.R * k.R - c * c) : 0.0;
    if ((clockwise && k.R < 0.0) || (!clockwise && k.R > 0.0)) h = -h;
    const double ua = c > 0.0 ? ha / c : 0.0, ub = c > 0.0 ? hb / c : 0.0;
    oa = ha + h * ub;
    ob = hb - h * ua;
    radius = std::fabs(k.R);
  } else {
    const double offsets[3] = {k.I, k.J, k.K};
    oa = offsets[ax.a];
    ob = offsets[ax.b];
    radius = Length3(oa, ob, 0.0);
  }
  // A radius this small turns no arc: the move is drawn straight (no
  // division by a vanishing radius).
  if (radius < kMinArcRadius) {
    CheckMove(to[0], to[1], to[2], 1);
    return;
  }
  const double ca = sa + oa, cb = sb + ob;
  double a0 = SafeAngle(sa - ca, sb - cb);
  const double a1 = SafeAngle(to[ax.a] - ca, to[ax.b] - cb);
  if (clockwise && a0 <= a1) a0 += 2.0 * std::numbers::pi;
  if (!clockwise && a0 >= a1) a0 -= 2.0 * std::numbers::pi;
  if (k.GivenR && std::fabs(std::fabs(k.R) - std::hypot(oa, ob)) < 0.0001) radius = std::hypot(oa, ob);
  const double sweep = a1 - a0;
  if (!std::isfinite(sweep) || !std::isfinite(radius) || !std::isfinite(ca) || !std::isfinite(cb) || sweep == 0.0) {
    // Words that overflow to no number give no arc to step along.
    CheckMove(to[0], to[1], to[2], 1);
    return;
  }
  double step = (radius >= 5.0 ? 50.0 : 20.0) / radius * kDegToRad;
  step = std::max(step, std::fabs(sweep) / kMaxArcSteps);
  // The steps are counted, not accumulated: a step too small to change the
  // angle it is added to must not keep the check turning for ever.
  const double wanted = std::ceil(std::fabs(sweep) / step);
  const int steps = std::isfinite(wanted) ? static_cast<int>(std::clamp(wanted, 1.0, double(kMaxArcSteps))) : 1;
  std::array<double, 6> point = to;
  for (int i = 1; i <= steps; ++i) {
    if (i == steps) {
      point = to;  // the block's own end point, whatever the rounding
    } else {
      const double fraction = static_cast<double>(i) / steps;
      const double angle = a0 + sweep * fraction;
      point[ax.a] = ca + radius * std::cos(angle);
      point[ax.b] = cb + radius * std::sin(angle);
      point[ax.c] = from[ax.c] + (to[ax.c] - from[ax.c]) * fraction;
    }
    CheckMove(point[0], point[1], point[2], 1);
  }
}

void RunContext::DrawDrillOutline(double x, double y, double top, double bottom) {
  const NcCheckState& k = transfer.Check;
  const double r = k.Pai * 0.5;
  if (r <= 0.0) return;
  // Two circles in 5-degree steps, a flank joining them and the tip below.
  for (const double z : {top, bottom}) {
    CheckMove(x + r, y, z, 0);
    for (int deg = 5; deg <= 360; deg += 5) {
      CheckMove(x + r * std::cos(deg * kDegToRad), y + r * std::sin(deg * kDegToRad), z, 1);
    }
  }
  CheckMove(x + r, y, top, 0);
  CheckMove(x + r, y, bottom, 1);
  if (k.Tip > 0.0 && k.Tip < 180.0) {
    const double tipLength = r / std::tan(k.Tip * 0.5 * kDegToRad);
    CheckMove(x, y, bottom - tipLength, 1);
    CheckMove(x - r, y, bottom, 1);
  }
  CheckMove(x, y, bottom, 0);
}

void RunContext::CheckHole(const std::array<double, 6>& to) {
  NcCheckState& k = transfer.Check;
  if (k.GivenR || !k.CycleRKept) {
    // The first block of a cycle keeps its R level for the holes after it.
    const double r = k.GivenR ? k.R : 0.0;
    k.CycleRLevel = k.Incremental ? k.CycleInitialZ + r : (k.GivenR ? r : k.CycleInitialZ);
    k.CycleRKept = true;
  }
  if (k.Given[2]) k.CycleDepth = k.Incremental ? k.CycleRLevel + k.Next[2] : k.Next[2];
  const double x = to[0], y = to[1];
  CheckMove(x, y, k.Last[2], -1);
  CheckMove(x, y, k.CycleRLevel, -1);
  CheckMove(x, y, k.CycleDepth, 1);
  DrawDrillOutline(x, y, k.CycleRLevel, k.CycleDepth);
  const double level = k.ReturnToR ? k.CycleRLevel : k.CycleInitialZ;
  CheckMove(x, y, level, -1);
  k.Last = to;
  k.Last[2] = level;
}

void RunContext::ShowMonitorValues() {
  NcCheckState& k = transfer.Check;
  std::array<double, 6> to = k.Last;
  for (std::size_t i = 0; i < to.size(); ++i) {
    if (k.Given[i]) to[i] = k.Incremental ? k.Last[i] + k.Next[i] : k.Next[i];
  }
  const bool hole = k.CycleActive && (k.Given[0] || k.Given[1]);
  if (hole) {
    CheckHole(to);
  } else if (k.Moving) {
    if (k.Motion == 5 || !k.PositionKnown) {
      // A coordinate setting, or the first position the program names: the
      // tool is there, nothing is drawn.
    } else if (k.Motion == 0 || k.Motion == 1) {
      CheckMove(to[0], to[1], to[2], k.Motion == 0 ? -1 : 1);
    } else if (k.Motion == 2 || k.Motion == 3) {
      CheckArc(k.Last, to);
    }
    k.Last = to;
    k.PositionKnown = true;
  }
  if (k.CoordinateSetting) k.Motion = k.MotionBeforeSetting;
  FillMonitorTexts();
  host.SetMonitorTexts(k.Monitor);
  if ((output.RunExecutionMode & kSlowMode) != 0) DelayMs(output.SlowModeDelayMs);
}

void RunContext::FillMonitorTexts() {
  NcCheckState& k = transfer.Check;
  const bool lathe = (output.CodeFormat & 0x4000) != 0;
  auto round3 = [](double v) { return std::round(v * 1000.0) / 1000.0; };
  std::size_t line = 0;
  auto put = [&](std::string text) {
    if (line < k.Monitor.size()) k.Monitor[line++] = std::move(text);
  };
  char head[32];
  std::snprintf(head, sizeof head, "LINE = %d  ", k.LineCounter);
  put(head);
  put(Format("Ｘ = %-5.3f   ", round3(lathe ? k.Last[1] * 2.0 : k.Last[0])));
  put(Format("Ｙ = %-5.3f   ", round3(lathe ? 0.0 : k.Last[1])));
  put(Format("Ｚ = %-5.3f   ", round3(lathe ? k.Last[0] : k.Last[2])));
  const char* rotary[] = {"Ａ = %-5.3f   ", "Ｂ = %-5.3f   ", "Ｃ = %-5.3f   "};
  for (std::size_t i = 0; i < 3; ++i) {
    if (k.Given[3 + i] || k.Last[3 + i] != 0.0) put(Format(rotary[i], k.Last[3 + i]));
  }
  if (k.O >= 0.0) put(Format("Ｏ = %g   ", k.O));
  if (k.FeedWithPoint) {
    put(Format("Ｆ = %-5.3f   ", k.F));
  } else if (k.F > 0.0) {
    put(Format("Ｆ = %g   ", k.F));
  }
  if (k.S > 0.0) put(Format("Ｓ = %g   ", k.S));
  if (k.M >= 0.0) put(Format("Ｍ = %02g   ", k.M));
  if (k.T >= 0.0) put(Format("Ｔ = %02g   ", k.T));
  if (k.CompensationCode != 0) put(Format("Ｇ = %02.0f   ", k.CompensationCode));
  if (k.D >= 0.0) put(Format("Ｄ = %02g   ", k.D));
  if (k.H >= 0.0) put(Format("Ｈ = %02g   ", k.H));
  while (line < k.Monitor.size()) k.Monitor[line++].clear();
}

}  // namespace qup
