#pragma once
// Finishing-pass initial values (352, "追込み加工初期値設定"): per program group
// O1000-O4000 an XY contour and a bottom-Z finishing pass with its value,
// and EXT_Z. Closing (登録, which is the cancel button, and Esc) always
// saves: the record in memory and "$UrvoOikomi.@@@" in the program folder.
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kFinishPassDialogId = 352;

namespace finish_ctl {
inline constexpr int kContourBox[4] = {1200, 1201, 1202, 1203};
inline constexpr int kContourValue[4] = {1008, 1029, 1030, 1031};
inline constexpr int kBottomBox[4] = {1204, 1205, 1206, 1207};
inline constexpr int kBottomValue[4] = {1065, 1066, 1067, 1068};
inline constexpr int kExtZ = 1069;
inline constexpr int kRegister = 2;
}  // namespace finish_ctl

class CFinishPassInitDlg : public platform::Dialog {
 public:
  CFinishPassInitDlg();

 protected:
  bool OnInit() override;
  void OnOk() override { NextControl(); }
  void OnCancel() override;
};

// The plain decimal reading of a finishing value: text that is not a
// number, or not finite, gives 0.0.
double FinishPassValue(const std::string& textCp932);

}  // namespace dorn
