// Start-up into the main window: the frame's menus and bars, the first paint,
// layers and bar menus, and the close through the exit question.
#include <algorithm>
#include <fstream>
#include <set>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/window/command_routes.h"
#include "kelto_dorn/window/menu_tables.h"
#include "platform/recording_context.h"
#include "platform/record_file.h"
#include "platform/text.h"
#include "shared/handover/drawing_header.h"
#include "tests/kelto_dorn/window/window_fixture.h"

namespace dorn::test {
namespace {

using platform::PrimitiveKind;

std::set<int> ButtonIds(const platform::ToolBarSpec* bar) {
  std::set<int> ids;
  if (bar)
    for (const auto& b : bar->buttons)
      if (b.commandId) ids.insert(b.commandId);
  return ids;
}

int CountPrimitives(const std::vector<platform::Primitive>& prims, PrimitiveKind kind) {
  return static_cast<int>(std::count_if(prims.begin(), prims.end(), [kind](const auto& p) { return p.kind == kind; }));
}

class FrameTest : public WindowTest {};

TEST_F(FrameTest, StartUpBuildsTheFrameWithEveryRoutedCommandReachable) {
  Start();
  const std::vector<int> menuIds = platform::MenuCommandIds(frame().Menu());
  const std::set<int> inMenus(menuIds.begin(), menuIds.end());
  for (int i = 0; i < kRoutedCommandCount; ++i) EXPECT_TRUE(inMenus.count(RoutedCommands()[i])) << RoutedCommands()[i];
  for (int layer : LayerCommands()) EXPECT_TRUE(inMenus.count(layer)) << layer;

  // Fourteen bars: the bar-menu bar with the top menu, eleven hidden bar
  // menus, the standard bar on the right and the selector bar on top.
  ASSERT_NE(frame().ToolBar(kBarMenuBarId), nullptr);
  EXPECT_EQ(ButtonIds(frame().ToolBar(kBarMenuBarId)),
            std::set<int>(BarMenus()[0].buttons.begin(), BarMenus()[0].buttons.end()));
  EXPECT_TRUE(frame().IsToolBarShown(kBarMenuBarId));
  for (int i = 0; i < kBarMenuCount; ++i) {
    ASSERT_NE(frame().ToolBar(kFirstSeparateBarId + i), nullptr);
    EXPECT_FALSE(frame().IsToolBarShown(kFirstSeparateBarId + i));
  }
  EXPECT_EQ(frame().ToolBar(kStandardBarId)->buttons.size(), 22u);
  EXPECT_EQ(frame().ToolBarSide(kStandardBarId), platform::DockSide::Right);
  EXPECT_EQ(frame().ToolBar(kSelectorBarId)->buttons.size(), 34u);  // 33 buttons and a separator
  EXPECT_EQ(frame().ToolBarSide(kSelectorBarId), platform::DockSide::Top);
  EXPECT_EQ(frame().ToolBarSide(kBarMenuBarId), platform::DockSide::Left);
  EXPECT_EQ(g_drawingHeader.frameCreatedWord, 1);
  EXPECT_TRUE(frame().IsShown());

  // The first paint titles the window with the prompt head.
  EXPECT_EQ(frame().Title(), "Kelto_Dorn  ");
  EXPECT_TRUE(backend().Problems().empty());
}

TEST_F(FrameTest, TheFixtureDrawingIsLoadedOnceAndPainted) {
  StartWithFixtureDrawing();
  EXPECT_EQ(GetFigureCount(0), 3);
  EXPECT_EQ(GetFigureCount(1), 1);
  EXPECT_TRUE(view().DrawingLoaded());
  const auto& prims = surface().Primitives();
  EXPECT_GE(CountPrimitives(prims, PrimitiveKind::Polyline) + CountPrimitives(prims, PrimitiveKind::Line), 2);
  // A repaint does not load again: a figure added since stays.
  surface().Paint();
  EXPECT_EQ(GetFigureCount(0), 3);
}

TEST_F(FrameTest, LayerCommandSelectsItsLayerAndTheCurrentLayerDoesNotRepaint) {
  StartWithFixtureDrawing();
  ASSERT_TRUE(frame().Invoke(LayerCommands()[1]));  // menu layer 2
  EXPECT_EQ(g_curLayer, 1);
  EXPECT_EQ(g_figureTableSelector, 1);
  EXPECT_EQ(g_layerViews[0].values[0], 1);
  EXPECT_TRUE(surface().PaintPending());
  surface().Paint();
  frame().OpenMenu(2);
  EXPECT_EQ(frame().GetCommandState(LayerCommands()[1]).check, platform::CheckState::Checked);
  EXPECT_EQ(frame().GetCommandState(LayerCommands()[0]).check, platform::CheckState::Unchecked);
  ASSERT_TRUE(frame().Invoke(LayerCommands()[1]));
  EXPECT_FALSE(surface().PaintPending());
}

TEST_F(FrameTest, BarMenusSwitchAndGoBackAndShowSideBySide) {
  Start();
  const BarMenu& lines = *BarMenuOfCommand(32793);
  ASSERT_TRUE(frame().Invoke(32793));
  EXPECT_EQ(ButtonIds(frame().ToolBar(kBarMenuBarId)), std::set<int>(lines.buttons.begin(), lines.buttons.end()));
  EXPECT_EQ(g_curBarMenu, 8);
  EXPECT_EQ(g_prevBarMenu, 2);
  // "１つ前に戻る" from the menu goes back to the top menu.
  ASSERT_TRUE(frame().Invoke(32886));
  EXPECT_EQ(g_curBarMenu, 2);
  EXPECT_EQ(ButtonIds(frame().ToolBar(kBarMenuBarId)),
            std::set<int>(BarMenus()[0].buttons.begin(), BarMenus()[0].buttons.end()));

  // Simultaneous display: a bar menu shows and hides its own bar; leaving it
  // hides them all and keeps the bar-menu bar.
  ASSERT_TRUE(frame().Invoke(33018));
  const int linesBar = kFirstSeparateBarId + BarMenuIndex(lines);
  ASSERT_TRUE(frame().Invoke(32793));
  EXPECT_TRUE(frame().IsToolBarShown(linesBar));
  ASSERT_TRUE(frame().Invoke(32793));
  EXPECT_FALSE(frame().IsToolBarShown(linesBar));
  ASSERT_TRUE(frame().Invoke(32793));
  ASSERT_TRUE(frame().Invoke(33018));
  EXPECT_FALSE(frame().IsToolBarShown(linesBar));
  EXPECT_TRUE(frame().IsToolBarShown(kBarMenuBarId));
}

TEST_F(FrameTest, HelpReadoutsShowTheNames) {
  Start();
  frame().OpenMenu(frame().Menu().size() - 1);
  EXPECT_EQ(platform::Cp932ToUtf8(*frame().GetCommandState(33064).caption), "ファイル名 : TEST");
  EXPECT_EQ(platform::Cp932ToUtf8(*frame().GetCommandState(33062).caption), "ユニット名 : SAMPLE");
}

TEST_F(FrameTest, AMissingCoordinateFileOrToolReportIsNamed) {
  Start();
  ASSERT_TRUE(frame().Invoke(33214));
  ASSERT_TRUE(frame().Invoke(33260));
  ASSERT_EQ(ShownTexts().size(), 2u);
  EXPECT_NE(ShownTexts()[0].find("TOSNUC.txt"), std::string::npos) << ShownTexts()[0];
  EXPECT_NE(ShownTexts()[1].find("TEST加工詳細工具情報.CSV"), std::string::npos) << ShownTexts()[1];
}

TEST_F(FrameTest, CloseAnsweredCancelChangesNothing) {
  StartWithFixtureDrawing();
  const auto system = home() / "$@@@.@@@";
  std::filesystem::remove(system);
  backend().WhenDialogOpens(193, [](platform::headless::DialogDriver& d) { d.Click(2); });
  frame().RequestClose();
  EXPECT_FALSE(frame().IsClosed());
  EXPECT_FALSE(std::filesystem::exists(system));
  EXPECT_TRUE(g_figureStore.started());
  EXPECT_EQ(ModalDepth, 0);
}

TEST_F(FrameTest, CloseAnsweredOkSavesWritesTheSystemRecordAndCloses) {
  StartWithFixtureDrawing();
  // A figure added in this session must reach the drawing file.
  g_curFigure = FigureRecord{};
  g_curFigure.kind = kKindLine;
  g_curFigure.end = {5, 5};
  g_figureTableSelector = 0;
  ASSERT_TRUE(AppendFigure(0));
  backend().WhenDialogOpens(193, [](platform::headless::DialogDriver& d) { d.Click(1); });
  frame().RequestClose();
  EXPECT_TRUE(frame().IsClosed());
  handover::DrawingHeader written;
  ASSERT_TRUE(platform::ReadRecord(home() / "$@@@.@@@", written).ok());
  EXPECT_EQ(written.startMode, 99);
  EXPECT_EQ(written.subMode, 99);
  EXPECT_EQ(std::filesystem::file_size(home() / "SAMPLE" / "PGM" / "SEG" / "TEST.MZF"), 5u * sizeof(FigureRecord));
  // The store is released: the view paints nothing and nothing is released twice.
  EXPECT_FALSE(g_figureStore.started());
  surface().Paint();
  EXPECT_TRUE(surface().Primitives().empty());
}

}  // namespace
}  // namespace dorn::test
