// The headless main window and view: command routing, update handlers, tool
// bars, the close request, and drawing into the view outside painting.
#include <vector>

#include "platform/frame.h"
#include "platform/headless/headless_frame.h"
#include "platform/key_codes.h"
#include "platform/text.h"
#include "window_test_support.h"

namespace {

using platform::CheckState;
using platform::MenuItem;
using platform::Sjis;
using platform::headless::HeadlessFrame;

class FrameTest : public windowtest::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    owned_ = platform::CreateFrame();
    frame_ = static_cast<HeadlessFrame*>(owned_.get());
    frame_->SetMenu({
        {0, Sjis("ファイル(&F)"), {{33038, Sjis("現在のサイズを保存")}, MenuItem::Separator(), {57665, Sjis("終了")}}},
        {0,
         Sjis("表示(&V)"),
         {{0, Sjis("レイヤ情報"), {{33019, Sjis("レイヤー（&1）")}, {33020, Sjis("レイヤー（&2）")}}},
          {33085, Sjis("寸法値[ON/OFF]")}}},
    });
    frame_->SetCommandRouter([this](int id) { routed_.push_back(id); });
  }
  void TearDown() override {
    owned_.reset();  // windows go before their backend
    HeadlessTest::TearDown();
  }
  HeadlessFrame& frame() { return *frame_; }
  std::vector<int> routed_;

 private:
  std::unique_ptr<platform::Frame> owned_;
  HeadlessFrame* frame_ = nullptr;
};

TEST_F(FrameTest, EveryCommandGoesToTheOneRouterUnlessDisabled) {
  EXPECT_TRUE(frame().Invoke(33019));
  frame().SetCommandEnabled(33020, false);
  EXPECT_FALSE(frame().Invoke(33020));
  EXPECT_TRUE(frame().Invoke(32801)) << "ids outside the menus (keys, bars) route too";
  EXPECT_EQ(routed_, (std::vector<int>{33019, 32801}));
}

TEST_F(FrameTest, UpdateHandlersRunBeforeAMenuOpens) {
  int currentLayer = 1;
  bool dimensionsShown = true;
  std::vector<int> asked;
  frame().SetUpdateHandler([&](platform::CommandUpdate& u) {
    asked.push_back(u.Id());
    if (u.Id() == 33019) u.SetCheck(currentLayer == 0);
    if (u.Id() == 33020) u.SetCheck(currentLayer == 1);
    if (u.Id() == 33085) {
      u.SetCheck(dimensionsShown);
      u.SetText(dimensionsShown ? "ON" : "OFF");
    }
  });
  EXPECT_TRUE(frame().OpenMenu(1));
  EXPECT_EQ(asked, (std::vector<int>{33019, 33020, 33085})) << "sub-menus included, in order";
  EXPECT_EQ(frame().GetCommandState(33020).check, CheckState::Checked);
  EXPECT_EQ(frame().GetCommandState(33019).check, CheckState::Unchecked);
  EXPECT_EQ(frame().GetCommandState(33085).caption, std::optional<std::string>("ON"));
  dimensionsShown = false;
  frame().OpenMenu(1);
  EXPECT_EQ(frame().GetCommandState(33085).caption, std::optional<std::string>("OFF"));
  EXPECT_FALSE(frame().OpenMenu(5));
}

TEST_F(FrameTest, CommandStateByIdIncludingIndeterminateAndPressed) {
  frame().SetCommandChecked(32998, CheckState::Indeterminate);
  frame().SetCommandPressed(32998, true);
  frame().SetCommandCaption(33055, Sjis("上書き[ON]"));
  const auto s = frame().GetCommandState(32998);
  EXPECT_EQ(s.check, CheckState::Indeterminate);
  EXPECT_TRUE(s.pressed);
  EXPECT_TRUE(s.enabled);
  EXPECT_EQ(frame().GetCommandState(33055).caption, Sjis("上書き[ON]"));
}

TEST_F(FrameTest, ToolBarsAreReloadedShownHiddenAndDocked) {
  frame().AddToolBar({285, {{32805, Sjis("ＣＡＤ")}, {0, ""}, {32785, Sjis("図形")}}, platform::DockSide::Left, 80});
  frame().AddToolBar({131, {{32793, "L"}}, platform::DockSide::Top, 80, false});
  EXPECT_TRUE(frame().IsToolBarShown(285));
  EXPECT_FALSE(frame().IsToolBarShown(131));
  EXPECT_TRUE(frame().ReloadToolBar(285, {{32833, "A"}, {32834, "B"}}));
  ASSERT_NE(frame().ToolBar(285), nullptr);
  EXPECT_EQ(frame().ToolBar(285)->buttons.size(), 2u);
  EXPECT_FALSE(frame().ReloadToolBar(999, {})) << "an unknown bar is reported";
  frame().ShowToolBar(131, true);
  frame().DockToolBar(131, platform::DockSide::Right);
  EXPECT_TRUE(frame().IsToolBarShown(131));
  EXPECT_EQ(frame().ToolBarSide(131), platform::DockSide::Right);

  std::vector<int> updated;
  frame().SetUpdateHandler([&](platform::CommandUpdate& u) { updated.push_back(u.Id()); });
  frame().Invoke(32833);
  EXPECT_EQ(updated, (std::vector<int>{32793, 32833, 32834})) << "bars refresh after each command";
}

TEST_F(FrameTest, TheProgramMayRefuseTheClose) {
  bool allow = false;
  frame().SetCloseHandler([&] { return allow; });
  frame().RequestClose();
  EXPECT_FALSE(frame().IsClosed());
  allow = true;
  frame().RequestClose();
  EXPECT_TRUE(frame().IsClosed());
  EXPECT_FALSE(frame().Invoke(33019)) << "a closed frame routes nothing";
}

TEST_F(FrameTest, TitleRectangleAndMaximise) {
  frame().SetTitle("Kelto_Win");
  frame().SetWindowRect({100, 50, 20, 10});
  EXPECT_EQ(frame().Title(), "Kelto_Win");
  EXPECT_EQ(frame().WindowRect(), (platform::Rect{20, 10, 100, 50}));
  frame().Maximize();
  EXPECT_TRUE(frame().IsMaximized());
}

// A view handler that draws a cross-hair in XOR outside painting and a frame
// when painted.
class CrossHairView : public platform::ViewHandler {
 public:
  explicit CrossHairView(platform::ViewSurface& surface) : surface_(surface) {}
  std::vector<std::string> events;
  void OnPaint(platform::DeviceContext& dc) override {
    events.push_back("paint");
    dc.Rectangle({0, 0, 10, 10});
  }
  void OnMouse(const platform::MouseEvent& e) override {
    auto dc = surface_.GetDC();
    dc->SelectPen({0xFFFFFF, 1, platform::PenStyle::Solid});
    dc->SetRasterOp(platform::RasterOp::Xor);
    dc->MoveTo({e.position.x, 0});
    dc->LineTo({e.position.x, 600});
    if (e.action == platform::MouseAction::Wheel) events.push_back("wheel " + std::to_string(e.wheelDelta));
  }
  void OnKeyDown(int key, unsigned mods) override {
    events.push_back("key " + std::to_string(key) + (mods & platform::kModControl ? " ctrl" : ""));
  }
  void OnSize(int w, int h) override { events.push_back("size " + std::to_string(w) + "x" + std::to_string(h)); }

 private:
  platform::ViewSurface& surface_;
};

TEST_F(FrameTest, ViewDrawsOutsidePaintingIntoItsBackingRecording) {
  auto& view = frame().view();
  CrossHairView handler(view);
  view.SetHandler(&handler);
  platform::PumpMessages();  // the first paint is due
  EXPECT_EQ(handler.events, std::vector<std::string>{"paint"});
  view.Mouse({platform::MouseAction::Move, {40, 30}});
  view.Mouse({platform::MouseAction::Wheel, {40, 30}, 0, 0, -120});
  ASSERT_EQ(view.Primitives().size(), 3u);
  EXPECT_EQ(view.Primitives()[1].kind, platform::PrimitiveKind::Line);
  EXPECT_EQ(view.Primitives()[1].rasterOp, platform::RasterOp::Xor);
  EXPECT_EQ(view.Primitives()[1].points, (std::vector<platform::Point>{{40, 0}, {40, 600}}));

  view.Key(platform::FunctionKey(12), platform::kModControl);
  view.Resize(1024, 700);
  platform::PumpMessages();
  EXPECT_EQ(handler.events,
            (std::vector<std::string>{"paint", "wheel -120", "key 123 ctrl", "size 1024x700", "paint"}));
  EXPECT_EQ(view.Primitives().size(), 1u) << "a repaint starts from a clear image";
  EXPECT_EQ(view.ClientSize(), (platform::Size{1024, 700}));
}

TEST_F(FrameTest, ViewAndFrameTimers) {
  auto& view = frame().view();
  struct TimerView : platform::ViewHandler {
    std::vector<int> fired;
    void OnTimer(int id) override { fired.push_back(id); }
  } handler;
  view.SetHandler(&handler);
  view.SetTimer(1, 200, platform::TimerKind::OneShot);
  view.SetTimer(2, 50);
  EXPECT_TRUE(view.TickTimer(1));
  EXPECT_FALSE(view.TickTimer(1));
  EXPECT_TRUE(view.TickTimer(2));
  view.KillTimer(2);
  EXPECT_FALSE(view.TickTimer(2));
  EXPECT_EQ(handler.fired, (std::vector<int>{1, 2}));

  std::vector<int> frameFired;
  frame().SetTimerHandler([&](int id) { frameFired.push_back(id); });
  frame().SetTimer(9, 1000);
  EXPECT_TRUE(frame().TickTimer(9));
  EXPECT_EQ(frameFired, std::vector<int>{9});
  view.SetCursor(306);
  EXPECT_EQ(view.CursorId(), 306);
}

TEST_F(FrameTest, TheViewListBoxKeepsRowsAndSelection) {
  platform::ViewListBox& list = frame().View().ListBox();
  EXPECT_FALSE(list.IsVisible()) << "hidden until shown";
  list.SetRect({0, 500, 800, 600});
  list.Show(true);
  for (const char* line : {"G00 X0.", "G01 X10."}) list.AddString(line);
  EXPECT_EQ(list.AddString(platform::Sjis("【実行終了】")), 2);
  list.SetCurSel(2);
  EXPECT_EQ(list.GetCurSel(), 2);
  EXPECT_EQ(list.GetString(2), platform::Sjis("【実行終了】"));
  list.DeleteString(0);
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_EQ(list.GetString(0), "G01 X10.");
  EXPECT_EQ(list.GetCurSel(), 1) << "the selection follows its row";
  list.DeleteString(5);
  EXPECT_EQ(list.GetCount(), 2) << "a row that does not exist is not deleted";
  list.SetCurSel(7);
  EXPECT_EQ(list.GetCurSel(), -1) << "a row that does not exist selects nothing";
  list.ResetContent();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetRect(), (platform::Rect{0, 500, 800, 600}));
}

TEST(MenuTable, CommandIdsAreListedDepthFirst) {
  const std::vector<MenuItem> menu = {
      {0, "A", {{1, "a"}, MenuItem::Separator(), {0, "sub", {{2, "b"}, {3, "c"}}}}},
      {4, "top"},
  };
  EXPECT_EQ(platform::MenuCommandIds(menu), (std::vector<int>{1, 2, 3, 4}));
}

}  // namespace
