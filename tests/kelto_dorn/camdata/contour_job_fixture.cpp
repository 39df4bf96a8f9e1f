#include "tests/kelto_dorn/camdata/contour_job_fixture.h"

#include <cstdio>
#include <limits>
#include <map>
#include <utility>

namespace dorn::test {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSampleStep = 0.05;    // mm along a move or a wall
constexpr double kEndAllowance = 0.002;  // at a move's ends
constexpr double kChordAllowance = 0.012;  // inside a move: the chord of an arc stepped in lines
constexpr double kReachAllowance = 0.012;  // an uncut wall is farther than radius + this from every cut
constexpr int kDescribed = 5;

using P = std::array<double, 2>;

double Hypot(P a, P b) { return std::hypot(a[0] - b[0], a[1] - b[1]); }

// The turn of an arc from its start to where a point lies, in its sense, 0 .. 2 pi.
double TurnTo(const DrawnPiece& piece, P q) {
  const double s = piece.radius > 0.0 ? 1.0 : -1.0;
  double a = s * (std::atan2(q[1] - piece.centre[1], q[0] - piece.centre[0]) -
                  std::atan2(piece.from[1] - piece.centre[1], piece.from[0] - piece.centre[0]));
  while (a < 0.0) a += 2.0 * kPi;
  while (a >= 2.0 * kPi) a -= 2.0 * kPi;
  return a;
}

// The arc's sweep, 0 .. 2 pi; an arc whose ends meet is a whole circle.
double Sweep(const DrawnPiece& piece) {
  if (Hypot(piece.from, piece.to) < 1e-9) return 2.0 * kPi;
  return TurnTo(piece, piece.to);
}

double DistanceTo(const DrawnPiece& piece, P q) {
  if (piece.radius == 0.0) {
    const double vx = piece.to[0] - piece.from[0], vy = piece.to[1] - piece.from[1];
    const double l2 = vx * vx + vy * vy;
    const double t = l2 > 0.0 ? std::clamp(((q[0] - piece.from[0]) * vx + (q[1] - piece.from[1]) * vy) / l2, 0.0, 1.0)
                              : 0.0;
    return std::hypot(piece.from[0] + t * vx - q[0], piece.from[1] + t * vy - q[1]);
  }
  if (TurnTo(piece, q) <= Sweep(piece) + 1e-12) return std::fabs(Hypot(q, piece.centre) - std::fabs(piece.radius));
  return std::min(Hypot(q, piece.from), Hypot(q, piece.to));
}

double DistanceTo(const DrawnContour& contour, P q) {
  double best = std::numeric_limits<double>::infinity();
  for (const DrawnPiece& piece : contour) best = std::min(best, DistanceTo(piece, q));
  return best;
}

// Points along a piece every kSampleStep, with the unit left normal of the
// travel there.
struct WallPoint {
  P at, left;
};
std::vector<WallPoint> WallPoints(const DrawnPiece& piece, double step = kSampleStep) {
  std::vector<WallPoint> points;
  if (piece.radius == 0.0) {
    const double length = Hypot(piece.from, piece.to);
    if (length <= 0.0) return points;
    const P u{(piece.to[0] - piece.from[0]) / length, (piece.to[1] - piece.from[1]) / length};
    const int n = std::max(1, static_cast<int>(std::ceil(length / step)));
    for (int i = 0; i <= n; ++i) {
      const double t = length * i / n;
      points.push_back({{piece.from[0] + t * u[0], piece.from[1] + t * u[1]}, {-u[1], u[0]}});
    }
    return points;
  }
  const double r = std::fabs(piece.radius), s = piece.radius > 0.0 ? 1.0 : -1.0;
  const double sweep = Sweep(piece);
  const double a0 = std::atan2(piece.from[1] - piece.centre[1], piece.from[0] - piece.centre[0]);
  const int n = std::max(1, static_cast<int>(std::ceil(sweep * r / step)));
  for (int i = 0; i <= n; ++i) {
    const double a = a0 + s * sweep * i / n;
    const P radial{std::cos(a), std::sin(a)};
    // Travelling counter-clockwise the centre lies on the left.
    points.push_back({{piece.centre[0] + r * radial[0], piece.centre[1] + r * radial[1]}, {-s * radial[0], -s * radial[1]}});
  }
  return points;
}

// Points of a move below the part's top, every kSampleStep, with the
// allowance there (a move's ends are exact, its inside may be a chord).
struct MovePoint {
  P at;
  double allowance;
};
std::vector<MovePoint> MovePoints(const CanonMove& m) {
  std::vector<MovePoint> points;
  const bool below = m.z < -1e-6 || m.fromZ < -1e-6;
  if (m.kind == CanonMove::Kind::kTraverse || m.reference || m.cannedCycle || !below) return points;
  auto zAt = [&](double t) { return m.fromZ + t * (m.z - m.fromZ); };
  if (m.kind == CanonMove::Kind::kArc) {
    const P c{m.centreFirst, m.centreSecond};
    const double r = Hypot({m.fromX, m.fromY}, c);
    const double a0 = std::atan2(m.fromY - c[1], m.fromX - c[0]);
    double sweep = std::atan2(m.y - c[1], m.x - c[0]) - a0;
    if (m.turn > 0) {
      while (sweep <= 1e-12) sweep += 2.0 * kPi;
    } else {
      while (sweep >= -1e-12) sweep -= 2.0 * kPi;
    }
    const int n = std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) * r / kSampleStep)));
    for (int i = 0; i <= n; ++i) {
      const double t = static_cast<double>(i) / n;
      if (zAt(t) > -1e-6) continue;
      const double a = a0 + sweep * t;
      // An arc written as an arc is exact throughout.
      points.push_back({{c[0] + r * std::cos(a), c[1] + r * std::sin(a)}, kEndAllowance});
    }
    return points;
  }
  const double length = std::hypot(m.x - m.fromX, m.y - m.fromY);
  const int n = std::max(1, static_cast<int>(std::ceil(length / kSampleStep)));
  for (int i = 0; i <= n; ++i) {
    const double t = static_cast<double>(i) / n;
    if (zAt(t) > -1e-6) continue;
    points.push_back({{m.fromX + t * (m.x - m.fromX), m.fromY + t * (m.y - m.fromY)},
                      i == 0 || i == n ? kEndAllowance : kChordAllowance});
  }
  return points;
}

// Whether the pieces close on themselves.
bool IsClosed(const DrawnContour& contour) {
  return !contour.empty() && Hypot(contour.front().from, contour.back().to) < 0.001;
}

// The closed contour as a polygon, fine enough (its chords within 0.003 of
// an arc of R10) to tell the sides apart away from the wall.
std::vector<P> Polygon(const DrawnContour& contour) {
  std::vector<P> polygon;
  for (const DrawnPiece& piece : contour) {
    for (const WallPoint& w : WallPoints(piece, 0.5)) polygon.push_back(w.at);
  }
  return polygon;
}

// The winding number of a polygon about q.
int Winding(const std::vector<P>& polygon, P q) {
  int winding = 0;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const P a = polygon[i], b = polygon[(i + 1) % polygon.size()];
    const double cross = (b[0] - a[0]) * (q[1] - a[1]) - (q[0] - a[0]) * (b[1] - a[1]);
    if (a[1] <= q[1]) {
      if (b[1] > q[1] && cross > 0.0) ++winding;
    } else if (b[1] <= q[1] && cross < 0.0) {
      --winding;
    }
  }
  return winding;
}

std::string Where(P q) {
  char text[64];
  std::snprintf(text, sizeof text, "(%.4f, %.4f)", q[0], q[1]);
  return text;
}

}  // namespace

DrawnContour Polyline(const std::vector<std::array<double, 2>>& points) {
  DrawnContour contour;
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    contour.push_back(Line(points[i][0], points[i][1], points[i + 1][0], points[i + 1][1]));
  }
  return contour;
}

DrawnContour Reversed(const DrawnContour& contour) {
  DrawnContour back;
  for (auto it = contour.rbegin(); it != contour.rend(); ++it) back.push_back({it->to, it->from, -it->radius, it->centre});
  return back;
}

std::string WallFindings::Describe() const {
  std::string text;
  auto list = [&text](const char* what, int count, const std::vector<std::string>& some) {
    if (count == 0) return;
    text += std::string(what) + " " + std::to_string(count) + ":";
    for (const std::string& s : some) text += " " + s;
    text += "\n";
  };
  list("GOUGE", gougeCount, gouges);
  list("WRONG-SIDE", wrongSideCount, wrongSide);
  list("UNCUT", uncutCount, uncut);
  return text;
}

WallFindings CheckWalls(const testsupport::MotionCheck& check, const DrawnContour& drawn, double radius, bool right) {
  WallFindings found;
  // Right of the travel is left of the travel the other way round.
  const DrawnContour contour = right ? Reversed(drawn) : drawn;
  const bool closed = IsClosed(contour);
  // The contour's own sense: counter-clockwise puts the left of travel inside.
  double area = 0.0;
  for (const DrawnPiece& piece : contour) {
    area += piece.from[0] * piece.to[1] - piece.to[0] * piece.from[1];
    if (piece.radius != 0.0) area += piece.radius * std::fabs(piece.radius) * (Sweep(piece) - std::sin(Sweep(piece)));
  }
  const bool pocket = area > 0.0;
  const std::vector<P> polygon = closed ? Polygon(contour) : std::vector<P>{};
  std::vector<P> cut;
  for (const CanonMove& m : check.moves) {
    for (const MovePoint& p : MovePoints(m)) {
      cut.push_back(p.at);
      const double d = DistanceTo(contour, p.at);
      if (d < radius - p.allowance) {
        if (found.gougeCount++ < kDescribed) {
          found.gouges.push_back(Where(p.at) + " " + std::to_string(radius - d) + " in, line " + std::to_string(m.line));
        }
        found.deepestGouge = std::max(found.deepestGouge, radius - d);
      }
      if (closed && d > 0.01) {
        const bool inside = Winding(polygon, p.at) != 0;
        if (inside != pocket && found.wrongSideCount++ < kDescribed) {
          found.wrongSide.push_back(Where(p.at) + " line " + std::to_string(m.line));
        }
      }
    }
  }
  // The cut points in square cells of the reach, so that a wall point
  // looks at the cells about it only.
  const double cell = radius + kReachAllowance;
  std::map<std::pair<long, long>, std::vector<P>> cells;
  auto cellOf = [cell](P q) {
    return std::pair<long, long>{static_cast<long>(std::floor(q[0] / cell)), static_cast<long>(std::floor(q[1] / cell))};
  };
  for (const P& c : cut) cells[cellOf(c)].push_back(c);
  auto reached = [&](P q) {
    const auto [cx, cy] = cellOf(q);
    for (long i = cx - 1; i <= cx + 1; ++i) {
      for (long j = cy - 1; j <= cy + 1; ++j) {
        const auto it = cells.find({i, j});
        if (it == cells.end()) continue;
        for (const P& c : it->second) {
          if (Hypot(c, q) <= cell) return true;
        }
      }
    }
    return false;
  };
  // A wall point is reachable when the tool standing square off it on the
  // free side touches no other wall.
  for (const DrawnPiece& piece : contour) {
    for (const WallPoint& w : WallPoints(piece)) {
      const P centre{w.at[0] + radius * w.left[0], w.at[1] + radius * w.left[1]};
      if (DistanceTo(contour, centre) < radius - 0.001) continue;
      if (!reached(w.at) && found.uncutCount++ < kDescribed) found.uncut.push_back(Where(w.at));
    }
  }
  return found;
}

}  // namespace dorn::test
