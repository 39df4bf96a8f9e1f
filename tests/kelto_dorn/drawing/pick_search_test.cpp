// Picking among curves, pockets and texts, and the search under the cursor.
#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/drawing/cursor_hit_search.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/pick_search.h"
#include "tests/kelto_dorn/drawing/drawing_fixture.h"

namespace dorn {
namespace {

class PickSearchTest : public test::DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    g_pickTolerance = 1.0;
    g_curLayer = 0;
    g_figureTableSelector = 0;
  }
  static void AddToLayer(const FigureRecord& f, int layer = 0) {
    g_curFigure = f;
    g_figureTableSelector = layer;
    AppendFigure(0);
    g_figureTableSelector = g_curLayer;
  }
};

TEST_F(PickSearchTest, AnyCurveFindsTheFirstHitOnTheCurrentLayerAndSelectsIt) {
  AddCurve({Line({0, 0}, {10, 0})});                     // 0: the current curve, skipped
  AddCurve({Line({0, 20}, {10, 20})}, 1);                // 1: another layer
  AddCurve({Point({0, 0}), Line({0, 0.5}, {10, 0.5})});  // 2
  g_curCurveIndex = 0;
  g_pickPoint = {5, 0.2};
  g_figureTableSelector = 90;
  ASSERT_EQ(FindFigureAtPick(kFindAnyCurve), 1);
  EXPECT_EQ(g_curCurveIndex, 2);
  EXPECT_EQ(g_selectionList[0], 2);
  EXPECT_EQ(g_figureTableSelector, g_curLayer);
  EXPECT_EQ(g_savedFigure.start, (Vec2{0, 0.5}));

  g_curCurveIndex = kNone;
  g_workCount = 0;
  g_pickPoint = {5, 20};
  EXPECT_EQ(FindFigureAtPick(kFindAnyCurve), 0) << "curves of other layers are not picked";
}

TEST_F(PickSearchTest, APocketIsPickedByItsIpPointAndDamagedCurvesAreSkipped) {
  const int damaged = AddCurve({Line({0, 0}, {10, 0})});
  g_curveTable[static_cast<std::size_t>(damaged)].end = 500000;  // beyond the figures stored
  const int pocket = AddCurve({Circle({50, 50}, 30)}, 0, 7);
  g_curveTable[static_cast<std::size_t>(pocket)].ipX = 60;
  g_curveTable[static_cast<std::size_t>(pocket)].ipY = 55;
  g_pickPoint = {60.5, 55};
  ASSERT_EQ(FindFigureAtPick(kFindAnyCurve), 1);
  EXPECT_EQ(g_curCurveIndex, pocket);
  g_pickPoint = {5, 0};
  g_curCurveIndex = kNone;
  EXPECT_EQ(FindFigureAtPick(kFindAnyCurve), 0);
}

TEST_F(PickSearchTest, RepeatedClicksOnOverlappingFiguresOfOneCurveAlternate) {
  const int c = AddCurve({Line({0, 0}, {10, 0}), Line({0, 0}, {10, 0}), Line({0, 0}, {10, 0})});
  const int first = g_curveTable[static_cast<std::size_t>(c)].first;
  g_pickPoint = {5, 0};
  g_pickIndex = kNone;
  ASSERT_EQ(FindFigureAtPick(c), 1);
  EXPECT_EQ(g_pickIndex, first);
  ASSERT_EQ(FindFigureAtPick(c), 1);
  EXPECT_EQ(g_pickIndex, first + 1);
  ASSERT_EQ(FindFigureAtPick(c), 1);
  EXPECT_EQ(g_pickIndex, first);
  EXPECT_EQ(FindFigureAtPick(c + 5), 0) << "a curve index beyond the table";
}

TEST_F(PickSearchTest, TextsAreFoundByTheirPositionOnTheCurrentLayer) {
  for (auto& t : g_textRecords) t.layer = -1;
  for (int i = 0; i < 3; ++i) g_textRecords[static_cast<std::size_t>(i)].layer = 888;  // the work records
  g_textRecords[3] = TextRecord{};
  g_textRecords[3].layer = 1;
  g_textRecords[3].baseX = 10;
  g_textRecords[4] = TextRecord{};
  g_textRecords[4].layer = 0;
  g_textRecords[4].baseX = 8;
  g_textRecords[4].originX = 2;  // at (10, 0) in the drawing
  g_pickPoint = {10.3, 0};
  ASSERT_EQ(FindFigureAtPick(kFindText), 1);
  EXPECT_EQ(g_pickIndex, 4);
  g_pickPoint = {30, 0};
  EXPECT_EQ(FindFigureAtPick(kFindText), 0);
  EXPECT_EQ(g_pickIndex, kNone);
}

TEST_F(PickSearchTest, TheWholeListModeNeverSelectsACurveTwice) {
  AddCurve({Line({0, 0}, {10, 0})});
  g_listMode = kListModeAll;
  g_workCount = 0;
  EXPECT_EQ(SelectPickedCurve(0), 1);
  g_workCount = 1;
  EXPECT_EQ(SelectPickedCurve(0), 0);
  g_listMode = 0;
  EXPECT_EQ(SelectPickedCurve(0), 1) << "outside the mode the selection starts again";
  EXPECT_EQ(g_workCount, 0);
  EXPECT_FALSE(ViewLog().empty()) << "the old selection was redrawn plain";
}

TEST_F(PickSearchTest, PickFigureOrCurveScansTheLayerThenCurvesAxesAndTheWorkBox) {
  AddToLayer(Line({0, 10}, {10, 10}));
  AddToLayer(Circle({50, 50}, 5));
  AddCurve({Line({0, 30}, {10, 30})});
  g_workBoxFigure.start = {100, 100};  // corners C1..C4
  g_workBoxFigure.end = {-100, 100};
  g_workBoxFigure.centre = {100, -100};
  g_workBoxFigure.dir = {-100, -100};
  g_pickState = 3;

  g_pickPoint = {5, 10.5};
  ASSERT_TRUE(PickFigureOrCurve(0));
  EXPECT_EQ(g_pickFoundIndex, 0);
  EXPECT_EQ(g_pickFoundTable, 0);

  g_pickPoint = {5, 30};
  ASSERT_TRUE(PickFigureOrCurve(0));
  EXPECT_EQ(g_pickFoundTable, kTableCurves);

  g_pickPoint = {60, 0.5};
  ASSERT_TRUE(PickFigureOrCurve(0));
  EXPECT_EQ(g_pickFoundIndex, kFoundAxisX);
  g_pickPoint = {0.5, 60};
  ASSERT_TRUE(PickFigureOrCurve(0));
  EXPECT_EQ(g_pickFoundIndex, kFoundAxisY);
  g_pickPoint = {0, 0};
  ASSERT_TRUE(PickFigureOrCurve(0));
  EXPECT_EQ(g_pickFoundIndex, kFoundAxisX) << "at the origin the axes alternate";
  ASSERT_TRUE(PickFigureOrCurve(0));
  EXPECT_EQ(g_pickFoundIndex, kFoundAxisY);

  const struct {
    Vec2 at;
    int side;
  } sides[] = {{{50, 100}, 89001}, {{-100, 50}, 89002}, {{60, -100}, 89003}, {{100, 60}, 89004}};
  for (const auto& s : sides) {
    g_pickPoint = s.at;
    ASSERT_TRUE(PickFigureOrCurve(0));
    EXPECT_EQ(g_pickFoundIndex, s.side);
  }

  g_pickState = 14;
  g_pickPoint = {60, 0.5};
  EXPECT_FALSE(PickFigureOrCurve(0)) << "state 14 takes no axis";
  g_pickState = 16;
  g_pickPoint = {5, 10};
  EXPECT_FALSE(PickFigureOrCurve(0)) << "the circle pick takes no line";
  g_pickPoint = {55, 50};
  EXPECT_TRUE(PickFigureOrCurve(0));
}

TEST_F(PickSearchTest, ThePointGroupEditTakesTheWholeGroupIntoTheBlocks) {
  FigureRecord p = Point({0, 0}, kKindCurvePointTangent);
  p.number = 7;
  for (int i = 0; i < 3; ++i) {
    p.start = {10.0 * i, 0};
    AddToLayer(p);
  }
  FigureRecord other = Point({5, 5}, kKindCurvePointTangent);
  other.number = 8;
  AddToLayer(other);
  AddToLayer(Line({0, 0}, {30, 0}));
  g_pickState = 630;
  g_pickPoint = {10, 0.2};
  ASSERT_TRUE(PickFigureOrCurve(kPickModePointGroup));
  EXPECT_EQ(g_figureStore.SegmentBlock(19)->start, (Vec2{10, 0}));
  EXPECT_EQ(g_workCount, 23);
  EXPECT_EQ(g_figureStore.SegmentBlock(22)->start, (Vec2{20, 0}));
}

TEST_F(PickSearchTest, SnappingFindsCrossingsCentresAndEndOrMiddlePoints) {
  g_layerScale[0] = 100.0;
  g_pickApertureSize = 1;
  g_pickTolerance = 0.25;
  AddToLayer(Line({0, 0}, {10, 0}));
  AddToLayer(Line({4, -5}, {4, 5}));
  AddToLayer(Circle({50, 50}, 3));

  g_pickPoint = {4.6, 0.5};
  ASSERT_EQ(PickFiguresNearCursor(kSnapIntersectionOrCentre), 1);
  EXPECT_NEAR(g_curFigure.origin.x + g_curFigure.start.x, 4.0, 1e-9);
  EXPECT_NEAR(g_curFigure.origin.y + g_curFigure.start.y, 0.0, 1e-9);
  EXPECT_DOUBLE_EQ(g_pickTolerance, 0.25) << "the snap tolerance is restored";

  g_pickPoint = {50.9, 50.5};  // inside the circle, 1.03 from its centre: within 1.1
  ASSERT_EQ(PickFiguresNearCursor(kSnapIntersectionOrCentre), 1);
  EXPECT_EQ(g_curFigure.start, (Vec2{50, 50}));
  g_pickPoint = {51.2, 50};
  EXPECT_EQ(PickFiguresNearCursor(kSnapIntersectionOrCentre), 0) << "1.2 is beyond 1.1";
  g_pickApertureSize = 3;
  EXPECT_EQ(PickFiguresNearCursor(kSnapIntersectionOrCentre), 1) << "pick size 3 gives 3.3";
  g_pickApertureSize = 1;

  g_pickPoint = {9.5, 0.3};
  ASSERT_EQ(PickFiguresNearCursor(kSnapEndOrMiddle), 1);
  EXPECT_EQ(g_curFigure.start, (Vec2{10, 0}));
  g_pickPoint = {5.5, -0.3};
  ASSERT_EQ(PickFiguresNearCursor(kSnapEndOrMiddle), 1);
  EXPECT_EQ(g_curFigure.start, (Vec2{5, 0}));
}

TEST_F(PickSearchTest, TheViewReachesThePickersThroughTheEngineTable) {
  AddToLayer(Line({0, 10}, {10, 10}));
  g_pickState = 5;
  g_pickPoint = {5, 10};
  ASSERT_TRUE(g_commandEngines.pickFigureOrCurve);
  EXPECT_TRUE(g_commandEngines.pickFigureOrCurve(0));
  ASSERT_TRUE(g_commandEngines.setCandidatePage);
  g_commandEngines.setCandidatePage(2);
  EXPECT_EQ(g_drawingView.m_candidatePage, 2);
  g_drawingView.m_workPickMode = kWorkPickTwoLists;
  EXPECT_EQ(g_commandEngines.workPickMode(), kWorkPickTwoLists);
}

}  // namespace
}  // namespace dorn
