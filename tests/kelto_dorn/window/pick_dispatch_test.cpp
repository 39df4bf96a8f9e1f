// The click dispatch by pick state, the right clicks, the moves that end a
// command, Esc, and the layer tiles.
#include <cmath>
#include <string>
#include <vector>

#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_state.h"
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
