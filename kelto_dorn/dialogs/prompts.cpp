// The value and point prompts: see prompts.h.
#include "kelto_dorn/dialogs/prompts.h"

#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/document/system_state.h"
#include "platform/text.h"

namespace dorn {

namespace {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;

// Control ids shared by both prompts.
constexpr int kLabelX = 1009;  // the value label, or the X label
constexpr int kNumberLimit = 32;

// The value dialog.
constexpr int kValueEdit = 1008;
constexpr int kValueCountEdit = 1029;
constexpr int kPickValueButton = 1001;

// The point dialog.
constexpr int kLabelY = 1017;
constexpr int kXEdit = 1015;
constexpr int kYEdit = 1016;
constexpr int kCountGroup = 1476;  // the frame of the count field
constexpr int kPointCountEdit = 1477;
constexpr int kMouseButton = 1002;
constexpr int kIntersectionButton = 1000;
constexpr int kEndPointButton = 1003;
constexpr int kBasePointButton = 1603;
constexpr int kOkButton = 1178;

// Commands that change how the prompts behave.
constexpr int kCommandNeedsNonZero = 32915;  // a value of 0 is no answer
constexpr int kCommandNoValuePick = 33200;   // no pick of the value
constexpr int kCommandCloseButton = 32843;   // the OK button reads "閉じる"
// The moves whose base-point button takes the base point back ("取消").
bool TakesBasePointBack(int command) { return command == 32873 || command == 32878 || command == 32921; }

// Pick states and words the point prompt sets.
constexpr int kPickValueState = 3;
constexpr int kMousePointState = 4;
constexpr int kIntersectionState = 6;
constexpr int kEndPointState = 80;
constexpr int kSecondMovePointState = 616;
constexpr int kStepMouse = 0x8000;
constexpr int kStepIntersection = 0x2000;
constexpr int kStepEndPoint = 0x4000;
constexpr int kNoCurve = 0xFFFF;

std::string CountText() { return std::to_string(g_repeatCount); }

// The count field as the command asked for it: offered with the repeat count,
// or disabled. The request is used once.
void ShowCountField(platform::Dialog& dialog, int countEdit) {
  if (FocusedEditIndex == kOfferCountField) {
    dialog.SetText(countEdit, CountText());
  } else {
    dialog.Enable(countEdit, false);
  }
  FocusedEditIndex = 0;
}

// The count typed into the count field, when it holds the pending entry.
bool ApplyCount(platform::Dialog& dialog, int countEdit) {
  if (FocusedEditIndex != kCountFieldFocused) return false;
  g_repeatCount = static_cast<int>(ParseNumber(dialog.GetText(countEdit).c_str()));
  dialog.SetText(countEdit, CountText());
  FocusedEditIndex = 0;
  return true;
}

void NoteFocus(int id, int countEdit) {
  if (id == countEdit) {
    FocusedEditIndex = kCountFieldFocused;
  } else if (id == kValueEdit || id == kXEdit || id == kYEdit) {
    FocusedEditIndex = 0;
  }
}

// What every prompt does on its way out.
int FinishPrompt(int result) {
  if (g_repeatCount <= 0) g_repeatCount = 1;
  if (g_pickState != 0) {
    g_pickExcludeIndex = -1;
    g_pickTestIndex = -1;
  }
  g_promptResult = result;
  ModalDepth = 0;
  return result;
}

}  // namespace

// --- CValueInputDlg ------------------------------------------------------------

CValueInputDlg::CValueInputDlg()
    : platform::Dialog(kValueInputDialogId, g_inputTitle,
                       {ControlSpec(ControlKind::StaticText, kLabelX, g_valueLabel),
                        ControlSpec(ControlKind::Edit, kValueEdit, "", 0, 160, 0, 0, kNumberLimit),
                        ControlSpec(ControlKind::StaticText, -1, "Count"),
                        ControlSpec(ControlKind::Edit, kValueCountEdit, "", 0, 60, 0, 0, kNumberLimit),
                        ControlSpec(ControlKind::PushButton, platform::kIdOk, "O K"),
                        ControlSpec(ControlKind::PushButton, platform::kIdCancel, Sjis("ｷｬﾝｾﾙ")),
                        ControlSpec(ControlKind::PushButton, kPickValueButton, Sjis("図形参照"))}) {}

bool CValueInputDlg::OnInit() {
  FormatNumber4(ValueInputValue);
  SetText(kValueEdit, g_textBuffer);
  ShowCountField(*this, kValueCountEdit);
  return true;
}

void CValueInputDlg::OnFocusGained(int id) { NoteFocus(id, kValueCountEdit); }

bool CValueInputDlg::ApplyCountEntry() { return ApplyCount(*this, kValueCountEdit); }

void CValueInputDlg::OnOk() {
  if (ApplyCountEntry()) {
    NextControl();
    return;
  }
  const std::string text = GetText(kValueEdit);
  if (text.empty()) {
    EndDialog(prompt_end::kCancel);
    return;
  }
  const double value = ParseNumber(text.c_str());
  if (g_curCommand == kCommandNeedsNonZero && value == 0.0) return;
  ValueInputValue = value;
  EndDialog(prompt_end::kTyped);
}

void CValueInputDlg::OnClick(int id) {
  if (id != kPickValueButton) return;
  if (g_curCommand == kCommandNeedsNonZero || g_curCommand == kCommandNoValuePick) return;
  EndDialog(prompt_end::kPickValue);
}

// --- CPointPickDlg ---------------------------------------------------------------

CPointPickDlg::CPointPickDlg()
    : platform::Dialog(kPointPickDialogId, g_inputTitle,
                       {ControlSpec(ControlKind::StaticText, kLabelX, g_pointLabelX),
                        ControlSpec(ControlKind::Edit, kXEdit, "", 0, 160, 0, 0, kNumberLimit),
                        ControlSpec(ControlKind::StaticText, kLabelY, g_pointLabelY),
                        ControlSpec(ControlKind::Edit, kYEdit, "", 0, 160, 0, 0, kNumberLimit),
                        // After Y the focus goes to OK: Enter there takes the point.
                        ControlSpec(ControlKind::PushButton, kOkButton, Sjis("ＯＫ")),
                        ControlSpec(ControlKind::PushButton, kMouseButton, Sjis("マウス")),
                        ControlSpec(ControlKind::PushButton, kIntersectionButton, Sjis("交点")),
                        ControlSpec(ControlKind::PushButton, kEndPointButton, Sjis("端点")),
                        ControlSpec(ControlKind::PushButton, kBasePointButton, Sjis("基点")),
                        ControlSpec(ControlKind::GroupBox, kCountGroup, "Count"),
                        ControlSpec(ControlKind::Edit, kPointCountEdit, "", kCountGroup, 60, 0, 0, kNumberLimit)}) {}

bool CPointPickDlg::OnInit() {
  okPresses_ = 0;
  SetText(kXEdit, g_pointDefaultX);
  SetText(kYEdit, g_pointDefaultY);
  ShowCountField(*this, kPointCountEdit);
  if (g_curCommand == kCommandCloseButton) SetText(kOkButton, Sjis("閉じる"));
  SetText(kBasePointButton, TakesBasePointBack(g_curCommand) ? Sjis("取消") : Sjis("基点"));
  return true;
}

void CPointPickDlg::OnFocusGained(int id) { NoteFocus(id, kPointCountEdit); }

bool CPointPickDlg::ApplyCountEntry() { return ApplyCount(*this, kPointCountEdit); }

void CPointPickDlg::OnClick(int id) {
  switch (id) {
    case kMouseButton:
      ApplyCountEntry();
      EndDialog(prompt_end::kMouse);
      break;
    case kIntersectionButton:
      ApplyCountEntry();
      EndDialog(prompt_end::kIntersection);
      break;
    case kEndPointButton:
      ApplyCountEntry();
      EndDialog(prompt_end::kEndPoint);
      break;
    case kBasePointButton:
      if (!TakesBasePointBack(g_curCommand)) {
        OnCancel();
        break;
      }
      ApplyCountEntry();
      EndDialog(prompt_end::kBasePointCancel);
      break;
    case kOkButton:
      if (g_curCommand == kCommandCloseButton) {
        if (GetText(kXEdit).empty() || GetText(kYEdit).empty()) EndDialog(prompt_end::kClosedWithoutPoint);
        break;
      }
      okPresses_ = 2;
      OnOk();
      break;
    default:
      break;
  }
}

void CPointPickDlg::OnOk() {
  if (ApplyCountEntry()) {
    NextControl();
    return;
  }
  // The first Enter only moves from X to Y: a point is taken from the second
  // press on, once both fields hold text.
  ++okPresses_;
  const std::string x = GetText(kXEdit), y = GetText(kYEdit);
  if (okPresses_ >= 2 && !x.empty() && !y.empty()) {
    PointInputValue = {ParseNumber(x.c_str()), ParseNumber(y.c_str())};
    EndDialog(prompt_end::kTyped);
    return;
  }
  NextControl();
}

void CPointPickDlg::OnCancel() {
  ApplyCountEntry();
  PointInputValue = Vec2{};
  EndDialog(prompt_end::kCancel);
}

// --- The prompts ----------------------------------------------------------------

namespace {

// The dialog's end code, or the pick state once a pick was made: the command
// then continues without the dialog.
template <class PromptDialog>
int AnswerOrPick() {
  if (g_pickState != 0) return g_pickState;
  PromptDialog dialog;
  return RunModalDialog(dialog);
}

// What the point prompt sets up for a pick in the drawing.
struct PointPick {
  int endCode;
  int result;
  int pickState;
  int stepFlag;  // or-ed into the step word
  int pointMode;
  int returnPickState;  // 0: left as it is
};
constexpr PointPick kPointPicks[] = {
    {prompt_end::kMouse, 1, kMousePointState, kStepMouse, 1, 0},
    {prompt_end::kIntersection, 2, kIntersectionState, kStepIntersection, 2, kMousePointState},
    {prompt_end::kEndPoint, 3, kEndPointState, kStepEndPoint, 3, 0},
    // The parallel move takes its base point back and waits for the second point.
    {prompt_end::kBasePointCancel, 2, kSecondMovePointState, kStepIntersection, 2, 32873},
};

}  // namespace

int PromptValue() {
  const int code = AnswerOrPick<CValueInputDlg>();
  if (code == prompt_end::kTyped) return FinishPrompt(kPromptTyped);
  if (code == prompt_end::kCancel) return FinishPrompt(kPromptCancelled);
  if (code == prompt_end::kPickValue) {
    g_commandStep |= kStepMouse;
    g_pickState = kPickValueState;
  }
  return FinishPrompt(kPromptPickValue);
}

int PromptPoint() {
  const int code = AnswerOrPick<CPointPickDlg>();
  if (code == prompt_end::kTyped) return FinishPrompt(kPromptTyped);
  if (code == prompt_end::kCancel || code == prompt_end::kClosedWithoutPoint) {
    const bool cancelled = code == prompt_end::kCancel;
    g_curCurveIndex = kNoCurve;
    g_pointMode = 0;
    g_pickState = cancelled ? 0 : kPromptClosedWithoutPoint;
    g_commandStep = cancelled ? 0 : kPromptClosedWithoutPoint;
    return FinishPrompt(cancelled ? kPromptCancelled : kPromptClosedWithoutPoint);
  }
  for (const PointPick& pick : kPointPicks) {
    if (pick.endCode != code) continue;
    g_commandStep |= pick.stepFlag;
    g_pickState = pick.pickState;
    g_pointMode = pick.pointMode;
    if (pick.returnPickState != 0) g_returnPickState = pick.returnPickState;
    return FinishPrompt(pick.result);
  }
  return FinishPrompt(1);  // a pick state of its own: the pick goes on
}

}  // namespace dorn
