// The figure operations, origins, contour builders and layer split on
// hand-made figures: where each figure ends up, computed by hand.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/drawing/contour_builders.h"
#include "kelto_dorn/drawing/curve_registration.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/drawing/figure_operations.h"
#include "kelto_dorn/drawing/hole_circles.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/drawing/layer_split.h"
#include "kelto_dorn/drawing/operation_engines.h"
#include "kelto_dorn/drawing/origins.h"
#include "kelto_dorn/drawing/taper_contour_dialog.h"
#include "platform/headless/dialog_driver.h"
#include "platform/text.h"
#include "tests/kelto_dorn/drawing/drawing_fixture.h"

namespace dorn::test {
namespace {

constexpr double kEps = 1e-9;

void ExpectAt(Vec2 got, Vec2 want, double eps = 1e-9) {
  EXPECT_NEAR(got.x, want.x, eps);
  EXPECT_NEAR(got.y, want.y, eps);
}

SelectionRegion Box(Vec2 a, Vec2 b) { return {{{a.x, a.y}, {b.x, a.y}, {b.x, b.y}, {a.x, b.y}}}; }

class FigureOperationsTest : public DrawingTest {
 protected:
  static const FigureRecord& At(int table, int i) { return g_figureStore.Table(table)->slot(i); }
  static int Count(int table) { return GetFigureCount(table); }
  // Puts a figure into layer `table` with the given origin (its points
  // relative to it).
  static void Put(int table, FigureRecord f, Vec2 origin = {}) {
    f.origin = origin;
    g_curFigure = f;
    g_figureTableSelector = table;
    ASSERT_TRUE(AppendFigure(0));
  }
};

// --- The selection region -----------------------------------------------------

TEST_F(FigureOperationsTest, AConcaveBoxCountsEveryCrossingAndAnEdgeIsOutside) {
  // A U: two arms 0..10 and 20..30 wide, joined below y = 10, open above.
  const SelectionRegion u{{{0, 0}, {30, 0}, {30, 30}, {20, 30}, {20, 10}, {10, 10}, {10, 30}, {0, 30}}};
  struct Case {
    Vec2 p;
    bool inside;
  };
  const Case cases[] = {
      {{5, 20}, true},    // left arm: the ray crosses four edges on its way
      {{25, 20}, true},   // right arm
      {{15, 20}, false},  // the notch between the arms
      {{15, 5}, true},    // the base
      {{5, 10}, true},    // on the line of the notch's floor, beside it
      {{15, 10}, false},  // on the notch's floor: an edge
      {{0, 15}, false},   // on the outer edge
      {{-1, 30}, false},  // level with the top vertices, left of all
      {{35, 15}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(InsideRegion(u, c.p), c.inside) << c.p.x << "," << c.p.y;
  EXPECT_FALSE(InsideRegion(SelectionRegion{{{0, 0}, {1, 1}}}, {0.5, 0.5}));
}

TEST_F(FigureOperationsTest, TheViewsBoxIsKeptRelativeToTheCurrentOrigin) {
  g_originTable[0][0] = {100, 100};
  g_view.m_boxFirst = {0, 0};
  g_view.m_boxSecond = {10, 10};
  g_boxMode = 1;
  EXPECT_EQ(InsideSelection(105, 105), 0);
  EXPECT_EQ(InsideSelection(5, 5), 1);
}

// --- Box edits ------------------------------------------------------------------

TEST_F(FigureOperationsTest, AMoveTakesLinesWithOneEndInsideAndLeavesPointsOutside) {
  Put(0, Line({5, 5}, {50, 5}));            // one end inside
  Put(0, Line({40, 40}, {50, 50}));         // both outside
  Put(0, Point({2, 2}));                    // inside
  Put(0, Point({20, 20}));                  // outside
  Put(0, Line({-95, -95}, {0, 0}), {100, 100});  // its origin puts it at (5, 5)..(100, 100)
  g_figureOperation.moveVector = {1, 2};
  EXPECT_EQ(ApplyBoxEdit(box_op::kMove, Box({0, 0}, {10, 10})), 3);
  ExpectAt(At(0, 0).start, {6, 7});
  ExpectAt(At(0, 0).end, {51, 7});
  ExpectAt(At(0, 1).start, {40, 40});
  ExpectAt(At(0, 2).start, {3, 4});
  ExpectAt(At(0, 3).start, {20, 20});
  ExpectAt(At(0, 4).start, {-94, -93});
  ExpectAt(At(0, 4).origin, {100, 100});
}

TEST_F(FigureOperationsTest, CopiesAreAppendedOnceAndDeleteCompactsInOrder) {
  Put(0, Line({1, 1}, {2, 1}));
  Put(0, Line({50, 50}, {60, 50}));
  Put(0, Circle({3, 3}, 1));
  g_figureOperation.moveVector = {100, 0};
  EXPECT_EQ(ApplyBoxEdit(box_op::kMoveCopy, Box({0, 0}, {10, 10})), 2);
  ASSERT_EQ(Count(0), 5);
  ExpectAt(At(0, 0).start, {1, 1});
  ExpectAt(At(0, 3).start, {101, 1});
  ExpectAt(At(0, 4).centre, {103, 3});
  EXPECT_EQ(ApplyBoxEdit(box_op::kDelete, Box({0, 0}, {10, 10})), 2);
  ASSERT_EQ(Count(0), 3);
  ExpectAt(At(0, 0).start, {50, 50});
  ExpectAt(At(0, 1).start, {101, 1});
  ExpectAt(At(0, 2).centre, {103, 3});
  EXPECT_EQ(At(0, 3).kind, kKindEmpty);
}

TEST_F(FigureOperationsTest, RotationScaleAndRadiusOfFiguresInTheBox) {
  Put(0, Line({1, 0}, {3, 0}));
  g_figureOperation.rotationCentre = {0, 0};
  g_figureOperation.rotationAngle = 90;
  ApplyBoxEdit(box_op::kRotate, Box({0, -1}, {4, 1}));
  ExpectAt(At(0, 0).start, {0, 1});
  ExpectAt(At(0, 0).end, {0, 3});
  ExpectAt(At(0, 0).dir, {0, 1});
  g_figureOperation.scaleBase = {0, 1};
  g_figureOperation.scalePercent = 200;
  ApplyBoxEdit(box_op::kScale, Box({-1, 0}, {1, 4}));
  ExpectAt(At(0, 0).end, {0, 5});
  // Op 144 on arcs of the reference radius only.
  Put(0, Circle({20, 20}, 2));
  Put(0, Circle({22, 20}, 3));
  g_figureOperation.referenceRadius = 2;
  g_figureOperation.newRadius = 5;
  EXPECT_EQ(ApplyBoxEdit(box_op::kCircleRadius, Box({15, 15}, {30, 30})), 1);
  EXPECT_DOUBLE_EQ(At(0, 1).radius, 5);
  ExpectAt(At(0, 1).start, {25, 20});
  EXPECT_DOUBLE_EQ(At(0, 2).radius, 3);
}

TEST_F(FigureOperationsTest, AMoveThatWouldLeaveTheNumbersIsRefusedWithABeep) {
  Put(0, Line({1, 1}, {2, 2}));
  const int beeps = backend().BeepCount();
  g_figureOperation.moveVector = {1e308, 0};
  const SelectionRegion wide = Box({0, 0}, {1.5e308, 5});
  ApplyBoxEdit(box_op::kMove, wide);
  ASSERT_EQ(backend().BeepCount(), beeps);
  ApplyBoxEdit(box_op::kMove, wide);  // 1e308 + 1e308 overflows
  EXPECT_DOUBLE_EQ(At(0, 0).start.x, 1 + 1e308);
  EXPECT_GT(backend().BeepCount(), beeps);
}

TEST_F(FigureOperationsTest, ReattachingKeepsTheAbsolutePositionAndTheEntry) {
  g_originTable[0][1] = {10, 20};
  g_originCount[0] = 2;
  g_layerOriginIndex[0] = g_curOriginIndex = 1;
  Put(0, Line({1, 1}, {2, 2}));
  ApplyBoxEdit(box_op::kReattachOrigin, Box({0, 0}, {5, 5}));
  ExpectAt(At(0, 0).origin, {10, 20});
  ExpectAt(At(0, 0).start, {-9, -19});
  ExpectAt(g_originTable[0][1], {10, 20});
}

TEST_F(FigureOperationsTest, TheSameAttributesCodeSkipsOtherColoursAndOrigins) {
  FigureRecord red = Line({1, 1}, {2, 2});
  red.attribute = 1;
  Put(0, red);
  Put(0, Line({1, 1}, {3, 3}));
  g_figureOperation.code = kEngineCodeSameAttributes;
  g_figureOperation.reference = At(0, 0);
  g_figureOperation.colour = 9;
  EXPECT_EQ(ApplyBoxEdit(box_op::kColour, Box({0, 0}, {5, 5})), 1);
  EXPECT_EQ(At(0, 0).attribute, 9);
}

// --- Mirror and ranges -----------------------------------------------------------------

TEST_F(FigureOperationsTest, MirrorAboutALineNegatesTheRadiusAndTurnsAPointsDirection) {
  g_figureOperation.mirrorPoint = {0, 0};
  g_figureOperation.mirrorDirection = {1, 0};
  g_curFigure = Arc({2, 3}, 1, 0, 90);
  const FigureRecord before = g_curFigure;
  MirrorCurrentFigure();
  ExpectAt(g_curFigure.centre, {2, -3});
  ExpectAt(g_curFigure.start, {before.start.x, -before.start.y});
  EXPECT_DOUBLE_EQ(g_curFigure.radius, -1);
  // About the line x = 5 (vertical) a point facing +x faces -x; its origin
  // pair is honoured.
  g_figureOperation.mirrorPoint = {5, 0};
  g_figureOperation.mirrorDirection = {0, 2};
  g_curFigure = Point({1, 1});
  g_curFigure.origin = {2, 0};
  g_curFigure.dir = {1, 0};
  MirrorCurrentFigure();
  ExpectAt(g_curFigure.start, {5, 1});
  ExpectAt(g_curFigure.dir, {-1, 0});
}

TEST_F(FigureOperationsTest, TheCurveCommandsMirrorAboutTheAxisInBlockFive) {
  InstallOperationEngines();
  ASSERT_TRUE(g_commandEngines.mirrorCurrentFigure);
  FigureRecord axis = Line({0, 1}, {10, 1});
  axis.origin = {0, 1};  // the line y = 2
  SetBlock(5, axis);
  g_curFigure = Line({3, 5}, {4, 5});
  g_commandEngines.mirrorCurrentFigure();
  ExpectAt(g_curFigure.start, {3, -1});
  ExpectAt(g_curFigure.end, {4, -1});
}

TEST_F(FigureOperationsTest, ARangeIsRemovedInOneMoveOfTheTail) {
  for (int i = 0; i < 10; ++i) Put(0, Line({double(i), 0}, {double(i), 1}));
  g_figureTableSelector = 0;
  DeleteFigureRange(2, 5);
  ASSERT_EQ(Count(0), 7);
  const double want[] = {0, 1, 5, 6, 7, 8, 9};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(At(0, i).start.x, want[i]);
  DeleteFigureRange(5, 99);  // beyond the count: up to the count
  EXPECT_EQ(Count(0), 5);
  DeleteFigureRange(3, 3);
  EXPECT_EQ(Count(0), 5);
}

TEST_F(FigureOperationsTest, AReversedCurveRunsBackwardsWithItsJoints) {
  const int c = AddCurve({Line({0, 0}, {10, 0}), Arc({10, 5}, 5, -90, 90), Line({10, 10}, {0, 10})});
  g_curCurveIndex = c;
  ReverseCurve();
  const int first = g_curveTable[static_cast<std::size_t>(c)].first;
  ExpectAt(At(kTableCurves, first).start, {0, 10});
  ExpectAt(At(kTableCurves, first).end, {10, 10}, 1e-9);
  EXPECT_LT(At(kTableCurves, first + 1).radius, 0);
  ExpectAt(At(kTableCurves, first + 1).start, {10, 10}, 1e-9);
  ExpectAt(At(kTableCurves, first + 2).end, {0, 0});
  ExpectAt(At(kTableCurves, first + 2).dir, {-1, 0});
}

// --- Contours ---------------------------------------------------------------------

TEST_F(FigureOperationsTest, ARectangleAtLowerLeftRunsCounterClockwiseFromItsUpperRight) {
  RectContourValues v;
  v.width = 100;
  v.height = 50;
  v.position = 3;
  const std::vector<FigureRecord> r = BuildRectangleContour(v);
  ASSERT_EQ(r.size(), 4u);
  const Vec2 corners[] = {{100, 50}, {0, 50}, {0, 0}, {100, 0}};
  for (int i = 0; i < 4; ++i) {
    ExpectAt(r[i].start, corners[i]);
    ExpectAt(r[i].end, corners[(i + 1) % 4]);
  }
  ExpectAt(r[0].dir, {-1, 0});
  v.width = 0.0005;
  EXPECT_TRUE(BuildRectangleContour(v).empty());
  // Placed: turned by 90 degrees about (0, 0), then moved.
  v = {};
  v.width = 10;
  v.height = 4;
  v.angle = 90;
  v.moveX = 1;
  const std::vector<FigureRecord> t = BuildRectangleContour(v);
  ExpectAt(t[0].start, {1 - 2, 5});
}

TEST_F(FigureOperationsTest, CornerArcsAreTangentOrRelievedThroughTheCornerAndChamfersCut) {
  RectContourValues v;
  v.width = 100;
  v.height = 50;
  v.position = 3;
  v.corner = 10;
  std::vector<FigureRecord> r = BuildRectangleContour(v);
  ASSERT_EQ(r.size(), 8u);
  // The arc at the upper left corner (0, 50).
  ExpectAt(r[1].centre, {10, 40});
  ExpectAt(r[0].end, {10, 50}, 1e-6);
  ExpectAt(r[1].end, {0, 40}, 1e-6);
  ExpectAt(r[6].end, {100, 40}, 1e-6);
  ExpectAt(r[7].end, {90, 50}, 1e-6);
  ExpectAt(r[0].start, {90, 50}, 1e-6);
  // Relief: the arc passes through the corner.
  v.cornerMode = kCornerRelief;
  v.reliefX = v.reliefY = CornerRelief(10);
  r = BuildRectangleContour(v);
  EXPECT_NEAR(std::hypot(r[1].centre.x - 0, r[1].centre.y - 50), 10, 1e-9);
  ExpectAt(r[0].end, {10 * std::sqrt(2.0), 50}, 1e-6);
  ExpectAt(r[2].start, {0, 50 - 10 * std::sqrt(2.0)}, 1e-6);
  v.cornerMode = kCornerChamfer;
  r = BuildRectangleContour(v);
  EXPECT_EQ(r[1].kind, kKindLine);
  ExpectAt(r[1].start, {10, 50}, 1e-9);
  ExpectAt(r[1].end, {0, 40}, 1e-9);
}

TEST_F(FigureOperationsTest, PolygonsByInscribedOrCircumscribedSizeAndWithFillets) {
  PolygonContourValues v;
  v.size = 20;
  v.corners = 6;
  EXPECT_NEAR(PolygonVertexRadius(v), 10 / std::cos(30 * M_PI / 180), 1e-12);
  std::vector<FigureRecord> p = BuildPolygonContour(v);
  ASSERT_EQ(p.size(), 6u);
  ExpectAt(p[0].start, {10 / std::cos(30 * M_PI / 180), 0}, 1e-12);
  v.sizeStyle = kPolygonCircumscribed;
  EXPECT_DOUBLE_EQ(PolygonVertexRadius(v), 10);
  // A square of circumradius 10 with fillets of 1: eight figures, each arc
  // tangent to both of its lines.
  v.corners = 4;
  v.fillet = 1;
  p = BuildPolygonContour(v);
  ASSERT_EQ(p.size(), 8u);
  for (int k = 0; k < 4; ++k) {
    const FigureRecord& arc = p[2 * k + 1];
    EXPECT_EQ(arc.kind, kKindArc);
    ExpectAt(p[2 * k].end, arc.start, 1e-12);
    ExpectAt(p[(2 * k + 2) % 8].start, arc.end, 1e-12);
    EXPECT_NEAR(std::hypot(arc.centre.x, arc.centre.y), 10 - std::sqrt(2.0), 1e-9);
  }
  v.corners = 2;
  EXPECT_TRUE(BuildPolygonContour(v).empty());
}

TEST_F(FigureOperationsTest, TaperSectionsAndTheStoredAngle) {
  TaperSectionOffsets s = ComputeTaperSection(0, -10, 45, 0, 0, 0);
  EXPECT_NEAR(s.topToBottom, 10, 1e-12);
  EXPECT_EQ(s.reference, 0);
  s = ComputeTaperSection(0, -10, 45, 0, 0, 1);
  EXPECT_NEAR(s.topToBottom, -10, 1e-12);
  // An upright wall with an upper edge radius of 2: the wall offset by -2
  // meets the top face (at -2) at x = -2; the bottom face at x = 0.
  s = ComputeTaperSection(0, -10, 0, 2, 0, 0);
  EXPECT_NEAR(s.reference, -2, 1e-12);
  EXPECT_NEAR(s.topToBottom, 2, 1e-12);
  EXPECT_EQ(TaperAngleFromEntry(-30, 5.0f), 60.0f);
  EXPECT_EQ(TaperAngleFromEntry(30, 5.0f), 30.0f);
  // A tiny negative entry would be stored as 89.9995: refused like 89.999.
  EXPECT_EQ(TaperAngleFromEntry(-0.0005, 5.0f), 5.0f);
  EXPECT_EQ(TaperAngleFromEntry(89.999, 5.0f), 5.0f);
}

TEST_F(FigureOperationsTest, TheTaperDialogStoresItsAngleAndOffsetsTheContourOnRegister) {
  g_curCurveRecord = CurveRecord{};
  g_curCurveRecord.endZ = -10;
  SetBlock(0, Line({0, 0}, {10, 0}));
  SetBlock(1, Line({10, 0}, {10, 10}));
  g_workCount = 2;
  backend().WhenDialogOpens(kTaperDialogId, [](platform::headless::DialogDriver& d) {
    EXPECT_EQ(d.dialog().GetCount(kTaperTabs), 5);
    d.Focus(kTaperAngleEdit);
    d.Type(kTaperAngleEdit, "-30");
    d.Focus(kTaperUpperEdit);
    EXPECT_EQ(d.dialog().GetText(kTaperAngleEdit), " 60.0");
    d.Type(kTaperUpperEdit, "2");
    d.Focus(kTaperAngleEdit);
    d.Type(kTaperAngleEdit, "-0.0005");  // would be 89.9995: refused
    d.Click(kTaperRegisterButton);
  });
  CTaperContourDlg dialog(7, 0, true);
  EXPECT_EQ(dialog.DoModal(), platform::kIdOk);
  EXPECT_STREQ(g_curCurveRecord.name, "TAPER_0007");
  EXPECT_FLOAT_EQ(TaperField(g_curCurveRecord, TaperValue::Angle, 0), 60.0f);
  const TaperSectionOffsets want = ComputeTaperSection(0, -10, 60, 2, 0, 0);
  EXPECT_FLOAT_EQ(TaperField(g_curCurveRecord, TaperValue::ReferenceOffset, 0), static_cast<float>(want.reference));
  EXPECT_FLOAT_EQ(TaperField(g_curCurveRecord, TaperValue::TopToBottom, 0), static_cast<float>(want.topToBottom));
  ASSERT_LT(want.reference, 0);
  // Each block offset by the (negative) reference offset: to its right, and
  // the corner joined again.
  const double d = TaperField(g_curCurveRecord, TaperValue::ReferenceOffset, 0);
  ExpectAt(g_figureStore.SegmentBlock(0)->start, {0, d}, 1e-5);
  ExpectAt(g_figureStore.SegmentBlock(0)->end, {10 - d, d}, 1e-5);
  ExpectAt(g_figureStore.SegmentBlock(1)->start, {10 - d, d}, 1e-5);
}

TEST_F(FigureOperationsTest, ATaperCurveIsRegisteredThroughTheTaperDialog) {
  SetBlock(0, Line({0, 0}, {10, 0}));
  SetBlock(1, Line({10, 0}, {10, 10}));
  g_workCount = 2;
  CurveRecord& record = g_curveTable[static_cast<std::size_t>(g_curveCount)];
  record = CurveRecord{};
  record.kind = 8;
  record.endZ = -10;
  backend().WhenDialogOpens(kTaperDialogId, [](platform::headless::DialogDriver& d) {
    EXPECT_FALSE(d.dialog().IsEnabled(kTaperPickButton));
    d.Focus(kTaperAngleEdit);
    d.Type(kTaperAngleEdit, "45");
    d.Click(kTaperBottomRadio);
    d.Click(kTaperRegisterButton);
  });
  const int curve = g_curveCount;
  ASSERT_EQ(RegisterCurveEntry(kRegisterTaper, 1, nullptr), kCurveRegisteredNew);
  const CurveRecord& c = g_curveTable[static_cast<std::size_t>(curve)];
  EXPECT_EQ(c.kind, 8);
  EXPECT_EQ(c.zFlag, 1);
  EXPECT_EQ(std::string(c.name).rfind("TAPER_", 0), 0u);
  EXPECT_NEAR(TaperField(const_cast<CurveRecord&>(c), TaperValue::TopToBottom, 0), -10, 1e-5);
  EXPECT_EQ(c.end - c.first, 2);
}

TEST_F(FigureOperationsTest, ATaperOfCurveStateNineHasOneSectionAndNoFigureChoice) {
  g_curCurveRecord = CurveRecord{};
  backend().WhenDialogOpens(kTaperDialogId, [](platform::headless::DialogDriver& d) {
    EXPECT_EQ(d.dialog().GetCount(kTaperTabs), 1);
    EXPECT_FALSE(d.dialog().IsEnabled(kTaperPickButton));
    EXPECT_EQ(d.dialog().GetCheck(kTaperWholeButton), 1);
    d.PressEscape();
  });
  CTaperContourDlg dialog(1, 9, true);
  EXPECT_EQ(dialog.DoModal(), platform::kIdCancel);
}

// --- Hole circles ----------------------------------------------------------------

TEST_F(FigureOperationsTest, HoleCirclesInColumnsOneWayOrBackAndForthAndAsPairs) {
  for (Vec2 c : {Vec2{10, 10}, Vec2{0, 10}, Vec2{20, 5}, Vec2{10, 0}, Vec2{0, 0}}) Put(0, Circle(c, 2));
  Put(0, Circle({10, 10}, 3));
  Put(0, Circle({50, 50}, 2));  // outside the box
  g_boxHoleSettings = BoxHoleSettings{};
  g_boxHoleSettings.words[1] = 0;  // every circle
  g_boxHoleSettings.words[4] = 0;  // Y increasing
  g_boxHoleSettings.words[6] = 1;  // back and forth
  g_boxHoleSettings.tolerance = 0.5;
  const SelectionRegion box = Box({-5, -5}, {30, 30});
  const auto order = [](int n) {
    std::vector<Vec2> v;
    for (int i = 0; i < n; ++i) v.push_back(g_figureStore.SegmentBlock(100 + i)->start);
    return v;
  };
  ASSERT_EQ(CollectHoleCircles(100, {}, {}, box), 5);  // the second circle about (10, 10) is a duplicate
  EXPECT_EQ(order(5), (std::vector<Vec2>{{0, 0}, {0, 10}, {10, 10}, {10, 0}, {20, 5}}));
  EXPECT_EQ(g_figureStore.SegmentBlock(100)->kind, kKindPointMark);
  g_boxHoleSettings.words[6] = 0;  // one direction
  ASSERT_EQ(CollectHoleCircles(100, {}, {}, box), 5);
  EXPECT_EQ(order(5), (std::vector<Vec2>{{0, 0}, {0, 10}, {10, 0}, {10, 10}, {20, 5}}));
  // Pairs: the concentric circles of both reference diameters, one record.
  ASSERT_EQ(CollectHoleCircles(100, {2, 0}, {3, 0}, box), 1);
  ExpectAt(g_figureStore.SegmentBlock(100)->start, {10, 10});
  EXPECT_EQ(g_figureStore.SegmentBlock(100)->choice, kHolePairMark);
  EXPECT_DOUBLE_EQ(g_figureStore.SegmentBlock(100)->radius, 3);
}

// --- Origins ------------------------------------------------------------------------

TEST_F(FigureOperationsTest, TheSixtyThirdOriginIsRefused) {
  g_originCount[0] = 1;
  for (int i = 1; i < kMaxOriginsInUse; ++i) ASSERT_EQ(AddOrigin({double(i), 0.00049}, 0), 1);
  ExpectAt(g_originTable[0][61], {61, 0});
  EXPECT_EQ(g_curOriginIndex, 61);
  EXPECT_EQ(AddOrigin({99, 99}, 1), 0);
  EXPECT_EQ(g_originCount[0], kMaxOriginsInUse);
  EXPECT_TRUE(backend().WasShown(platform::Sjis("原点数が多すぎます")));
  EXPECT_EQ(SelectOriginNearPoint(0, 30.2, 0), 1);
  EXPECT_EQ(g_curOriginIndex, 30);
  EXPECT_EQ(SelectOriginNearPoint(0, 30.5, 5), 0);
}

TEST_F(FigureOperationsTest, MovingAnOriginMovesOnlyWhatIsAttachedToIt) {
  g_originTable[0][1] = {10, 10};
  g_originCount[0] = 2;
  g_layerOriginIndex[0] = g_curOriginIndex = 1;
  Put(0, Line({1, 0}, {2, 0}), {10, 10});
  Put(0, Line({1, 0}, {2, 0}), {10, 10.0001});
  TextRecord t;
  t.layer = 0;
  t.originX = 10.0f;
  t.originY = 10.0004f;  // the same origin after rounding to 0.001
  ASSERT_GE(AppendTextRecord(t), 0);
  ReassignFigureOrigin(20.00049, 30);
  ExpectAt(At(0, 0).origin, {20, 30});
  ExpectAt(At(0, 0).start, {1, 0});
  ExpectAt(At(0, 1).origin, {10, 10.0001});
  const TextRecord& moved = g_textRecords[static_cast<std::size_t>(TextRecordsInUse() - 1)];
  EXPECT_FLOAT_EQ(moved.originX, 20.0f);
  ExpectAt(g_originTable[0][1], {20, 30});
}

TEST_F(FigureOperationsTest, AxisLinesCrossTheOriginForEveryPlacement) {
  struct Case {
    int mode;
    double length, offset;
    bool vertical;
    double from, to;
  };
  const Case cases[] = {
      {0, 0, 0, false, -120, 120},   // zero work size: 220 long
      {1, 100, 0, false, -110, 10},  {2, 100, 0, false, -10, 110}, {2, 100, 0, true, -110, 10},
      {4, 100, 0, true, -10, 110},   {3, 100, 200, false, -210, 10},  // both ends negative: far end 10
      {1, 100, -300, false, -10, 310},                               // both positive: near end -10
  };
  for (const Case& c : cases) {
    const auto [from, to] = OriginAxisSpan(c.mode, c.length, c.offset, c.vertical);
    EXPECT_DOUBLE_EQ(from, c.from) << c.mode;
    EXPECT_DOUBLE_EQ(to, c.to) << c.mode;
  }
}

TEST_F(FigureOperationsTest, ThePlacedMarkHasNoCircle) {
  g_originTable[0][0] = {5, 5};
  g_view.m_rememberedOrigin = {0, 0};
  DrawOriginMark(dc, kOriginMarkPlaced);
  const std::size_t placed = dc.Primitives().size();
  dc.ClearPrimitives();
  DrawOriginMark(dc, kOriginMarkChoice);
  EXPECT_GT(dc.Primitives().size(), placed + 30);
}

// --- Layer split --------------------------------------------------------------------------

TEST_F(FigureOperationsTest, ASplitMovesWhatMeetsTheBoxWithItsOriginAndTexts) {
  g_originTable[0][1] = {50, 0};
  g_originCount[0] = 2;
  g_originCount[3] = 1;
  Put(0, Line({5, 5}, {50, 5}));               // one end inside
  Put(0, Point({20, 20}));                      // outside
  Put(0, Line({-45, 1}, {-40, 1}), {50, 0});    // inside, on origin (50, 0)
  TextRecord t;
  t.layer = 0;
  t.baseX = 2;
  t.baseY = 2;
  ASSERT_GE(AppendTextRecord(t), 0);
  const LayerMoveResult r = MoveFiguresToLayer(0, 3, 0, Box({0, 0}, {10, 10}));
  EXPECT_EQ(r.figures, 2);
  EXPECT_EQ(r.texts, 1);
  ASSERT_EQ(Count(0), 1);
  ExpectAt(At(0, 0).start, {20, 20});
  ASSERT_EQ(Count(3), 2);
  EXPECT_EQ(At(3, 1).layer, 3);
  ExpectAt(At(3, 1).origin, {50, 0});
  EXPECT_EQ(g_originCount[3], 2);
  ExpectAt(g_originTable[3][1], {50, 0});
  EXPECT_EQ(g_textRecords[static_cast<std::size_t>(TextRecordsInUse() - 1)].layer, 3);
}

TEST_F(FigureOperationsTest, ACopyStopsAtTheTextCapacityAndAFullOriginTableKeepsTheFigure) {
  g_originCount[3] = kMaxOriginsInUse;  // every slot holds (0, 0) but none is near (50, 0)
  for (int i = 0; i < kMaxOriginsInUse; ++i) g_originTable[3][static_cast<std::size_t>(i)] = {-1000, -1000};
  Put(0, Line({1, 1}, {2, 2}));
  Put(0, Line({-49, 1}, {-48, 2}), {50, 0});
  TextRecord t;
  t.layer = 0;
  t.baseX = t.baseY = 1;
  while (AppendTextRecord(t) >= 0) {
  }
  g_figureOperation.copyOption = 1;
  const LayerMoveResult r = MoveFiguresToLayer(0, 3, 0, Box({0, 0}, {10, 10}));
  EXPECT_EQ(r.stayed, 2);
  EXPECT_EQ(r.figures, 0);
  EXPECT_TRUE(r.textsFull);
  EXPECT_EQ(TextRecordsInUse(), kTextRecordCapacity);
  EXPECT_EQ(g_textRecords[kTextRecordCount - 1].layer < 0, true);
  EXPECT_EQ(Count(0), 2);
}

TEST_F(FigureOperationsTest, TheLayerChoiceDisablesTheCurrentLayerAndReturnsTheClickedOne) {
  g_curLayer = 2;
  backend().WhenDialogOpens(kLayerSplitDialogId, [](platform::headless::DialogDriver& d) {
    EXPECT_FALSE(d.dialog().IsEnabled(kFirstLayerButton + 2));
    d.Click(kFirstLayerButton + 5);
  });
  EXPECT_EQ(ChooseTargetLayer(), 5);
  backend().WhenDialogOpens(kLayerSplitDialogId, [](platform::headless::DialogDriver& d) { d.PressEscape(); });
  EXPECT_EQ(ChooseTargetLayer(), kNone);
}

TEST_F(FigureOperationsTest, ACurveLayerMoveTakesTheBoxSelection) {
  const int a = AddCurve({Line({0, 0}, {10, 0})});
  const int b = AddCurve({Line({0, 5}, {10, 5})});
  g_selectionList.fill(kNone);
  g_selectionList[0] = b;
  g_curCurveIndex = kNone;
  backend().WhenDialogOpens(kLayerSplitDialogId, [](platform::headless::DialogDriver& d) { d.Click(kFirstLayerButton + 4); });
  MoveCurvesToLayer();
  EXPECT_EQ(g_curveTable[static_cast<std::size_t>(a)].layer, 0);
  EXPECT_EQ(g_curveTable[static_cast<std::size_t>(b)].layer, 4);
  EXPECT_EQ(At(kTableCurves, g_curveTable[static_cast<std::size_t>(b)].first).layer, 4);
}

}  // namespace
}  // namespace dorn::test
