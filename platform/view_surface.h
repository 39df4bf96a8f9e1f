#pragma once
// The view surface: a child window of the frame that receives mouse, key,
// wheel and size events and shows a backing image. Everything drawn on it,
// inside painting or outside (the XOR feedback of the commands), goes into
// that image and the window shows it after each change, so XOR drawing works
// the same on every display.
#include <memory>
#include <string>
#include <string_view>

#include "platform/bitmap.h"
#include "platform/device_context.h"
#include "platform/geometry.h"

namespace platform {

enum class MouseAction {
  LeftDown,
  LeftUp,
  LeftDoubleClick,
  RightDown,
  RightUp,
  RightDoubleClick,
  Move,
  Wheel,
};

namespace mouse_buttons {
constexpr unsigned kLeft = 0x1;
constexpr unsigned kRight = 0x2;
constexpr unsigned kMiddle = 0x10;
}  // namespace mouse_buttons

struct MouseEvent {
  MouseAction action = MouseAction::Move;
  Point position;          // client pixels
  unsigned buttons = 0;    // mouse_buttons held during the event
  unsigned modifiers = 0;  // kModShift, kModControl (key_codes.h)
  int wheelDelta = 0;      // 120 per notch, positive away from the user
};

enum class TimerKind { Repeating, OneShot };

// What the system's view receives. Every handler has a default that does nothing.
class ViewHandler {
 public:
  virtual ~ViewHandler() = default;
  // The backing image was cleared to the background colour; draw everything.
  virtual void OnPaint(DeviceContext& dc) { (void)dc; }
  virtual void OnMouse(const MouseEvent& event) { (void)event; }
  virtual void OnKeyDown(int key, unsigned modifiers) { (void)key, (void)modifiers; }
  virtual void OnSize(int width, int height) { (void)width, (void)height; }
  virtual void OnFocusLost() {}
  virtual void OnTimer(int timerId) { (void)timerId; }
};

// A list box that lives inside the view (the message list along the bottom
// of the companion program's view). Keys pressed in it reach the view's
// handler as if pressed in the view.
class ViewListBox {
 public:
  virtual ~ViewListBox() = default;
  virtual void SetRect(const Rect& clientRect) = 0;
  virtual Rect GetRect() const = 0;
  virtual void Show(bool on) = 0;
  virtual bool IsVisible() const = 0;
  virtual int AddString(std::string_view cp932) = 0;  // returns the new row
  // Removes a row; later rows move up and a selection below it follows.
  // A row that does not exist changes nothing.
  virtual void DeleteString(int row) = 0;
  virtual void ResetContent() = 0;
  virtual int GetCount() const = 0;
  virtual std::string GetString(int row) const = 0;
  virtual void SetCurSel(int row) = 0;  // -1 clears; the row is scrolled into view
  virtual int GetCurSel() const = 0;
  virtual void SetFont(const Font& font) = 0;
};

class ViewSurface {
 public:
  virtual ~ViewSurface() = default;

  // The handler is not owned; it must outlive the surface or be reset to null.
  virtual void SetHandler(ViewHandler* handler) = 0;

  // A device context on the backing image, valid inside and outside painting.
  // What it draws is shown as soon as control returns to the event loop.
  virtual std::unique_ptr<DeviceContext> GetDC() = 0;

  // Asks for a full repaint (background cleared, then OnPaint) at the next
  // event processing; UpdateNow paints at once when one is pending.
  virtual void Invalidate() = 0;
  virtual void UpdateNow() = 0;

  virtual Size ClientSize() const = 0;
  virtual void SetBackgroundColor(Color c) = 0;

  virtual void SetTimer(int timerId, int milliseconds, TimerKind kind = TimerKind::Repeating) = 0;
  virtual void KillTimer(int timerId) = 0;

  virtual void SetCursor(int cursorId) = 0;
  virtual void SetFocus() = 0;

  // The pixels of a client rectangle as shown (for the clipboard copy).
  virtual Bitmap CopyClientArea(const Rect& area) const = 0;

  // The list box inside the view, made on first use (hidden until shown).
  virtual ViewListBox& ListBox() = 0;
};

}  // namespace platform
