#include "kelto_dorn/files/dialogs/import_select_dialog.h"

#include "platform/text.h"

namespace dorn {

namespace {
using platform::ControlKind;
namespace id = import_select;
}  // namespace

CImportSelectDlg::CImportSelectDlg()
    : platform::Dialog(kImportSelectDialogId, platform::Sjis("取込みデータ選択"),
                       {{ControlKind::CheckBox, id::kFigures, platform::Sjis("ＣＡＤ図形")},
                        {ControlKind::CheckBox, id::kCurves, platform::Sjis("曲線・穴データ")},
                        {ControlKind::CheckBox, id::kMachining, platform::Sjis("加工データ")},
                        {ControlKind::PushButton, platform::kIdCancel, "OK", 0, 0, 0, platform::control_style::kDefaultButton}}) {}

bool CImportSelectDlg::OnInit() {
  SetCheck(id::kFigures, 1);
  SetCheck(id::kCurves, 1);
  SetCheck(id::kMachining, 0);
  return true;
}

void CImportSelectDlg::Close() {
  const int keep = (GetCheck(id::kFigures) ? 0x01 : 0) | (GetCheck(id::kCurves) ? 0x10 : 0) |
                   (GetCheck(id::kMachining) ? 0x100 : 0);
  if ((keep & 0x11) == 0) return;
  EndDialog(keep);
}

}  // namespace dorn
