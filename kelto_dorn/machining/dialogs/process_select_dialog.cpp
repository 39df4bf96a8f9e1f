#include "kelto_dorn/machining/dialogs/process_select_dialog.h"

#include <cstdio>
#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/camdata/process_name_dialog.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/tooldb/db_messages.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;
namespace c = process_select_ctl;

namespace {

constexpr unsigned kCheckLook = platform::control_style::kCheckLook;
constexpr int kRenameFailed = 44;

}  // namespace

CProcessNameSelectDlg::CProcessNameSelectDlg()
    : platform::Dialog(kProcessSelectDialogId, "",
                       {ControlSpec(ControlKind::ListBox, c::kFolders, "", 0, 360, 260),
                        ControlSpec(ControlKind::StaticText, -1, Sjis("ファースト名")),
                        ControlSpec(ControlKind::ComboBox, c::kFirstNames, "", 0, 160, 0,
                                    platform::control_style::kDropList),
                        ControlSpec(ControlKind::StaticText, -1, Sjis("セカンド名")),
                        ControlSpec(ControlKind::ComboBox, c::kSecondNames, "", 0, 160, 0,
                                    platform::control_style::kDropList),
                        ControlSpec(ControlKind::PushButton, c::kReset, "RESET"),
                        ControlSpec(ControlKind::PushButton, c::kChoose, Sjis("選 択")),
                        ControlSpec(ControlKind::PushButton, c::kDelete, Sjis("削 除"), 0, 0, 0, kCheckLook),
                        ControlSpec(ControlKind::PushButton, c::kRename, Sjis("名前の変更"), 0, 0, 0, kCheckLook),
                        ControlSpec(ControlKind::PushButton, c::kUndo, Sjis("元に戻す")),
                        ControlSpec(ControlKind::PushButton, c::kCancel, Sjis("ｷｬﾝｾﾙ"))}) {}

bool CProcessNameSelectDlg::OnInit() {
  mode_ = FocusedEditIndex;
  FocusedEditIndex = 0;
  deleteMode_ = renameMode_ = false;
  undo_ = ProcessUndo{};
  SetCheck(c::kRename, 0);
  Enable(c::kUndo, false);
  Refill();
  return true;
}

void CProcessNameSelectDlg::OnShow() {
  SetTitle(Sjis(mode_ == kCapsuleFolderMode ? "\tカプセルの選択" : "\t穴工程名の選択"));
}

void CProcessNameSelectDlg::Refill() {
  first_.clear();
  second_.clear();
  all_ = ListProcessFolders(mode_);
  const ProcessNameParts parts = SplitProcessNames(all_);
  ResetContent(c::kFirstNames);
  ResetContent(c::kSecondNames);
  for (const std::string& n : parts.firsts) AddItem(c::kFirstNames, n);
  for (const std::string& n : parts.seconds) AddItem(c::kSecondNames, n);
  ShowFolders();
}

void CProcessNameSelectDlg::ShowFolders() {
  ResetContent(c::kFolders);
  for (const std::string& n : FilterProcessFolders(all_, first_, second_)) AddItem(c::kFolders, n);
}

void CProcessNameSelectDlg::OnSelectionChanged(int id) {
  const int sel = GetCurSel(id);
  if (sel < 0) return;
  if (id == c::kFirstNames) {
    const std::string first = GetItemText(id, sel);
    Refill();
    first_ = first;
    ShowFolders();
    // Only the second names of the folders left are offered.
    const ProcessNameParts left = SplitProcessNames(FilterProcessFolders(all_, first_, ""));
    ResetContent(c::kSecondNames);
    for (const std::string& n : left.seconds) AddItem(c::kSecondNames, n);
    NextControl();
  } else if (id == c::kSecondNames) {
    second_ = GetItemText(id, sel);
    ShowFolders();
  }
}

void CProcessNameSelectDlg::OnDoubleClick(int id) {
  if (id == c::kFolders) Choose();
}

void CProcessNameSelectDlg::OnClick(int id) {
  switch (id) {
    case c::kReset:
      return Refill();
    case c::kChoose:
      return Choose();
    case c::kDelete:
      deleteMode_ = !deleteMode_;
      if (deleteMode_) renameMode_ = false;
      break;
    case c::kRename:
      renameMode_ = !renameMode_;
      if (renameMode_) deleteMode_ = false;
      break;
    case c::kUndo:
      if (!UndoProcessDeletion(undo_)) {
        platform::ShowMessageBox(Sjis("※ 元に戻せません ！?"), "", 0x10);
        return;
      }
      Enable(c::kUndo, false);
      all_ = ListProcessFolders(mode_);
      return ShowFolders();
    case c::kCancel:
      return OnCancel();
    default:
      return;
  }
  SetCheck(c::kDelete, deleteMode_);
  SetCheck(c::kRename, renameMode_);
}

void CProcessNameSelectDlg::Choose() {
  const int sel = GetCurSel(c::kFolders);
  if (sel < 0) return;
  const std::string name = GetItemText(c::kFolders, sel);
  if (deleteMode_) return DeleteChosen(name);
  if (renameMode_) return RenameChosen(name);
  std::snprintf(g_listTextBuffer, kTextBufferSize, "%s", name.c_str());
  EndDialog(1);
}

void CProcessNameSelectDlg::DeleteChosen(const std::string& name) {
  const std::string question = Sjis("☆削除しても良いですか ???\n  ") + name;
  if (platform::ShowMessageBox(question, "", 0x14) != platform::kIdYes) return;
  if (!DeleteProcessFolder(mode_, name, undo_)) {
    // Without its undo copy the folder stays.
    platform::ShowMessageBox(Sjis("※ 削除出来ません ！?\n  ") + name, "", 0x10);
    return;
  }
  Enable(c::kUndo, true);
  all_ = ListProcessFolders(mode_);
  ShowFolders();
}

void CProcessNameSelectDlg::RenameChosen(const std::string& name) {
  std::snprintf(g_listTextBuffer, kTextBufferSize, "%s", name.c_str());
  FocusedEditIndex = mode_;
  CProcessNameDlg dialog;
  if (RunModalDialog(dialog) == 1 && !RenameProcessFolder(mode_, name, g_listTextBuffer)) ShowMessage(kRenameFailed);
  FocusedEditIndex = 0;
  all_ = ListProcessFolders(mode_);
  ShowFolders();
}

void CProcessNameSelectDlg::OnCancel() {
  g_listTextBuffer[0] = '\0';
  EndDialog(2);
}

}  // namespace dorn
