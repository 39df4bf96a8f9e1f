// The spiral conversion dialog: see spiral_curve_dialog.h.
#include "kelto_dorn/drawing/spiral_curve_dialog.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/number_text.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {
namespace {

using platform::ControlKind;
using platform::ControlSpec;

// A field is read back with at most this many characters.
constexpr std::size_t kFieldChars = 16;

std::vector<ControlSpec> SpiralControls() {
  using platform::Sjis;
  return {
      ControlSpec(ControlKind::StaticText, -1, Sjis("オフセット幅")),
      ControlSpec(ControlKind::Edit, kSpiralWidthEdit, ""),
      ControlSpec(ControlKind::StaticText, -1, Sjis("渦巻き回数")),
      ControlSpec(ControlKind::Edit, kSpiralTurnsEdit, ""),
      ControlSpec(ControlKind::PushButton, kSpiralRegisterButton, Sjis("登 録")),
  };
}

std::string Formatted(double value) {
  FormatNumber4(value);
  return std::string(g_textBuffer, strnlen(g_textBuffer, sizeof g_textBuffer));
}

}  // namespace

double SpiralTurns(double typed) {
  const double turns = std::fabs(typed);
  const double whole = std::floor(turns);
  return turns == whole ? turns : whole + 0.5;
}

CSpiralCurveDlg::CSpiralCurveDlg()
    : platform::Dialog(kSpiralDialogId, platform::Sjis("  曲線：：渦巻き変換"), SpiralControls()) {}

bool CSpiralCurveDlg::OnInit() {
  focusedField_ = 0;
  width_ = 5.0;
  turns_ = 5.0;
  Fill();
  return true;
}

void CSpiralCurveDlg::Fill() {
  SetText(kSpiralWidthEdit, Formatted(width_));
  SetText(kSpiralTurnsEdit, Formatted(turns_));
}

void CSpiralCurveDlg::CommitField() {
  if (focusedField_ == 0) return;
  std::string text = GetText(focusedField_);
  if (text.size() > kFieldChars) text.resize(kFieldChars);
  if (!text.empty()) {
    const double value = ParseNumber(text.c_str());
    if (!std::isfinite(value)) {
      SignalBeep();
    } else if (focusedField_ == kSpiralWidthEdit) {
      width_ = value;
    } else {
      turns_ = SpiralTurns(value);
    }
  }
  Fill();
}

void CSpiralCurveDlg::OnFocusGained(int id) {
  if (id != kSpiralWidthEdit && id != kSpiralTurnsEdit) return;
  CommitField();
  focusedField_ = id;
}

void CSpiralCurveDlg::OnClick(int id) {
  if (id != kSpiralRegisterButton) return;
  CommitField();
  if (width_ != 0.0 && turns_ != 0.0) EndDialog(platform::kIdOk);
}

void CSpiralCurveDlg::OnOk() { NextControl(); }

}  // namespace dorn
