#pragma once
// Machining-time estimate settings (166, "　加工予想時間の初期設定"): the
// rapid rate, tool change time and time factor of four machine settings,
// kept in "$KP_TIME.@@@" in the data root. 登　録 (the cancel button, also
// Esc and the close box) writes the four records and closes.
#include "kelto_dorn/machining/dialogs/numeric_fields.h"
#include "platform/dialog.h"
#include "shared/handover/machining_time_record.h"

namespace dorn {

inline constexpr int kTimeEstimateDialogId = 166;

namespace time_ctl {
// Per machine setting 1-4: rapid rate, tool change time, time factor.
inline constexpr int kFields[4][3] = {{1008, 1029, 1030}, {1031, 1065, 1066}, {1067, 1068, 1069}, {1086, 1087, 1092}};
inline constexpr int kRegister = 2;
}  // namespace time_ctl

// The values of machine setting n (1-4) without a file.
handover::MachiningTimeTable BuiltInMachiningTimes();

class CTimeEstimateDlg : public platform::Dialog {
 public:
  CTimeEstimateDlg();

 protected:
  bool OnInit() override;
  void OnFocusGained(int id) override;
  void OnOk() override;
  void OnCancel() override;

 private:
  handover::MachiningTimeTable table_{};
  NumericFieldSet fields_;
};

}  // namespace dorn
