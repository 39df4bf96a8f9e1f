// The choice among construction candidates: preparing the choice, the
// highlight of a page, and the click in each work pick mode, with the curve
// offset's two lists written back in place or registered as a new curve.
#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/drawing/candidate_choice.h"
#include "kelto_dorn/drawing/curve_register_dialog.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/work_figure_pick.h"
#include "platform/headless/headless_backend.h"
#include "tests/kelto_dorn/drawing/drawing_fixture.h"

namespace dorn {
namespace {

class CandidateChoiceTest : public test::DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    g_pickTolerance = 1.0;
  }
  // The figures of table 90 from first to end - 1.
  static std::vector<FigureRecord> CurveFigures(int curve) {
    std::vector<FigureRecord> out;
    const CurveRecord& c = g_curveTable[static_cast<std::size_t>(curve)];
    for (int i = c.first; i < c.end; ++i) {
      GetFigure(kTableCurves, i);
      out.push_back(g_curFigure);
    }
    return out;
  }
  static void SetList(int first, const std::vector<FigureRecord>& figures) {
    for (std::size_t i = 0; i < figures.size(); ++i) SetBlock(first + static_cast<int>(i), figures[i]);
  }
};

TEST_F(CandidateChoiceTest, ResetPickSlotsClearsTheUnusedBlocksAndWaitsForTheChoice) {
  for (int i = 6; i <= 21; ++i) SetBlock(i, Line({0, double(i)}, {10, double(i)}));
  g_drawingView.m_candidatePage = 3;
  ResetPickSlots(2);
  for (int i = 8; i <= 21; ++i) EXPECT_EQ(g_figureStore.SegmentBlock(i)->kind, kKindEmpty) << i;
  EXPECT_EQ(g_figureStore.SegmentBlock(7)->kind, kKindLine);
  EXPECT_EQ(g_pickState, kPickStateChooseCandidate);
  EXPECT_EQ(g_commandStep, 2);
  EXPECT_EQ(g_workCount, 7);
  EXPECT_EQ(g_drawingView.m_candidatePage, 0);
  EXPECT_EQ(g_drawingView.m_pendingChoice, 1);
  EXPECT_EQ(ViewLog().size(), 2u) << "the two candidates are highlighted";
  EXPECT_EQ(endPicks, 0);
}

TEST_F(CandidateChoiceTest, APageHighlightsOnlyItsBlocksAndNoCandidateEndsThePick) {
  for (int i = 6; i <= 21; ++i) SetBlock(i, Line({0, double(i)}, {10, double(i)}));
  g_drawingView.m_candidatePage = 2;  // blocks 10-15
  DrawPickHighlights();
  EXPECT_EQ(ViewLog().size(), 6u);
  for (int i = 6; i <= 21; ++i) g_figureStore.SegmentBlock(i)->kind = kKindEmpty;
  DrawPickHighlights();
  EXPECT_EQ(endPicks, 1);
  EXPECT_EQ(redraws, 1);
}

TEST_F(CandidateChoiceTest, TheClickTakesTheCandidateUnderIt) {
  SetBlock(6, Line({0, 0}, {10, 0}));
  SetBlock(9, Circle({30, 0}, 5));
  g_pickPoint = {25.2, 0};
  ASSERT_EQ(PickWorkFigure(), 1);
  EXPECT_EQ(g_workCount, 9);
  g_pickPoint = {60, 60};
  EXPECT_EQ(PickWorkFigure(), 0);
  EXPECT_EQ(endPicks, 0) << "candidates missed, the choice goes on";
  SetBlock(6, FigureRecord{});
  SetBlock(9, FigureRecord{});
  EXPECT_EQ(PickWorkFigure(), 0);
  EXPECT_EQ(endPicks, 1);
  EXPECT_EQ(redraws, 1);
}

TEST_F(CandidateChoiceTest, OfTwoAlternativesTheNearerIsTakenAndATieTakesBlock7) {
  SetBlock(6, Line({0, 1}, {10, 1}));
  SetBlock(7, Line({0, -1}, {10, -1}));
  g_drawingView.m_workPickMode = kWorkPickTwoFigures;
  g_pickPoint = {5, 0};
  ASSERT_EQ(PickWorkFigure(), 1);
  EXPECT_EQ(g_curFigure.start.y, -1.0);
  EXPECT_EQ(g_drawingView.m_workPickMode, kWorkPickAmong);
  g_drawingView.m_workPickMode = kWorkPickTwoFigures;
  g_pickPoint = {5, 0.8};
  ASSERT_EQ(PickWorkFigure(), 1);
  EXPECT_EQ(g_curFigure.start.y, 1.0);
}

TEST_F(CandidateChoiceTest, WorkFigureDistancesFollowTheFootOrTheRayThroughTheCentre) {
  const FigureRecord line = Line({0, 0}, {10, 0});
  EXPECT_DOUBLE_EQ(WorkFigureDistance(line, {4, 3}, -1), 3.0);
  EXPECT_DOUBLE_EQ(WorkFigureDistance(line, {12, 3}, -1), -1.0) << "the foot misses the line";
  const FigureRecord arc = Arc({0, 0}, 10, 0, 90);
  EXPECT_DOUBLE_EQ(WorkFigureDistance(arc, {3, 4}, -1), 5.0);
  EXPECT_DOUBLE_EQ(WorkFigureDistance(arc, {-3, -4}, -1), 15.0) << "through the centre to the far side";
  EXPECT_DOUBLE_EQ(WorkFigureDistance(arc, {0, 0}, -1), 10.0) << "a click on the centre";
  EXPECT_DOUBLE_EQ(WorkFigureDistance(Point({1, 1}), {4, 5}, -1), 5.0);
}

TEST_F(CandidateChoiceTest, ALongerOffsetListMakesRoomAndTheFollowingCurvesStayIntact) {
  const int a = AddCurve({Point({0, 0}), Line({0, 0}, {10, 0}), Point({10, 0})});
  const int b = AddCurve({Line({0, 50}, {10, 50}), Line({10, 50}, {10, 60})});
  const int c = AddCurve({Circle({100, 100}, 7)}, 2);
  const auto before_b = CurveFigures(b), before_c = CurveFigures(c);
  SetList(kWorkListA, {Line({0, -5}, {10, -5})});
  SetList(kWorkListB, {Point({0, 5}), Line({0, 5}, {5, 5}), Line({5, 5}, {10, 5}), Point({10, 5})});
  g_selectionList[0] = a;
  g_drawingView.m_workPickMode = kWorkPickTwoLists;
  g_pickPoint = {5, 4};
  ASSERT_EQ(PickWorkFigure(), 1);
  EXPECT_EQ(g_workCount, 0);
  EXPECT_EQ(g_curCurveIndex, a);
  EXPECT_EQ(CurveFigures(a).size(), 4u);
  EXPECT_EQ(CurveFigures(a)[1].start, (Vec2{0, 5}));
  const auto after_b = CurveFigures(b), after_c = CurveFigures(c);
  ASSERT_EQ(after_b.size(), before_b.size());
  ASSERT_EQ(after_c.size(), before_c.size());
  for (std::size_t i = 0; i < after_b.size(); ++i) EXPECT_EQ(after_b[i].start, before_b[i].start);
  EXPECT_EQ(after_c[0].layer, 2) << "a curve figure keeps its layer";
  EXPECT_EQ(GetFigureCount(kTableCurves), 7);

  // The other side, shorter: the table shrinks by the difference.
  g_pickPoint = {5, -4};
  ASSERT_EQ(PickWorkFigure(), 1);
  EXPECT_EQ(CurveFigures(a).size(), 1u);
  EXPECT_EQ(GetFigureCount(kTableCurves), 4);
  EXPECT_EQ(CurveFigures(c)[0].centre, (Vec2{100, 100}));
}

TEST_F(CandidateChoiceTest, EqualDistancesChooseTheListAt20000AndAnEmptyListNeverWins) {
  const int a = AddCurve({Line({0, 0}, {10, 0})});
  SetList(kWorkListA, {Line({0, 1}, {10, 1})});
  SetList(kWorkListB, {Line({0, -1}, {10, -1})});
  g_selectionList[0] = a;
  g_drawingView.m_workPickMode = kWorkPickTwoLists;
  g_pickPoint = {5, 0};
  ASSERT_EQ(PickWorkFigure(), 1);
  EXPECT_EQ(CurveFigures(a)[0].start.y, -1.0);

  for (int i = kWorkListB; i < kWorkListB + 2; ++i) g_figureStore.SegmentBlock(i)->kind = kKindEmpty;
  g_pickPoint = {5, -100};
  ASSERT_EQ(PickWorkFigure(), 1);
  EXPECT_EQ(CurveFigures(a)[0].start.y, 1.0);

  g_figureStore.SegmentBlock(kWorkListA)->kind = kKindEmpty;
  EXPECT_EQ(PickWorkFigure(), 0) << "no list at all ends the pick";
  EXPECT_EQ(endPicks, 1);
  EXPECT_EQ(CurveFigures(a).size(), 1u);
}

TEST_F(CandidateChoiceTest, InCopyModeTheChosenListIsRegisteredAsANewCurve) {
  const int a = AddCurve({Line({0, 0}, {10, 0})});
  g_curveTable[static_cast<std::size_t>(a)].kind = 7;
  SetList(kWorkListA, {Line({0, 2}, {10, 2}), Line({10, 2}, {10, 8})});
  g_selectionList[0] = a;
  g_copyMode = 1;
  g_drawingView.m_workPickMode = kWorkPickTwoLists;
  backend().WhenDialogOpens(kCurveRegisterDialogId,
                            [](platform::headless::DialogDriver& d) { d.Click(kCurveRegisterButton); });
  g_pickPoint = {5, 2};
  ASSERT_EQ(PickWorkFigure(), 1);
  ASSERT_EQ(g_curveCount, 2);
  EXPECT_EQ(g_curCurveIndex, 1);
  EXPECT_EQ(CurveFigures(0).size(), 1u) << "the source curve stays";
  const auto added = CurveFigures(1);
  ASSERT_EQ(added.size(), 2u);
  EXPECT_EQ(added[1].end, (Vec2{10, 8}));
  EXPECT_EQ(g_curveTable[1].kind, 7) << "the new curve starts as a copy of the chosen one";
  EXPECT_EQ(g_curveTable[1].key, 20);
  EXPECT_FALSE(ViewLog().empty()) << "the new figures were drawn";
}

}  // namespace
}  // namespace dorn
