#include "kelto_dorn/machining/dialogs/condition_dialogs.h"

#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/document/startup.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/machining/step_operations.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;

namespace {

constexpr int kCompensationColours = 1;
constexpr int kCornerAndChamferColours = 2;
constexpr int kAreaCutMode = 1;
constexpr unsigned kCheckLook = platform::control_style::kCheckLook;

ControlSpec Button(int id, const char* utf8, unsigned style = 0) {
  return ControlSpec(ControlKind::PushButton, id, Sjis(utf8), 0, 0, 0, style);
}
ControlSpec Edit(int id, unsigned style = 0) { return ControlSpec(ControlKind::Edit, id, "", 0, 110, 0, style, 24); }
ControlSpec Label(const char* utf8) { return ControlSpec(ControlKind::StaticText, -1, Sjis(utf8)); }

StepCondition& S() { return CurrentStep(); }
AtcRecord& T() { return CurrentStepTool(); }

}  // namespace

// --- tool compensation ---------------------------------------------------------------------

CToolCompensationDlg::CToolCompensationDlg()
    : platform::Dialog(kToolCompensationDialogId, Sjis("  工具補正登録"),
                       {ControlSpec(ControlKind::GroupBox, 1400, Sjis("工具径補正")),
                        Button(compensation_ctl::kOff, "[ off ]", kCheckLook),
                        Button(compensation_ctl::kG41, "G41", kCheckLook),
                        Button(compensation_ctl::kG42, "G42", kCheckLook),
                        Button(compensation_ctl::kDMark, "D_CODE", kCheckLook), Edit(compensation_ctl::kD),
                        ControlSpec(ControlKind::GroupBox, 1410, Sjis("工具長補正[G43]")),
                        Button(compensation_ctl::kHMark, "H_CODE", kCheckLook), Edit(compensation_ctl::kH),
                        Button(compensation_ctl::kRegister, "登録"), Button(compensation_ctl::kCancel, "ｷｬﾝｾﾙ")}) {
  fields_.Add({compensation_ctl::kD,
               [](double v) {
                 S().compensationD = static_cast<std::int32_t>(v);
                 T().dCode = static_cast<std::int16_t>(static_cast<std::int32_t>(v));
               },
               [] { return IntText(S().compensationD); }});
  fields_.Add({compensation_ctl::kH, [](double v) { T().hCode = static_cast<std::int16_t>(static_cast<std::int32_t>(v)); },
               [] { return IntText(T().hCode); }});
}

platform::DialogColors CToolCompensationDlg::Colors() {
  SetDialogColors(kCompensationColours);
  return platform::Dialog::Colors();
}

bool CToolCompensationDlg::OnInit() {
  sideOnEntry_ = S().compensationOn;
  if (g_machiningDefaults.compensationCode != 0) SetText(compensation_ctl::kDMark, "H_CODE");
  // The step's D number wins; a step without one takes the tool's.
  if (S().compensationD != 0) {
    T().dCode = static_cast<std::int16_t>(S().compensationD);
  } else {
    S().compensationD = T().dCode;
  }
  Refresh();
  return true;
}

void CToolCompensationDlg::Refresh() {
  const int side = S().compensationOn;
  SetCheck(compensation_ctl::kOff, side == 0);
  SetCheck(compensation_ctl::kG41, side == 1);
  SetCheck(compensation_ctl::kG42, side == 2);
  fields_.ShowAll(*this);
}

void CToolCompensationDlg::OnClick(int id) {
  fields_.Commit(*this);
  switch (id) {
    case compensation_ctl::kOff:
      S().compensationOn = 0;
      break;
    case compensation_ctl::kG41:
    case compensation_ctl::kG42:
      // An area cut runs without compensation.
      if (S().stepMode != kAreaCutMode) S().compensationOn = id == compensation_ctl::kG41 ? 1 : 2;
      break;
    case compensation_ctl::kDMark:
    case compensation_ctl::kHMark:
      NextControl();
      return;
    case compensation_ctl::kRegister:
      EndDialog(1);
      return;
    case compensation_ctl::kCancel:
      OnCancel();
      return;
    default:
      return;
  }
  Refresh();
}

void CToolCompensationDlg::OnFocusGained(int id) {
  if (fields_.FocusGained(*this, id)) {
    SetCheck(id == compensation_ctl::kD ? compensation_ctl::kDMark : compensation_ctl::kHMark, 1);
  }
}

void CToolCompensationDlg::OnFocusLost(int id) {
  if (id == compensation_ctl::kD) SetCheck(compensation_ctl::kDMark, 0);
  if (id == compensation_ctl::kH) SetCheck(compensation_ctl::kHMark, 0);
}

void CToolCompensationDlg::OnOk() {
  if (fields_.Commit(*this)) Refresh();
  NextControl(true);
}

// Cancel puts the side back; D and H numbers typed meanwhile stay.
void CToolCompensationDlg::OnCancel() {
  S().compensationOn = sideOnEntry_;
  EndDialog(2);
}

// --- corner feed ---------------------------------------------------------------------------

CCornerFeedDlg::CCornerFeedDlg()
    : platform::Dialog(kCornerFeedDialogId, Sjis("　Ｇ０１コーナー部送りＦ減速指定"),
                       {ControlSpec(ControlKind::CheckBox, corner_ctl::kOn, Sjis("Ｇ０１コーナー部減速機能")),
                        Label("減速する距離(mm)"), Edit(corner_ctl::kDistance), Label("減速率Ｆ(％)"),
                        Edit(corner_ctl::kRate), Button(corner_ctl::kRegister, "登 録")}) {}

platform::DialogColors CCornerFeedDlg::Colors() {
  SetDialogColors(kCornerAndChamferColours);
  return platform::Dialog::Colors();
}

bool CCornerFeedDlg::OnInit() {
  MachiningDefinition& d = g_curMachiningDef;
  if (d.cornerDistance == 0.0 || d.cornerDistance == 100.0) d.cornerDistance = g_lastCornerDistance = 10.0;
  if (d.cornerRate == 0.0 || d.cornerRate == 100.0) d.cornerRate = g_lastCornerRate = 50.0;
  SetCheck(corner_ctl::kOn, (d.cornerSwitch & kCornerDeceleration) != 0 ? 1 : 0);
  FormatNumber4(d.cornerDistance);
  SetText(corner_ctl::kDistance, g_textBuffer);
  FormatNumber4(d.cornerRate);
  SetText(corner_ctl::kRate, g_textBuffer);
  return true;
}

void CCornerFeedDlg::OnClick(int id) {
  if (id == corner_ctl::kRegister) Close();
}

void CCornerFeedDlg::OnOk() { NextControl(); }
void CCornerFeedDlg::OnCancel() { Close(); }

// 登 録 and Esc both store what the fields hold.
void CCornerFeedDlg::Close() {
  MachiningDefinition& d = g_curMachiningDef;
  d.cornerDistance = g_lastCornerDistance = ParseNumber(GetText(corner_ctl::kDistance).c_str());
  d.cornerRate = g_lastCornerRate = ParseNumber(GetText(corner_ctl::kRate).c_str());
  d.cornerSwitch = GetCheck(corner_ctl::kOn) != 0 ? kCornerDeceleration : 0;
  EndDialog(2);
}

// --- chamfer -------------------------------------------------------------------------------

ChamferStocks ComputeChamferStocks(double position, double size, double tipDiameter, int ballTip) {
  ChamferStocks r{};
  r.contourStock = position * std::cos(M_PI / 4.0);
  r.bottomZStock = -(r.contourStock + size);
  if (ballTip != 0) {
    r.bottomZStock += std::sqrt(2.0) * tipDiameter / 2.0 - tipDiameter / 2.0;
  } else {
    r.bottomZStock += tipDiameter / 2.0;
  }
  return r;
}

CChamferDlg::CChamferDlg()
    : platform::Dialog(kChamferDialogId, Sjis("  面取り加工"),
                       {Label("面取りＣ="), Edit(chamfer_ctl::kSize), Label("工具位置"), Edit(chamfer_ctl::kPosition),
                        Label("工具先端径φ"), Edit(chamfer_ctl::kTipDiameter), Label("工具先端Ｚ値"),
                        Edit(chamfer_ctl::kTipZ, platform::control_style::kReadOnly), Label("輪郭OFFSET量"),
                        Edit(chamfer_ctl::kOffset, platform::control_style::kReadOnly),
                        ControlSpec(ControlKind::RadioButton, chamfer_ctl::kFlat, Sjis("フラット")),
                        ControlSpec(ControlKind::RadioButton, chamfer_ctl::kBall, Sjis("ボール")),
                        ControlSpec(ControlKind::OwnerDrawButton, chamfer_ctl::kPicture, "", 0, 210, 166)}) {
  fields_.Add({chamfer_ctl::kSize, [](double v) { S().chamferSize = v; }, [] { return NumberText(S().chamferSize); }});
  fields_.Add({chamfer_ctl::kPosition, [](double v) { S().chamferToolPosition = v; },
               [] { return NumberText(S().chamferToolPosition); }});
  fields_.Add({chamfer_ctl::kTipDiameter, [](double v) { S().chamferTipDiameter = v; },
               [] { return NumberText(S().chamferTipDiameter); }});
}

platform::DialogColors CChamferDlg::Colors() {
  SetDialogColors(kCornerAndChamferColours);
  return platform::Dialog::Colors();
}

bool CChamferDlg::OnInit() {
  Refresh();
  return true;
}

void CChamferDlg::Refresh() {
  StepCondition& s = S();
  const ChamferStocks st =
      ComputeChamferStocks(s.chamferToolPosition, s.chamferSize, s.chamferTipDiameter, s.chamferTipShape);
  s.contourStock = st.contourStock;
  s.bottomZStock = st.bottomZStock;
  fields_.ShowAll(*this);
  SetText(chamfer_ctl::kTipZ, NumberText(s.endDepth + s.bottomZStock));
  SetText(chamfer_ctl::kOffset, NumberText(s.contourStock));
  SetCheck(chamfer_ctl::kFlat, s.chamferTipShape == 0);
  SetCheck(chamfer_ctl::kBall, s.chamferTipShape != 0);
  RedrawItem(chamfer_ctl::kPicture);
}

void CChamferDlg::OnClick(int id) {
  if (id != chamfer_ctl::kFlat && id != chamfer_ctl::kBall) return;
  fields_.Commit(*this);
  S().chamferTipShape = id == chamfer_ctl::kBall ? 1 : 0;
  Refresh();
}

void CChamferDlg::OnFocusGained(int id) {
  if (fields_.FocusGained(*this, id)) Refresh();
}

void CChamferDlg::OnOk() {
  if (fields_.Commit(*this)) Refresh();
  NextControl();
}

// Esc keeps what was typed: the field in hand is committed first.
void CChamferDlg::OnCancel() {
  fields_.Commit(*this);
  Refresh();
  EndDialog(2);
}

// The schematic at 3 pixels per millimetre: the stock, the part's corner and
// the tool placed by the derived stocks.
void CChamferDlg::OnDrawItem(int id, platform::DeviceContext& dc, const platform::OwnerDrawItem&) {
  if (id != chamfer_ctl::kPicture) return;
  const StepCondition& s = S();
  const AtcRecord& tool = T();
  constexpr double kScale = 3.0;
  dc.FillRect({18, 18, 192, 148}, platform::Brush{0x202020});
  dc.FillRect({18, 84, 100, 148}, platform::Brush{0x809875});
  const int tx = static_cast<int>(100 + kScale * s.contourStock);
  const int ty = static_cast<int>(84 - kScale * s.bottomZStock);
  const int half = static_cast<int>(1.5 * tool.diameter * kScale / 2.0);
  dc.SelectPen(platform::Pen{platform::Rgb(255, 255, 0), 1});
  dc.SelectBrush(platform::Brush{0, platform::BrushStyle::Null});
  const int tip = static_cast<int>(s.chamferTipDiameter * kScale / 2.0);
  if (s.chamferTipShape != 0 && s.chamferTipDiameter >= 0.001) {
    // A ball tip: the lower half circle of the tip diameter, from unit vectors.
    std::vector<platform::Point> arc;
    for (int a = 180; a <= 360; a += 10) {
      const Vec2 u = UnitVectorFromAngle(a);
      arc.push_back({tx + static_cast<int>(u.x * tip), ty - tip - static_cast<int>(u.y * tip)});
    }
    dc.Polyline(arc);
  } else {
    dc.MoveTo({tx - tip, ty});
    dc.LineTo({tx + tip, ty});
  }
  // The 45-degree flanks up to the shank.
  dc.MoveTo({tx - tip, ty});
  dc.LineTo({tx - half, ty - (half - tip)});
  dc.LineTo({tx - half, 18});
  dc.MoveTo({tx + tip, ty});
  dc.LineTo({tx + half, ty - (half - tip)});
  dc.LineTo({tx + half, 18});
}

}  // namespace dorn
