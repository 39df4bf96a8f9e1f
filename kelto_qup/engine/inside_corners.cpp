// The inside corners of a closed contour's offset path where it is entered
// and left. Where a closed contour turns towards the tool's side at the
// joint of its last and first elements, the offset path of each ends at
// the crossing of the two offset elements; a lead that met an element
// beyond that corner would put the tool inside the other element's wall.
#include "kelto_qup/engine/inside_corners.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
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
// How far along the piece from its start, in its walking sense, the point
// lies: a length on a line; an angle on an arc, taken about the arc's middle
// so that a point a little before its start or after its end keeps its
// sign whatever the sweep.
double Along(const WalkedPiece& w, const std::array<double, 2>& at) {
  if (!w.arc) return AlongFrom(w, w.sx, w.sy, at[0], at[1]);
  constexpr double kTwoPi = 6.283185307179586;
  double sweep = AlongFrom(w, w.sx, w.sy, w.ex, w.ey);
  if (sweep <= 0.0) sweep += kTwoPi;
  double a = AlongFrom(w, w.sx, w.sy, at[0], at[1]);
  const double low = -(kTwoPi - sweep) * 0.5;
  while (a < low) a += kTwoPi;
  while (a >= low + kTwoPi) a -= kTwoPi;
  return a;
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

OffsetConsumption MarkOffsetConsumed(ElementTable& elements, int first, int last, double offset, bool closed) {
  auto isPiece = [](const NcElement& e) { return (e.code & 0xFF00) == kCodeLine || (e.code & 0xFF00) == kCodeArc; };
  // The elements of the range as a ring (or a chain) of live neighbours.
  std::vector<int> index;
  for (int i = first; i <= last; ++i) {
    if (isPiece(elements[i]) && (elements[i].flags & 0xFFFF) != kConsumedMark) index.push_back(i);
  }
  const int n = static_cast<int>(index.size());
  if (offset == 0.0 || n < 2 || (n == 2 && !closed)) return {0, n};
  std::vector<int> prev(n), next(n);
  std::vector<WalkedPiece> piece(n);
  for (int k = 0; k < n; ++k) {
    prev[k] = k > 0 ? k - 1 : (closed ? n - 1 : -1);
    next[k] = k + 1 < n ? k + 1 : (closed ? 0 : -1);
    piece[k] = Walked(elements[index[static_cast<std::size_t>(k)]], false);
  }
  std::vector<bool> gone(n, false);
  int live = n;
  // Where the offsets of a and b cross, nearest to (x, y).
  auto crossing = [&](int a, int b, double x, double y, std::array<double, 2>& at) {
    const auto found = OffsetCrossings(piece[a], piece[b], offset);
    if (found.empty()) return false;
    at = found.front();
    for (const auto& c : found) {
      if (std::hypot(c[0] - x, c[1] - y) < std::hypot(at[0] - x, at[1] - y)) at = c;
    }
    return true;
  };
  // Whether the offsets of two antiparallel lines have crossed over: the
  // offset of b lies on the far side of a's offset from a.
  auto crossedOver = [&](int a, int b) {
    const WalkedPiece& la = piece[a];
    const WalkedPiece& lb = piece[b];
    if (la.arc || lb.arc || la.ux * lb.ux + la.uy * lb.uy > -0.999999) return false;
    // b's line on the tool's side of a
    const double across = ((lb.sx - la.sx) * -la.uy + (lb.sy - la.sy) * la.ux) * (offset > 0.0 ? 1.0 : -1.0);
    return across < 2.0 * std::fabs(offset) - 1e-9 && across > 0.0;
  };
  auto Length = [](const WalkedPiece& w) {
    return w.arc ? w.r * std::fabs(Along(w, {w.ex, w.ey})) : std::hypot(w.ex - w.sx, w.ey - w.sy);
  };
  // Whether the joint of a and b (a before b) is an inside corner of the
  // offset path. Elements that meet only because those between them were
  // consumed stand at an inside corner.
  auto inside = [&](int a, int b) {
    if (b != (a + 1) % n) return true;
    const WalkedPiece& before = piece[a];
    const WalkedPiece& after = piece[b];
    const auto tb = TangentAt(before, before.ex, before.ey), ta = TangentAt(after, before.ex, before.ey);
    return (tb[0] * ta[1] - tb[1] * ta[0]) * offset > 1e-9;
  };
  if (n == 2) {
    // Two elements closing on each other (a chord and its arc): where they
    // meet at an inside corner their offsets must cross, or the tool fits
    // nowhere between them.
    std::array<double, 2> at{};
    for (const auto& [a, b] : {std::pair<int, int>{0, 1}, std::pair<int, int>{1, 0}}) {
      if (inside(a, b) && !crossing(a, b, piece[a].ex, piece[a].ey, at)) return {2, 0};
    }
    return {0, 2};
  }
  std::vector<int> work;
  for (int k = n - 1; k >= 0; --k) work.push_back(k);
  // Each pass consumes an element or retires one from the work list; an
  // element goes back on it only when a neighbour is consumed.
  while (!work.empty() && live > 2) {
    const int k = work.back();
    work.pop_back();
    if (gone[static_cast<std::size_t>(k)]) continue;
    const int a = prev[k], b = next[k];
    if (a < 0 || b < 0) continue;  // the ends of an open chain stay
    const WalkedPiece& w = piece[k];
    bool swallowed = false;
    std::array<double, 2> ca{}, cb{};
    const bool metBefore = crossing(a, k, w.sx, w.sy, ca);
    const bool metAfter = crossing(k, b, w.ex, w.ey, cb);
    // The offset element runs from where the tool comes onto it to where
    // it leaves it: at an inside corner the crossing with the neighbour's
    // offset, round an outside corner (the tool goes round the joint), or
    // beside a parallel neighbour, its own end offset square to it.
    const double from = metBefore && inside(a, k) ? Along(w, ca) : 0.0;
    const double to = metAfter && inside(k, b) ? Along(w, cb) : Along(w, {w.ex, w.ey});
    const double tolerance = w.arc ? 1e-6 / std::max(w.r, 1.0) : 1e-6;
    swallowed = to < from - tolerance;
    // Of two antiparallel lines whose offsets have crossed over, the
    // shorter is consumed; the other is looked at again with its new
    // neighbour.
    if (!metAfter && crossedOver(k, b) && Length(w) <= Length(piece[b])) swallowed = true;
    if (!metBefore && crossedOver(a, k) && Length(w) <= Length(piece[a])) swallowed = true;
    // Two parallel lines at different offsets would be left to meet each
    // other: the tool would have to go round the consumed element to pass
    // from one to the other, which no join builds. The element stays (the
    // walk refuses it) until its neighbours change.
    if (swallowed && !piece[a].arc && !piece[b].arc &&
        piece[a].ux * piece[b].ux + piece[a].uy * piece[b].uy > 0.999999 &&
        std::fabs((piece[b].sx - piece[a].sx) * -piece[a].uy + (piece[b].sy - piece[a].sy) * piece[a].ux) > 1e-6) {
      swallowed = false;
    }
    if (!swallowed) continue;
    gone[static_cast<std::size_t>(k)] = true;
    --live;
    elements[index[static_cast<std::size_t>(k)]].flags =
        (elements[index[static_cast<std::size_t>(k)]].flags & static_cast<int>(0xFFFF0000u)) | kConsumedMark;
    next[a] = b;
    prev[b] = a;
    work.push_back(b);
    work.push_back(a);
  }
  return {n - live, live};
}

bool OnInsideCornerAtStart(const ElementTable& elements, int first, int last, bool reversed, double offset, double x,
                           double y) {
  WalkedPiece on;
  std::array<double, 2> joint{};
  const auto corner = InsideCorner(elements, first, last, 0, reversed, offset, on, joint);
  return corner && std::hypot(x - (*corner)[0], y - (*corner)[1]) < 0.001;
}

}  // namespace qup
