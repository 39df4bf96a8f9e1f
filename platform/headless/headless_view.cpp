#include "platform/headless/headless_view.h"

#include "platform/headless/headless_backend.h"

namespace platform::headless {

int HeadlessViewListBox::AddString(std::string_view cp932) {
  rows_.emplace_back(cp932);
  return static_cast<int>(rows_.size()) - 1;
}

void HeadlessViewListBox::DeleteString(int row) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  rows_.erase(rows_.begin() + row);
  if (selection_ == row) {
    selection_ = -1;
  } else if (selection_ > row) {
    --selection_;
  }
}

void HeadlessViewListBox::ResetContent() {
  rows_.clear();
  selection_ = -1;
}

std::string HeadlessViewListBox::GetString(int row) const {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return {};
  return rows_[static_cast<std::size_t>(row)];
}

void HeadlessViewListBox::SetCurSel(int row) {
  selection_ = (row >= 0 && row < static_cast<int>(rows_.size())) ? row : -1;
}

HeadlessView::HeadlessView(HeadlessBackend& backend) : backend_(backend) { backend_.AddView(this); }
HeadlessView::~HeadlessView() { backend_.RemoveView(this); }

std::unique_ptr<DeviceContext> HeadlessView::GetDC() { return std::make_unique<RecordingContext>(size_, log_); }

void HeadlessView::UpdateNow() {
  if (paintPending_) Paint();
}

void HeadlessView::Paint() {
  paintPending_ = false;
  log_->clear();
  ++paintCount_;
  if (!handler_) return;
  RecordingContext dc(size_, log_);
  handler_->OnPaint(dc);
}

void HeadlessView::SetTimer(int timerId, int, TimerKind kind) { timers_[timerId] = kind; }
void HeadlessView::KillTimer(int timerId) { timers_.erase(timerId); }

Bitmap HeadlessView::CopyClientArea(const Rect& area) const {
  const Rect r = area.Normalized();
  return Bitmap(r.Width(), r.Height(), background_);
}

void HeadlessView::Mouse(const MouseEvent& event) {
  if (handler_) handler_->OnMouse(event);
}

void HeadlessView::Key(int key, unsigned modifiers) {
  if (handler_) handler_->OnKeyDown(key, modifiers);
}

void HeadlessView::Resize(int width, int height) {
  size_ = {width, height};
  paintPending_ = true;
  if (handler_) handler_->OnSize(width, height);
}

void HeadlessView::FocusLost() {
  focused_ = false;
  if (handler_) handler_->OnFocusLost();
}

bool HeadlessView::TickTimer(int timerId) {
  auto it = timers_.find(timerId);
  if (it == timers_.end()) return false;
  if (it->second == TimerKind::OneShot) timers_.erase(it);
  if (handler_) handler_->OnTimer(timerId);
  return true;
}

}  // namespace platform::headless
