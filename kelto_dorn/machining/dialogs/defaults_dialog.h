#pragma once
// The defaults every new definition starts from (template 287, "  加工定義の
// 初期設定"): edited in place in g_machiningDefaults; 登 録 and closing both
// write "$DEF_KAKO2.@@@" and end with 1. The field in hand is committed
// first, so a value typed last is not lost.
#include "kelto_dorn/machining/dialogs/numeric_fields.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kDefineDefaultsDialogId = 287;

namespace defaults_ctl {
inline constexpr int kOriginZ = 1029;
inline constexpr int kMoveZ = 1030;
inline constexpr int kHoleI = 1066;
inline constexpr int kHoleR = 1067;
inline constexpr int kHoleTopZ = 1070;
inline constexpr int kWireDivision = 1086;
inline constexpr int kWireStock = 1087;
inline constexpr int kRest = 1088;
inline constexpr int kChamferSpindle = 1089;
inline constexpr int kChamferFeed = 1090;
inline constexpr int kDown = 1068;
inline constexpr int kDownFeed = 1069;
inline constexpr int kFeedCode = 1008;
inline constexpr int kThrough = 1031;
inline constexpr int kArcAngle = 1065;
inline constexpr int kReturnFeed = 1093;
inline constexpr int kArcFeed = 1092;
inline constexpr int kOverrun = 1094;
inline constexpr int kG00Return = 1497;
inline constexpr int kG01Return = 1178;
inline constexpr int kDCode = 1485;
inline constexpr int kHCode = 1157;
inline constexpr int kUseToolFeed = 1535;
inline constexpr int kRegister = 1001;
}  // namespace defaults_ctl

class CDefineDefaultsDlg : public platform::Dialog {
 public:
  CDefineDefaultsDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnOk() override;
  void OnCancel() override;

 private:
  void ShowAll();
  void Register();
  NumericFieldSet fields_;
};

}  // namespace dorn
