// The view's side of the NC text check and the transfers: the monitor
// window, the end box, the list and the network-drive send.
#include "kelto_qup/shell/nc_monitor_dlg.h"
#include "kelto_qup/shell/nfs_send.h"
#include "kelto_qup/shell/qup_view.h"
#include "platform/message_box.h"

namespace qup::shell {

namespace {

constexpr unsigned kExclamationIcon = 0x30;

}  // namespace

void CQupView::ClearList() { list_.ResetContent(); }

void CQupView::ShowMonitor(bool shown) {
  if (shown && !monitor_) {
    monitor_ = std::make_unique<CNcMonitorDlg>(app_.run);
    monitor_->CreateModeless(&frame_);
  } else if (!shown && monitor_) {
    CloseMonitor();
  }
}

void CQupView::SetMonitorTexts(const std::array<std::string, 16>& lines) {
  if (monitor_) monitor_->SetTexts(lines);
}

void CQupView::CloseMonitor() {
  if (monitor_) monitor_->DestroyWindow();
  monitor_.reset();
}

void CQupView::ShowExclamationBox(std::string_view text) { platform::ShowMessageBox(text, {}, kExclamationIcon); }

void CQupView::RedrawView() { surface_.Invalidate(); }

int CQupView::RunNfsTransfer(int fromList) { return shell::RunNfsTransfer(app_.run, fromList); }

}  // namespace qup::shell
