#pragma once
// The capsule dialog (IDD 334, "カプセル加工"): the machining face Z and
// bottom Z of the capsule definition whose curves were just picked. Every
// OK applies them to the working definition; "OK(全て確定）",
// "OK(輪郭確定）" and "同カプセルで続行" also keep them for the definitions
// that follow. Esc asks whether the capsule is to be dropped: Yes ends with
// 2, No applies the values and stays.
#include "kelto_dorn/machining/dialogs/numeric_fields.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kCapsuleMachiningDialogId = 334;

namespace capsule_ctl {
inline constexpr int kFaceZ = 1008;
inline constexpr int kBottomZ = 1029;
inline constexpr int kNext = 1020;
inline constexpr int kAllConfirmed = 1602;
inline constexpr int kContourConfirmed = 1603;
inline constexpr int kSameAgain = 1604;
}  // namespace capsule_ctl

class CCapsuleMachiningDlg : public platform::Dialog {
 public:
  CCapsuleMachiningDlg();

  double FaceZ() const { return face_; }
  double BottomZ() const { return bottom_; }

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnOk() override;
  void OnCancel() override;

 private:
  void Commit();
  void Finish(int code);

  NumericFieldSet fields_;
  double face_ = 0.0;
  double bottom_ = 0.0;
};

}  // namespace dorn
