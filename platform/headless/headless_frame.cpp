#include "platform/headless/headless_frame.h"

#include <algorithm>

#include "platform/headless/headless_backend.h"

namespace platform::headless {

HeadlessFrame::HeadlessFrame(HeadlessBackend& backend) : backend_(backend), view_(backend) { backend_.AddFrame(this); }

HeadlessFrame::~HeadlessFrame() {
  backend_.CloseOwnedBy(this);
  backend_.RemoveFrame(this);
}

void HeadlessFrame::AddToolBar(const ToolBarSpec& bar) { bars_[bar.barId] = Bar{bar, bar.shown}; }

bool HeadlessFrame::ReloadToolBar(int barId, const std::vector<ToolButton>& buttons) {
  auto it = bars_.find(barId);
  if (it == bars_.end()) return false;
  it->second.decl.buttons = buttons;
  return true;
}

void HeadlessFrame::ShowToolBar(int barId, bool shown) {
  auto it = bars_.find(barId);
  if (it != bars_.end()) it->second.shown = shown;
}

bool HeadlessFrame::IsToolBarShown(int barId) const {
  auto it = bars_.find(barId);
  return it != bars_.end() && it->second.shown;
}

void HeadlessFrame::DockToolBar(int barId, DockSide side) {
  auto it = bars_.find(barId);
  if (it != bars_.end()) it->second.decl.side = side;
}

const ToolBarSpec* HeadlessFrame::ToolBar(int barId) const {
  auto it = bars_.find(barId);
  return it == bars_.end() ? nullptr : &it->second.decl;
}

DockSide HeadlessFrame::ToolBarSide(int barId) const {
  auto it = bars_.find(barId);
  return it == bars_.end() ? DockSide::Top : it->second.decl.side;
}

CommandState HeadlessFrame::GetCommandState(int commandId) const {
  auto it = states_.find(commandId);
  return it == states_.end() ? CommandState{} : it->second;
}

void HeadlessFrame::RunUpdate(int commandId) {
  if (!update_) return;
  CommandUpdate u(commandId, GetCommandState(commandId));
  update_(u);
  states_[commandId] = u.State();
}

void HeadlessFrame::UpdateToolBars() {
  for (const auto& [id, bar] : bars_)
    for (const ToolButton& b : bar.decl.buttons)
      if (b.commandId != 0) RunUpdate(b.commandId);
}

bool HeadlessFrame::Invoke(int commandId) {
  if (closed_ || !GetCommandState(commandId).enabled) return false;
  if (router_) router_(commandId);
  UpdateToolBars();
  return true;
}

bool HeadlessFrame::OpenMenu(std::size_t index) {
  if (index >= menu_.size()) return false;
  for (int id : MenuCommandIds(menu_[index].items.empty() ? std::vector<MenuItem>{menu_[index]} : menu_[index].items))
    RunUpdate(id);
  return true;
}

int HeadlessFrame::TrackPopupMenu(const std::vector<MenuItem>& items, Point viewPoint) {
  lastPopup_ = items;
  lastPopupPoint_ = viewPoint;
  const std::vector<int> ids = MenuCommandIds(items);
  for (int id : ids) RunUpdate(id);
  if (!popupAnswer_) return 0;
  const int chosen = popupAnswer_(items, viewPoint);
  // Only an enabled entry of this menu can be chosen.
  if (std::find(ids.begin(), ids.end(), chosen) == ids.end() || !GetCommandState(chosen).enabled) return 0;
  return chosen;
}

void HeadlessFrame::RequestClose() {
  if (closed_) return;
  if (close_ && !close_()) return;
  closed_ = true;
  backend_.CloseOwnedBy(this);
}

void HeadlessFrame::SetTimer(int timerId, int, TimerKind kind) { timers_[timerId] = kind; }

bool HeadlessFrame::TickTimer(int timerId) {
  auto it = timers_.find(timerId);
  if (it == timers_.end()) return false;
  if (it->second == TimerKind::OneShot) timers_.erase(it);
  if (timerHandler_) timerHandler_(timerId);
  return true;
}

}  // namespace platform::headless
