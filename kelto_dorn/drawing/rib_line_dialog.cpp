// The RIB line dialog: see rib_line_dialog.h.
#include "kelto_dorn/drawing/rib_line_dialog.h"

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/record_resets.h"
#include "platform/text.h"

namespace dorn {

namespace {

using platform::ControlKind;
using platform::ControlSpec;
namespace id = rib_dialog;
constexpr int kModeOn = 15;
const char* const kCaption = "  ＲＩＢライン";

std::vector<ControlSpec> RibControls() {
  using platform::Sjis;
  return {
      ControlSpec(ControlKind::ListBox, id::kList, "", 0, 260, 220),
      ControlSpec(ControlKind::PushButton, id::kAdd, Sjis("追加")),
      ControlSpec(ControlKind::PushButton, id::kInsert, "INS", 0, 0, 0, platform::control_style::kCheckLook),
      ControlSpec(ControlKind::PushButton, id::kDelete, "DEL", 0, 0, 0, platform::control_style::kCheckLook),
      ControlSpec(ControlKind::PushButton, id::kReset, "RESET"),
      ControlSpec(ControlKind::PushButton, platform::kIdCancel, "OK"),
  };
}

bool CurveName(int key, std::string& name) {
  const int curve = FindCurveByKey(key);
  if (curve < 0 || curve >= g_curveCount || curve >= kCurveTableSize) return false;
  name = platform::FieldText(g_curveTable[static_cast<std::size_t>(curve)].name);
  return true;
}

}  // namespace

CRibLineDlg::CRibLineDlg() : platform::Dialog(kRibLineDialogId, platform::Sjis(kCaption), RibControls()), list_(CurveName) {}

CRibLineDlg OpenRibLineDialog() { return CRibLineDlg(); }

bool CRibLineDlg::OnInit() {
  SetModes(0, 0);
  list_.Load();
  ShowLines();
  return true;
}

void CRibLineDlg::OnShow() { SetTitle(platform::Sjis(kCaption)); }

void CRibLineDlg::ShowLines() {
  ResetContent(id::kList);
  for (std::size_t i = 0; i < list_.Lines().size(); ++i) AddItem(id::kList, list_.Text(i));
}

void CRibLineDlg::SetModes(int insert, int remove) {
  insertMode_ = insert;
  deleteMode_ = remove;
  SetCheck(id::kInsert, insert ? 1 : 0);
  SetCheck(id::kDelete, remove ? 1 : 0);
}

void CRibLineDlg::OnClick(int control) {
  switch (control) {
    case id::kReset:
      list_.Reset();
      ShowLines();
      break;
    case id::kInsert:
      SetModes(insertMode_ ? 0 : kModeOn, 0);
      break;
    case id::kDelete:
      SetModes(0, deleteMode_ ? 0 : kModeOn);
      break;
    case id::kAdd:
      RibLineCount = RibEntriesInUse();
      SignalBeep();
      EndDialog(kRibLinePickMore);
      return;
    case platform::kIdCancel:
      EndDialog(platform::kIdCancel);
      return;
    default:
      return;
  }
  SignalBeep();
}

void CRibLineDlg::OnDoubleClick(int control) {
  if (control != id::kList) return;
  const int p = GetCurSel(id::kList);
  if (deleteMode_ && list_.DeleteLine(p)) ShowLines();
  // A full list refuses the gap: its last key would be lost.
  if (insertMode_ && list_.InsertLine(p)) ShowLines();
  SignalBeep();
}

}  // namespace dorn
