#pragma once
// The group names of the machining definitions (IDD 347,
// "  加工定義のグループ名の登録"): ten names of up to 64 bytes, kept by the
// dialog only while it is open.
#include <array>
#include <string>

#include "platform/dialog.h"

namespace dorn {

inline constexpr int kDefineGroupDialogId = 347;

namespace define_group_ctl {
inline constexpr int kNames[10] = {1008, 1029, 1030, 1031, 1065, 1066, 1067, 1068, 1069, 1086};
inline constexpr int kRegister = 1;
inline constexpr int kCancel = 2;
}  // namespace define_group_ctl

class CDefineGroupDlg : public platform::Dialog {
 public:
  CDefineGroupDlg();

  const std::string& Name(int i) const { return names_[static_cast<std::size_t>(i)]; }

 protected:
  void OnFocusGained(int id) override;
  void OnClick(int id) override;

 private:
  void Commit();
  std::array<std::string, 10> names_;
  int focused_ = -1;
};

}  // namespace dorn
