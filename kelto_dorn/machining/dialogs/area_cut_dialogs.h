#pragma once
// Three small sub-dialogs of the definition dialogs: area cutting of the
// current step (201), the figure resolution STEP/ALLOW of the definition
// (207) and the X-axis development curve (213). Each edits the working
// definition in place and puts back what it saved when cancelled.
//
// End codes: 1 登録, 2 ｷｬﾝｾﾙ; the X-axis development also 600 to pick the
// curve.
#include <cstdint>

#include "kelto_dorn/machining/dialogs/numeric_fields.h"
#include "kelto_dorn/machining/step_condition.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kAreaCutDialogId = 201;
inline constexpr int kFigureResolutionDialogId = 207;
inline constexpr int kXAxisDevelopDialogId = 213;
inline constexpr int kPickDevelopCurve = 600;

namespace area_cut_ctl {
inline constexpr int kPick = 1008;
inline constexpr int kPickMark = 1185;
inline constexpr int kOffset = 1029;
inline constexpr int kOffsetMark = 1096;
inline constexpr int kFeed = 1122;
inline constexpr int kFeedMark = 1053;
inline constexpr int kStart = 1031;
inline constexpr int kStartMark = 1050;
inline constexpr int kCut = 1065;
inline constexpr int kCutMark = 1186;
inline constexpr int kEnd = 1066;
inline constexpr int kEndMark = 1047;
inline constexpr int kContourCheck = 1497;
inline constexpr int kRegister = 1001;
inline constexpr int kCancel = 2;
}  // namespace area_cut_ctl

namespace resolution_ctl {
inline constexpr int kStep = 1008;
inline constexpr int kStepMark = 1151;
inline constexpr int kAllow = 1029;
inline constexpr int kAllowMark = 1152;
inline constexpr int kAllowR = 1030;
inline constexpr int kAllowRMark = 1153;
inline constexpr int kOff = 1040;
inline constexpr int kOn = 1103;
inline constexpr int kRegister = 1001;
inline constexpr int kCancel = 2;
}  // namespace resolution_ctl

namespace develop_ctl {
inline constexpr int kCurve = 1220;
inline constexpr int kName = 1008;
inline constexpr int kRegister = 1000;
inline constexpr int kReset = 1131;
inline constexpr int kCancel = 2;
}  // namespace develop_ctl

// Area cutting sets the step mode 1 while its pick amount is non-zero.
class CAreaCutDlg : public platform::Dialog {
 public:
  CAreaCutDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnFocusLost(int id) override;
  void OnOk() override;
  void OnCancel() override;
  platform::DialogColors Colors() override;

 private:
  void Refresh();
  NumericFieldSet fields_;
  // The whole step as it was at opening: cancel gives it back unchanged,
  // the blocks an opening on a plain pass clears included.
  StepCondition saved_{};
};

class CFigureResolutionDlg : public platform::Dialog {
 public:
  CFigureResolutionDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnFocusLost(int id) override;
  void OnOk() override;
  void OnCancel() override;
  platform::DialogColors Colors() override;

 private:
  void Refresh();
  NumericFieldSet fields_;
  std::int32_t savedSplit_ = 0;
  double saved_[3] = {};
};

class CXAxisDevelopDlg : public platform::Dialog {
 public:
  CXAxisDevelopDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnOk() override;
  void OnCancel() override;
  platform::DialogColors Colors() override;

 private:
  void Refresh();
  std::int32_t saved_ = 0;
};

// STEP at least 0.001 (a value that is not a number too), ALLOW at least
// 0.0001.
double LimitedStep(double step);
double LimitedAllow(double allow);

}  // namespace dorn
