// The click dispatch by pick state, the right clicks, the moves that end a
// command, Esc, and the layer tiles.
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"
#include "kelto_dorn/window/command_ids.h"
#include "platform/key_codes.h"
#include "tests/kelto_dorn/window/recording_engines.h"
#include "tests/kelto_dorn/window/window_fixture.h"

namespace dorn::test {
namespace {

using Entries = std::vector<std::string>;

class PickDispatchTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    StartWithFixtureDrawing();
    engines.InstallAll();
    g_drawingHooks.showPrompt = [this](int code) { prompts.push_back(code); };
  }
  // Puts the command words as a command would leave them before a click.
  void Arrange(int command, int state, int picks = 0, int step = 0) {
    g_curCommand = command;
    g_pickState = state;
    g_pickIndex = picks;
    g_commandStep = step;
    engines.Clear();
    prompts.clear();
  }
  int LastPrompt() const { return prompts.empty() ? -1 : prompts.back(); }

  RecordingEngines engines;
  std::vector<int> prompts;
};

struct LeftCase {
  const char* name;
  int command, state, picks;
  bool pickHits;
  int nearCursor, workTaken, curveFound;
  Entries calls;
  int stateAfter;
  int picksAfter;
  int prompt;  // -1: none shown
};

TEST_F(PickDispatchTest, ALeftClickByPickState) {
  const LeftCase cases[] = {
      {"any click continues", 32837, 9, 0, false, 0, 0, 0, {"execute"}, 9, 0, -1},
      {"figure picked", 32852, 3, 0, true, 0, 0, 0, {"pick", "analyse"}, 3, 1, 1016},
      {"empty click confirms the pick", 32852, 3, 1, false, 0, 0, 0, {"pick", "execute"}, 3, 0, -1},
      {"empty click without a pick", 32852, 3, 0, false, 0, 0, 0, {"pick"}, 3, 0, -1},
      {"first of two figures", 32837, 6, 0, true, 0, 0, 0, {"pick"}, 6, 1, 130},
      {"end point snapped automatically", 32837, 80, 0, false, 1, 0, 0, {"nearCursor", "execute"}, 8, 0, -1},
      {"work figure kept", 32862, 7, 0, false, 0, 1, 0, {"pickWork", "store", "release", "reset"}, 0, 0, -1},
      {"no work figure: highlights again", 32862, 7, 0, false, 0, 0, 0, {"pickWork", "highlights"}, 7, 0, -1},
      {"point on a figure", 32837, 8, 0, false, 0, 0, 0, {"addPoint"}, 8, 0, -1},
      {"free point", 32837, 4, 0, false, 0, 0, 0, {"analyse", "execute"}, 4, 0, 0},
      {"curve picked", 32912, 49, 0, false, 0, 0, 1, {"findAtPick", "curveMachine"}, 49, 0, -1},
      {"origin chosen ends the command", 32829, 38, 0, false, 0, 0, 0, {"selectOrigin", "release", "reset"}, 0, 0, -1},
      {"dimension text found", 33258, 33258, 0, false, 0, 0, 1, {"findAtPick", "inputDimension"}, 33258, 0, -1},
      {"dimension placed", 33142, 4101, 0, false, 0, 0, 0, {"analyse", "inputDimension"}, 4101, 0, -1},
      {"curve figure steps on", 32924, 32924, 0, false, 0, 0, 0, {"curveMachine"}, 32924, 0, -1},
      {"state without a row", 32837, 12345, 0, false, 0, 0, 0, {}, 12345, 0, -1},
  };
  for (const LeftCase& c : cases) {
    SCOPED_TRACE(c.name);
    Arrange(c.command, c.state, c.picks);
    engines.pickHits = c.pickHits;
    engines.nearCursorFinds = c.nearCursor;
    engines.workFigureTaken = c.workTaken;
    engines.curveFound = c.curveFound;
    g_autoIntersection = c.nearCursor > 0 ? 1 : 0;
    Click(400, 300);
    EXPECT_EQ(engines.Entries(), c.calls);
    EXPECT_EQ(g_pickState, c.stateAfter);
    EXPECT_EQ(g_pickIndex, c.picksAfter);
    EXPECT_EQ(LastPrompt(), c.prompt);
    g_autoIntersection = 0;
  }
}

TEST_F(PickDispatchTest, AClickEntersTheMachineWithTheStepCounted) {
  Arrange(32837, 9, 0, 2);
  Click(400, 300);
  EXPECT_EQ(g_commandStep, 3);
  ASSERT_FALSE(engines.Calls().empty());
  EXPECT_EQ(engines.Calls()[0], (EngineCall{"execute", 32837}));
  // A negative result ends the pick, unless CTRL is held.
  engines.figureResult = -1;
  Arrange(32837, 9);
  Click(400, 300, platform::kModControl);
  EXPECT_EQ(engines.Entries(), (Entries{"execute"}));
  Arrange(32837, 9);
  Click(400, 300);
  EXPECT_EQ(engines.Entries(), (Entries{"execute", "release", "reset"}));
}

TEST_F(PickDispatchTest, TheClickPointIsInDrawingUnits) {
  Arrange(32837, 9);
  Click(123, 234);
  const Vec2 expected = view().ScreenToDrawing(123, 234);
  EXPECT_DOUBLE_EQ(g_pickPoint.x, expected.x);
  EXPECT_DOUBLE_EQ(g_pickPoint.y, expected.y);
}

TEST_F(PickDispatchTest, ABoxOfACommandTakesTwoClicks) {
  Arrange(32879, 12);
  Click(100, 100);
  EXPECT_TRUE(engines.Calls().empty());
  EXPECT_EQ(g_view.m_boxStage, 4);
  Click(300, 250);
  EXPECT_EQ(engines.Calls(), (std::vector<EngineCall>{{"execute", 32879}}));
  EXPECT_EQ(g_view.m_boxStage, 0);
  const Vec2 a = view().ScreenToDrawing(100, 100), b = view().ScreenToDrawing(300, 250);
  EXPECT_DOUBLE_EQ(g_view.m_boxSecond.x - g_view.m_boxFirst.x, b.x - a.x);
  EXPECT_DOUBLE_EQ(g_view.m_boxSecond.y - g_view.m_boxFirst.y, b.y - a.y);
}

TEST_F(PickDispatchTest, TwoCrossingFiguresGiveTheirIntersection) {
  // Two picks whose lines cross at (10, 5): the command resumes there.
  Arrange(32837, 6, 0);
  g_curFigure = FigureRecord{};
  g_curFigure.kind = kKindLine;
  g_curFigure.start = {0, 0};
  g_curFigure.end = {20, 10};
  g_curFigure.dir = {20 / std::hypot(20.0, 10.0), 10 / std::hypot(20.0, 10.0)};
  StoreSegment(0);
  g_pickIndex = 1;
  engines.pickHits = true;  // the recorder's line from (0, 0) to (10, 0) ...
  g_curFigure.kind = kKindLine;
  Click(400, 300);
  // ... meets the first at (0, 0).
  EXPECT_EQ(engines.Entries(), (Entries{"pick", "execute"}));
  EXPECT_NEAR(g_pickPoint.x, 0.0, 1e-9);
  EXPECT_NEAR(g_pickPoint.y, 0.0, 1e-9);
}

struct RightCase {
  const char* name;
  int command, state, picks;
  Entries calls;
  int stateAfter;
  int picksAfter;
  int prompt;
};

TEST_F(PickDispatchTest, ARightClickStepsBackOrEnds) {
  const RightCase cases[] = {
      {"pick taken back", 32852, 3, 1, {}, 3, 0, -1},
      {"no pick ends the command", 32852, 3, 0, {"release", "reset"}, 0, 0, -1},
      {"a surface command steps on", 32948, 3, 0, {"execute"}, 3, 0, -1},
      {"second figure taken back", 32837, 6, 2, {}, 6, 1, 130},
      {"hole circle straight to none", 32908, 66, 1, {}, 66, 0, 135},
      {"reference circle of a box taken back", 32908, 16, 1, {}, 16, 0, -1},
      {"no reference circle: the holes picked go", 32908, 16, 0, {"curveMachine"}, 16, 0, -1},
      {"line mode switches", 33145, 33155, 0, {"dimensionMode"}, 33155, 0, -1},
      {"the join is complete", 32907, 350, 0, {"curveMachine"}, 350, 0, -1},
      {"other states end", 32837, 630, 0, {"release", "reset"}, 0, 0, -1},
  };
  for (const RightCase& c : cases) {
    SCOPED_TRACE(c.name);
    Arrange(c.command, c.state, c.picks);
    RightClick(400, 300);
    EXPECT_EQ(engines.Entries(), c.calls);
    EXPECT_EQ(g_pickState, c.stateAfter);
    EXPECT_EQ(g_pickIndex, c.picksAfter);
    EXPECT_EQ(LastPrompt(), c.prompt);
  }
}

TEST_F(PickDispatchTest, ARightClickClosesThePolylineBoxOfThreeCorners) {
  Arrange(33247, 22);
  Click(100, 100);
  Click(200, 100);
  EXPECT_EQ(g_view.m_polylineCount, 2);
  RightClick(0, 0);  // two corners: no polygon, the command ends
  EXPECT_EQ(engines.Entries(), (Entries{"release", "reset"}));
  Arrange(33247, 22);
  Click(100, 100);
  Click(200, 100);
  Click(200, 200);
  RightClick(0, 0);
  EXPECT_EQ(engines.Entries(), (Entries{"execute"}));
}

TEST_F(PickDispatchTest, AMoveEndsACommandWithoutPickStateUnlessCopying) {
  Arrange(32848, 0);
  g_copyMode = 1;
  Move(10, 10);
  EXPECT_TRUE(engines.Calls().empty());
  g_copyMode = 0;
  Move(20, 20);
  EXPECT_EQ(engines.Entries(), (Entries{"release", "reset"}));
}

TEST_F(PickDispatchTest, EscClosesTheCapsulePickThenCancels) {
  Arrange(cmd::kCapsuleMachining, 50, 0, 3);
  surface().Key(platform::kKeyEscape);
  EXPECT_EQ(engines.Entries(), (Entries{"curveMachine", "release", "reset"}));
  // While a long operation runs Esc only counts.
  Arrange(32905, 32905);
  g_abortCount = 1;
  surface().Key(platform::kKeyEscape);
  EXPECT_EQ(g_abortCount, 2);
  EXPECT_TRUE(engines.Calls().empty());
  Click(10, 10);
  EXPECT_TRUE(engines.Calls().empty());
  g_abortCount = 0;
}

TEST_F(PickDispatchTest, SnapCommandsChangeThePointPicks) {
  Arrange(32837, 6);
  ASSERT_TRUE(frame().Invoke(cmd::kSnapMouse));
  EXPECT_EQ(g_pickState, 6);  // the first press only arms the re-centring click
  ASSERT_TRUE(frame().Invoke(cmd::kSnapMouse));
  EXPECT_EQ(g_pickState, 4);
  EXPECT_EQ(g_snapMode, 1);
  EXPECT_EQ(LastPrompt(), 137);
  ASSERT_TRUE(frame().Invoke(cmd::kSnapIntersection));
  EXPECT_EQ(g_pickState, 6);
  EXPECT_EQ(g_returnPickState, 4);
  EXPECT_EQ(g_snapMode, 2);
  ASSERT_TRUE(frame().Invoke(cmd::kSnapEndPoint));
  EXPECT_EQ(g_pickState, 80);
  EXPECT_EQ(g_commandStep & 0x4000, 0x4000);
  EXPECT_EQ(g_snapMode, 3);
  EXPECT_EQ(LastPrompt(), 1600);
}

FigureRecord Line(double x0, double y0, double x1, double y1) {
  FigureRecord f;
  f.kind = kKindLine;
  f.attribute = 2;
  f.start = {x0, y0};
  f.end = {x1, y1};
  const double len = std::hypot(x1 - x0, y1 - y0);
  f.dir = {(x1 - x0) / len, (y1 - y0) / len};
  return f;
}

// A circle; `both` asks an intersection with it for both of two points.
FigureRecord Circle(double cx, double cy, double r, bool both = false) {
  FigureRecord f;
  f.choice = both ? kChoiceBothPoints : 0;
  f.kind = kKindArc;
  f.attribute = 3;
  f.centre = {cx, cy};
  f.start = f.end = {cx + r, cy};
  f.radius = r;
  return f;
}

struct JoinCase {
  const char* name;
  FigureRecord chainEnd;
  std::optional<FigureRecord> underCursor;
  int workCountAfter;
  int picksAfter;
  std::vector<int> errorBoxes;
  int prompt;  // -1: none
};

// The join of the curve join registration (pick state 350): the chain lies
// in blocks 5 on, its end also in blocks 0 and 1.
TEST_F(PickDispatchTest, AJoinClickAppendsTheFigureThatMeetsTheChainEnd) {
  const FigureRecord across = Line(0, 0, 10, 0);
  const JoinCase cases[] = {
      {"one joint appends", Line(5, -5, 5, 5), across, 7, 1, {}, -1},
      {"parallel figures do not join", Line(0, 5, 10, 5), across, 6, 1, {0}, -1},
      {"nothing under the cursor", Line(5, -5, 5, 5), std::nullopt, 6, 1, {}, -1},
      {"two joints ask for a choice", Circle(0, 0, 5), Circle(6, 0, 5, true), 6, 0xFFFC, {}, 442},
      {"the chain end itself is taken back", across, across, 5, 0, {}, -1},
  };
  for (const JoinCase& c : cases) {
    SCOPED_TRACE(c.name);
    Arrange(cmd::kCurveJoin, 350, 1);
    g_curFigure = Line(-10, -10, -5, -5);  // an earlier figure ...
    StoreSegment(4);
    g_curFigure = c.chainEnd;  // ... and the chain's one figure
    StoreSegment(5);
    StoreSegment(0);
    StoreSegment(1);
    g_workCount = 6;
    std::vector<int> errorBoxes;
    g_commandEngines.showErrorBox = [&errorBoxes](int code) {
      errorBoxes.push_back(code);
      return 1;
    };
    const std::optional<FigureRecord> under = c.underCursor;
    g_commandEngines.pickFigureOrCurve = [under](int) {
      if (under) g_curFigure = *under;
      return under.has_value();
    };
    Click(400, 300);
    EXPECT_EQ(g_workCount, c.workCountAfter);
    EXPECT_EQ(g_pickIndex, c.picksAfter);
    EXPECT_EQ(errorBoxes, c.errorBoxes);
    EXPECT_EQ(LastPrompt(), c.prompt);
    EXPECT_EQ(g_pickState, 350);
    if (c.workCountAfter == 7) {
      for (int block : {6, 0, 1}) {
        LoadSegment(block);
        EXPECT_EQ(g_curFigure.end, c.underCursor->end) << block;  // the new chain end
      }
    }
  }
}

// Two circles meet at (3, 4) and (3, -4): the click that chooses keeps the
// joint nearer to it with the appended figure.
TEST_F(PickDispatchTest, AJoinWithTwoJointsAppendsOnTheNextClickWithTheJointChosen) {
  const FigureRecord chainEnd = Circle(0, 0, 5);
  for (const Vec2 joint : {Vec2{3, 4}, Vec2{3, -4}}) {
    SCOPED_TRACE(joint.y);
    Arrange(cmd::kCurveJoin, 350, 1);
    g_curFigure = chainEnd;
    StoreSegment(5);
    StoreSegment(0);
    StoreSegment(1);
    g_workCount = 6;
    g_commandEngines.pickFigureOrCurve = [](int) {
      g_curFigure = Circle(6, 0, 5, true);
      return true;
    };
    Click(400, 300);
    ASSERT_EQ(g_pickIndex, 0xFFFC);
    surface().Paint();  // the transform of the drawing as shown
    const platform::Point at = WorldToScreenRaw(joint.x, joint.y);
    Click(at.x, at.y);  // the choice
    EXPECT_EQ(g_workCount, 7);
    EXPECT_EQ(g_pickIndex, 1);
    LoadSegment(1);
    EXPECT_EQ(g_curFigure.centre, (Vec2{6, 0}));
    const FigureRecord again = IntersectFigures(chainEnd, g_curFigure);
    EXPECT_EQ(again.number, kHitOnePoint);
    EXPECT_NEAR(again.start.x, joint.x, 1e-9);
    EXPECT_NEAR(again.start.y, joint.y, 1e-9);
  }
}

TEST_F(PickDispatchTest, AFullJoinEndsAsTheRightButtonEndsIt) {
  Arrange(cmd::kCurveJoin, 350, 1, 4);
  g_workCount = kSegmentBlockCount - 58;
  engines.pickHits = true;
  Click(400, 300);
  EXPECT_EQ(engines.Entries(), (Entries{"curveMachine"}));
  EXPECT_EQ(g_commandStep, 1);
  EXPECT_EQ(g_workCount, kSegmentBlockCount - 58);
}

TEST_F(PickDispatchTest, TheLayerTilesChooseALayerAndSave) {
  ASSERT_TRUE(frame().Invoke(cmd::kLayerOverview));
  surface().Paint();
  EXPECT_NE(g_layerOverview, 0);
  // The second tile of the first row is layer 1.
  Click(300, 50);
  EXPECT_EQ(g_layerOverview, 0);
  EXPECT_EQ(g_curLayer, 1);
  EXPECT_EQ(g_figureTableSelector, 1);
}

TEST_F(PickDispatchTest, MarkedLayersGoOnlyWhenTheQuestionIsAnsweredYes) {
  ASSERT_TRUE(frame().Invoke(cmd::kLayerDelete));
  surface().Paint();
  Click(50, 50);  // tile 0: layer 0
  EXPECT_EQ(g_overviewMarks[0], 1);
  backend().AnswerMessageBox(platform::kIdNo);
  ASSERT_TRUE(frame().Invoke(cmd::kEndInput));
  EXPECT_EQ(GetFigureCount(0), 3);
  EXPECT_EQ(g_overviewMarks[0], 1);
  EXPECT_EQ(g_layerDeleteMarking, 1);
  backend().AnswerMessageBox(platform::kIdYes);
  ASSERT_TRUE(frame().Invoke(cmd::kEndInput));
  EXPECT_EQ(GetFigureCount(0), 0);
  EXPECT_EQ(GetFigureCount(1), 1);
  EXPECT_EQ(g_layerDeleteMarking, 0);
  EXPECT_EQ(g_layerOverview, 0);
}

}  // namespace
}  // namespace dorn::test
