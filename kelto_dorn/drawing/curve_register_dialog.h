#pragma once
// The curve registration dialog (template 317, "曲線の登録"): name, TOP and
// END Z, the IP point of pockets and the colour of the curve record being
// registered (g_curCurveRecord), edited in place. Ends with 1 (登録), 50
// (継続: pick more figures, only during the join registration) or 2 (取消).
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kCurveRegisterDialogId = 317;
inline constexpr int kCurveNameEdit = 1008;
inline constexpr int kCurveTopZEdit = 1029;
inline constexpr int kCurveEndZEdit = 1030;
inline constexpr int kCurveIpXEdit = 1031;
inline constexpr int kCurveIpYEdit = 1065;
inline constexpr int kCurveColourButton = 1202;
inline constexpr int kCurveRegisterButton = 1178;
inline constexpr int kCurveContinueButton = 1000;
// End codes besides Cancel (2).
inline constexpr int kCurveRegistered = 1;
inline constexpr int kCurveContinuePicking = 50;

class CCurveRegisterDlg : public platform::Dialog {
 public:
  CCurveRegisterDlg();

 protected:
  bool OnInit() override;
  void OnShow() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  // Enter moves to the next field, as in every numeric dialog.
  void OnOk() override;

 private:
  // The IP point fields apply to pockets and to curves with an IP point.
  bool IpPointApplies() const;
  void ProposeName();
  void Fill();
  void ShowSwatch();
  // Reads the field that had the focus back into the record and refills.
  void CommitField();

  int focusedField_ = 0;  // the edit id that had the focus, 0 none
};

}  // namespace dorn
