#pragma once
// The repeat conditions of the current step (繰り返し加工): CRepeatMachiningDlg
// (310) for the contour and character-contour dialogs with the SLOPE,
// SCALE and ZONE styles, the contour auxiliary circle, ZONE trim and
// escape-corner cutting; CRepeatRangeDlg (313) for the 2.5-axis, 3-axis and
// taper dialogs with the UX, UZ and percentage styles, the UNI figure and
// the OFFSET section switch. Both edit the step in place.
//
// End codes: 1 登 録, 2 Esc, 120 / 130 pick ZONE figure 1 / 2, 220 pick the
// UNI figure.
#include "kelto_dorn/app/color_button.h"
#include "kelto_dorn/machining/dialogs/numeric_fields.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kRepeatMachiningDialogId = 310;
inline constexpr int kRepeatRangeDialogId = 313;

namespace repeat_ctl {
inline constexpr int kTabs = 1200;
inline constexpr int kStyleGroup = 1201;
inline constexpr int kRangeGroup = 1202;  // "加工範囲", caption rewritten
inline constexpr int kFirstStyle = 1300;  // style button of code c: 1300 + c
inline constexpr int kStart = 1008;
inline constexpr int kCut = 1029;
inline constexpr int kEnd = 1030;
inline constexpr int kFeed = 1031;
inline constexpr int kAuxCircle = 1032;
inline constexpr int kZone1 = 1040;
inline constexpr int kZone1Name = 1067;
inline constexpr int kZone1Flip = 1041;
inline constexpr int kZone2 = 1042;
inline constexpr int kZone2Name = 1068;
inline constexpr int kZone2Flip = 1043;
inline constexpr int kAround = 1044;
inline constexpr int kOneWay = 1045;
inline constexpr int kToAndFro = 1046;
inline constexpr int kReverse = 1047;
inline constexpr int kRegister = 1048;
inline constexpr int kReset = 1049;
inline constexpr int kTrimOff = 1050;
inline constexpr int kTrimOn = 1051;
inline constexpr int kEscapeCorner = 1052;
inline constexpr int kUni = 1053;
inline constexpr int kUniName = 1066;
inline constexpr int kOffsetOff = 1054;
inline constexpr int kOffsetOn = 1055;
}  // namespace repeat_ctl

namespace repeat_end {
inline constexpr int kPickZone1 = 120;
inline constexpr int kPickZone2 = 130;
inline constexpr int kPickUni = 220;
}  // namespace repeat_end

// What the two dialogs share; `machining` tells 310 from 313.
class CRepeatDlgBase : public platform::Dialog {
 protected:
  CRepeatDlgBase(int templateId, bool machining, std::vector<platform::ControlSpec> extra);

  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnSelectionChanged(int id) override;
  void OnOk() override;
  void OnCancel() override;
  void OnDrawItem(int id, platform::DeviceContext& dc, const platform::OwnerDrawItem& item) override;
  platform::DialogColors Colors() override;

  void Refresh();
  void ChooseStyle(int code);
  void Close(int code);
  std::string RangeCaption() const;

  bool machining_;
  int range_ = 0;

 private:
  NumericFieldSet fields_;
  CColorButton reverseButton_;
};

class CRepeatMachiningDlg : public CRepeatDlgBase {
 public:
  CRepeatMachiningDlg();
};

class CRepeatRangeDlg : public CRepeatDlgBase {
 public:
  CRepeatRangeDlg();
};

}  // namespace dorn
