#pragma once
// The headless main window: keeps the menu and tool-bar tables, the state of
// every command, the title and the rectangle, and lets tests invoke commands,
// open menus (running the update handler) and ask to close.
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/frame.h"
#include "platform/headless/headless_view.h"

namespace platform::headless {

class HeadlessBackend;

class HeadlessFrame : public Frame {
 public:
  explicit HeadlessFrame(HeadlessBackend& backend);
  ~HeadlessFrame() override;

  void SetMenu(const std::vector<MenuItem>& menuBar) override { menu_ = menuBar; }
  void AddToolBar(const ToolBarSpec& bar) override;
  bool ReloadToolBar(int barId, const std::vector<ToolButton>& buttons) override;
  void ShowToolBar(int barId, bool shown) override;
  bool IsToolBarShown(int barId) const override;
  void DockToolBar(int barId, DockSide side) override;
  DockSide ToolBarDock(int barId) const override { return ToolBarSide(barId); }

  void SetCommandState(int commandId, const CommandState& state) override { states_[commandId] = state; }
  CommandState GetCommandState(int commandId) const override;

  void SetCommandRouter(CommandRouter router) override { router_ = std::move(router); }
  void SetUpdateHandler(UpdateHandler handler) override { update_ = std::move(handler); }
  void SetCloseHandler(CloseHandler handler) override { close_ = std::move(handler); }
  void UpdateToolBars() override;

  void SetTitle(const std::string& cp932) override { title_ = cp932; }
  std::string Title() const override { return title_; }
  Rect WindowRect() const override { return rect_; }
  void SetWindowRect(const Rect& r) override {
    rect_ = r.Normalized();
    maximized_ = false;
  }
  void Maximize() override { maximized_ = true; }
  bool IsMaximized() const override { return maximized_; }
  void Show() override { shown_ = true; }
  void RequestClose() override;
  bool IsClosed() const override { return closed_; }

  void SetTimer(int timerId, int milliseconds, TimerKind kind = TimerKind::Repeating) override;
  void KillTimer(int timerId) override { timers_.erase(timerId); }
  void SetTimerHandler(TimerHandler handler) override { timerHandler_ = std::move(handler); }

  ViewSurface& View() override { return view_; }
  int TrackPopupMenu(const std::vector<MenuItem>& items, Point viewPoint) override;

  // --- test side ---
  HeadlessView& view() { return view_; }
  const std::vector<MenuItem>& Menu() const { return menu_; }
  const ToolBarSpec* ToolBar(int barId) const;
  DockSide ToolBarSide(int barId) const;
  // Runs a command as a menu click would: refused (false) when disabled.
  bool Invoke(int commandId);
  // Opens the top-level menu `index`: the update handler runs for each of its
  // commands. Returns false for no such menu.
  bool OpenMenu(std::size_t index);
  bool TickTimer(int timerId);
  // The answer of the next popup menus: a function given the items and the
  // point that returns the chosen id (0 closes); without one a popup closes
  // with no choice. The items and point of the last popup are kept.
  using PopupAnswer = std::function<int(const std::vector<MenuItem>& items, Point viewPoint)>;
  void WhenPopupOpens(PopupAnswer answer) { popupAnswer_ = std::move(answer); }
  const std::vector<MenuItem>& LastPopup() const { return lastPopup_; }
  Point LastPopupPoint() const { return lastPopupPoint_; }
  bool IsShown() const { return shown_; }

 private:
  struct Bar {
    ToolBarSpec decl;
    bool shown = true;
  };
  void RunUpdate(int commandId);

  HeadlessBackend& backend_;
  HeadlessView view_;
  std::vector<MenuItem> menu_;
  std::map<int, Bar> bars_;
  std::map<int, CommandState> states_;
  CommandRouter router_;
  UpdateHandler update_;
  CloseHandler close_;
  TimerHandler timerHandler_;
  PopupAnswer popupAnswer_;
  std::vector<MenuItem> lastPopup_;
  Point lastPopupPoint_;
  std::map<int, TimerKind> timers_;
  std::string title_;
  Rect rect_{0, 0, 1280, 1024};
  bool maximized_ = false;
  bool shown_ = false;
  bool closed_ = false;
};

}  // namespace platform::headless
