#include "kelto_qup/shell/nc_monitor_dlg.h"

#include <vector>

namespace qup::shell {

namespace {

std::vector<platform::ControlSpec> MonitorControls() {
  std::vector<platform::ControlSpec> controls;
  for (int i = 0; i < CNcMonitorDlg::kLineCount; ++i) {
    controls.emplace_back(platform::ControlKind::StaticText, CNcMonitorDlg::kFirstLine + i, "", 0, 180);
  }
  return controls;
}

}  // namespace

CNcMonitorDlg::CNcMonitorDlg(RunContext& run) : Dialog(kTemplateId, "NC_DATA_CHECK", MonitorControls()), run_(run) {}

void CNcMonitorDlg::SetTexts(const std::array<std::string, kLineCount>& lines) {
  for (int i = 0; i < kLineCount; ++i) {
    if (GetText(kFirstLine + i) != lines[static_cast<std::size_t>(i)]) {
      SetText(kFirstLine + i, lines[static_cast<std::size_t>(i)]);
    }
  }
}

void CNcMonitorDlg::OnShow() { SetTitle("NC_DATA_CHECK"); }

void CNcMonitorDlg::ReleaseStepMode() {
  run_.output.StepPause = 0;
  run_.job.Header.executionMode = 0;
  run_.output.RunExecutionMode = 0;
  run_.job.Header.ncDisplayFlags &= ~0x8000;
}

}  // namespace qup::shell
