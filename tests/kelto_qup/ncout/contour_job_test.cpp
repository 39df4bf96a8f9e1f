// Contour jobs from the hand-over to the NC program, read back by rs274:
// a square and a circle offset outside and inside, with round outside
// corners and cut inside corners. The tool comes down onto the contour at
// the foot of the lead line through the tool-offset point, goes round it
// back to that foot and leaves it upwards there. Every feed move at the
// contour's depth must end on the hand-computed tool-centre path, go along
// it in order and cover it.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <numbers>

#include "tests/kelto_qup/ncout/nc_run_fixture.h"

namespace ncrun {
namespace {

using testsupport::CanonMove;
using testsupport::ContourOptions;

constexpr double kDepth = -5.0;
constexpr double kOnPath = 0.001;
// Arcs are written as chords of at most this sagitta (the engine's default).
constexpr double kChordTolerance = 0.01;

struct XY {
  double x, y;
};

// One piece of the expected tool-centre path: a line, or an arc about a
// centre (radius > 0 counter-clockwise, < 0 clockwise).
struct Piece {
  XY from, to;
  double radius = 0.0;
  XY centre{};
};

double Dist(XY a, XY b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Distance of p from the piece (an arc counts over its sweep only).
double DistanceTo(const Piece& piece, XY p) {
  if (piece.radius == 0.0) {
    const double dx = piece.to.x - piece.from.x, dy = piece.to.y - piece.from.y;
    const double l2 = dx * dx + dy * dy;
    double t = l2 > 0.0 ? ((p.x - piece.from.x) * dx + (p.y - piece.from.y) * dy) / l2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return Dist(p, {piece.from.x + t * dx, piece.from.y + t * dy});
  }
  const auto angle = [&](XY q) { return std::atan2(q.y - piece.centre.y, q.x - piece.centre.x); };
  const double sense = piece.radius > 0.0 ? 1.0 : -1.0;
  auto sweepTo = [&](XY q) {
    double a = sense * (angle(q) - angle(piece.from));
    while (a < -1e-9) a += 2.0 * std::numbers::pi;
    return a;
  };
  double sweep = sweepTo(piece.to);
  if (sweep < 1e-9) sweep = 2.0 * std::numbers::pi;  // a full circle
  const double at = sweepTo(p);
  if (at <= sweep + 1e-9) return std::fabs(Dist(p, piece.centre) - std::fabs(piece.radius));
  return std::min(Dist(p, piece.from), Dist(p, piece.to));
}

// A path mirrored in the X axis: arcs turn the other way.
std::vector<Piece> MirrorInX(std::vector<Piece> path) {
  for (Piece& p : path) {
    p.from.y = -p.from.y;
    p.to.y = -p.to.y;
    p.centre.y = -p.centre.y;
    p.radius = -p.radius;
  }
  return path;
}

class ContourJobTest : public NcRunTest {
 protected:
  // A contour offset by `offset` (positive to the left of travel) whose lead
  // lines run through the tool-offset point (toX, toY).
  static ContourOptions Offset(double offset, double toX, double toY) {
    ContourOptions options;
    options.offset = offset;
    options.toX = toX;
    options.toY = toY;
    return options;
  }
  // A job of one process with one contour over the figures numbered 100.
  static HandoverBuilder Job(const std::function<void(HandoverBuilder&)>& figures, const ContourOptions& options) {
    HandoverBuilder job;
    job.Begin();
    figures(job);
    job.BeginProcess(400, 1, 0.0, 0.0, 50.0, 1000.0, 10.0);
    testsupport::AddContour(job, 401, options);
    job.ProcessEnd(500);
    job.End();
    return job;
  }

  // Runs the job, reads the program back and checks the moves at the
  // contour's depth against the path: each ends on it (a chord's middle
  // within the chord tolerance), they go along it piece by piece, and the
  // last ends where the path ends.
  void ExpectPath(HandoverBuilder& job, const std::vector<Piece>& path) {
    const int status = Run(job);
    ASSERT_EQ(status, 0) << (host.errorBoxes.empty() ? "" : host.errorBoxes.back()) << "\n" << NcText();
    ASSERT_EQ(run->job.RunIncomplete, 0) << (host.errorBoxes.empty() ? "" : host.errorBoxes.back()) << "\n" << NcText();
    // The tool goes down into material at a feed only: no rapid move ends
    // below the part's top (Z 0).
    MotionLimits limits;
    limits.partTop = 0.0;
    testsupport::MotionCheck check;
    ReadBack(limits, &check);
    if (!check.ran) GTEST_SKIP() << "rs274 is not installed";
    std::size_t piece = 0;
    XY last{};
    int moves = 0;
    for (const CanonMove& m : check.moves) {
      if (m.kind == CanonMove::Kind::kTraverse || std::fabs(m.z - kDepth) > 1e-6) continue;
      const XY end{m.x, m.y};
      const XY middle{(m.x + m.fromX) / 2.0, (m.y + m.fromY) / 2.0};
      // The move may reach into a later piece, never back into an earlier one.
      std::size_t at = piece;
      while (at < path.size() && DistanceTo(path[at], end) > kOnPath) ++at;
      ASSERT_LT(at, path.size()) << "line " << m.line << " ends off the path at " << m.x << " " << m.y << "\n"
                                 << NcText();
      if (m.kind == CanonMove::Kind::kFeed && std::fabs(m.fromZ - kDepth) < 1e-6) {
        bool near = false;
        for (std::size_t k = piece; k <= at; ++k) near = near || DistanceTo(path[k], middle) <= kChordTolerance + kOnPath;
        EXPECT_TRUE(near) << "line " << m.line << " leaves the path between its ends\n" << NcText();
      }
      piece = at;
      last = end;
      ++moves;
    }
    EXPECT_GT(moves, 0);
    EXPECT_EQ(piece, path.size() - 1) << "the moves stop before the path's last piece\n" << NcText();
    EXPECT_LE(Dist(last, path.back().to), kOnPath);
  }

  // A counter-clockwise contour offset outside (right of travel) and inside
  // (left), then its mirror in the X axis, walked clockwise, where outside
  // is left of travel: each on its path, the mirrored ones on the mirrored
  // paths. The tool-offset point is 15 beyond the first point of each path,
  // square to the figures' first line (the X axis), on the path's side.
  void ExpectBothSidesAndMirrored(const std::function<void(HandoverBuilder&)>& figures,
                                  const std::function<void(HandoverBuilder&)>& mirrored,
                                  const std::vector<Piece>& outside, const std::vector<Piece>& inside) {
    struct Case {
      const char* name;
      bool mirrored;
      double offset;  // positive to the left of travel
      const std::vector<Piece>* path;
    };
    for (const Case& c : {Case{"outside", false, -5.0, &outside}, Case{"inside", false, 5.0, &inside},
                          Case{"outside mirrored", true, 5.0, &outside}, Case{"inside mirrored", true, -5.0, &inside}}) {
      SCOPED_TRACE(c.name);
      Reset();
      const std::vector<Piece> path = c.mirrored ? MirrorInX(*c.path) : *c.path;
      const XY start = path.front().from;
      HandoverBuilder job =
          Job(c.mirrored ? mirrored : figures, Offset(c.offset, start.x, start.y + (start.y < 0.0 ? -15.0 : 15.0)));
      ExpectPath(job, path);
    }
  }

  // The square and the circle of R20 about (50, 50), each offset outside by
  // 5, come out on their offset paths put through `map`, arcs' radii times
  // `radiusFactor` (negative: a mirror turns them the other way).
  void ExpectSquareAndCircleMapped(const std::function<XY(XY)>& map, double radiusFactor);

  // Reads the program back into `check` and expects the tool to come down
  // to the contour's depth `count` times, always straight down. Without
  // rs274 (check->ran false) the test is skipped.
  void ExpectStraightDescents(int count, testsupport::MotionCheck* check);
};

// The square 0..100 counter-clockwise, from (50, 0) round to (50, 0).
void Square(HandoverBuilder& job) {
  job.Line(100, 50, 0, 100, 0);
  job.Line(100, 100, 0, 100, 100);
  job.Line(100, 100, 100, 0, 100);
  job.Line(100, 0, 100, 0, 0);
  job.Line(100, 0, 0, 50, 0);
}

// A circle of R20 about (50, 50), counter-clockwise from (70, 50).
void Circle(HandoverBuilder& job) { job.Arc(100, 20.0, 70, 50, 70, 50, 50, 50); }

TEST_F(ContourJobTest, SquareOffsetOutsideGoesRoundItsCornersAtR5) {
  // Right of travel: outside the counter-clockwise square.
  HandoverBuilder job = Job(Square, Offset(-5.0, 50.0, -20.0));
  ExpectPath(job, {{{50, -5}, {100, -5}},
                   {{100, -5}, {105, 0}, 5.0, {100, 0}},
                   {{105, 0}, {105, 100}},
                   {{105, 100}, {100, 105}, 5.0, {100, 100}},
                   {{100, 105}, {0, 105}},
                   {{0, 105}, {-5, 100}, 5.0, {0, 100}},
                   {{-5, 100}, {-5, 0}},
                   {{-5, 0}, {0, -5}, 5.0, {0, 0}},
                   {{0, -5}, {50, -5}}});
}

// The same square walked clockwise: outside is now left of travel and the
// corners turn clockwise.
void SquareClockwise(HandoverBuilder& job) {
  job.Line(100, 50, 0, 0, 0);
  job.Line(100, 0, 0, 0, 100);
  job.Line(100, 0, 100, 100, 100);
  job.Line(100, 100, 100, 100, 0);
  job.Line(100, 100, 0, 50, 0);
}

TEST_F(ContourJobTest, ClockwiseSquareOffsetOutsideTurnsItsCornersClockwise) {
  HandoverBuilder job = Job(SquareClockwise, Offset(5.0, 50.0, -20.0));
  ExpectPath(job, {{{50, -5}, {0, -5}},
                   {{0, -5}, {-5, 0}, -5.0, {0, 0}},
                   {{-5, 0}, {-5, 100}},
                   {{-5, 100}, {0, 105}, -5.0, {0, 100}},
                   {{0, 105}, {100, 105}},
                   {{100, 105}, {105, 100}, -5.0, {100, 100}},
                   {{105, 100}, {105, 0}},
                   {{105, 0}, {100, -5}, -5.0, {100, 0}},
                   {{100, -5}, {50, -5}}});
}

TEST_F(ContourJobTest, SquareOffsetInsideCutsItsCorners) {
  HandoverBuilder job = Job(Square, Offset(5.0, 50.0, 20.0));
  ExpectPath(job, {{{50, 5}, {95, 5}},
                   {{95, 5}, {95, 95}},
                   {{95, 95}, {5, 95}},
                   {{5, 95}, {5, 5}},
                   {{5, 5}, {50, 5}}});
}

TEST_F(ContourJobTest, CircleOffsetOutsideAndInside) {
  // Walked clockwise, outside is left of travel (a positive offset).
  const auto clockwise = [](HandoverBuilder& job) { job.Arc(100, -20.0, 70, 50, 70, 50, 50, 50); };
  struct Case {
    double offset, toX, radius;  // radius < 0: walked clockwise
  };
  for (const Case& c : {Case{-5.0, 90.0, 25.0}, Case{5.0, 60.0, 15.0}, Case{5.0, 90.0, -25.0}, Case{-5.0, 60.0, -15.0}}) {
    SCOPED_TRACE(testing::Message() << c.offset << " " << c.radius);
    Reset();
    const ContourOptions options = Offset(c.offset, c.toX, 50.0);
    HandoverBuilder job = c.radius > 0.0 ? Job(Circle, options) : Job(clockwise, options);
    const XY on{50.0 + std::fabs(c.radius), 50.0};
    ExpectPath(job, {{on, on, c.radius, {50, 50}}});
  }
}

// A quarter pie counter-clockwise from (20, 0): the bottom line, the arc of
// R40 about the origin, the left line down, the bottom again. Lines meet
// the arc at a right angle at (40, 0) and (0, 40).
void QuarterPie(HandoverBuilder& job) {
  job.Line(100, 20, 0, 40, 0);
  job.Arc(100, 40.0, 40, 0, 0, 40, 0, 0);
  job.Line(100, 0, 40, 0, 0);
  job.Line(100, 0, 0, 20, 0);
}

TEST_F(ContourJobTest, CornersBetweenLinesAndAnArcGoRoundTheirJoints) {
  HandoverBuilder job = Job(QuarterPie, Offset(-5.0, 20.0, -20.0));  // outside
  ExpectPath(job, {{{20, -5}, {40, -5}},
                   {{40, -5}, {45, 0}, 5.0, {40, 0}},
                   {{45, 0}, {0, 45}, 45.0, {0, 0}},
                   {{0, 45}, {-5, 40}, 5.0, {0, 40}},
                   {{-5, 40}, {-5, 0}},
                   {{-5, 0}, {0, -5}, 5.0, {0, 0}},
                   {{0, -5}, {20, -5}}});
}

// The quarter pie mirrored in the X axis: walked clockwise, the bottom line
// runs from inside the circle out to the clockwise arc and turns right there.
void QuarterPieClockwise(HandoverBuilder& job) {
  job.Line(100, 20, 0, 40, 0);
  job.Arc(100, -40.0, 40, 0, 0, -40, 0, 0);
  job.Line(100, 0, -40, 0, 0);
  job.Line(100, 0, 0, 20, 0);
}

// Inside, the offset bottom line y = 5 starts inside the offset arc R35 and
// leaves it ahead of the tool; the circle's other crossing lies behind the
// start. Mirrored, the contour and its offset side mirror with it, and the
// tool must take the mirrored crossing, not the one behind it.
TEST_F(ContourJobTest, LineIntoAnArcTakesTheSameCrossingWhenTheContourIsMirrored) {
  const double x = std::sqrt(35.0 * 35.0 - 25.0);
  const std::vector<Piece> outside = {{{20, -5}, {40, -5}},
                                      {{40, -5}, {45, 0}, 5.0, {40, 0}}, {{45, 0}, {0, 45}, 45.0, {0, 0}},
                                      {{0, 45}, {-5, 40}, 5.0, {0, 40}}, {{-5, 40}, {-5, 0}},
                                      {{-5, 0}, {0, -5}, 5.0, {0, 0}},   {{0, -5}, {20, -5}}};
  const std::vector<Piece> inside = {{{20, 5}, {x, 5}}, {{x, 5}, {5, x}, 35.0, {0, 0}}, {{5, x}, {5, 5}},
                                     {{5, 5}, {20, 5}}};
  ExpectBothSidesAndMirrored(QuarterPie, QuarterPieClockwise, outside, inside);
}

// The quarter pie walked backwards (the contour command's side bits 0x50000:
// every element turned over, the offset kept on the side it was drawn for):
// the joints of the lines with
// the arc, now walked clockwise, take the crossings of the offset circle R35
// that lie ahead of the tool, where the drawn contour turns, as walked
// forwards.
TEST_F(ContourJobTest, ABackwardWalkJoinsItsLinesAndArcAtTheCrossingsAhead) {
  const double x = std::sqrt(35.0 * 35.0 - 25.0);
  HandoverBuilder job = Job(QuarterPie, Offset(5.0, 20.0, 20.0));  // inside
  for (handover::NcElement& e : job.elements) {
    if ((e.code & 0xFF00) == 0x7100) e.flags |= 0x50000;
  }
  ExpectPath(job, {{{20, 5}, {5, 5}}, {{5, 5}, {5, x}}, {{5, x}, {x, 5}, -35.0, {0, 0}}, {{x, 5}, {20, 5}}});
}

// The square with a notch 6 wide and 20 deep in its bottom edge at x 47..53.
void NotchedSquare(HandoverBuilder& job) {
  job.Line(100, 20, 0, 47, 0);
  job.Line(100, 47, 0, 47, -20);
  job.Line(100, 47, -20, 53, -20);
  job.Line(100, 53, -20, 53, 0);
  job.Line(100, 53, 0, 100, 0);
  job.Line(100, 100, 0, 100, 100);
  job.Line(100, 100, 100, 0, 100);
  job.Line(100, 0, 100, 0, 0);
  job.Line(100, 0, 0, 20, 0);
}

TEST_F(ContourJobTest, NotchNarrowerThanTheToolIsPassedOverOnTheSideItOpensFrom) {
  HandoverBuilder job = Job(NotchedSquare, Offset(5.0, 20.0, 20.0));
  // The offset walls of the notch cross: the offset consumes the notch
  // (its walls and its bottom), and the bottom side is cut straight past
  // it at y 5. Cutting the notch would take the tool back through both
  // walls; the run neither does that nor stops.
  Run(job);
  EXPECT_EQ(run->job.RunIncomplete, 0);
  EXPECT_TRUE(host.errorBoxes.empty()) << (host.errorBoxes.empty() ? "" : host.errorBoxes.back());
  const std::vector<std::string> lines = Lines(NcText());
  for (const std::string& line : lines) {
    if (line.find("M05") != std::string::npos) break;  // the cut is over; the tool goes home
    // The reversed bottom would run from x 52 back to x 48; no move goes
    // into the notch below the offset bottom side.
    const std::size_t at = line.find("X48.");
    const bool reversed = at != std::string::npos && (at + 4 == line.size() || !std::isdigit(line[at + 4]));
    EXPECT_FALSE(reversed) << line;
    const std::size_t y = line.find('Y');
    if (y != std::string::npos && line.find('Z') == std::string::npos && line.find("G00") == std::string::npos) {
      EXPECT_GE(std::atof(line.c_str() + y + 1), 5.0 - 0.001) << line;
    }
  }
}

// A quarter arc of R40 about the origin, then an arc of R√500 about
// (10, 20) back down to the origin, on a base line from (20, 0): the arcs
// meet at (0, 40) turning left by a corner, not a tangent, and the second
// arc meets the base line at the origin turning left again.
void TwoArcsOnALine(HandoverBuilder& job) {
  job.Line(100, 20, 0, 40, 0);
  job.Arc(100, 40.0, 40, 0, 0, 40, 0, 0);
  job.Arc(100, std::sqrt(500.0), 0, 40, 0, 0, 10, 20);
  job.Line(100, 0, 0, 20, 0);
}

// The same two arcs mirrored in the X axis: both turn clockwise.
void TwoArcsOnALineClockwise(HandoverBuilder& job) {
  job.Line(100, 20, 0, 40, 0);
  job.Arc(100, -40.0, 40, 0, 0, -40, 0, 0);
  job.Arc(100, -std::sqrt(500.0), 0, -40, 0, 0, 10, -20);
  job.Line(100, 0, 0, 20, 0);
}

// Outside, the offset arcs are joined round the joint; inside they are cut
// at the crossing of the offset circles. Mirrored, every crossing must be
// the mirror of the counter-clockwise one.
TEST_F(ContourJobTest, ArcsMeetingArcsGoRoundTheirJointOutsideAndCutItInside) {
  const double r2 = std::sqrt(500.0);
  // The unit tangents at the arcs' joint (0, 40) and at the origin.
  const XY atTop{-20.0 / r2, -10.0 / r2}, atFoot{20.0 / r2, -10.0 / r2};
  // Right of travel by 5: the tool stands at joint + 5 × (t.y, -t.x).
  const XY q{5.0 * atTop.y, 40.0 - 5.0 * atTop.x};
  const XY q2{5.0 * atFoot.y, -5.0 * atFoot.x};
  const std::vector<Piece> outside = {{{20, -5}, {40, -5}},
                                      {{40, -5}, {45, 0}, 5.0, {40, 0}},
                                      {{45, 0}, {0, 45}, 45.0, {0, 0}},
                                      {{0, 45}, q, 5.0, {0, 40}},
                                      {q, q2, r2 + 5.0, {10, 20}},
                                      {q2, {0, -5}, 5.0, {0, 0}},
                                      {{0, -5}, {20, -5}}};
  // Inside, the offset circles R35 about the origin and R√500 - 5 about
  // (10, 20) cross at the joint; the offset base line y = 5 meets them at
  // the ends.
  const double r = r2 - 5.0;
  const double along = (35.0 * 35.0 - r * r + 500.0) / (2.0 * r2);
  const double across = std::sqrt(35.0 * 35.0 - along * along);
  const XY top{along * 10.0 / r2 - across * 20.0 / r2, along * 20.0 / r2 + across * 10.0 / r2};
  const XY right{std::sqrt(35.0 * 35.0 - 25.0), 5.0}, left{10.0 - std::sqrt(r * r - 225.0), 5.0};
  const std::vector<Piece> inside = {
      {{20, 5}, right}, {right, top, 35.0, {0, 0}}, {top, left, r, {10, 20}}, {left, {20, 5}}};
  ExpectBothSidesAndMirrored(TwoArcsOnALine, TwoArcsOnALineClockwise, outside, inside);
}

// A circle of R100 drawn as 100 lines, from the middle of its first side
// round to it: every joint turns 3.6 degrees, so each outside corner is a
// single chord.
constexpr int kSides = 100;
XY Vertex(int i) {
  const double a = 2.0 * std::numbers::pi * (i % kSides) / kSides;
  return {100.0 * std::cos(a), 100.0 * std::sin(a)};
}
XY Middle() { return {(Vertex(0).x + Vertex(1).x) / 2.0, (Vertex(0).y + Vertex(1).y) / 2.0}; }
// The outward normal of side i (from vertex i to i + 1).
XY Outward(int i) {
  const XY a = Vertex(i), b = Vertex(i + 1);
  const double l = Dist(a, b);
  return {(b.y - a.y) / l, -(b.x - a.x) / l};
}
XY Beside(XY p, XY n, double d) { return {p.x + d * n.x, p.y + d * n.y}; }

void Polygon100(HandoverBuilder& job) {
  const XY m = Middle();
  job.Line(100, m.x, m.y, Vertex(1).x, Vertex(1).y);
  for (int i = 1; i < kSides; ++i) job.Line(100, Vertex(i).x, Vertex(i).y, Vertex(i + 1).x, Vertex(i + 1).y);
  job.Line(100, Vertex(0).x, Vertex(0).y, m.x, m.y);
}

TEST_F(ContourJobTest, ManySmallCornersEachWriteTheirOwnBlockOnThePath) {
  ContourOptions options;
  options.offset = -5.0;
  const XY to = Beside(Middle(), Outward(0), 30.0), start = Beside(Middle(), Outward(0), 5.0);
  options.toX = to.x;
  options.toY = to.y;
  std::vector<Piece> path;
  XY at = start;
  for (int i = 0; i < kSides; ++i) {
    const XY corner = Vertex(i + 1);
    const XY end = Beside(corner, Outward(i), 5.0), next = Beside(corner, Outward(i + 1), 5.0);
    path.push_back({at, end});
    path.push_back({end, next, 5.0, corner});
    at = next;
  }
  // The last corner (at vertex 0) turns into the second half of the first side.
  path.push_back({at, start});
  HandoverBuilder job = Job(Polygon100, options);
  ExpectPath(job, path);
  // The corners' chords are blocks of their own: one sequence number a line.
  int blocks = 0;
  for (const std::string& line : Lines(NcText())) {
    const std::size_t first = line.find('N'), second = first == std::string::npos ? first : line.find('N', first + 1);
    EXPECT_EQ(second, std::string::npos) << line;
    if (first != std::string::npos) ++blocks;
  }
  EXPECT_GT(blocks, 2 * kSides);
}

// The square 0..100 offset outside by d, counter-clockwise from (50, -d)
// round to it.
std::vector<Piece> SquareOutside(double d) {
  return {{{50, -d}, {100, -d}},
          {{100, -d}, {100 + d, 0}, d, {100, 0}},
          {{100 + d, 0}, {100 + d, 100}},
          {{100 + d, 100}, {100, 100 + d}, d, {100, 100}},
          {{100, 100 + d}, {0, 100 + d}},
          {{0, 100 + d}, {-d, 100}, d, {0, 100}},
          {{-d, 100}, {-d, 0}},
          {{-d, 0}, {0, -d}, d, {0, 0}},
          {{0, -d}, {50, -d}}};
}

// No move's block holds only its sequence number (a move that goes nowhere
// writes none), and the sequence numbers of the moves run on one by one
// from the tool change's N0301 (the process head's N0001 stands alone).
void ExpectEveryBlockGoesSomewhere(const std::string& nc) {
  int expected = 301;
  for (const std::string& line : Lines(nc)) {
    if (line.empty() || line[0] != 'N') continue;
    std::size_t end = 1;
    while (end < line.size() && std::isdigit(static_cast<unsigned char>(line[end])) != 0) ++end;
    const int number = std::stoi(line.substr(1, end - 1));
    if (number < 301) continue;
    EXPECT_EQ(number, expected) << line << "\n" << nc;
    expected = number + 1;
    EXPECT_NE(line.find_first_not_of(' ', end), std::string::npos) << line << ": a block of only its number\n" << nc;
  }
}

// How many times the tool comes down to the contour's depth, and whether
// it always comes down straight (no move into the depth goes sideways).
struct Descents {
  int count = 0;
  bool straight = true;
};
Descents CountDescents(const testsupport::MotionCheck& check) {
  Descents d;
  for (const CanonMove& m : check.moves) {
    if (std::fabs(m.z - kDepth) > 1e-6 || m.fromZ <= kDepth + 1e-6) continue;
    ++d.count;
    d.straight = d.straight && std::fabs(m.x - m.fromX) < 1e-9 && std::fabs(m.y - m.fromY) < 1e-9;
  }
  return d;
}

void ContourJobTest::ExpectStraightDescents(int count, testsupport::MotionCheck* check) {
  ReadBack({}, check);
  if (!check->ran) GTEST_SKIP() << "rs274 is not installed";
  const Descents descents = CountDescents(*check);
  EXPECT_EQ(descents.count, count) << NcText();
  EXPECT_TRUE(descents.straight) << NcText();
}

void ContourJobTest::ExpectSquareAndCircleMapped(const std::function<XY(XY)>& map, double radiusFactor) {
  for (const bool round : {false, true}) {
    SCOPED_TRACE(round ? "circle" : "square");
    Reset();
    HandoverBuilder job = Job(round ? Circle : Square, Offset(-5.0, round ? 90.0 : 50.0, round ? 50.0 : -20.0));
    // The circle offset outside is R25.
    std::vector<Piece> path = round ? std::vector<Piece>{{{75, 50}, {75, 50}, 25.0, {50, 50}}} : SquareOutside(5.0);
    for (Piece& p : path) {
      p.from = map(p.from);
      p.to = map(p.to);
      p.centre = map(p.centre);
      p.radius *= radiusFactor;
    }
    ExpectPath(job, path);
  }
}

// Two passes of one cut-in: the first leaves an allowance of 0.5 (offset
// 5.5), the finishing pass follows at the offset 5. The tool comes down
// once; the finishing pass begins where the first ended, 0.5 further in,
// and is reached by a linking move at depth.
TEST_F(ContourJobTest, AnAllowancePassThenTheFinishingPassAreLinkedAtDepth) {
  ContourOptions options = Offset(-5.5, 50.0, -20.0);
  options.up = 0.0;
  options.overrunCommand = false;  // the finishing pass leaves the contour
  HandoverBuilder job;
  job.Begin();
  Square(job);
  job.BeginProcess(400, 1, 0.0, 0.0, 50.0, 1000.0, 10.0);
  testsupport::AddContour(job, 401, options);
  const handover::NcElement allowancePass = job.elements.back();
  handover::NcElement& finishingPass = job.Add(401, allowancePass.code);
  finishingPass = allowancePass;
  finishingPass.d1 = -5.0;
  handover::NcElement& overrun = job.Add(401, 0x7400);
  overrun.flags = 0x60;  // through the point
  overrun.d2 = options.toX;
  overrun.d3 = options.toY;
  job.Add(401, 0x6300).d4 = 10.0;
  job.ProcessEnd(500);
  job.End();

  std::vector<Piece> path = SquareOutside(5.5);
  path.push_back({{50, -5.5}, {50, -5}});
  for (const Piece& p : SquareOutside(5.0)) path.push_back(p);
  ExpectPath(job, path);
  ExpectEveryBlockGoesSomewhere(NcText());
  testsupport::MotionCheck check;
  ExpectStraightDescents(1, &check);
}

// Two contours of a run, each with its own cut-in, approach and escape, as
// the CAM builder writes two steps: the second is approached from above
// as the first, not fed down sideways from where the first left the tool.
TEST_F(ContourJobTest, EachContourOfARunComesDownStraightOntoItsStart) {
  HandoverBuilder job;
  job.Begin();
  Square(job);
  job.BeginProcess(400, 1, 0.0, 0.0, 50.0, 1000.0, 10.0);
  for (const double offset : {-5.5, -5.0}) {
    testsupport::AddContour(job, offset < -5.25 ? 401 : 402, Offset(offset, 50.0, -20.0));
  }
  job.ProcessEnd(500);
  job.End();
  ASSERT_EQ(Run(job), 0) << (host.errorBoxes.empty() ? "" : host.errorBoxes.back());
  testsupport::MotionCheck check;
  ExpectStraightDescents(2, &check);
  if (!check.ran) return;
  // The second comes down onto its own start, 0.5 nearer the square.
  bool second = false;
  for (const CanonMove& m : check.moves) {
    if (std::fabs(m.z - kDepth) < 1e-6 && m.fromZ > kDepth + 1e-6) {
      second = std::fabs(m.x - 50.0) < kOnPath && std::fabs(m.y + 5.0) < kOnPath;
    }
  }
  EXPECT_TRUE(second) << NcText();
}

// A contour with no approach of its own: no 0x6200 before it (a job of
// another program, or written by hand), or one that comes down by nothing.
// The tool goes over the contour's start at the level it stands at and is
// fed down onto it; a rapid move never takes it into the part.
TEST_F(ContourJobTest, AContourWithoutAnApproachIsFedDownOntoItsStart) {
  for (const bool emptyApproach : {false, true}) {
    SCOPED_TRACE(emptyApproach ? "an approach of 0" : "no approach");
    Reset();
    ContourOptions options = Offset(-5.0, 50.0, -20.0);
    options.down = 0.0;
    HandoverBuilder job = Job(Square, options);
    if (emptyApproach) {
      const auto cutIn = std::find_if(job.elements.begin(), job.elements.end(),
                                      [](const handover::NcElement& e) { return e.code == 0x7300; });
      handover::NcElement approach{};
      approach.number = cutIn->number;
      approach.code = 0x6200;
      job.elements.insert(cutIn + 1, approach);
    }
    ExpectPath(job, SquareOutside(5.0));
    ExpectEveryBlockGoesSomewhere(NcText());
    testsupport::MotionCheck check;
    ExpectStraightDescents(1, &check);
    if (!check.ran) return;
    for (const CanonMove& m : check.moves) {
      if (std::fabs(m.z - kDepth) > 1e-6 || m.fromZ <= kDepth + 1e-6) continue;
      EXPECT_EQ(m.kind, CanonMove::Kind::kFeed) << "line " << m.line << "\n" << NcText();
      EXPECT_NEAR(m.x, 50.0, kOnPath);
      EXPECT_NEAR(m.y, -5.0, kOnPath);
      EXPECT_GE(m.fromZ, 0.0) << "line " << m.line << "\n" << NcText();
    }
  }
}

// The chain of coordinate transformations moves every written position and
// the approach; the walk itself joins the elements as drawn. A quarter turn
// about (50, 50) and the same turn about the origin followed by a shift of
// 100 in X (the record's centre is added either way) put the square on
// itself; a mirror in Y shifted up by 100 walks it the other way round.
// A circle's arc turns about its moved centre.
TEST_F(ContourJobTest, TheTransformChainMovesTheWrittenPath) {
  struct Case {
    const char* name;
    int flags;
    double c, s, dx, dy, cx, cy;
    std::function<XY(XY)> map;
    bool mirror;
  };
  const auto turn = [](XY p) { return XY{100.0 - p.y, p.x}; };
  const std::vector<Case> cases = {
      {"turn about the centre", 0x200, 0.0, 1.0, 0.0, 0.0, 50.0, 50.0, turn, false},
      {"turn about the origin, shifted", 0, 0.0, 1.0, 100.0, 0.0, 0.0, 0.0, turn, false},
      {"mirror, shifted", 0x400, 1.0, 0.0, 0.0, 100.0, 0.0, 0.0, [](XY p) { return XY{p.x, 100.0 - p.y}; }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    afterLoad = [&c](qup::RunContext& r) {
      r.TransformSwitch = 1;
      qup::ContourWords& words = r.engine.contour;
      words.TransformCount = 1;
      words.TransformTable[0] = handover::NcElement{};
      words.TransformTable[0].code = 1;
      words.TransformTable[0].flags = c.flags;
      words.TransformTable[0].d2 = c.c;
      words.TransformTable[0].d3 = c.s;
      words.TransformTable[0].d4 = c.dx;
      words.TransformTable[0].d5 = c.dy;
      words.TransformTable[0].d6 = c.cx;
      words.TransformTable[0].d7 = c.cy;
    };
    ExpectSquareAndCircleMapped(c.map, c.mirror ? -1.0 : 1.0);
  }
  afterLoad = nullptr;
}

// A pass of the plain run places every written position in its frame: one
// that shifts by (10, 20) moves the square's path (corners included) and
// the circle's by that much, approach and all; the walk joins the elements
// as drawn. A pass turning a quarter about (50, 50) puts the square on
// itself, entered from its turned start. A second, stepped-only pass with
// the depth step on changes nothing (the step is taken off again after the
// passes and its frame places nothing in height).
TEST_F(ContourJobTest, APassPlacesTheWrittenPathInItsFrame) {
  struct Case {
    const char* name;
    double c, s, ox, oy, dx, dy;
    std::function<XY(XY)> map;
  };
  const auto turn = [](XY p) { return XY{100.0 - p.y, p.x}; };
  const std::vector<Case> cases = {
      {"shifted", 1.0, 0.0, 0.0, 0.0, 10.0, 20.0, [](XY p) { return XY{p.x + 10.0, p.y + 20.0}; }},
      {"turned about the centre", 0.0, 1.0, 50.0, 50.0, 0.0, 0.0, turn},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    afterLoad = [&c](qup::RunContext& r) {
      // The pass elements go behind the job's elements.
      const int plain = r.elements.ElementCount;
      ASSERT_TRUE(r.elements.Grow(plain + 2));
      handover::NcElement e{};
      e.code = 0x6000;
      e.flags = 1;  // the plain run only
      e.d2 = c.c;
      e.d3 = c.s;
      e.d4 = c.ox;  // the frame's origin and shift, exchanged by the pass
      e.d5 = c.oy;
      e.d6 = c.dx;
      e.d7 = c.dy;
      r.elements[plain] = e;
      handover::NcElement stepped{};
      stepped.code = 0x6000;
      stepped.flags = 0;  // the stepped run only: the frame that places nothing
      stepped.d2 = 1.0;
      r.elements[plain + 1] = stepped;
      r.elements.ElementCount = plain + 2;
      r.job.JobElementCount = plain + 2;  // the lead elements go behind them
      qup::ContourWords& words = r.engine.contour;
      words.PassList.fill(0);
      words.PassList[0] = plain;
      words.PassList[1] = plain + 1;
      r.engine.stepping.DepthStepOn = 1;
      r.engine.stepping.DepthStep = -3.0;
    };
    ExpectSquareAndCircleMapped(c.map, 1.0);
  }
  afterLoad = nullptr;
}

// A definition that scales its geometry scales the written path about the
// origin (X and Y by their own factors, an arc's radius with X); the offset
// is taken on the drawn contour and scaled with it.
TEST_F(ContourJobTest, ScalingScalesTheWrittenPathAboutTheOrigin) {
  afterLoad = [](qup::RunContext& r) {
    r.engine.stepping.ScaleSwitch = 1;
    r.engine.stepping.ScaleFactorX = 200.0;
    r.engine.stepping.ScaleFactorY = 200.0;
    r.engine.stepping.ScaleFactorZ = 100.0;
  };
  ExpectSquareAndCircleMapped([](XY p) { return XY{2.0 * p.x, 2.0 * p.y}; }, 2.0);
  afterLoad = nullptr;
}

}  // namespace
}  // namespace ncrun
