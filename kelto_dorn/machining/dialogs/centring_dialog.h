#pragma once
// Automatic centring settings (336, "自動芯出し設定"): the probing records of
// G54-G57 on four tabs and the coordinate data output post. 登録 saves the
// records and places the work again; ｷｬﾝｾﾙ and Esc close without saving.
#include "kelto_dorn/machining/centring_settings.h"
#include "kelto_dorn/machining/dialogs/numeric_fields.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kAutoCenteringDialogId = 336;

namespace centring_ctl {
inline constexpr int kTabs = 1200;
inline constexpr int kActive = 1201;
inline constexpr int kInactive = 1202;
inline constexpr int kB = 1008, kE = 1029, kK = 1030, kI = 1031, kJ = 1065, kX = 1066, kY = 1067;
inline constexpr int kUpperLeft = 1203, kUpperRight = 1204, kLowerLeft = 1205, kLowerRight = 1206;
inline constexpr int kRotationOn = 1207, kRotationOff = 1208;
inline constexpr int kPostStandard = 1209, kPostFirst = 1210, kPostSecond = 1211;
inline constexpr int kRegister = 1212;
inline constexpr int kCancel = 2;
}  // namespace centring_ctl

class CAutoCenteringDlg : public platform::Dialog {
 public:
  CAutoCenteringDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnSelectionChanged(int id) override;
  void OnOk() override;
  platform::DialogColors Colors() override;

 private:
  void Refresh();
  handover::AutoCenteringRecord& R() { return records_[static_cast<std::size_t>(current_)]; }
  CentringRecords records_{};
  int current_ = 0;
  int post_ = 0;
  NumericFieldSet fields_;
};

}  // namespace dorn
