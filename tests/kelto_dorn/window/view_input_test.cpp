// Zoom and pan by mouse, wheel and keys, the box zoom, the cursor, and the
// clipboard copy.
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/view_state.h"
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
  std::vector<int> prompts;
};

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

}  // namespace
}  // namespace dorn::test
