#include "kelto_dorn/machining/dialogs/defaults_dialog.h"

#include "kelto_dorn/machining/definition_defaults.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;
namespace c = defaults_ctl;

namespace {

using handover::MachiningDefaults;

MachiningDefaults& M() { return g_machiningDefaults; }

std::vector<ControlSpec> DefaultsControls() {
  std::vector<ControlSpec> v;
  auto group = [&v](int id, const char* caption) { v.push_back(ControlSpec(ControlKind::GroupBox, id, Sjis(caption))); };
  auto edit = [&v](int group, const char* label, int id) {
    v.push_back(ControlSpec(ControlKind::StaticText, -1, Sjis(label), group));
    v.push_back(ControlSpec(ControlKind::Edit, id, "", group, 100, 0, 0, 24));
  };
  group(2301, "工具Ｚ値");
  edit(2301, "原点[Z]", c::kOriginZ);
  edit(2301, "移動[Z]", c::kMoveZ);
  edit(2301, "穴Ｉ点", c::kHoleI);
  edit(2301, "穴Ｒ点", c::kHoleR);
  edit(2301, "穴TOP_Z値", c::kHoleTopZ);
  group(2302, "ワイヤー");
  edit(2302, "分割量", c::kWireDivision);
  edit(2302, "残し量", c::kWireStock);
  group(2303, "深穴・高速加工");
  edit(2303, "休憩値", c::kRest);
  v.push_back(ControlSpec(ControlKind::RadioButton, c::kG00Return, Sjis("G00復帰"), 2303));
  v.push_back(ControlSpec(ControlKind::RadioButton, c::kG01Return, Sjis("G01復帰"), 2303));
  group(2304, "面取り穴加工");
  edit(2304, "回転Ｓ", c::kChamferSpindle);
  edit(2304, "送りＦ", c::kChamferFeed);
  group(2305, "アプローチ");
  edit(2305, "DOWN量", c::kDown);
  edit(2305, "DOWN_送り", c::kDownFeed);
  edit(2305, "F_CODE", c::kFeedCode);
  edit(2305, "穴貫通量", c::kThrough);
  edit(2305, "円弧角度", c::kArcAngle);
  group(2306, "区域加工");
  edit(2306, "復路送り速度[%]", c::kReturnFeed);
  edit(0, "円弧送り速度[%]", c::kArcFeed);
  edit(0, "オーバーラン", c::kOverrun);
  group(2307, "工具径補正コード");
  v.push_back(ControlSpec(ControlKind::RadioButton, c::kDCode, "D_CODE", 2307));
  v.push_back(ControlSpec(ControlKind::RadioButton, c::kHCode, "H_CODE", 2307));
  v.push_back(ControlSpec(ControlKind::StaticText, -1, Sjis("---オプション---")));
  v.push_back(ControlSpec(ControlKind::CheckBox, c::kUseToolFeed, Sjis("工具Ｆ値を有効にする")));
  v.push_back(ControlSpec(ControlKind::PushButton, c::kRegister, Sjis("登 録")));
  return v;
}

}  // namespace

CDefineDefaultsDlg::CDefineDefaultsDlg()
    : platform::Dialog(kDefineDefaultsDialogId, Sjis("  加工定義の初期設定"), DefaultsControls()) {
  auto number = [this](int id, double MachiningDefaults::*m) {
    fields_.Add({id, [m](double v) { M().*m = v; }, [m] { return NumberText(M().*m); }});
  };
  auto narrow = [this](int id, float MachiningDefaults::*m) {
    fields_.Add({id, [m](double v) { M().*m = static_cast<float>(v); }, [m] { return NumberText(M().*m); }});
  };
  auto integer = [this](int id, std::int32_t MachiningDefaults::*m) {
    fields_.Add({id, [m](double v) { M().*m = static_cast<std::int32_t>(v); }, [m] { return IntText(M().*m); }});
  };
  number(c::kOriginZ, &MachiningDefaults::originZ);
  number(c::kMoveZ, &MachiningDefaults::moveZ);
  number(c::kHoleI, &MachiningDefaults::holeIPoint);
  number(c::kHoleR, &MachiningDefaults::holeRPoint);
  narrow(c::kHoleTopZ, &MachiningDefaults::holeTopZ);
  number(c::kWireDivision, &MachiningDefaults::wireDivision);
  number(c::kWireStock, &MachiningDefaults::wireStock);
  number(c::kRest, &MachiningDefaults::deepHoleRest);
  integer(c::kChamferSpindle, &MachiningDefaults::chamferSpindleSpeed);
  number(c::kChamferFeed, &MachiningDefaults::chamferFeed);
  number(c::kDown, &MachiningDefaults::toolDownAmount);
  number(c::kDownFeed, &MachiningDefaults::downFeed);
  number(c::kFeedCode, &MachiningDefaults::feedCode);
  number(c::kThrough, &MachiningDefaults::holeThroughAmount);
  number(c::kArcAngle, &MachiningDefaults::arcAngle);
  integer(c::kReturnFeed, &MachiningDefaults::returnFeedPercent);
  integer(c::kArcFeed, &MachiningDefaults::arcFeedPercent);
  narrow(c::kOverrun, &MachiningDefaults::overrun);
}

bool CDefineDefaultsDlg::OnInit() {
  fields_.Forget();
  ShowAll();
  return true;
}

void CDefineDefaultsDlg::ShowAll() {
  MachiningDefaults& m = M();
  if (m.arcFeedPercent <= 0) m.arcFeedPercent = 100;
  if (m.returnFeedPercent <= 0) m.returnFeedPercent = 100;
  if (m.deepHoleRest == 0.0) m.deepHoleRest = 1.0;
  fields_.ShowAll(*this);
  SetCheck(c::kUseToolFeed, m.useToolFeed != 0);
  SetCheck(m.deepHoleReturn == 0 ? c::kG00Return : c::kG01Return, 1);
  SetCheck(m.compensationCode == 0 ? c::kDCode : c::kHCode, 1);
}

void CDefineDefaultsDlg::OnFocusGained(int id) {
  if (fields_.Focused() != 0 && fields_.Focused() != id && fields_.Commit(*this)) ShowAll();
  fields_.FocusGained(*this, id);
}

void CDefineDefaultsDlg::OnClick(int id) {
  if (fields_.Commit(*this)) ShowAll();
  MachiningDefaults& m = M();
  switch (id) {
    case c::kG00Return:
    case c::kG01Return:
      m.deepHoleReturn = id == c::kG01Return ? 1 : 0;
      break;
    case c::kDCode:
    case c::kHCode:
      m.compensationCode = id == c::kHCode ? 1 : 0;
      break;
    case c::kUseToolFeed:
      m.useToolFeed = m.useToolFeed != 0 ? 0 : 1;
      break;
    case c::kRegister:
      return Register();
    default:
      return;
  }
  ShowAll();
}

// Enter commits and moves on; it does not close the dialog.
void CDefineDefaultsDlg::OnOk() {
  if (fields_.Commit(*this)) ShowAll();
  NextControl();
}

void CDefineDefaultsDlg::OnCancel() { Register(); }

void CDefineDefaultsDlg::Register() {
  if (fields_.Commit(*this)) ShowAll();
  WriteMachiningDefaults();
  EndDialog(1);
}

}  // namespace dorn
