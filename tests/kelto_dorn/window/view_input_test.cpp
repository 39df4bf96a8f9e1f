// Zoom and pan by mouse, wheel and keys, the box zoom and its tilt, the
// cursor, the coordinate read-out and the cross-hair of a move, F5 in the
// curve join, painting while a dialog is open, and the clipboard copy.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/window/command_ids.h"
#include "platform/clipboard.h"
#include "platform/key_codes.h"
#include "tests/kelto_dorn/window/window_fixture.h"

namespace dorn::test {
namespace {

class ViewInputTest : public WindowTest {
 protected:
  void StartRecordingPrompts() {
    g_drawingHooks.showPrompt = [this](int code) { prompts.push_back(code); };
  }
  // The XOR polylines drawn since the primitives were last cleared.
  std::vector<platform::Primitive> XorPolylines() {
    std::vector<platform::Primitive> found;
    for (const auto& p : surface().Primitives())
      if (p.kind == platform::PrimitiveKind::Polyline && p.rasterOp == platform::RasterOp::Xor) found.push_back(p);
    return found;
  }
  std::vector<int> prompts;
};

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

TEST_F(ViewInputTest, ALeftDragZoomsAndARightDragPans) {
  StartWithFixtureDrawing();
  const double scale = g_layerScale[0];
  Drag(400, 300, 440, 300);
  EXPECT_GT(g_layerScale[0], scale);  // to the right enlarges
  EXPECT_EQ(g_view.m_zoomDrag, 0);
  surface().Paint();
  const double panX = g_layerOffsetX[0], zoomed = g_layerScale[0];
  Drag(400, 300, 440, 300, /*right=*/true);
  EXPECT_GT(g_layerOffsetX[0], panX);
  EXPECT_DOUBLE_EQ(g_layerScale[0], zoomed);
  EXPECT_TRUE(surface().PaintPending());
}

TEST_F(ViewInputTest, OneWheelNotchZoomsAndTheNextMoveDoesNot) {
  StartWithFixtureDrawing();
  const double before = g_layerScale[0];
  Wheel(400, 300, 120);
  const double after = g_layerScale[0];
  EXPECT_GT(after, before);
  EXPECT_EQ(g_view.m_wheelZoom, 0);
  surface().Paint();
  Move(500, 300);
  Move(600, 300);
  EXPECT_DOUBLE_EQ(g_layerScale[0], after);
}

TEST_F(ViewInputTest, ZoomKeysStepAndRefuseBelowOne) {
  StartWithFixtureDrawing();
  g_shrinkRate = 20.0;
  const double start = g_layerScale[0];
  surface().Key(platform::kKeyPageUp);
  EXPECT_DOUBLE_EQ(g_layerScale[0], start + 20.0);
  surface().Key(platform::kKeyPageDown);
  EXPECT_DOUBLE_EQ(g_layerScale[0], start);
  // 1.5 less 1 is 0.5: halved to 0.75, below 1, so nothing changes.
  g_layerScale[0] = 1.5;
  g_shrinkRate = 1.0;
  surface().Paint();
  surface().Key(platform::kKeyPageDown);
  EXPECT_DOUBLE_EQ(g_layerScale[0], 1.5);
}

TEST_F(ViewInputTest, ArrowKeysPanByTheStep) {
  StartWithFixtureDrawing();
  g_moveRate = 25.0;
  surface().Key(platform::kKeyUp);
  EXPECT_DOUBLE_EQ(g_layerOffsetY[0], 25.0);
  surface().Key(platform::kKeyLeft);
  EXPECT_DOUBLE_EQ(g_layerOffsetX[0], -25.0);
  // A pan past the limit is refused.
  g_layerOffsetX[0] = 1999990.0;
  surface().Key(platform::kKeyRight);
  EXPECT_DOUBLE_EQ(g_layerOffsetX[0], 1999990.0);
}

TEST_F(ViewInputTest, SpaceCyclesTheApertureAndItsCursor) {
  Start();
  g_backgroundIndex = 0;
  EXPECT_EQ(g_pickApertureSize, 1);
  surface().Key(platform::kKeySpace);
  EXPECT_EQ(g_pickApertureSize, 2);
  EXPECT_EQ(surface().CursorId(), 170);
  surface().Key(platform::kKeySpace);
  surface().Key(platform::kKeySpace);
  EXPECT_EQ(g_pickApertureSize, 1);
  EXPECT_EQ(surface().CursorId(), 169);
  g_backgroundIndex = 5;
  view().UpdateCursor();
  EXPECT_EQ(surface().CursorId(), 306);
}

TEST_F(ViewInputTest, F7ToF9ChooseTheCandidatePage) {
  Start();
  surface().Key(platform::FunctionKey(8));
  EXPECT_EQ(g_drawingView.m_candidatePage, 2);
  EXPECT_TRUE(surface().PaintPending());
  surface().Key(platform::FunctionKey(9));
  EXPECT_EQ(g_drawingView.m_candidatePage, 3);
}

TEST_F(ViewInputTest, BoxZoomByF1AndBackByF2) {
  StartWithFixtureDrawing();
  StartRecordingPrompts();
  const double scale = g_layerScale[0], panX = g_layerOffsetX[0], panY = g_layerOffsetY[0];
  surface().Key(platform::FunctionKey(1));
  EXPECT_EQ(g_pickState, 1);
  EXPECT_EQ(prompts, std::vector<int>{4012});
  Click(300, 200);
  Click(500, 350);
  EXPECT_EQ(g_pickState, 0);
  EXPECT_GT(g_layerScale[0], scale);
  EXPECT_EQ(view().ZoomDepth(0), 1);
  surface().Key(platform::FunctionKey(2));
  EXPECT_DOUBLE_EQ(g_layerScale[0], scale);
  EXPECT_DOUBLE_EQ(g_layerOffsetX[0], panX);
  EXPECT_DOUBLE_EQ(g_layerOffsetY[0], panY);
  EXPECT_EQ(view().ZoomDepth(0), 0);
}

TEST_F(ViewInputTest, AZeroSizeZoomBoxIsRefusedWithPrompt4099) {
  StartWithFixtureDrawing();
  StartRecordingPrompts();
  const double scale = g_layerScale[0];
  surface().Key(platform::FunctionKey(1));
  Click(300, 200);
  Click(300, 200);
  EXPECT_DOUBLE_EQ(g_layerScale[0], scale);
  EXPECT_EQ(prompts.back(), 4099);
  EXPECT_EQ(view().ZoomDepth(0), 0);
}

TEST_F(ViewInputTest, ARightClickInTheZoomBoxGivesBackThePickState) {
  Start();
  g_pickState = 4;  // a command waits for a point
  surface().Key(platform::FunctionKey(1));
  Click(300, 200);
  RightClick(310, 210);
  EXPECT_EQ(g_pickState, 4);
}

TEST_F(ViewInputTest, TheBoxZoomPutsTheBoxCentreInTheMiddle) {
  StartWithFixtureDrawing();
  const Vec2 a = view().ScreenToDrawing(200, 100), b = view().ScreenToDrawing(400, 300);
  surface().Key(platform::FunctionKey(1));
  Click(200, 100);
  Click(400, 300);
  surface().Paint();
  const Vec2 middle = view().ScreenToDrawing(surface().ClientSize().cx / 2, surface().ClientSize().cy / 2);
  EXPECT_NEAR(middle.x, (a.x + b.x) / 2, 0.5);
  EXPECT_NEAR(middle.y, (a.y + b.y) / 2, 0.5);
}

TEST_F(ViewInputTest, TheClipboardCopyConfirmsOnlyWhatItCopied) {
  Start();
  surface().Key(platform::kKeyF12);
  ASSERT_EQ(ShownTexts().size(), 1u);
  EXPECT_EQ(ShownTexts()[0], "★ クリップボードにコピーしました ！！");
  EXPECT_TRUE(platform::ClipboardBitmap().has_value());
  // Without a clipboard the copy fails: no confirmation, the reason instead.
  platform::UninstallClipboard();
  surface().Key(platform::kKeyF12);
  ASSERT_EQ(ShownTexts().size(), 2u);
  EXPECT_EQ(ShownTexts()[1].find("★"), std::string::npos);
  EXPECT_NE(ShownTexts()[1].find("できませんでした"), std::string::npos);
}

TEST_F(ViewInputTest, ThePointUnderTheCursorFollowsTheProjection) {
  StartWithFixtureDrawing();
  g_projectionCentre = {10, 20};
  const Vec2 xy = view().ScreenToDrawing(100, 100);
  g_projection = kProjectionXZ;
  const Vec2 xz = view().ScreenToDrawing(100, 100);
  EXPECT_DOUBLE_EQ(xz.x, xy.x);
  EXPECT_DOUBLE_EQ(xz.y, xy.y - 20);
  g_projection = kProjectionYZ;
  const Vec2 yz = view().ScreenToDrawing(100, 100);
  EXPECT_DOUBLE_EQ(yz.x, xy.x - 10);
  EXPECT_DOUBLE_EQ(yz.y, xy.y - 20);
}

TEST_F(ViewInputTest, CentreAxesPutsTheOriginInTheMiddleAtZoom40) {
  StartWithFixtureDrawing();
  g_originTable[0][0] = {30, -15};
  ASSERT_TRUE(frame().Invoke(cmd::kCentreAxes));
  surface().Paint();
  EXPECT_DOUBLE_EQ(g_layerScale[0], 40.0);
  const Vec2 middle = view().ScreenToDrawing(surface().ClientSize().cx / 2, surface().ClientSize().cy / 2);
  EXPECT_NEAR(middle.x, 30, 0.1);
  EXPECT_NEAR(middle.y, -15, 0.1);
}

TEST_F(ViewInputTest, MousePointOnceThenAClickRecentres) {
  StartWithFixtureDrawing();
  const Vec2 target = view().ScreenToDrawing(600, 150);
  ASSERT_TRUE(frame().Invoke(cmd::kSnapMouse));
  Click(600, 150);
  surface().Paint();
  const Vec2 middle = view().ScreenToDrawing(surface().ClientSize().cx / 2, surface().ClientSize().cy / 2);
  EXPECT_NEAR(middle.x, target.x, 0.5);
  EXPECT_NEAR(middle.y, target.y, 0.5);
  EXPECT_EQ(g_view.m_placeByMouse, 0);
}

TEST_F(ViewInputTest, AMoveThatOnlyShiftsTheBoxBandRepaintsNothing) {
  StartWithFixtureDrawing();
  g_curCommand = 32879;
  g_pickState = 12;  // a BOX command waits for its corners
  Click(100, 100);
  surface().ClearPrimitives();
  Move(300, 200);
  Move(320, 210);
  EXPECT_FALSE(surface().PaintPending());
  // Each move takes the old band off and draws the new one, in XOR.
  int bands = 0;
  for (const auto& p : surface().Primitives())
    if (p.kind == platform::PrimitiveKind::Polyline && p.rasterOp == platform::RasterOp::Xor && p.points.size() == 5)
      ++bands;
  EXPECT_EQ(bands, 4);
  EXPECT_EQ(g_view.m_boxEnd, (platform::Point{320, 210}));
}

TEST_F(ViewInputTest, APaintWhileADialogIsOpenKeepsThePickWordsAndLeavesTheTitle) {
  StartWithFixtureDrawing();
  // An interrupted command's words, different from what painting walks through.
  g_figureTableSelector = 1;
  g_curLayer = 1;
  g_pickIndex = 2;
  g_workCount = 7;
  g_curCurveIndex = 3;
  g_curFigure = Line(1, 2, 3, 4);
  g_curFigure.number = 77;
  g_savedFigure = Line(5, 6, 7, 8);
  const FigureRecord figure = g_curFigure, saved = g_savedFigure;
  frame().SetTitle("the dialog's owner");
  g_drawingHooks.promptCaption = [] { return std::string("Kelto_Dorn  prompt"); };

  ++ModalDepth;
  surface().Paint();
  EXPECT_FALSE(surface().Primitives().empty());  // the figures were painted
  EXPECT_EQ(frame().Title(), "the dialog's owner");
  EXPECT_EQ(g_figureTableSelector, 1);
  EXPECT_EQ(g_curLayer, 1);
  EXPECT_EQ(g_pickIndex, 2);
  EXPECT_EQ(g_workCount, 7);
  EXPECT_EQ(g_curCurveIndex, 3);
  EXPECT_EQ(std::memcmp(&g_curFigure, &figure, sizeof figure), 0);
  EXPECT_EQ(std::memcmp(&g_savedFigure, &saved, sizeof saved), 0);

  // With no dialog open the prompt titles the window.
  --ModalDepth;
  surface().Paint();
  EXPECT_EQ(frame().Title(), "Kelto_Dorn  prompt");
  EXPECT_EQ(g_figureTableSelector, 1);
  EXPECT_EQ(std::memcmp(&g_curFigure, &figure, sizeof figure), 0);
}

struct ReadoutCase {
  const char* name;
  int projection;
  int background;
  const char* first;   // format of the first line, then its value
  const char* second;  // ... and of the second
  platform::Color colour;
};

TEST_F(ViewInputTest, AMoveReadsOutThePointRelativeToTheOriginInThePlaneShown) {
  StartWithFixtureDrawing();
  g_originTable[0][0] = {10, 5};
  const ReadoutCase cases[] = {
      {"plane XY, light background", kProjectionXY, 5, "X=%4.3f", "Y=%4.3f", platform::Rgb(5, 5, 5)},
      {"plane XZ, dark background", kProjectionXZ, 0, "X=%4.3f", "Z=%4.3f", platform::Rgb(255, 255, 255)},
      {"plane YZ", kProjectionYZ, 21, "Y=%4.3f", "Z=%4.3f", platform::Rgb(255, 255, 255)},
      {"arrow view: no read-out", kProjectionArrow, 5, nullptr, nullptr, 0},
  };
  for (const ReadoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    g_projection = c.projection;
    g_backgroundIndex = c.background;
    surface().Paint();
    surface().ClearPrimitives();
    Move(123, 234);
    std::vector<platform::Primitive> texts;
    for (const auto& p : surface().Primitives())
      if (p.kind == platform::PrimitiveKind::Text) texts.push_back(p);
    if (!c.first) {
      EXPECT_TRUE(texts.empty());
      continue;
    }
    const Vec2 p = view().ScreenToDrawing(123, 234);
    double firstValue = p.x - 10, secondValue = p.y - 5;
    if (c.projection == kProjectionXZ) secondValue = p.y;
    if (c.projection == kProjectionYZ) firstValue = p.x - 5, secondValue = p.y;
    auto line = [](const char* format, double value) {
      char text[64];
      std::snprintf(text, sizeof text, format, value);
      std::string s = text;
      s.resize(std::max<std::size_t>(s.size(), 12), ' ');
      return s;
    };
    const int h = surface().ClientSize().cy;
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, line(c.first, firstValue));
    EXPECT_EQ(texts[0].points[0], (platform::Point{3, h - 42}));
    EXPECT_EQ(texts[1].text, line(c.second, secondValue));
    EXPECT_EQ(texts[1].points[0], (platform::Point{3, h - 21}));
    EXPECT_EQ(texts[0].color, c.colour);
    EXPECT_EQ(texts[0].font, view().ReadoutFont());
  }
}

TEST_F(ViewInputTest, TheCrossHairFollowsFromTheSixthMoveAndAMoveLeavesNoCrossBehind) {
  StartWithFixtureDrawing();
  g_pickState = 4;  // the free point of no command: the axes command switches the cross-hair
  ASSERT_TRUE(frame().Invoke(cmd::kCentreAxes));
  EXPECT_EQ(g_pickState, 0);
  EXPECT_NE(g_view.m_crossHair, 0);
  surface().Paint();
  const int w = surface().ClientSize().cx, h = surface().ClientSize().cy;
  // The lines of a cross at a point: longer than the window either way.
  auto crossLinesAt = [&](const std::vector<platform::Primitive>& lines, platform::Point at) {
    int n = 0;
    for (const auto& l : lines) {
      if (l.points.size() != 2) continue;
      const bool across = l.points[0].y == at.y && l.points[1].y == at.y && l.points[1].x - l.points[0].x > w;
      const bool down = l.points[0].x == at.x && l.points[1].x == at.x && l.points[1].y - l.points[0].y > h;
      if (across || down) ++n;
    }
    return n;
  };
  std::optional<platform::Point> shown;  // where the cross is on the screen
  for (int move = 1; move <= 8; ++move) {
    SCOPED_TRACE(move);
    const platform::Point p{100 + 10 * move, 80 + 7 * move};
    surface().ClearPrimitives();
    Move(p.x, p.y);
    const auto lines = XorPolylines();
    if (move <= 5) {  // the first five moves only count
      EXPECT_TRUE(lines.empty());
      continue;
    }
    // From the sixth on the cross follows: the old one off where it was, the
    // new one on here.
    EXPECT_EQ(lines.size(), shown ? 4u : 2u);
    if (shown) EXPECT_EQ(crossLinesAt(lines, *shown), 2);
    EXPECT_EQ(crossLinesAt(lines, p), 2);
    shown = p;
  }

  // A redraw wipes the cross and the count starts again.
  surface().Key(platform::kKeyPageUp);
  surface().Paint();
  surface().ClearPrimitives();
  Move(400, 300);
  EXPECT_TRUE(XorPolylines().empty());
}

TEST_F(ViewInputTest, ArrowKeysTiltTheBoxOfACommandWithinItsLimitsAndDoNotPan) {
  StartWithFixtureDrawing();
  g_curCommand = 32879;
  g_pickState = 12;  // a BOX command waits for its corners
  surface().Paint();
  Click(100, 100);
  Move(300, 200);
  ASSERT_EQ(g_view.m_boxStage, 4);
  const double panX = g_layerOffsetX[0], panY = g_layerOffsetY[0];

  surface().ClearPrimitives();
  surface().Key(platform::kKeyUp);
  EXPECT_DOUBLE_EQ(g_view.m_tiltAngle1, -5.0);
  // The upright box off, the leaning one on.
  const auto bands = XorPolylines();
  ASSERT_EQ(bands.size(), 2u);
  ASSERT_EQ(bands[1].points.size(), 5u);
  EXPECT_NE(platform::Describe(bands[0]), platform::Describe(bands[1]));
  bool leans = false;
  for (std::size_t i = 0; i + 1 < bands[1].points.size(); ++i) {
    const platform::Point a = bands[1].points[i], b = bands[1].points[i + 1];
    if (a.x != b.x && a.y != b.y) leans = true;
  }
  EXPECT_TRUE(leans);

  struct Keys {
    int key;
    int presses;
    double tilt1, tilt2;
  };
  // Each edge leans by 5 degrees a press while it is inside 79 degrees.
  const Keys keys[] = {{platform::kKeyUp, 20, -80.0, 0.0},
                       {platform::kKeyDown, 1, -75.0, 0.0},
                       {platform::kKeyDown, 40, 80.0, 0.0},
                       {platform::kKeyRight, 1, 80.0, -5.0},
                       {platform::kKeyLeft, 30, 80.0, 80.0}};
  for (const Keys& k : keys) {
    for (int i = 0; i < k.presses; ++i) surface().Key(k.key);
    EXPECT_DOUBLE_EQ(g_view.m_tiltAngle1, k.tilt1) << k.key;
    EXPECT_DOUBLE_EQ(g_view.m_tiltAngle2, k.tilt2) << k.key;
  }
  EXPECT_DOUBLE_EQ(g_layerOffsetX[0], panX);
  EXPECT_DOUBLE_EQ(g_layerOffsetY[0], panY);
  EXPECT_FALSE(surface().PaintPending());
}

TEST_F(ViewInputTest, F5TakesTheLastJoinedFigureBackUntilTheChainIsEmpty) {
  StartWithFixtureDrawing();
  g_curCommand = cmd::kCurveJoin;
  g_pickState = 350;
  // The chain: blocks 5, 6 and 7 after the join's own five.
  const FigureRecord chain[] = {Line(0, 0, 10, 0), Line(10, 0, 10, 10), Line(10, 10, 0, 10)};
  for (int i = 0; i < 3; ++i) {
    g_curFigure = chain[i];
    StoreSegment(5 + i);
  }
  StoreSegment(0);
  StoreSegment(1);
  g_workCount = 8;
  const int beeps = backend().BeepCount();

  surface().Key(platform::FunctionKey(5));
  EXPECT_EQ(g_workCount, 7);
  EXPECT_EQ(backend().BeepCount(), beeps + 1);
  for (int block : {0, 1}) {
    LoadSegment(block);
    EXPECT_EQ(g_curFigure.end, (Vec2{10, 10})) << block;  // the second figure is the end again
  }
  EXPECT_EQ(g_pickPoint, (Vec2{10, 10}));

  surface().Key(platform::FunctionKey(5));
  surface().Key(platform::FunctionKey(5));
  EXPECT_EQ(g_workCount, 5);
  LoadSegment(1);
  EXPECT_EQ(g_curFigure.kind, kKindEmpty);  // no end figure left
  surface().Key(platform::FunctionKey(5));  // an empty chain gives nothing back
  EXPECT_EQ(g_workCount, 5);
  EXPECT_EQ(backend().BeepCount(), beeps + 3);

  // Outside the join registration F5 does nothing.
  g_curCommand = 32905;
  g_workCount = 8;
  surface().Key(platform::FunctionKey(5));
  EXPECT_EQ(g_workCount, 8);
}

}  // namespace
}  // namespace dorn::test
