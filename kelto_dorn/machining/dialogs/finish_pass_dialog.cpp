#include "kelto_dorn/machining/dialogs/finish_pass_dialog.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/machining/settings_writes.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;
namespace ctl = finish_ctl;

namespace {

std::vector<ControlSpec> FinishControls() {
  static const char* const kBoxes[2][4] = {{"O1000 : ", "O2000 :", "O3000 :", "O4000 :"},
                                           {"O1000 :", "O2000 :", "O3000 :", "O4000 :"}};
  std::vector<ControlSpec> c = {ControlSpec(ControlKind::GroupBox, 1210, Sjis("XY輪郭仕上げ追込み設定"))};
  for (int i = 0; i < 4; ++i) {
    c.emplace_back(ControlKind::CheckBox, ctl::kContourBox[i], kBoxes[0][i], 1210);
    c.emplace_back(ControlKind::Edit, ctl::kContourValue[i], "", 1210, 110);
  }
  c.emplace_back(ControlKind::StaticText, -1, "EXT_Z ", 1210);
  c.emplace_back(ControlKind::Edit, ctl::kExtZ, "", 1210, 110);
  c.emplace_back(ControlKind::GroupBox, 1211, Sjis("底面Ｚ仕上げ追込み設定"));
  for (int i = 0; i < 4; ++i) {
    c.emplace_back(ControlKind::CheckBox, ctl::kBottomBox[i], kBoxes[1][i], 1211);
    c.emplace_back(ControlKind::Edit, ctl::kBottomValue[i], "", 1211, 110);
  }
  c.emplace_back(ControlKind::PushButton, ctl::kRegister, Sjis("登録"));
  return c;
}

std::string Shown(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%4.3f", v);
  return text;
}

}  // namespace

double FinishPassValue(const std::string& textCp932) {
  const double v = std::strtod(textCp932.c_str(), nullptr);
  return std::isfinite(v) ? v : 0.0;
}

CFinishPassInitDlg::CFinishPassInitDlg()
    : platform::Dialog(kFinishPassDialogId, Sjis("追込み加工初期値設定"), FinishControls()) {}

bool CFinishPassInitDlg::OnInit() {
  const FinishPassSettings& f = g_finishPassRecord;
  for (int i = 0; i < 4; ++i) {
    SetCheck(ctl::kContourBox[i], (f.flags & FinishPassSettings::ContourBit(i)) != 0);
    SetCheck(ctl::kBottomBox[i], (f.flags & FinishPassSettings::BottomBit(i)) != 0);
    SetText(ctl::kContourValue[i], Shown(f.contour[i]));
    SetText(ctl::kBottomValue[i], Shown(f.bottom[i]));
  }
  SetText(ctl::kExtZ, Shown(f.extZ));
  return true;
}

// A new record from zero: the boxes give the flags, the texts the values.
void CFinishPassInitDlg::OnCancel() {
  FinishPassSettings f;
  for (int i = 0; i < 4; ++i) {
    if (GetCheck(ctl::kContourBox[i]) != 0) f.flags |= FinishPassSettings::ContourBit(i);
    if (GetCheck(ctl::kBottomBox[i]) != 0) f.flags |= FinishPassSettings::BottomBit(i);
    f.contour[i] = FinishPassValue(GetText(ctl::kContourValue[i]));
    f.bottom[i] = FinishPassValue(GetText(ctl::kBottomValue[i]));
  }
  f.extZ = FinishPassValue(GetText(ctl::kExtZ));
  g_finishPassRecord = f;
  WriteSettingsFile(platform::ProgramFolder() / kFinishPassFileName, &f, sizeof f);
  EndDialog(platform::kIdCancel);
}

}  // namespace dorn
