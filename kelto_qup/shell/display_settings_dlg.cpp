#include "kelto_qup/shell/display_settings_dlg.h"

#include <algorithm>
#include <cmath>

#include "kelto_qup/shell/number_text.h"
#include "platform/application.h"
#include "platform/text.h"

namespace qup::shell {

namespace {

using platform::ControlKind;
using platform::ControlSpec;
namespace style = platform::control_style;

constexpr int kFieldBytes = 16;
constexpr int kMaxColorOffset = 31;
constexpr int kBoxGroup = 1100;

// Built-in values of "標準設定".
constexpr double kDefaultPanStep = 25.0, kDefaultRotationStep = 10.0, kDefaultZoomStep = 20.0;
constexpr double kDefaultInterval = 50.0, kDefaultPlane = 0.0;

struct Field {
  int edit;
  int label;
};
constexpr Field kFields[] = {
    {CDisplaySettingsDlg::kPanStepEdit, CDisplaySettingsDlg::kPanStepLabel},
    {CDisplaySettingsDlg::kRotationStepEdit, CDisplaySettingsDlg::kRotationStepLabel},
    {CDisplaySettingsDlg::kZoomStepEdit, CDisplaySettingsDlg::kZoomStepLabel},
    {CDisplaySettingsDlg::kIntervalEdit, CDisplaySettingsDlg::kIntervalLabel},
    {CDisplaySettingsDlg::kPlaneEdit, CDisplaySettingsDlg::kPlaneLabel},
};

// The field number (1 to 5) of an edit or a label, 0 for other controls.
int FieldOf(int id, bool label) {
  for (int i = 0; i < 5; ++i) {
    if ((label ? kFields[i].label : kFields[i].edit) == id) return i + 1;
  }
  return 0;
}

std::vector<ControlSpec> DisplayControls() {
  const auto J = [](const char* text) { return platform::Sjis(text); };
  const auto row = [&](std::vector<ControlSpec>& c, int label, int edit, const char* caption, int group = 0) {
    c.push_back({ControlKind::PushButton, label, J(caption), group, 0, 0, style::kCheckLook});
    c.push_back({ControlKind::Edit, edit, {}, group, 0, 0, 0, kFieldBytes});
  };
  std::vector<ControlSpec> c;
  row(c, CDisplaySettingsDlg::kPanStepLabel, CDisplaySettingsDlg::kPanStepEdit, "移動量");
  row(c, CDisplaySettingsDlg::kRotationStepLabel, CDisplaySettingsDlg::kRotationStepEdit, "回転量");
  row(c, CDisplaySettingsDlg::kZoomStepLabel, CDisplaySettingsDlg::kZoomStepEdit, "収縮率");
  c.push_back({ControlKind::GroupBox, kBoxGroup, J("座標軸")});
  c.push_back({ControlKind::RadioButton, CDisplaySettingsDlg::kAxisOff, "[OFF]", kBoxGroup});
  c.push_back({ControlKind::RadioButton, CDisplaySettingsDlg::kAxisXyz, J("軸[XYZ]"), kBoxGroup});
  c.push_back({ControlKind::RadioButton, CDisplaySettingsDlg::kAxisBox, J("軸[BOX]"), kBoxGroup});
  row(c, CDisplaySettingsDlg::kIntervalLabel, CDisplaySettingsDlg::kIntervalEdit, "座標軸間隔", kBoxGroup);
  row(c, CDisplaySettingsDlg::kPlaneLabel, CDisplaySettingsDlg::kPlaneEdit, "平面[Z]", kBoxGroup);
  c.push_back({ControlKind::StaticText, -1, "COLOR"});
  c.push_back({ControlKind::Slider, CDisplaySettingsDlg::kColourSlider, {}, 0, 0, 0, style::kTicks});
  c.push_back({ControlKind::PushButton, CDisplaySettingsDlg::kDefaults, J("標準設定")});
  c.push_back({ControlKind::PushButton, CDisplaySettingsDlg::kRegister, J("登  録")});
  return c;
}

}  // namespace

CDisplaySettingsDlg::CDisplaySettingsDlg(PathPanes& panes)
    : platform::Dialog(kTemplateId, platform::Sjis("各種設定"), DisplayControls()), panes_(panes) {}

double* CDisplaySettingsDlg::ValueOf(int field) {
  switch (field) {
    case 1:
      return &panes_.cgm.panStep;
    case 2:
      return &panes_.cgm.rotationStep;
    case 3:
      return &panes_.cgm.zoomStep;
    case 4:
      return &panes_.Graphic().axisInterval;
    case 5:
      return &panes_.Graphic().planeHeight;
    default:
      return nullptr;
  }
}

bool CDisplaySettingsDlg::OnInit() {
  SetRange(kColourSlider, 0, kMaxColorOffset);
  SetPos(kColourSlider, panes_.colorOffset);
  fieldInFocus_ = 0;
  Refresh();
  return false;  // no field in focus
}

void CDisplaySettingsDlg::Refresh() {
  for (int f = 1; f <= 5; ++f) SetText(kFields[f - 1].edit, FormatFixed3(*ValueOf(f)));
  const int mode = panes_.AxisMode();
  SetCheck(kAxisOff, mode == 0);
  SetCheck(kAxisXyz, mode == 1);
  SetCheck(kAxisBox, mode == 2);
  for (int id : {kIntervalEdit, kIntervalLabel, kPlaneEdit, kPlaneLabel}) {
    Enable(id, mode == 2);
    Show(id, true);
  }
  panes_.colorOffset = GetPos(kColourSlider);
}

void CDisplaySettingsDlg::OnFocusGained(int id) {
  if (const int field = FieldOf(id, false); field != 0) {
    fieldInFocus_ = field;
    SetCheck(kFields[field - 1].label, 1);
  }
}

void CDisplaySettingsDlg::OnFocusLost(int id) {
  // A field is committed when it loses the focus, as on Enter.
  if (const int field = FieldOf(id, false); field != 0) {
    StoreField(field);
    SetCheck(kFields[field - 1].label, 0);
    SetText(id, FormatFixed3(*ValueOf(field)));
  }
}

void CDisplaySettingsDlg::StoreField(int field) {
  const std::string text = GetText(kFields[field - 1].edit);
  if (text.empty()) return;
  // A text without a finite result keeps the value it would replace.
  if (const auto value = EvaluateExpression(text)) {
    *ValueOf(field) = *value;
  } else {
    platform::Beep();
  }
}

void CDisplaySettingsDlg::CommitField() {
  if (fieldInFocus_ != 0) StoreField(fieldInFocus_);
  Refresh();
  NextControl();
  panes_.colorOffset = GetPos(kColourSlider);
}

void CDisplaySettingsDlg::OnOk() { CommitField(); }

void CDisplaySettingsDlg::OnScroll(int id) {
  if (id == kColourSlider) panes_.colorOffset = GetPos(kColourSlider);
}

void CDisplaySettingsDlg::OnClick(int id) {
  if (FieldOf(id, true) != 0) {
    NextControl();
    return;
  }
  switch (id) {
    case kAxisOff:
    case kAxisXyz:
    case kAxisBox:
      panes_.Graphic().axes = id - kAxisOff;
      Refresh();
      return;
    case kDefaults:
      panes_.cgm.panStep = kDefaultPanStep;
      panes_.cgm.rotationStep = kDefaultRotationStep;
      panes_.cgm.zoomStep = kDefaultZoomStep;
      panes_.Graphic().axes = 0;
      panes_.Graphic().axisInterval = kDefaultInterval;
      panes_.Graphic().planeHeight = kDefaultPlane;
      SetPos(kColourSlider, 0);
      Refresh();
      return;
    case kRegister:
      panes_.colorOffset = GetPos(kColourSlider);
      EndDialog(platform::kIdOk);
      return;
    default:
      return;
  }
}

// ---- the 3-D settings

namespace {

std::vector<ControlSpec> View3DControls() {
  const auto J = [](const char* text) { return platform::Sjis(text); };
  return {
      {ControlKind::StaticText, -1, J("３Ｄ_視界角度")},
      {ControlKind::Slider, CView3DSettingsDlg::kAngleSlider},
      {ControlKind::StaticText, -1, J("色の明るさ")},
      {ControlKind::Slider, CView3DSettingsDlg::kBrightnessSlider},
      {ControlKind::StaticText, -1, J("照明の明るさ")},
      {ControlKind::Slider, CView3DSettingsDlg::kLightSlider},
      {ControlKind::PushButton, CView3DSettingsDlg::kDefaults, "Defalut"},
      {ControlKind::PushButton, platform::kIdOk, "OK", 0, 0, 0, style::kDefaultButton},
      {ControlKind::PushButton, platform::kIdCancel, J("ｷｬﾝｾﾙ")},
  };
}

}  // namespace

CView3DSettingsDlg::CView3DSettingsDlg(View3DSettings& settings)
    : platform::Dialog(kTemplateId, platform::Sjis("設定"), View3DControls()), settings_(settings) {}

int CView3DSettingsDlg::DivisorOfPosition(int position) {
  return std::max(1, static_cast<int>(510.0 - 25.5 * position));
}

int CView3DSettingsDlg::PositionOfDivisor(int divisor) {
  return static_cast<int>(std::lround((510.0 - divisor) / 25.5));
}

bool CView3DSettingsDlg::OnInit() {
  SetRange(kAngleSlider, 5, 50);
  SetRange(kBrightnessSlider, 1, 20);
  SetRange(kLightSlider, 10, 100);
  Refresh();
  return true;
}

void CView3DSettingsDlg::Refresh() {
  SetPos(kAngleSlider, static_cast<int>(std::lround(settings_.viewAngle)));
  SetPos(kBrightnessSlider, PositionOfDivisor(settings_.brightnessDivisor));
  SetPos(kLightSlider, static_cast<int>(std::lround(settings_.lightIntensity * 100.0)));
}

void CView3DSettingsDlg::OnClick(int id) {
  if (id != kDefaults) return;
  settings_ = View3DSettings{};
  Refresh();
}

void CView3DSettingsDlg::OnOk() {
  settings_.viewAngle = GetPos(kAngleSlider);
  settings_.brightnessDivisor = DivisorOfPosition(GetPos(kBrightnessSlider));
  settings_.lightIntensity = GetPos(kLightSlider) * 0.01;
  EndDialog(platform::kIdOk);
}

}  // namespace qup::shell
