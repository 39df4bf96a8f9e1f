#include "kelto_qup/shell/host_relay.h"

#include "platform/application.h"
#include "platform/message_box.h"

namespace qup::shell {

namespace {

constexpr unsigned kStopIcon = 0x10;

}  // namespace

std::vector<std::string> HostRelay::TakePendingLines() {
  std::vector<std::string> lines;
  lines.swap(pending_);
  return lines;
}

void HostRelay::ShowErrorBox(std::string_view text) {
  if (target_ != nullptr) {
    target_->ShowErrorBox(text);
  } else {
    platform::ShowMessageBox(text, {}, kStopIcon);
  }
}

int HostRelay::AddListLine(std::string_view text) {
  if (target_ != nullptr) return target_->AddListLine(text);
  pending_.emplace_back(text);
  return static_cast<int>(pending_.size()) - 1;
}

void HostRelay::SelectListLine(int index) {
  if (target_ != nullptr) target_->SelectListLine(index);
}

void HostRelay::DeleteListLine(int index) {
  if (target_ != nullptr) {
    target_->DeleteListLine(index);
  } else if (index >= 0 && index < static_cast<int>(pending_.size())) {
    pending_.erase(pending_.begin() + index);
  }
}

void HostRelay::PumpMessages() {
  if (target_ != nullptr) {
    target_->PumpMessages();
  } else {
    platform::PumpMessages();
  }
}

void HostRelay::RefreshViewDc() {
  if (target_ != nullptr) target_->RefreshViewDc();
}

void HostRelay::FlushPanes() {
  if (target_ != nullptr) target_->FlushPanes();
}

void HostRelay::AddDisplayRecord(const std::array<std::uint32_t, 8>& words) {
  if (target_ != nullptr) target_->AddDisplayRecord(words);
}

void HostRelay::DrawPathStep(int channel, const handover::NcElement& move) {
  if (target_ != nullptr) target_->DrawPathStep(channel, move);
}

void HostRelay::SetTitleText(std::string_view text) {
  if (target_ != nullptr) target_->SetTitleText(text);
}

void HostRelay::Beep() {
  if (target_ != nullptr) {
    target_->Beep();
  } else {
    platform::Beep();
  }
}

std::uint64_t HostRelay::TickMs() { return target_ != nullptr ? target_->TickMs() : RunHost::TickMs(); }

}  // namespace qup::shell

namespace qup::shell {

void HostRelay::DrawCheckSegment(double x, double y, double z, int kind) {
  if (target_ != nullptr) target_->DrawCheckSegment(x, y, z, kind);
}

void HostRelay::ClearList() {
  if (target_ != nullptr) {
    target_->ClearList();
  } else {
    pending_.clear();
  }
}

void HostRelay::ShowMonitor(bool shown) {
  if (target_ != nullptr) target_->ShowMonitor(shown);
}

void HostRelay::SetMonitorTexts(const std::array<std::string, 16>& lines) {
  if (target_ != nullptr) target_->SetMonitorTexts(lines);
}

void HostRelay::CloseMonitor() {
  if (target_ != nullptr) target_->CloseMonitor();
}

void HostRelay::ShowExclamationBox(std::string_view text) {
  if (target_ != nullptr) {
    target_->ShowExclamationBox(text);
  } else {
    platform::ShowMessageBox(text, {}, 0x30);
  }
}

void HostRelay::RedrawView() {
  if (target_ != nullptr) target_->RedrawView();
}

int HostRelay::RunNfsTransfer(int fromList) { return target_ != nullptr ? target_->RunNfsTransfer(fromList) : 0; }

}  // namespace qup::shell
