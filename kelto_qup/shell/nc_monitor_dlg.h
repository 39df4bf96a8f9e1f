#pragma once
// CNcMonitorDlg: the NC text check's modeless monitor: 16 lines of the
// current block's values (line number, axes, feed, spindle, codes). Its OK
// and Cancel only release the step and pause switches, so the check runs on
// to its end at full speed; the window stays until the check ends.
#include <array>
#include <string>

#include "kelto_qup/engine/run_context.h"
#include "platform/dialog.h"

namespace qup::shell {

class CNcMonitorDlg : public platform::Dialog {
 public:
  static constexpr int kTemplateId = 136;
  static constexpr int kFirstLine = 1020;  // 1020 .. 1035
  static constexpr int kLineCount = 16;

  explicit CNcMonitorDlg(RunContext& run);
  void SetTexts(const std::array<std::string, kLineCount>& lines);

 protected:
  void OnShow() override;
  void OnOk() override { ReleaseStepMode(); }
  void OnCancel() override { ReleaseStepMode(); }

 private:
  void ReleaseStepMode();
  RunContext& run_;
};

}  // namespace qup::shell
