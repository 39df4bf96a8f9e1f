// Contour programs measured against the walls they cut: each shape goes the
// real road (definition, CreateCamData, the companion's run, rs274) and
// every move below the part's top is held to the drawn contour: never
// nearer a wall than the tool's radius, never on the wrong side of it, and
// every wall the tool can reach is cut, or the program says it is not.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/kelto_dorn/camdata/contour_job_fixture.h"

namespace dorn::test {
namespace {

constexpr double kPi = 3.14159265358979323846;

class ContourWallTest : public ContourJobTest {
 protected:
  struct Job {
    DrawnContour drawn;
    double tool = 10.0;        // diameter
    bool right = false;        // the tool right of the drawn travel (a reversed step)
    std::array<double, 2> to{};  // the cut-in and exit point
    float overrun = 0.0f;
  };

  MachiningDefinition Definition(const Job& job) {
    AddDrawnCurve(620, job.drawn);
    MachiningDefinition d = PlaneContour(620);
    d.stepTools[0].diameter = static_cast<float>(job.tool);
    d.steps[0].word32 = job.right ? 1 : 0;
    d.steps[0].zone1X = d.steps[0].zone2X = job.to[0];
    d.steps[0].zone1Y = d.steps[0].zone2Y = job.to[1];
    d.steps[0].overrun = job.overrun != 0.0f ? 1.0f : 0.0f;
    g_machiningDefaults.overrun = job.overrun;
    overrunLength = job.overrun;
    return d;
  }

  // Runs the job and holds its moves to the walls: it must run to its end
  // without a box, cut nothing it must not, and leave no reachable wall
  // uncut.
  void ExpectCleanCut(const Job& job, const MachiningDefinition& d) {
    const CheckResult r = RunJob(d);
    EXPECT_EQ(r.status, 0) << r.nc;
    for (const std::string& box : host.errorBoxes) ADD_FAILURE() << box;
    if (!r.check.ran) GTEST_SKIP() << "rs274 is not installed";
    EXPECT_TRUE(r.check.violations.empty()) << testsupport::Describe(r.check.violations);
    const WallFindings f = CheckWalls(r.check, job.drawn, job.tool * 0.5, job.right);
    EXPECT_EQ(f.gougeCount + f.wrongSideCount + f.uncutCount, 0) << f.Describe() << r.nc;
  }
  void ExpectCleanCut(const Job& job) { ExpectCleanCut(job, Definition(job)); }

  // A named drawing and its cut-in point, cut with the tool of 10.
  struct Shape {
    const char* name;
    DrawnContour drawn;
    std::array<double, 2> to;
  };
  void ExpectCleanCuts(const std::vector<Shape>& shapes) {
    for (const Shape& k : shapes) {
      SCOPED_TRACE(k.name);
      ResetForAnotherJob();
      Job job;
      job.drawn = k.drawn;
      job.to = k.to;
      ExpectCleanCut(job);
    }
  }
};

// A circle of R20 about (50, 50) drawn as two or three arcs: where two arcs
// of the one circle meet there is no corner; the tool runs on round the
// offset circle, never to the centre and back. Cut as a boss (drawn
// clockwise) and as a bore.
TEST_F(ContourWallTest, ArcsOfOneCircleMeetWithoutACorner) {
  struct Case {
    const char* name;
    DrawnContour drawn;
  };
  const double c = std::cos(2.0 * kPi / 3.0) * 20.0, s = std::sin(2.0 * kPi / 3.0) * 20.0;
  const std::vector<Case> cases = {
      {"two arcs, bore", {Arc(70, 50, 30, 50, 50, 50, 20), Arc(30, 50, 70, 50, 50, 50, 20)}},
      {"three arcs, bore",
       {Arc(70, 50, 50 + c, 50 + s, 50, 50, 20), Arc(50 + c, 50 + s, 50 + c, 50 - s, 50, 50, 20),
        Arc(50 + c, 50 - s, 70, 50, 50, 50, 20)}},
  };
  for (const Case& k : cases) {
    for (const bool boss : {false, true}) {
      SCOPED_TRACE(std::string(k.name) + (boss ? ", boss" : ""));
      ResetForAnotherJob();
      Job job;
      job.drawn = boss ? Reversed(k.drawn) : k.drawn;
      job.to = {boss ? 90.0 : 60.0, 50.0};
      ExpectCleanCut(job);
    }
  }
}

// A lens (two arcs of R30 whose centres stand 30 apart) and a four-centre
// oval entered in the middle of an arc: the closing joint joins the two
// parts of that arc, which meet without a corner; the tool neither goes to
// the centre nor runs round the circle once more.
TEST_F(ContourWallTest, ALensAndAnOvalCloseWithoutCuttingThroughThePart) {
  const double h = std::sqrt(30.0 * 30.0 - 15.0 * 15.0);
  // The oval: end arcs R10 about (±20, 0), side arcs about (0, ∓30) that
  // touch them inside, where the line of the centres crosses the end arcs.
  const double apart = std::hypot(20.0, 30.0), side = 10.0 + apart;
  const double ex = 20.0 + 10.0 * 20.0 / apart, ey = 10.0 * 30.0 / apart;
  struct Case {
    const char* name;
    DrawnContour drawn;
    std::array<double, 2> inside, outside;  // cut-in points near the middle of an arc
  };
  const std::vector<Case> cases = {
      {"lens", {Arc(15, -h, 15, h, 0, 0, 30), Arc(15, h, 15, -h, 30, 0, 30)}, {5, 0}, {-10, 0}},
      {"oval",
       {Arc(ex, -ey, ex, ey, 20, 0, 10), Arc(ex, ey, -ex, ey, 0, -30, side), Arc(-ex, ey, -ex, -ey, -20, 0, 10),
        Arc(-ex, -ey, ex, -ey, 0, 30, side)},
       {0, 10},
       {0, 25}},
  };
  for (const Case& k : cases) {
    for (const bool boss : {false, true}) {
      SCOPED_TRACE(std::string(k.name) + (boss ? ", boss" : ", pocket"));
      ResetForAnotherJob();
      Job job;
      job.drawn = boss ? Reversed(k.drawn) : k.drawn;
      job.to = boss ? k.outside : k.inside;
      ExpectCleanCut(job);
    }
  }
}

// Contours whose last element is a clockwise arc: the closing joint after it
// takes the crossing on the tool's side. A quarter pie drawn clockwise is
// cut outside, as a boss, its bottom side too; a pocket drawn
// counter-clockwise closes with a concave arc.
TEST_F(ContourWallTest, AClockwiseLastArcClosesOnTheToolsSide) {
  ExpectCleanCuts({
      {"quarter pie boss", {Line(0, 0, 0, 40), Arc(0, 40, 40, 0, 0, 0, -40), Line(40, 0, 0, 0)}, {-20, 15}},
      {"pocket with a concave last arc",
       {Line(0, 0, 40, 0), Line(40, 0, 40, 40), Arc(40, 40, 0, 0, -10, 50, -std::sqrt(2600.0))},
       {35, 10}},
  });
}

// D shapes (a chord and an arc of 120 to 300 degrees) entered in the middle
// of their first element, the chord drawn first: the closing joint joins the
// last element, the arc, back to the chord on the tool's side. Counter-
// clockwise they are pockets, clockwise bosses.
TEST_F(ContourWallTest, ADShapeClosesItsArcBackOntoItsChord) {
  struct Case {
    double degrees;
    bool boss;
  };
  for (const Case& k : {Case{120, false}, Case{180, false}, Case{120, true}, Case{180, true}, Case{240, true},
                        Case{300, true}}) {
    {
      const double degrees = k.degrees;
      const bool boss = k.boss;
      SCOPED_TRACE(std::to_string(degrees) + (boss ? " boss" : " pocket"));
      ResetForAnotherJob();
      const double half = degrees * kPi / 360.0;
      const double x = 30.0 * std::sin(half), cy = -30.0 * std::cos(half);
      Job job;
      // The chord along y = 0, the arc over it (its centre at (0, cy)).
      job.drawn = boss ? DrawnContour{Line(x, 0, -x, 0), Arc(-x, 0, x, 0, 0, cy, -30)}
                       : DrawnContour{Line(-x, 0, x, 0), Arc(x, 0, -x, 0, 0, cy, 30)};
      job.to = {0.0, boss ? -15.0 : std::min(10.0, 0.5 * (cy + 30.0))};
      ExpectCleanCut(job);
    }
  }
}

// A half disc and a circular segment cut as bosses: the flat side is cut
// too, and the run goes past the plunge.
TEST_F(ContourWallTest, AnArcAndItsChordAsABossAreCutAllRound) {
  for (const double degrees : {120.0, 180.0, 240.0, 300.0}) {
    SCOPED_TRACE(degrees);
    ResetForAnotherJob();
    const double half = degrees * kPi / 360.0;
    const double x = 30.0 * std::sin(half), cy = -30.0 * std::cos(half);
    Job job;
    // Clockwise: the chord from left to right under an arc turning back over the top.
    job.drawn = {Arc(-x, 0, x, 0, 0, cy, -30), Line(x, 0, -x, 0)};
    job.to = {0, cy + 50.0};  // over the middle of the arc
    ExpectCleanCut(job);
  }
}

// A short element at a corner: chamfers and steps of 0.01 to 2 mm in a
// 100 x 100 pocket, chamfers on a 100 x 100 boss. Where the offset swallows
// the short elements the tool goes from the side before them to the side
// after them, never into the wall.
TEST_F(ContourWallTest, AShortElementAtACornerKeepsTheToolOutOfTheWall) {
  for (const double size : {0.01, 1.0, 2.0}) {
    for (const bool boss : {false, true}) {
      for (const bool chamfer : {true, false}) {
        if (boss && !chamfer) continue;  // chamfers only on the boss
        SCOPED_TRACE(std::to_string(size) + (boss ? " boss" : " pocket") + (chamfer ? " chamfer" : " step"));
        ResetForAnotherJob();
        std::vector<std::array<double, 2>> points = {{0, 0}, {100 - size, 0}};
        if (chamfer) {
          points.push_back({100, size});
        } else {
          // A step out of the side: along, out, along.
          points.push_back({100 - size, -size});
          points.push_back({100, -size});
        }
        points.insert(points.end(), {{100, 100}, {0, 100}, {0, 0}});
        Job job;
        job.drawn = boss ? Reversed(Polyline(points)) : Polyline(points);
        job.to = boss ? std::array<double, 2>{-20, 50} : std::array<double, 2>{20, 50};
        ExpectCleanCut(job);
      }
    }
  }
}

// A pocket the tool fits nowhere in (a slot 8 wide for a tool of 10, a
// circular segment whose offset shrinks to nothing) is not cut at all: no
// move goes below the part's top inside it, the message list names the
// contour and the program is marked incomplete.
TEST_F(ContourWallTest, APocketNarrowerThanTheToolIsRefused) {
  const double x = 10.0 * std::sin(kPi / 3.0);
  const std::vector<Shape> cases = {
      {"slot 8 wide", Polyline({{0, 0}, {60, 0}, {60, 8}, {0, 8}, {0, 0}}), {30, 4}},
      {"120 degree segment of R10", {Line(-x, 0, x, 0), Arc(x, 0, -x, 0, 0, -5, 10)}, {0, 2}},
  };
  for (const Shape& k : cases) {
    SCOPED_TRACE(k.name);
    ResetForAnotherJob();
    Job job;
    job.drawn = k.drawn;
    job.to = k.to;
    const CheckResult r = RunJob(Definition(job));
    bool named = false;
    for (const std::string& line : host.listLines) {
      named = named || platform::Cp932ToUtf8(line).find("工具が輪郭に入りません") != std::string::npos;
    }
    EXPECT_TRUE(named) << r.nc;
    if (!r.check.ran) GTEST_SKIP() << "rs274 is not installed";
    const WallFindings f = CheckWalls(r.check, job.drawn, job.tool * 0.5);
    EXPECT_EQ(f.gougeCount + f.wrongSideCount, 0) << f.Describe() << r.nc;
    for (const CanonMove& m : r.check.moves) EXPECT_GT(std::min(m.z, m.fromZ), -1e-6) << m.line << "\n" << r.nc;
  }
}

// Approach and escape moves run in the free room beside the cut: a normal
// approach and escape of 5 round a rectangle boss end away from the part,
// not on its wall; a tangent approach and escape of 3 in a bore with a tool
// of 6 stay inside the bore.
TEST_F(ContourWallTest, ApproachAndEscapeMovesStayOutOfTheWall) {
  struct Case {
    const char* name;
    DrawnContour drawn;
    double tool;
    std::int32_t kind;  // 2 normal, 3 tangent
    double distance;
    std::array<double, 2> to;
  };
  const std::vector<Case> cases = {
      {"rectangle boss, normal 5", Polyline({{0, 0}, {0, 60}, {100, 60}, {100, 0}, {0, 0}}), 10.0, 2, 5.0, {-20, 30}},
      {"bore, tangent 3", {Arc(20, 0, -20, 0, 0, 0, 20), Arc(-20, 0, 20, 0, 0, 0, 20)}, 6.0, 3, 3.0, {10, 0}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    ResetForAnotherJob();
    Job job;
    job.drawn = k.drawn;
    job.tool = k.tool;
    job.to = k.to;
    MachiningDefinition d = Definition(job);
    StepCondition& c = d.steps[0];
    c.approachOn = 1;
    c.approachKind = k.kind;
    c.value264 = k.distance;
    c.escapeOn = 1;
    c.escapeKind = k.kind;
    c.value304 = k.distance;
    ExpectCleanCut(job, d);
  }
}

// The vector escape moves the tool away by its distance: up and out along
// the angles it was given, not nowhere.
TEST_F(ContourWallTest, AVectorEscapeMovesTheToolAwayByItsDistance) {
  Job job;
  job.drawn = Polyline({{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}});
  job.to = {50, 20};
  MachiningDefinition d = Definition(job);
  StepCondition& c = d.steps[0];
  c.escapeOn = 1;
  c.escapeKind = 6;
  c.value304 = 4.0;
  c.value312 = 90.0;  // straight up
  c.value320 = 0.0;
  const CheckResult r = RunJob(d);
  EXPECT_EQ(r.status, 0) << r.nc;
  if (!r.check.ran) GTEST_SKIP() << "rs274 is not installed";
  // The last feed move at depth, then the escape: 4 straight up from there.
  const CanonMove* last = nullptr;
  const CanonMove* escape = nullptr;
  for (const CanonMove& m : r.check.moves) {
    if (m.kind == CanonMove::Kind::kTraverse) continue;
    if (std::fabs(m.fromZ + 5.0) < 1e-6 && std::fabs(m.z + 5.0) < 1e-6) last = &m;
    if (last != nullptr && &m != last && std::fabs(m.fromZ + 5.0) < 1e-6 && m.z > m.fromZ) {
      escape = &m;
      break;
    }
  }
  ASSERT_NE(escape, nullptr) << r.nc;
  EXPECT_NEAR(escape->z, -1.0, 0.001) << r.nc;
  EXPECT_NEAR(escape->x, escape->fromX, 0.001) << r.nc;
  EXPECT_NEAR(escape->y, escape->fromY, 0.001) << r.nc;
}

}  // namespace
}  // namespace dorn::test
