#pragma once
// The headless view surface: its backing image is a recording of the
// primitives drawn since the last repaint, and tests send it mouse, key, size
// and timer events.
#include <memory>
#include <map>
#include <vector>

#include "platform/recording_context.h"
#include "platform/view_surface.h"

namespace platform::headless {

class HeadlessBackend;

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

  // --- test side ---
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
};

}  // namespace platform::headless
