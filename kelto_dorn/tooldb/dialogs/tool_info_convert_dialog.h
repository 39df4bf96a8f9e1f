#pragma once
// The tool information conversion dialog (IDD 152, "  工具情報の変換"): the two
// factors with which the tool database editor rescales the feeds and spindle
// speeds of the open tool folder. It edits copies of the factors and hands
// them back only when it ends with IDOK.
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kToolInfoConvertDialogId = 152;

namespace tool_convert {
inline constexpr int kFeed = 1521, kSpindle = 1522, kRun = 1523;
}

class CToolInfoConvertDlg : public platform::Dialog {
 public:
  CToolInfoConvertDlg(double& feedFactor, double& spindleFactor);

 protected:
  bool OnInit() override;
  void OnFocusGained(int id) override;
  void OnClick(int id) override;
  // Enter commits the field being typed in before it applies the factors.
  void OnOk() override;

 private:
  void Commit(bool moveOn);
  void ShowFactor(int id);
  double& FactorOf(int id) { return id == tool_convert::kFeed ? feed_ : spindle_; }

  double& feedOut_;
  double& spindleOut_;
  double feed_;
  double spindle_;
  int focused_ = 0;  // the field holding uncommitted text, 0 none
};

}  // namespace dorn
