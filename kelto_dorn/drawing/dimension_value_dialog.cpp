// The extended value dialog: see dimension_value_dialog.h.
#include "kelto_dorn/drawing/dimension_value_dialog.h"

#include "kelto_dorn/app/text_record.h"
#include "platform/text.h"

namespace dorn {

namespace {

using platform::ControlKind;
using platform::ControlSpec;
constexpr int kPartBytes = 59;

std::vector<ControlSpec> ValueControls() {
  using platform::Sjis;
  return {
      ControlSpec(ControlKind::StaticText, -1, Sjis("寸法値")),
      ControlSpec(ControlKind::Edit, kValuePartEdits[0], "", 0, 160, 0, 0, kPartBytes),
      ControlSpec(ControlKind::StaticText, -1, Sjis("上の添字")),
      ControlSpec(ControlKind::Edit, kValuePartEdits[1], "", 0, 160, 0, 0, kPartBytes),
      ControlSpec(ControlKind::StaticText, -1, Sjis("下の添字")),
      ControlSpec(ControlKind::Edit, kValuePartEdits[2], "", 0, 160, 0, 0, kPartBytes),
      ControlSpec(ControlKind::StaticText, -1, Sjis("後ろの文字")),
      ControlSpec(ControlKind::Edit, kValuePartEdits[3], "", 0, 160, 0, 0, kPartBytes),
      ControlSpec(ControlKind::PushButton, kValueOkButton, "OK"),
  };
}

}  // namespace

CDimensionValueDlg::CDimensionValueDlg(ValueParts parts)
    : platform::Dialog(kDimensionValueDialogId, platform::Sjis("寸法値の拡張入力"), ValueControls()),
      parts_(std::move(parts)) {}

bool CDimensionValueDlg::OnInit() {
  for (std::size_t k = 0; k < parts_.size(); ++k) SetText(kValuePartEdits[k], parts_[k]);
  SetFocus(kValuePartEdits[0]);
  return false;
}

void CDimensionValueDlg::OnClick(int id) {
  if (id != kValueOkButton) return;
  for (std::size_t k = 0; k < parts_.size(); ++k) {
    const std::string text = GetText(kValuePartEdits[k]);
    parts_[k] = text.substr(0, platform::Cp932PrefixLength(text, kPartBytes));
  }
  EndDialog(kDimensionValueOk);
}

void CDimensionValueDlg::OnOk() { NextControl(); }

}  // namespace dorn
