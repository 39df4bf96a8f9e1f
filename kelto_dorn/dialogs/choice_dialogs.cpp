// The small choice and input dialogs: see choice_dialogs.h.
#include "kelto_dorn/dialogs/choice_dialogs.h"

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "platform/text.h"

namespace dorn {

namespace {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;

constexpr int kNumberLimit = 32;

constexpr int kNormalWidthButton = 1554;
constexpr int kThickWidthButton = 1555;

constexpr int kFirstLineTypeButton = 1000;  // solid, dashed, one-dot, two-dot chain
constexpr int kLineTypeCount = 4;

constexpr int kFirstResolutionButton = 1000;  // "[1]" .. "[7]"
constexpr int kResolutionCount = 7;

constexpr int kXEdit = 1008;
constexpr int kYEdit = 1029;
constexpr int kRegisterButton = 1000;
constexpr int kXLabel = 1048;
constexpr int kYLabel = 1049;

constexpr int kAngleEdit = 1008;

std::vector<ControlSpec> ResolutionButtons() {
  std::vector<ControlSpec> buttons;
  for (int i = 0; i < kResolutionCount; ++i)
    buttons.emplace_back(ControlKind::PushButton, kFirstResolutionButton + i, "[" + std::to_string(i + 1) + "]");
  return buttons;
}

}  // namespace

// --- CLineWidthDlg -----------------------------------------------------------------

CLineWidthDlg::CLineWidthDlg()
    : platform::Dialog(kLineWidthDialogId, Sjis("線幅の選択"),
                       {ControlSpec(ControlKind::PushButton, kNormalWidthButton, Sjis("標　　準")),
                        ControlSpec(ControlKind::PushButton, kThickWidthButton, Sjis("太　　線"))}) {}

void CLineWidthDlg::OnClick(int id) {
  if (id == kNormalWidthButton) EndDialog(kNormal);
  if (id == kThickWidthButton) EndDialog(kThick);
}

// --- CLineTypePickDlg --------------------------------------------------------------

CLineTypePickDlg::CLineTypePickDlg()
    : platform::Dialog(kLineTypeDialogId, Sjis("線種の選択"),
                       {ControlSpec(ControlKind::PushButton, kFirstLineTypeButton, Sjis("実    線")),
                        ControlSpec(ControlKind::PushButton, kFirstLineTypeButton + 1, Sjis("破    線")),
                        ControlSpec(ControlKind::PushButton, kFirstLineTypeButton + 2, Sjis("一点鎖線")),
                        ControlSpec(ControlKind::PushButton, kFirstLineTypeButton + 3, Sjis("二点鎖線"))}) {}

void CLineTypePickDlg::OnClick(int id) {
  const int type = id - kFirstLineTypeButton;
  if (type >= 0 && type < kLineTypeCount) EndDialog(type);
}

// The cancel code 2 is also "one-dot chain": closing must not choose it.
void CLineTypePickDlg::OnCancel() { EndDialog(kClosed); }

// --- CResolutionPickDlg ------------------------------------------------------------

CResolutionPickDlg::CResolutionPickDlg()
    : platform::Dialog(kResolutionDialogId, Sjis("解像度を選択してください"), ResolutionButtons()) {}

void CResolutionPickDlg::OnClick(int id) {
  const int n = id - kFirstResolutionButton;
  if (n >= 0 && n < kResolutionCount) EndDialog(kFirst + n);
}

// --- CPointInputDlg ----------------------------------------------------------------

CPointInputDlg::CPointInputDlg()
    : platform::Dialog(kPointInputDialogId, "",
                       {ControlSpec(ControlKind::StaticText, kXLabel, "X = "),
                        ControlSpec(ControlKind::Edit, kXEdit, "", 0, 160, 0, 0, kNumberLimit),
                        ControlSpec(ControlKind::StaticText, kYLabel, "Y = "),
                        ControlSpec(ControlKind::Edit, kYEdit, "", 0, 160, 0, 0, kNumberLimit),
                        ControlSpec(ControlKind::PushButton, kRegisterButton, Sjis("登録"))}) {}

bool CPointInputDlg::OnInit() {
  if (!xLabel.empty()) SetText(kXLabel, xLabel);
  if (!yLabel.empty()) SetText(kYLabel, yLabel);
  SetText(kXEdit, xText);
  SetText(kYEdit, yText);
  return true;
}

void CPointInputDlg::OnClick(int id) {
  if (id == kRegisterButton) Register();
}

// Enter registers as the button does: ending with 1 must mean that two
// numbers were taken.
void CPointInputDlg::OnOk() { Register(); }

void CPointInputDlg::Register() {
  xText = GetText(kXEdit);
  yText = GetText(kYEdit);
  if (xText.empty() || yText.empty()) {
    NextControl();
    return;
  }
  PointInputValue = {ParseNumber(xText.c_str()), ParseNumber(yText.c_str())};
  EndDialog(platform::kIdOk);
}

// --- CSlopeAngleDlg ----------------------------------------------------------------

CSlopeAngleDlg::CSlopeAngleDlg()
    : platform::Dialog(kSlopeAngleDialogId, "",
                       {ControlSpec(ControlKind::StaticText, -1, Sjis("ＳＬＯＰＥ角度")),
                        ControlSpec(ControlKind::Edit, kAngleEdit, "", 0, 120, 0, 0, kNumberLimit),
                        ControlSpec(ControlKind::PushButton, platform::kIdOk, "OK")}) {}

bool CSlopeAngleDlg::OnInit() {
  if (angleText.empty()) {
    FormatNumber4(g_curSurface.x[0]);
    angleText = g_textBuffer;
  }
  SetText(kAngleEdit, angleText);
  return true;
}

void CSlopeAngleDlg::OnOk() {
  angleText = GetText(kAngleEdit);
  g_curSurface.x[0] = ParseNumber(angleText.c_str());
  EndDialog(platform::kIdOk);
}

}  // namespace dorn
