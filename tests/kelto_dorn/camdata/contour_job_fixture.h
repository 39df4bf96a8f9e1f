#pragma once
// A contour job through the real road: a drawing with a plane contour
// definition, CreateCamData, the companion's NC creation run over the
// hand-over, and rs274 reading the program back. The contour tests build
// their drawings and definitions with these helpers.
#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/camdata/post_table.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"
#include "tests/kelto_dorn/camdata/cam_fixture.h"
#include "tests/kelto_qup/support/handover_builder.h"
#include "tests/kelto_qup/support/rs274.h"

namespace dorn::test {

namespace fs = std::filesystem;
using testsupport::CanonMove;


// A drawn contour of lines and arcs, in the order it is drawn; an arc turns
// counter-clockwise for a positive radius about its centre.
struct DrawnPiece {
  std::array<double, 2> from{}, to{};
  double radius = 0.0;
  std::array<double, 2> centre{};
};
using DrawnContour = std::vector<DrawnPiece>;

inline DrawnPiece Line(double x0, double y0, double x1, double y1) { return {{x0, y0}, {x1, y1}, 0.0, {}}; }
inline DrawnPiece Arc(double x0, double y0, double x1, double y1, double cx, double cy, double r) {
  return {{x0, y0}, {x1, y1}, r, {cx, cy}};
}
// A polygon's sides through the points, in order.
DrawnContour Polyline(const std::vector<std::array<double, 2>>& points);
// The contour drawn the other way round.
DrawnContour Reversed(const DrawnContour& contour);

// What the walls of a drawn contour say of a program's moves below the
// part's top (Z 0), for a tool of `radius` that runs left of the drawn
// travel: a point of a move nearer a wall than the radius (beyond 0.002 at
// a move's ends, 0.012 inside it, a chord's allowance) is a gouge; on a
// closed contour a point on the wrong side of the wall (outside a pocket,
// inside a boss) is wrong-side; a point of the wall that a tool of that
// radius can touch from the free side and that no move below the top
// passes within radius + 0.012 of is uncut. Each list holds a few
// descriptions and the count.
struct WallFindings {
  std::vector<std::string> gouges, wrongSide, uncut;
  int gougeCount = 0, wrongSideCount = 0, uncutCount = 0;
  double deepestGouge = 0.0;  // how far into the wall, mm
  std::string Describe() const;
};
// `right`: the tool runs right of the drawn travel (a reversed step).
WallFindings CheckWalls(const testsupport::MotionCheck& check, const DrawnContour& contour, double radius,
                        bool right = false);

class ContourJobTest : public CamDataTest {
 protected:
  void SetUp() override {
    CamDataTest::SetUp();
    g_postTable = testsupport::HandoverBuilder::DecimalPointPosts();
    ASSERT_TRUE(WriteDornPostTable().ok());
    fs::create_directories(home() / "UNIT" / "PGM" / "DAT");
  }

  struct CheckResult {
    int status = -1;
    std::string nc;
    testsupport::MotionCheck check;
  };

  // A plane contour over the curve `key`: tool of 10 mm at 500 mm/min, cut
  // at Z -5 from a start level of 50; the cut-in and the overrun at points.
  MachiningDefinition PlaneContour(std::int32_t key) const {
    HoleDefinition base;
    MachiningDefinition d = MakeHoleDefinition(base);
    d.kind = 0xA000;
    d.curves[0] = CurveListItem{1, key, 0, 0, 0, 0, 0, {}};
    StepCondition& c = d.steps[0];
    c.endDepth = -5.0;
    c.zone1Key = 0xFFFF;
    c.zone2Key = 0xFFFF;
    AtcRecord& t = d.stepTools[0];
    t.diameter = 10.0f;
    t.feed = 500.0f;
    return d;
  }

  // Builds, runs the companion over the hand-over and reads the program back.
  CheckResult RunJob(const MachiningDefinition& d) {
    StoreDefinition(d, "輪郭加工_1");
    OrderAllItems();
    const CamBuildResult built = Build();
    EXPECT_TRUE(built.written) << built.failure;
    qup::RunContext run(host);
    run.job.Header = g_drawingHeader;
    run.job.Header.startMode = 4;
    run.job.Header.subMode = 6;
    run.job.Modes.StartMode = 4;
    run.job.OverrunLength = overrunLength;
    EXPECT_EQ(run.LoadJob(), 0);
    run.InitNcJob();
    CheckResult r;
    r.status = run.StartNcCreation();
    std::ifstream in(home() / "UNIT" / "PGM" / "DAT" / "HOLE.NC", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    r.nc = text.str();
    // The tool goes down into material at a feed only: a rapid move never
    // ends below the part's top (Z 0) or, once the contour is cut, below the
    // deepest cut so far (a depth pass may come down rapidly into its groove).
    testsupport::MotionLimits limits;
    limits.partTop = 0.0;
    limits.rapidIntoCut = true;
    r.check = testsupport::CheckNcMotion(home() / "UNIT" / "PGM" / "DAT" / "HOLE.NC", home(), limits);
    return r;
  }

  // The feed moves at the cutting depth.
  static std::vector<CanonMove> CuttingMoves(const testsupport::MotionCheck& check, double z) {
    std::vector<CanonMove> moves;
    for (const CanonMove& m : check.moves) {
      if (m.kind != CanonMove::Kind::kTraverse && std::fabs(m.z - z) < 1e-6 && std::fabs(m.fromZ - z) < 1e-6) {
        moves.push_back(m);
      }
    }
    return moves;
  }

  // The job ran without a box and rs274 accepted it; its moves at depth
  // (those that go somewhere) run corner by corner along `path`. False when
  // rs274 is not installed.
  bool ExpectCutAlong(const CheckResult& r, const std::vector<std::array<double, 2>>& path) {
    if (!ExpectRanClean(r)) return false;
    ExpectMovesAlong(r, path);
    return true;
  }
  bool ExpectRanClean(const CheckResult& r) {
    EXPECT_EQ(r.status, 0) << r.nc;
    for (const std::string& box : host.errorBoxes) ADD_FAILURE() << box;
    if (!r.check.ran) return false;
    EXPECT_TRUE(r.check.violations.empty()) << testsupport::Describe(r.check.violations) << r.nc;
    // A move that goes nowhere writes no block: none holds only the
    // sequence number of a move (from N0301; the process head's N0001 stands alone).
    std::istringstream lines(r.nc);
    for (std::string line; std::getline(lines, line);) {
      if (line.size() < 5 || line[0] != 'N' || line.find_first_not_of("0123456789", 1) != 5) continue;
      if (std::stoi(line.substr(1, 4)) >= 301) EXPECT_NE(line.find_first_not_of(" \r", 5), std::string::npos) << line;
    }
    return true;
  }
  static void ExpectMovesAlong(const CheckResult& r, const std::vector<std::array<double, 2>>& path) {
    std::vector<CanonMove> cut;
    for (const CanonMove& m : CuttingMoves(r.check, -5.0)) {
      if (std::hypot(m.x - m.fromX, m.y - m.fromY) > 1e-9) cut.push_back(m);
    }
    ASSERT_EQ(cut.size() + 1, path.size()) << r.nc;
    EXPECT_NEAR(cut.front().fromX, path.front()[0], 0.001) << r.nc;
    EXPECT_NEAR(cut.front().fromY, path.front()[1], 0.001) << r.nc;
    for (std::size_t i = 0; i < cut.size(); ++i) {
      EXPECT_NEAR(cut[i].x, path[i + 1][0], 0.001) << i << "\n" << r.nc;
      EXPECT_NEAR(cut[i].y, path[i + 1][1], 0.001) << i << "\n" << r.nc;
    }
  }

  // A full circle of radius r about (cx, cy) from and to its point on +X;
  // r > 0 counter-clockwise.
  void AddCircleCurve(std::int32_t key, double cx, double cy, double r) {
    CurveRecord c;
    c.key = key;
    c.first = GetFigureCount(kTableCurves);
    g_figureTableSelector = kTableCurves;
    ClearCurrentFigure();
    g_curFigure.kind = kKindArc;
    g_curFigure.start = g_curFigure.end = {cx + std::fabs(r), cy};
    g_curFigure.centre = {cx, cy};
    g_curFigure.radius = r;
    ASSERT_TRUE(AppendFigure(0));
    c.end = GetFigureCount(kTableCurves);
    platform::SetFieldText(c.name, "CIRCLE");
    g_curveTable[static_cast<std::size_t>(g_curveCount++)] = c;
    g_figureTableSelector = 0;
  }

  // One line or arc (radius > 0 counter-clockwise) appended to the figure
  // table that the selector names.
  static bool AppendLineFigure(double x0, double y0, double x1, double y1) {
    ClearCurrentFigure();
    g_curFigure.kind = kKindLine;
    g_curFigure.start = {x0, y0};
    g_curFigure.end = {x1, y1};
    const double l = std::hypot(x1 - x0, y1 - y0);
    g_curFigure.dir = {(x1 - x0) / l, (y1 - y0) / l};
    return AppendFigure(0);
  }
  static bool AppendArcFigure(double x0, double y0, double x1, double y1, double cx, double cy, double r) {
    ClearCurrentFigure();
    g_curFigure.kind = kKindArc;
    g_curFigure.start = {x0, y0};
    g_curFigure.end = {x1, y1};
    g_curFigure.centre = {cx, cy};
    g_curFigure.radius = r;
    return AppendFigure(0);
  }

  // A slot: from (0, 0) along +X by `length`, a half circle of radius `r`
  // round (length, r), back along the top and a half circle round (0, r);
  // counter-clockwise.
  void AddSlotCurve(std::int32_t key, double length, double r) {
    CurveRecord c;
    c.key = key;
    c.first = GetFigureCount(kTableCurves);
    g_figureTableSelector = kTableCurves;
    ASSERT_TRUE(AppendLineFigure(0, 0, length, 0));
    ASSERT_TRUE(AppendArcFigure(length, 0, length, 2 * r, length, r, r));
    ASSERT_TRUE(AppendLineFigure(length, 2 * r, 0, 2 * r));
    ASSERT_TRUE(AppendArcFigure(0, 2 * r, 0, 0, 0, r, r));
    c.end = GetFigureCount(kTableCurves);
    platform::SetFieldText(c.name, "SLOT");
    g_curveTable[static_cast<std::size_t>(g_curveCount++)] = c;
    g_figureTableSelector = 0;
  }

  // The drawn contour as curve `key`.
  void AddDrawnCurve(std::int32_t key, const DrawnContour& contour) {
    CurveRecord c;
    c.key = key;
    c.first = GetFigureCount(kTableCurves);
    g_figureTableSelector = kTableCurves;
    for (const DrawnPiece& p : contour) {
      const bool added = p.radius == 0.0
                             ? AppendLineFigure(p.from[0], p.from[1], p.to[0], p.to[1])
                             : AppendArcFigure(p.from[0], p.from[1], p.to[0], p.to[1], p.centre[0], p.centre[1], p.radius);
      ASSERT_TRUE(added);
    }
    c.end = GetFigureCount(kTableCurves);
    platform::SetFieldText(c.name, "DRAWN");
    g_curveTable[static_cast<std::size_t>(g_curveCount++)] = c;
    g_figureTableSelector = 0;
  }

  // A second job in the same test: the drawing and the definitions emptied.
  void ResetForAnotherJob() {
    TearDown();
    SetUp();
    host = qup::RecordingHost{};
  }

  qup::RecordingHost host;
  float overrunLength = 0.0f;
};

}  // namespace dorn::test
