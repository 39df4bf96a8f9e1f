// Curves through point groups: tangents, the biarc of a span and the pieces
// stored behind the points, checked against hand-computed geometry.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/drawing/curve_shapes.h"
#include "kelto_dorn/drawing/curve_through_points.h"
#include "kelto_dorn/drawing/point_group_edit.h"
#include "kelto_dorn/drawing/spiral_curve_dialog.h"
#include "kelto_dorn/drawing/work_points.h"
#include "kelto_dorn/dialogs/prompts.h"
#include "platform/headless/headless_backend.h"
#include "tests/kelto_dorn/drawing/drawing_fixture.h"

namespace dorn {
namespace {

constexpr double kPi = 3.14159265358979323846;

class CurveThroughPointsTest : public test::DrawingTest {
 protected:
  static FigureRecord At(Vec2 p, double tangentDegrees = NAN) {
    FigureRecord f = Point(p, kKindCurvePoint);
    if (!std::isnan(tangentDegrees)) {
      f.kind = kKindCurvePointAngle;
      f.radius = tangentDegrees;
      f.dir = {std::cos(tangentDegrees * kPi / 180), std::sin(tangentDegrees * kPi / 180)};
    }
    return f;
  }
  // Appends the points to layer 0 and builds the curve; the pieces.
  std::vector<FigureRecord> Build(const std::vector<FigureRecord>& points) {
    g_figureTableSelector = 0;
    const int first = GetFigureCount(0);
    for (const FigureRecord& p : points) AddFigure(p);
    const int end = GetFigureCount(0);
    const int count = ComputeCurveFromPoints(first, end, end);
    std::vector<FigureRecord> pieces;
    for (int i = end; i < count; ++i) {
      GetFigure(0, i);
      pieces.push_back(g_curFigure);
    }
    return pieces;
  }
};

TEST_F(CurveThroughPointsTest, CollinearPointsGiveLines) {
  const auto pieces = Build({At({0, 0}), At({10, 0}), At({20, 0})});
  ASSERT_EQ(pieces.size(), 2u);
  for (const FigureRecord& p : pieces) {
    EXPECT_EQ(p.kind, kKindLine);
    EXPECT_DOUBLE_EQ(p.dir.x, 1.0);
  }
  EXPECT_EQ(pieces[1].end.x, 20.0);
}

TEST_F(CurveThroughPointsTest, PointsOnACircleGiveArcsOfThatCircle) {
  std::vector<FigureRecord> points;
  for (int i = 0; i < 5; ++i)
    points.push_back(At({50 * std::cos(i * 0.5), 50 * std::sin(i * 0.5)}));
  const auto pieces = Build(points);
  ASSERT_EQ(pieces.size(), 4u);
  for (const FigureRecord& p : pieces) {
    EXPECT_EQ(p.kind, kKindArc);
    EXPECT_NEAR(p.radius, 50.0, 1e-6);
    EXPECT_NEAR(p.centre.x, 0.0, 1e-6);
    EXPECT_NEAR(p.centre.y, 0.0, 1e-6);
  }
  // The estimated tangents were written back; the last one points forward.
  GetFigure(0, 4);
  EXPECT_EQ(g_curFigure.kind, kKindCurvePointTangent);
  EXPECT_NEAR(g_curFigure.dir.x, -std::sin(2.0), 1e-9);
  EXPECT_NEAR(g_curFigure.dir.y, std::cos(2.0), 1e-9);
}

TEST_F(CurveThroughPointsTest, SpansWithGivenTangents) {
  struct Case {
    const char* name;
    double t0, t1;
    std::vector<double> radii;  // of the pieces
    Vec2 centre0;
    Vec2 joint;
  };
  const Case cases[] = {
      {"tangents on opposite sides, equal dot products: one arc", 30, -30, {-10}, {5, -8.660254037844386}, {10, 0}},
      {"parallel tangents on one side: two arcs", 30, 30, {-5, 5}, {2.5, -4.330127018922193}, {5, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto pieces = Build({At({0, 0}, c.t0), At({10, 0}, c.t1)});
    ASSERT_EQ(pieces.size(), c.radii.size());
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      EXPECT_EQ(pieces[i].kind, kKindArc);
      EXPECT_NEAR(pieces[i].radius, c.radii[i], 1e-9);
    }
    EXPECT_NEAR(pieces[0].centre.x, c.centre0.x, 1e-9);
    EXPECT_NEAR(pieces[0].centre.y, c.centre0.y, 1e-9);
    EXPECT_NEAR(pieces[0].end.x, c.joint.x, 1e-6);
    EXPECT_NEAR(pieces[0].end.y, c.joint.y, 1e-6);
    EXPECT_NEAR(pieces.back().end.x, 10.0, 1e-12);
  }
}

TEST_F(CurveThroughPointsTest, TwoPointsWithoutTangentsAndCoincidentPointsBuildNothing) {
  EXPECT_TRUE(Build({At({0, 0}), At({10, 0})}).empty());
  const auto pieces = Build({At({0, 0}), At({0, 0}), At({0, 0.0004}), At({10, 0})});
  for (const FigureRecord& p : pieces) {
    EXPECT_TRUE(std::isfinite(p.start.x) && std::isfinite(p.end.y) && std::isfinite(p.radius));
    EXPECT_TRUE(std::isfinite(p.centre.x) && std::isfinite(p.dir.x));
  }
  // The coincident spans give no piece: only the span to (10, 0) remains.
  ASSERT_FALSE(pieces.empty());
  EXPECT_NEAR(pieces.front().start.y, 0.0004, 1e-12);
  EXPECT_EQ(pieces.back().end.x, 10.0);
}

TEST_F(CurveThroughPointsTest, AnImporterReceivesThePiecesInsteadOfTheTable) {
  g_figureTableSelector = 0;
  AddFigure(At({0, 0}, 0));
  AddFigure(At({10, 0}, 0));
  std::vector<FigureRecord> received;
  EXPECT_EQ(ComputeCurveFromPoints(0, 2, 2, [&](FigureRecord& f) { received.push_back(f); }), 2);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].kind, kKindLine);
}

TEST_F(CurveThroughPointsTest, AnEditedPointGroupIsRebuiltAndDeletedByItsNumber) {
  AddFigure(Line({100, 100}, {110, 100}));  // another figure stays
  g_pointCurveNumber = 5;
  std::vector<FigureRecord> points = {At({0, 0}), At({10, 0}), At({20, 0})};
  for (FigureRecord& p : points) p.number = 5;
  ASSERT_EQ(Build(points).size(), 2u);
  // The pick of the group: block 19 and every figure of number 5 from 20.
  int block = 20;
  for (int i = 0; i < GetFigureCount(0); ++i) {
    GetFigure(0, i);
    if (g_curFigure.number == 5) SetBlock(block++, g_curFigure);
  }
  SetBlock(19, *g_figureStore.SegmentBlock(20));
  g_workCount = block;
  g_figureStore.SegmentBlock(21)->start = g_figureStore.SegmentBlock(21)->end = {10, 5};
  // The rebuilt curve takes the next curve number.
  const int number = g_pointCurveNumber + 1;
  const int count = FinishCurveThroughPoints(kPointGroupReplace);
  EXPECT_EQ(count, GetFigureCount(0));
  GetFigure(0, 0);
  EXPECT_EQ(g_curFigure.start.x, 100.0);
  int arcs = 0;
  for (int i = 1; i < count; ++i) {
    GetFigure(0, i);
    EXPECT_EQ(g_curFigure.number, number) << i;
    arcs += g_curFigure.kind == kKindArc ? 1 : 0;
  }
  EXPECT_EQ(arcs, 2) << "the moved point bends the curve";
  g_figureStore.SegmentBlock(19)->number = number;
  EXPECT_EQ(FinishCurveThroughPoints(kPointGroupDeleteCurve), 1);
}

// The edit of a picked point group: a work point is found under the click,
// replaced by typed coordinates (its tangent angle cancelled) and deleted;
// each time the curve is rebuilt and its figures come back as work points.
TEST_F(CurveThroughPointsTest, AWorkPointIsPickedReplacedAndDeleted) {
  g_pointCurveNumber = 5;
  std::vector<FigureRecord> points = {At({0, 0}, 0), At({10, 0}), At({20, 0}), At({30, 0}, 0)};
  for (FigureRecord& p : points) p.number = 5;
  ASSERT_EQ(Build(points).size(), 3u);
  int block = kFirstWorkPointBlock;
  for (int i = 0; i < GetFigureCount(0); ++i) {
    GetFigure(0, i);
    SetBlock(block++, g_curFigure);
  }
  SetBlock(19, *g_figureStore.SegmentBlock(20));
  g_workCount = block;

  g_pickPoint = {10.02, 0.01};
  EXPECT_EQ(PickPolylineWorkFigure(0.1), 21);
  g_pickPoint = {50, 50};
  EXPECT_EQ(PickPolylineWorkFigure(0.1), 0);
  const int saved = g_workCount;
  g_workCount = kFirstWorkPointBlock;
  EXPECT_EQ(PickPolylineWorkFigure(0.1), -1);
  g_workCount = saved;

  backend().WhenDialogOpens(kPointPickDialogId, [](platform::headless::DialogDriver& d) {
    d.Type(1015, "10");
    d.PressEnter();
    d.Type(1016, "5");
    d.PressEnter();
  });
  backend().WhenDialogOpens(kValueInputDialogId, [](platform::headless::DialogDriver& d) { d.Click(platform::kIdCancel); });
  g_commandStep = 0;
  g_pickIndex = 21;
  const int replaced = g_pointCurveNumber + 1;
  EXPECT_EQ(RunPointGroupCommand(kPointGroupReplace), 1);
  EXPECT_EQ(g_pickState, kPointGroupReplace);
  EXPECT_EQ(g_figureStore.SegmentBlock(19)->number, replaced);
  std::vector<Vec2> at;
  int arcs = 0;
  for (int i = 0; i < GetFigureCount(0); ++i) {
    GetFigure(0, i);
    EXPECT_EQ(g_curFigure.number, replaced) << i;
    if ((g_curFigure.kind & 0xFF) == 84) at.push_back(g_curFigure.start);
    arcs += g_curFigure.kind == kKindArc ? 1 : 0;
  }
  ASSERT_EQ(at.size(), 4u);
  EXPECT_EQ(at[1].x, 10.0);
  EXPECT_EQ(at[1].y, 5.0);
  EXPECT_GT(arcs, 0) << "the moved point bends the curve";

  // Deleting that point straightens the curve again.
  g_pickPoint = {10, 5};
  g_pickIndex = PickPolylineWorkFigure(0.1);
  ASSERT_GE(g_pickIndex, kFirstWorkPointBlock);
  EXPECT_EQ(RunPointGroupCommand(kPointGroupDelete), 1);
  EXPECT_EQ(g_pickState, kPointGroupDelete);
  int left = 0;
  for (int i = 0; i < GetFigureCount(0); ++i) {
    GetFigure(0, i);
    if ((g_curFigure.kind & 0xFF) == 84) ++left;
    EXPECT_NE(g_curFigure.kind, kKindArc) << i;
  }
  EXPECT_EQ(left, 3);
}

TEST_F(CurveThroughPointsTest, ACircleWound2Point5TurnsGivesFiveHalfCircles) {
  const FigureRecord circle = Circle({0, 0}, 50);
  const auto halves = SpiralHalfCircles(circle, 5, SpiralTurns(2.5));
  ASSERT_EQ(halves.size(), 5u);
  for (std::size_t i = 1; i < halves.size(); ++i) {
    EXPECT_NEAR(halves[i].start.x, halves[i - 1].end.x, 1e-9);
    EXPECT_NEAR(halves[i].start.y, halves[i - 1].end.y, 1e-9);
    EXPECT_GT(halves[i].radius, 0.0) << "the sense of the circle";
  }
  EXPECT_NEAR(halves[0].radius, 50.0, 1e-12);
  EXPECT_NEAR(halves[4].radius, 40.0, 1e-12);
  EXPECT_EQ(SpiralTurns(-3.9), 3.5);
  EXPECT_EQ(SpiralTurns(2.3), 2.5);
  EXPECT_EQ(SpiralTurns(3), 3.0);
}

TEST_F(CurveThroughPointsTest, TheSpiralDialogRegistersOnlyWithBothValues) {
  using platform::headless::DialogDriver;
  backend().WhenDialogOpens(kSpiralDialogId, [](DialogDriver& d) {
    d.Focus(kSpiralWidthEdit);
    d.Type(kSpiralWidthEdit, "0");
    d.Focus(kSpiralTurnsEdit);
    d.Click(kSpiralRegisterButton);
    EXPECT_FALSE(d.dialog().HasEnded());
    d.Type(kSpiralTurnsEdit, "-3.9");
    d.Focus(kSpiralWidthEdit);
    EXPECT_EQ(d.dialog().GetText(kSpiralTurnsEdit), "3.5");
    d.Type(kSpiralWidthEdit, "2");
    d.Click(kSpiralRegisterButton);
  });
  CSpiralCurveDlg dialog;
  EXPECT_EQ(dialog.DoModal(), platform::kIdOk);
  EXPECT_EQ(dialog.Width(), 2.0);
  EXPECT_EQ(dialog.Turns(), 3.5);
}

}  // namespace
}  // namespace dorn
