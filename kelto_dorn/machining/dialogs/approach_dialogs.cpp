#include "kelto_dorn/machining/dialogs/approach_dialogs.h"

#include "kelto_dorn/dialogs/choice_dialogs.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/document/startup.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/machining/step_operations.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;

namespace {

constexpr int kApproachColours = 3;
constexpr int kHelicalColours = 5;
constexpr int kPointModeCentre = 29205;
constexpr int kWayOff = 0, kWayNormal = 2, kWayTangent = 3, kWayArc = 4, kWayArcIp = 41, kWayCentre = 5,
              kWayVector = 6, kWayHelical = 7;
constexpr unsigned kCheckLook = platform::control_style::kCheckLook;

ControlSpec Button(int id, const char* utf8, unsigned style = kCheckLook) {
  return ControlSpec(ControlKind::PushButton, id, Sjis(utf8), 0, 0, 0, style);
}
ControlSpec Edit(int id) { return ControlSpec(ControlKind::Edit, id, "", 0, 110, 0, 0, 24); }

StepCondition& S() { return CurrentStep(); }

}  // namespace

void StampEscape(bool on) {
  const std::int32_t stamp = on ? g_curMachiningDef.number + 2 : 0;
  S().repeat[0].escapeStamp = stamp;
  S().repeat[1].escapeStamp = stamp;
}

bool AskConditionPoint(const char* xLabelUtf8, const char* yLabelUtf8, double& x, double& y, int mode,
                       const char* titleUtf8) {
  CPointInputDlg dialog;
  if (titleUtf8 != nullptr) dialog.SetTitle(Sjis(titleUtf8));
  dialog.xLabel = Sjis(xLabelUtf8);
  dialog.yLabel = Sjis(yLabelUtf8);
  dialog.xText = NumberText(x);
  dialog.yText = NumberText(y);
  (void)mode;  // 29205 keeps the dialog's extra control; the centre kind asks with it
  if (RunModalDialog(dialog) != platform::kIdOk) return false;
  x = PointInputValue.x;
  y = PointInputValue.y;
  return true;
}

// --- approach ------------------------------------------------------------------------

CApproachDlg::CApproachDlg()
    : platform::Dialog(kApproachDialogId, Sjis("  アプローチ登録"),
                       {ControlSpec(ControlKind::GroupBox, 1100, Sjis("アプローチ･タイプ")),
                        Button(approach_ctl::kOff, "[off]"), Button(approach_ctl::kArc, "円弧"),
                        Button(approach_ctl::kTangent, "接線"), Button(approach_ctl::kNormal, "法線"),
                        Button(approach_ctl::kCentre, "中心"), Button(approach_ctl::kVector, "VECT"),
                        ControlSpec(ControlKind::StaticText, -1, Sjis("オプション：：ヘリカルアプローチ")),
                        Button(approach_ctl::kHelical, "ヘリカル"),
                        ControlSpec(ControlKind::RadioButton, approach_ctl::kStandard, Sjis("標準"), 1100),
                        ControlSpec(ControlKind::RadioButton, approach_ctl::kIpPoint, Sjis("IP点"), 1100),
                        Button(approach_ctl::kAmountMark, "アプローチ量"), Edit(approach_ctl::kAmount),
                        Button(approach_ctl::kFeedMark, "F_CODE"), Edit(approach_ctl::kFeed),
                        ControlSpec(ControlKind::GroupBox, 1118, Sjis("エスケープ")),
                        Button(approach_ctl::kEscapeOn, "ＯＮ"), Button(approach_ctl::kEscapeOff, "ＯＦＦ"),
                        Button(approach_ctl::kRegister, "登録", 0), Button(approach_ctl::kCancel, "ｷｬﾝｾﾙ", 0)}) {
  fields_.Add({approach_ctl::kAmount, [](double v) { S().value264 = v; }, [] { return NumberText(S().value264); }});
  fields_.Add({approach_ctl::kFeed, [](double v) { S().feedCode = v; }, [] { return NumberText(S().feedCode); }});
}

platform::DialogColors CApproachDlg::Colors() {
  SetDialogColors(kApproachColours);
  return platform::Dialog::Colors();
}

bool CApproachDlg::OnInit() {
  fields_.Forget();
  Refresh();
  return true;
}

void CApproachDlg::OnShow() { SetTitle(Sjis("      アプローチ登録 .....  ")); }

void CApproachDlg::ApplyStandard(bool ipPoint) {
  S().approachKind = ipPoint ? kWayArcIp : kWayArc;
  SetCheck(approach_ctl::kStandard, ipPoint ? 0 : 1);
  SetCheck(approach_ctl::kIpPoint, ipPoint ? 1 : 0);
  CopyToEscape();
}

void CApproachDlg::CopyToEscape() {
  StepCondition& s = S();
  if (s.approachOn == 0 || s.approachKind == kWayHelical) return;
  s.escapeOn = 1;
  s.escapeKind = s.approachKind;
  s.secondFeedCode = s.feedCode;
  s.value304 = s.value264;
  s.value312 = s.value272;
  s.value320 = s.value280;
  StampEscape(true);
  SetCheck(approach_ctl::kEscapeOn, 1);
  SetCheck(approach_ctl::kEscapeOff, 0);
}

void CApproachDlg::Refresh() {
  StepCondition& s = S();
  for (int id : {approach_ctl::kOff, approach_ctl::kArc, approach_ctl::kTangent, approach_ctl::kNormal,
                 approach_ctl::kCentre, approach_ctl::kVector, approach_ctl::kHelical, approach_ctl::kEscapeOn,
                 approach_ctl::kEscapeOff}) {
    SetCheck(id, 0);
  }
  const bool arc = s.approachOn != 0 && (s.approachKind == kWayArc || s.approachKind == kWayArcIp);
  Show(approach_ctl::kStandard, arc);
  Enable(approach_ctl::kStandard, arc);
  Show(approach_ctl::kIpPoint, arc);
  Enable(approach_ctl::kIpPoint, false);  // disabled in the resource
  if (s.approachOn != 0) {
    switch (s.approachKind) {
      case kWayArc:
        SetCheck(approach_ctl::kArc, 1);
        ApplyStandard(false);
        break;
      case kWayArcIp:
        SetCheck(approach_ctl::kArc, 1);
        ApplyStandard(true);
        break;
      case kWayNormal:
        SetCheck(approach_ctl::kNormal, 1);
        break;
      case kWayTangent:
        SetCheck(approach_ctl::kTangent, 1);
        break;
      case kWayCentre:
        SetCheck(approach_ctl::kCentre, 1);
        break;
      case kWayVector:
        SetCheck(approach_ctl::kVector, 1);
        break;
      case kWayHelical:
        SetCheck(approach_ctl::kHelical, 1);
        break;
      default:
        break;
    }
  } else {
    SetCheck(approach_ctl::kOff, 1);
  }
  const bool centre = s.approachKind == kWayCentre;
  SetText(approach_ctl::kAmount, centre ? "" : NumberText(s.value264));
  Enable(approach_ctl::kAmount, !centre);
  SetText(approach_ctl::kFeed, NumberText(s.feedCode));
  SetCheck(s.escapeOn != 0 ? approach_ctl::kEscapeOn : approach_ctl::kEscapeOff, 1);
}

void CApproachDlg::OnClick(int id) {
  StepCondition& s = S();
  fields_.Commit(*this);
  switch (id) {
    case approach_ctl::kOff:
      s.approachOn = s.approachKind = kWayOff;
      s.escapeOn = 0;
      StampEscape(false);
      break;
    case approach_ctl::kArc:
      s.approachOn = 1, s.approachKind = kWayArc;
      break;
    case approach_ctl::kNormal:
      s.approachOn = 1, s.approachKind = kWayNormal;
      break;
    case approach_ctl::kTangent:
      s.approachOn = 1, s.approachKind = kWayTangent;
      break;
    case approach_ctl::kCentre:
    case approach_ctl::kVector: {
      const bool centre = id == approach_ctl::kCentre;
      double x = s.value272, y = s.value280;
      // A cancelled point input changes nothing.
      if (!AskConditionPoint(centre ? "アプローチ pX = " : "Z軸の傾き qA = ",
                             centre ? "アプローチ pY = " : "平面回転角度 = ", x, y, centre ? kPointModeCentre : 0)) {
        break;
      }
      s.value272 = x, s.value280 = y;
      s.approachOn = 1, s.approachKind = centre ? kWayCentre : kWayVector;
      break;
    }
    case approach_ctl::kHelical: {
      s.approachOn = 1, s.approachKind = kWayHelical;
      s.escapeOn = s.escapeKind = 0;
      CHelicalApproachDlg helical;
      RunModalDialog(helical);
      break;
    }
    case approach_ctl::kStandard:
      ApplyStandard(false);
      break;
    case approach_ctl::kIpPoint:
      ApplyStandard(true);
      break;
    case approach_ctl::kEscapeOn:
      CopyToEscape();
      break;
    case approach_ctl::kEscapeOff:
      s.escapeOn = 0;
      StampEscape(false);
      break;
    case approach_ctl::kAmountMark:
    case approach_ctl::kFeedMark:
      NextControl();
      return;
    case approach_ctl::kRegister:
      EndDialog(1);
      return;
    case approach_ctl::kCancel:
      EndDialog(2);
      return;
    default:
      return;
  }
  Refresh();
}

void CApproachDlg::OnFocusGained(int id) {
  if (id == approach_ctl::kAmount && S().approachKind == kWayCentre) {
    NextControl();
    return;
  }
  if (fields_.FocusGained(*this, id)) {
    SetCheck(id == approach_ctl::kAmount ? approach_ctl::kAmountMark : approach_ctl::kFeedMark, 1);
  }
}

void CApproachDlg::OnFocusLost(int id) {
  if (id == approach_ctl::kAmount) SetCheck(approach_ctl::kAmountMark, 0);
  if (id == approach_ctl::kFeed) SetCheck(approach_ctl::kFeedMark, 0);
}

// Enter: amount -> feed, feed -> the control before it.
void CApproachDlg::OnOk() {
  const int focused = fields_.Focused();
  if (fields_.Commit(*this)) Refresh();
  if (focused == approach_ctl::kAmount) {
    SetFocus(approach_ctl::kFeed);
  } else {
    NextControl(true);
  }
}

void CApproachDlg::OnCancel() { EndDialog(2); }

// --- escape --------------------------------------------------------------------------

CEscapeDlg::CEscapeDlg()
    : platform::Dialog(kEscapeDialogId, Sjis("  エスケープ登録"),
                       {ControlSpec(ControlKind::GroupBox, 1200, Sjis("エスケープ･タイプ")),
                        Button(escape_ctl::kNone, "無効"), Button(escape_ctl::kArc, "円弧"),
                        Button(escape_ctl::kNormal, "法線"), Button(escape_ctl::kTangent, "接線"),
                        Button(escape_ctl::kCentre, "中心"), Button(escape_ctl::kVector, "VECT"),
                        Button(escape_ctl::kAmountMark, "エスケープ量"), Edit(escape_ctl::kAmount),
                        Button(escape_ctl::kFeedMark, "F_CODE"), Edit(escape_ctl::kFeed),
                        Button(escape_ctl::kRegister, "登録", 0), Button(escape_ctl::kCancel, "ｷｬﾝｾﾙ", 0)}) {
  fields_.Add({escape_ctl::kAmount, [](double v) { S().value304 = v; }, [] { return NumberText(S().value304); }});
  fields_.Add(
      {escape_ctl::kFeed, [](double v) { S().secondFeedCode = v; }, [] { return NumberText(S().secondFeedCode); }});
}

platform::DialogColors CEscapeDlg::Colors() {
  SetDialogColors(kApproachColours);
  return platform::Dialog::Colors();
}

bool CEscapeDlg::OnInit() {
  fields_.Forget();
  Refresh();
  return true;
}

void CEscapeDlg::Refresh() {
  const StepCondition& s = S();
  for (int id : {escape_ctl::kNone, escape_ctl::kArc, escape_ctl::kNormal, escape_ctl::kTangent, escape_ctl::kCentre,
                 escape_ctl::kVector, escape_ctl::kAmountMark, escape_ctl::kFeedMark}) {
    SetCheck(id, 0);
  }
  if (s.escapeOn == 0) {
    SetCheck(escape_ctl::kNone, 1);
  } else {
    switch (s.escapeKind) {
      case kWayNormal:
        SetCheck(escape_ctl::kNormal, 1);
        break;
      case kWayTangent:
        SetCheck(escape_ctl::kTangent, 1);
        break;
      case kWayArc:
        SetCheck(escape_ctl::kArc, 1);
        break;
      case kWayCentre:
        SetCheck(escape_ctl::kCentre, 1);
        break;
      case kWayVector:
        SetCheck(escape_ctl::kVector, 1);
        break;
      default:
        break;  // 7 and 41 have no button here
    }
  }
  const bool centre = s.escapeKind == kWayCentre;
  SetText(escape_ctl::kAmount, centre ? "" : NumberText(s.value304));
  Enable(escape_ctl::kAmount, !centre);
  SetText(escape_ctl::kFeed, NumberText(s.secondFeedCode));
}

void CEscapeDlg::OnClick(int id) {
  StepCondition& s = S();
  fields_.Commit(*this);
  switch (id) {
    case escape_ctl::kNone:
      s.escapeOn = 0;
      StampEscape(false);
      break;
    case escape_ctl::kArc:
      s.escapeOn = 1, s.escapeKind = kWayArc;
      break;
    case escape_ctl::kNormal:
      s.escapeOn = 1, s.escapeKind = kWayNormal;
      break;
    case escape_ctl::kTangent:
      s.escapeOn = 1, s.escapeKind = kWayTangent;
      break;
    case escape_ctl::kCentre:
    case escape_ctl::kVector: {
      const bool centre = id == escape_ctl::kCentre;
      double x = s.value312, y = s.value320;
      if (!AskConditionPoint(centre ? "エスケープ pX = " : "Z軸の傾き qA = ",
                             centre ? "エスケープ pY = " : "平面回転角度 = ", x, y, centre ? kPointModeCentre : 0)) {
        break;
      }
      s.value312 = x, s.value320 = y;
      s.escapeOn = 1, s.escapeKind = centre ? kWayCentre : kWayVector;
      break;
    }
    case escape_ctl::kAmountMark:
    case escape_ctl::kFeedMark:
      NextControl(true);
      return;
    case escape_ctl::kRegister:
      Register();
      return;
    case escape_ctl::kCancel:
      EndDialog(2);
      return;
    default:
      return;
  }
  Refresh();
}

void CEscapeDlg::OnFocusGained(int id) {
  if (id == escape_ctl::kAmount && S().escapeKind == kWayCentre) {
    NextControl();
    return;
  }
  if (fields_.FocusGained(*this, id)) {
    SetCheck(id == escape_ctl::kAmount ? escape_ctl::kAmountMark : escape_ctl::kFeedMark, 1);
  }
}

void CEscapeDlg::OnOk() {
  if (fields_.Commit(*this)) Refresh();
  NextControl();
}

// 登録 and Esc store: the typed field first, then the stamps.
void CEscapeDlg::Register() {
  fields_.Commit(*this);
  if (S().escapeOn != 0) StampEscape(true);
  EndDialog(1);
}

void CEscapeDlg::OnCancel() { Register(); }

// --- helical approach -------------------------------------------------------------------

CHelicalApproachDlg::CHelicalApproachDlg()
    : platform::Dialog(kHelicalApproachDialogId, Sjis("  ヘリカル・アプローチ登録"),
                       {ControlSpec(ControlKind::StaticText, -1, Sjis("アプローチ中心点_Ｘ")), Edit(helical_ctl::kCentreX),
                        ControlSpec(ControlKind::StaticText, -1, Sjis("アプローチ中心点_Ｙ")), Edit(helical_ctl::kCentreY),
                        ControlSpec(ControlKind::StaticText, -1, Sjis("ヘリカル開始量")), Edit(helical_ctl::kStartAmount),
                        ControlSpec(ControlKind::StaticText, -1, Sjis("ヘリカル傾斜角")), Edit(helical_ctl::kSlopeAngle),
                        ControlSpec(ControlKind::StaticText, -1, Sjis("ヘリカルφ")), Edit(helical_ctl::kDiameter),
                        ControlSpec(ControlKind::StaticText, -1, Sjis("ヘリカル送りＦ")), Edit(helical_ctl::kFeed),
                        Button(helical_ctl::kRegister, "登録", 0)}) {
  auto field = [this](int id, double StepCondition::*member) {
    fields_.Add({id, [member](double v) { S().*member = v; }, [member] { return NumberText(S().*member); }});
  };
  field(helical_ctl::kCentreX, &StepCondition::value272);
  field(helical_ctl::kCentreY, &StepCondition::value280);
  field(helical_ctl::kStartAmount, &StepCondition::value264);
  field(helical_ctl::kSlopeAngle, &StepCondition::chamferTipDiameter);
  field(helical_ctl::kDiameter, &StepCondition::chamferSize);
  field(helical_ctl::kFeed, &StepCondition::feedCode);
}

platform::DialogColors CHelicalApproachDlg::Colors() {
  SetDialogColors(kHelicalColours);
  return platform::Dialog::Colors();
}

bool CHelicalApproachDlg::OnInit() {
  fields_.ShowAll(*this);
  return true;
}

void CHelicalApproachDlg::OnFocusGained(int id) { fields_.FocusGained(*this, id); }

void CHelicalApproachDlg::OnOk() {
  if (fields_.Commit(*this)) fields_.ShowAll(*this);
  NextControl();
}

void CHelicalApproachDlg::OnClick(int id) {
  if (id != helical_ctl::kRegister) return;
  fields_.Commit(*this);
  EndDialog(2);
}

void CHelicalApproachDlg::OnCancel() { EndDialog(2); }

}  // namespace dorn
