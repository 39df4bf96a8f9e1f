#pragma once
// The headless view surface: its backing image is a recording of the
// primitives drawn since the last repaint, and tests send it mouse, key, size
// and timer events.
#include <memory>
#include <map>
#include <string>
#include <vector>

#include "platform/recording_context.h"
#include "platform/view_surface.h"

namespace platform::headless {

class HeadlessBackend;

// The list box of a headless view: rows, selection, place and font, as set.
class HeadlessViewListBox : public ViewListBox {
 public:
  void SetRect(const Rect& r) override { rect_ = r; }
  Rect GetRect() const override { return rect_; }
  void Show(bool on) override { visible_ = on; }
  bool IsVisible() const override { return visible_; }
  int AddString(std::string_view cp932) override;
  void DeleteString(int row) override;
  void ResetContent() override;
  int GetCount() const override { return static_cast<int>(rows_.size()); }
  std::string GetString(int row) const override;
  void SetCurSel(int row) override;
  int GetCurSel() const override { return selection_; }
  void SetFont(const Font& font) override { font_ = font; }
  const Font& CurrentFont() const { return font_; }

 private:
  std::vector<std::string> rows_;
  Rect rect_;
  Font font_;
  int selection_ = -1;
  bool visible_ = false;
};

class HeadlessView : public ViewSurface {
 public:
  explicit HeadlessView(HeadlessBackend& backend);
  ~HeadlessView() override;

  void SetHandler(ViewHandler* handler) override { handler_ = handler; }
  std::unique_ptr<DeviceContext> GetDC() override;
  void Invalidate() override { paintPending_ = true; }
  void UpdateNow() override;
  Size ClientSize() const override { return size_; }
  void SetBackgroundColor(Color c) override { background_ = c; }
  void SetTimer(int timerId, int milliseconds, TimerKind kind = TimerKind::Repeating) override;
  void KillTimer(int timerId) override;
  void SetCursor(int cursorId) override { cursorId_ = cursorId; }
  void SetFocus() override { focused_ = true; }
  Bitmap CopyClientArea(const Rect& area) const override;
  ViewListBox& ListBox() override { return listBox_; }

  // --- test side ---
  HeadlessViewListBox& listBox() { return listBox_; }
  void Mouse(const MouseEvent& event);
  void Key(int key, unsigned modifiers = 0);
  void Resize(int width, int height);
  void FocusLost();
  bool TickTimer(int timerId);
  bool HasTimer(int timerId) const { return timers_.count(timerId) != 0; }
  bool PaintPending() const { return paintPending_; }
  // Clears the backing recording and runs OnPaint.
  void Paint();
  const std::vector<Primitive>& Primitives() const { return *log_; }
  void ClearPrimitives() { log_->clear(); }
  int CursorId() const { return cursorId_; }
  Color BackgroundColor() const { return background_; }
  int PaintCount() const { return paintCount_; }

 private:
  HeadlessBackend& backend_;
  ViewHandler* handler_ = nullptr;
  std::shared_ptr<std::vector<Primitive>> log_ = std::make_shared<std::vector<Primitive>>();
  Size size_{800, 600};
  Color background_ = 0xFFFFFF;
  std::map<int, TimerKind> timers_;
  int cursorId_ = 0;
  bool focused_ = false;
  bool paintPending_ = true;
  int paintCount_ = 0;
  HeadlessViewListBox listBox_;
};

}  // namespace platform::headless
