// The inside corners of a closed contour's offset path where it is entered
// and left. Where a closed contour turns towards the tool's side at the
// joint of its last and first elements, the offset path of each ends at
// the crossing of the two offset elements; a lead that met an element
// beyond that corner would put the tool inside the other element's wall.
#include "kelto_qup/engine/inside_corners.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "kelto_qup/engine/engine_core_words.h"

namespace qup {

namespace {

// A line or arc of the table in walking order. A table line runs from
// d6/d7 to d4/d5 along d2/d3; an arc from d2/d3 to d4/d5 about d6/d7,
// counter-clockwise for a positive radius d1.
struct WalkedPiece {
  bool arc = false;
  double sx = 0.0, sy = 0.0, ex = 0.0, ey = 0.0;
  double ux = 0.0, uy = 0.0;                  // a line's direction
  double cx = 0.0, cy = 0.0, r = 0.0;         // an arc's centre and radius
  bool ccw = false;                           // an arc's turning sense as walked
};
WalkedPiece Walked(const NcElement& e, bool backwards) {
  WalkedPiece w;
  w.arc = (e.code & 0xFF00) == kCodeArc;
  const double sx = w.arc ? e.d2 : e.d6, sy = w.arc ? e.d3 : e.d7;
  w.sx = backwards ? e.d4 : sx;
  w.sy = backwards ? e.d5 : sy;
  w.ex = backwards ? sx : e.d4;
  w.ey = backwards ? sy : e.d5;
  w.ux = backwards ? -e.d2 : e.d2;
  w.uy = backwards ? -e.d3 : e.d3;
  w.cx = e.d6;
  w.cy = e.d7;
  w.r = std::fabs(e.d1);
  w.ccw = (e.d1 > 0.0) != backwards;
  return w;
}
// The direction of travel along the piece at its point (x, y).
std::array<double, 2> TangentAt(const WalkedPiece& w, double x, double y) {
  if (!w.arc) return {w.ux, w.uy};
  const double s = w.ccw ? 1.0 : -1.0;
  return {-s * (y - w.cy) / w.r, s * (x - w.cx) / w.r};
}
// How far along the piece, in its walking sense, (x, y) lies from the
// joint (jx, jy): a length on a line, an angle on an arc.
double AlongFrom(const WalkedPiece& w, double jx, double jy, double x, double y) {
  if (!w.arc) return (x - jx) * w.ux + (y - jy) * w.uy;
  const double ax = jx - w.cx, ay = jy - w.cy, bx = x - w.cx, by = y - w.cy;
  const double turn = std::atan2(ax * by - ay * bx, ax * bx + ay * by);
  return w.ccw ? turn : -turn;
}
// The crossings of the pieces offset by `side` (to the left of the walk):
// a line moves along its normal, an arc's radius shrinks or grows.
std::vector<std::array<double, 2>> OffsetCrossings(const WalkedPiece& a, const WalkedPiece& b, double side) {
  std::vector<std::array<double, 2>> out;
  auto radius = [&](const WalkedPiece& w) { return w.r - (w.ccw ? side : -side); };
  auto lineCircle = [&](const WalkedPiece& l, const WalkedPiece& c) {
    const double px = l.sx - side * l.uy - c.cx, py = l.sy + side * l.ux - c.cy, rc = radius(c);
    const double bq = px * l.ux + py * l.uy, q = px * px + py * py - rc * rc, disc = bq * bq - q;
    if (rc <= 0.0 || disc < 0.0) return;
    for (const double t : {-bq - std::sqrt(disc), -bq + std::sqrt(disc)}) out.push_back({c.cx + px + t * l.ux, c.cy + py + t * l.uy});
  };
  if (!a.arc && !b.arc) {
    const double turn = a.ux * b.uy - a.uy * b.ux;
    if (std::fabs(turn) < 1e-12) return out;
    const double px = a.sx - side * a.uy, py = a.sy + side * a.ux;
    const double qx = b.sx - side * b.uy, qy = b.sy + side * b.ux;
    const double t = ((qx - px) * b.uy - (qy - py) * b.ux) / turn;
    out.push_back({px + t * a.ux, py + t * a.uy});
  } else if (!a.arc) {
    lineCircle(a, b);
  } else if (!b.arc) {
    lineCircle(b, a);
  } else {
    const double ra = radius(a), rb = radius(b);
    const double dx = b.cx - a.cx, dy = b.cy - a.cy, d = std::hypot(dx, dy);
    if (ra <= 0.0 || rb <= 0.0 || d < 1e-12 || d > ra + rb || d < std::fabs(ra - rb)) return out;
    const double along = (ra * ra - rb * rb + d * d) / (2.0 * d), h = std::sqrt(std::max(ra * ra - along * along, 0.0));
    const double mx = a.cx + along * dx / d, my = a.cy + along * dy / d;
    out.push_back({mx - h * dy / d, my + h * dx / d});
    out.push_back({mx + h * dy / d, my - h * dx / d});
  }
  return out;
}

// The inside corner of the offset path at the joint that the lead of `end`
// crosses, or nothing when that joint is an outside corner, a smooth one,
// or the range is not a closed chain of lines and arcs.
std::optional<std::array<double, 2>> InsideCorner(const ElementTable& elements, int first, int last, int end,
                                                  bool reversed, double offset, WalkedPiece& on,
                                                  std::array<double, 2>& joint) {
  const NcElement& a = elements[first];
  const NcElement& b = elements[last];
  auto isPiece = [](const NcElement& e) { return (e.code & 0xFF00) == kCodeLine || (e.code & 0xFF00) == kCodeArc; };
  if (offset == 0.0 || first == last || !isPiece(a) || !isPiece(b)) return std::nullopt;
  const WalkedPiece wa = Walked(a, false), wb = Walked(b, false);
  // Closed: the last element ends where the first begins.
  if (std::fabs(wb.ex - wa.sx) > 0.001 || std::fabs(wb.ey - wa.sy) > 0.001) return std::nullopt;
  // In walking order: the element the lead stands on, and its neighbour
  // across the joint (before it at the start, after it at the end).
  const bool onFirst = reversed ? end == 1 : end == 0;
  on = Walked(onFirst ? a : b, reversed);
  const WalkedPiece other = Walked(onFirst ? b : a, reversed);
  const double side = reversed ? -offset : offset;  // to the left of the walk
  const WalkedPiece& before = end == 0 ? other : on;
  const WalkedPiece& after = end == 0 ? on : other;
  const double jx = end == 0 ? on.sx : on.ex, jy = end == 0 ? on.sy : on.ey;
  joint = {jx, jy};
  const auto tb = TangentAt(before, jx, jy), ta = TangentAt(after, jx, jy);
  const double turn = tb[0] * ta[1] - tb[1] * ta[0];
  if (turn * side <= 1e-9) return std::nullopt;  // an outside corner, or a smooth joint
  // The corner: the crossing of the offset elements nearest the joint.
  const auto crossings = OffsetCrossings(before, after, side);
  if (crossings.empty()) return std::nullopt;
  std::array<double, 2> corner = crossings.front();
  for (const auto& c : crossings) {
    if (std::hypot(c[0] - jx, c[1] - jy) < std::hypot(corner[0] - jx, corner[1] - jy)) corner = c;
  }
  return corner;
}

}  // namespace

void KeepLeadOffInsideCorner(const ElementTable& elements, int first, int last, int end, bool reversed, double offset,
                             double& toX, double& toY) {
  WalkedPiece on;
  std::array<double, 2> joint{};
  const auto corner = InsideCorner(elements, first, last, end, reversed, offset, on, joint);
  if (!corner) return;
  // How far along the lead's element the TO point's foot and the corner lie.
  const double foot = AlongFrom(on, joint[0], joint[1], toX, toY);
  const double limit = AlongFrom(on, joint[0], joint[1], (*corner)[0], (*corner)[1]);
  const double tolerance = on.arc ? 0.0005 / std::max(on.r, 1.0) : 0.0005;
  const bool beyond = end == 0 ? foot < limit - tolerance : foot > limit + tolerance;
  if (!beyond) return;
  toX = (*corner)[0];
  toY = (*corner)[1];
}

bool OnInsideCornerAtStart(const ElementTable& elements, int first, int last, bool reversed, double offset, double x,
                           double y) {
  WalkedPiece on;
  std::array<double, 2> joint{};
  const auto corner = InsideCorner(elements, first, last, 0, reversed, offset, on, joint);
  return corner && std::hypot(x - (*corner)[0], y - (*corner)[1]) < 0.001;
}

}  // namespace qup
