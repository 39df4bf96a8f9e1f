#pragma once
// The main window: a menu bar and several tool bars built from tables of
// command ids, the view in its client area, the title and the window
// rectangle. Command routing stays the system's own: the frame hands every
// command id to one routing function.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/bitmap.h"
#include "platform/geometry.h"
#include "platform/view_surface.h"

namespace platform {

// One menu entry. A separator has command id 0 and no caption; an entry with
// items is a sub-menu (its own command id is ignored).
struct MenuItem {
  MenuItem() = default;
  MenuItem(int id, std::string caption_, std::vector<MenuItem> items_ = {})
      : commandId(id), caption(std::move(caption_)), items(std::move(items_)) {}

  int commandId = 0;
  std::string caption;  // CP932, "&" marks the access key
  std::vector<MenuItem> items;

  static MenuItem Separator() { return {}; }
  bool IsSeparator() const { return commandId == 0 && caption.empty() && items.empty(); }
};

// One tool-bar button; command id 0 is a separator. A button shows its image
// when it has one, else its caption.
struct ToolButton {
  ToolButton() = default;
  ToolButton(int id, std::string caption_ = {}, Bitmap image_ = {})
      : commandId(id), caption(std::move(caption_)), image(std::move(image_)) {}

  int commandId = 0;
  std::string caption;  // CP932, also the tool tip
  Bitmap image;
};

enum class DockSide { Top, Bottom, Left, Right, Floating };

struct ToolBarSpec {
  ToolBarSpec() = default;
  ToolBarSpec(int id, std::vector<ToolButton> buttons_, DockSide side_ = DockSide::Top, int buttonWidth_ = 0,
              bool shown_ = true)
      : barId(id), buttons(std::move(buttons_)), side(side_), buttonWidth(buttonWidth_), shown(shown_) {}

  int barId = 0;
  std::vector<ToolButton> buttons;
  DockSide side = DockSide::Top;
  int buttonWidth = 0;  // pixels; 0: as the caption or image needs
  bool shown = true;
};

enum class CheckState { Unchecked = 0, Checked = 1, Indeterminate = 2 };

// The state a command shows in menus and tool bars.
struct CommandState {
  bool enabled = true;
  CheckState check = CheckState::Unchecked;
  bool pressed = false;
  std::optional<std::string> caption;  // CP932; unset keeps the table's caption
};

// Filled by the system's update handlers before a menu opens (and after each
// command for the tool bars): starts from the command's current state.
class CommandUpdate {
 public:
  CommandUpdate(int id, CommandState state) : id_(id), state_(std::move(state)) {}
  int Id() const { return id_; }
  void Enable(bool on) { state_.enabled = on; }
  void SetCheck(CheckState c) { state_.check = c; }
  void SetCheck(bool on) { state_.check = on ? CheckState::Checked : CheckState::Unchecked; }
  void SetText(std::string cp932) { state_.caption = std::move(cp932); }
  const CommandState& State() const { return state_; }

 private:
  int id_;
  CommandState state_;
};

class Frame {
 public:
  virtual ~Frame() = default;

  // --- menus and tool bars ---
  virtual void SetMenu(const std::vector<MenuItem>& menuBar) = 0;
  virtual void AddToolBar(const ToolBarSpec& bar) = 0;
  // Replaces the buttons of a bar at run time; false for an unknown bar.
  virtual bool ReloadToolBar(int barId, const std::vector<ToolButton>& buttons) = 0;
  virtual void ShowToolBar(int barId, bool shown) = 0;
  virtual bool IsToolBarShown(int barId) const = 0;
  virtual void DockToolBar(int barId, DockSide side) = 0;
  // Where a bar is docked now (the user may have moved it).
  virtual DockSide ToolBarDock(int barId) const = 0;

  // --- command state, by command id, in every menu and bar at once ---
  virtual void SetCommandState(int commandId, const CommandState& state) = 0;
  virtual CommandState GetCommandState(int commandId) const = 0;
  void SetCommandChecked(int id, CheckState c) {
    auto s = GetCommandState(id);
    s.check = c;
    SetCommandState(id, s);
  }
  void SetCommandEnabled(int id, bool on) {
    auto s = GetCommandState(id);
    s.enabled = on;
    SetCommandState(id, s);
  }
  void SetCommandCaption(int id, std::string cp932) {
    auto s = GetCommandState(id);
    s.caption = std::move(cp932);
    SetCommandState(id, s);
  }
  void SetCommandPressed(int id, bool on) {
    auto s = GetCommandState(id);
    s.pressed = on;
    SetCommandState(id, s);
  }

  // --- the system's side ---
  using CommandRouter = std::function<void(int commandId)>;
  using UpdateHandler = std::function<void(CommandUpdate&)>;
  // Return false to refuse the close (the program stays open).
  using CloseHandler = std::function<bool()>;
  virtual void SetCommandRouter(CommandRouter router) = 0;
  virtual void SetUpdateHandler(UpdateHandler handler) = 0;
  virtual void SetCloseHandler(CloseHandler handler) = 0;
  // Runs the update handler over every command of the tool bars.
  virtual void UpdateToolBars() = 0;

  // --- window ---
  virtual void SetTitle(const std::string& cp932) = 0;
  virtual std::string Title() const = 0;
  virtual Rect WindowRect() const = 0;  // screen pixels, frame included
  virtual void SetWindowRect(const Rect& r) = 0;
  virtual void Maximize() = 0;
  virtual bool IsMaximized() const = 0;
  virtual void Show() = 0;
  // Asks to close, as the close box does: the close handler decides.
  virtual void RequestClose() = 0;
  virtual bool IsClosed() const = 0;

  virtual void SetTimer(int timerId, int milliseconds, TimerKind kind = TimerKind::Repeating) = 0;
  virtual void KillTimer(int timerId) = 0;
  using TimerHandler = std::function<void(int timerId)>;
  virtual void SetTimerHandler(TimerHandler handler) = 0;

  // The view in the client area.
  virtual ViewSurface& View() = 0;

  // A popup menu at a point of the view (client pixels), open until the user
  // chooses or closes it: the chosen command id, or 0. The choice is handed
  // back, not routed; the update handler sets the items' states first.
  virtual int TrackPopupMenu(const std::vector<MenuItem>& items, Point viewPoint) = 0;

  // The whole window as shown, frame and bars included; empty where nothing
  // is shown on a screen.
  virtual Bitmap Snapshot() const { return {}; }
};

// The main window of the installed backend.
std::unique_ptr<Frame> CreateFrame();

// Every command id of a menu table (sub-menus included), in order.
std::vector<int> MenuCommandIds(const std::vector<MenuItem>& items);

}  // namespace platform
