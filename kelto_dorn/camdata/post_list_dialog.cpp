// The post list dialog: see post_list_dialog.h.
#include "kelto_dorn/camdata/post_list_dialog.h"

#include <cstdio>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/camdata/post_table.h"
#include "kelto_dorn/files/folder_lists.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {

namespace {

using platform::ControlKind;
namespace id = post_list;

// Copies stop at 30 records; deleting needs a post to remain.
constexpr int kMaxPostsAfterCopy = 30;
constexpr int kMinPostsForDelete = 3;

handover::PostDefinition& Header() { return g_postTable[0]; }

void MakeCurrent(int post) {
  g_currentPost = post;
  Header().currentPost = post;
}

}  // namespace

CPostListDlg::CPostListDlg()
    : platform::Dialog(
          kPostListDialogId, platform::Sjis("  ポスト一覧 "),
          {{ControlKind::ListBox, id::kList, "", 0, 360, 240},
           {ControlKind::PushButton, id::kCopy, platform::Sjis("複 写"), 0, 0, 0, platform::control_style::kCheckLook},
           {ControlKind::PushButton, id::kDelete, platform::Sjis("削 除"), 0, 0, 0,
            platform::control_style::kCheckLook},
           {ControlKind::PushButton, id::kChoose, platform::Sjis("選 択")},
           {ControlKind::PushButton, id::kCancel, platform::Sjis("ｷｬﾝｾﾙ")}}) {}

bool CPostListDlg::OnInit() {
  mode_ = FocusedEditIndex;
  if (mode_ == kPostListModeMachine || mode_ == kPostListModeMachineName) {
    SetTitle(platform::Sjis("  工作機械データベースの選択 "));
    Enable(id::kCopy, false);
    Enable(id::kDelete, false);
    FillMachines();
  } else {
    mode_ = kPostListModePosts;
    FillPosts();
  }
  return true;
}

void CPostListDlg::FillPosts() {
  ResetContent(id::kList);
  const int count = PostCount();
  for (int post = 1; post < count; ++post) {
    char line[96];
    std::snprintf(line, sizeof line, "POST_No[%02d] : %s", post,
                  platform::FieldText(g_postTable[static_cast<std::size_t>(post)].name).c_str());
    AddItem(id::kList, line);
  }
  if (g_currentPost >= 1 && g_currentPost < count) SetCurSel(id::kList, g_currentPost - 1);
}

void CPostListDlg::FillMachines() {
  platform::SetFieldText(g_pathBuf, platform::SystemName(platform::DataRoot() / "_ATC"));
  ListFoldersToComboBox(*this, id::kList);
  const int current = FindPrefix(id::kList, platform::FieldText(g_dbSelection.machineName));
  if (current >= 0 && GetItemText(id::kList, current) == platform::FieldText(g_dbSelection.machineName)) {
    SetCurSel(id::kList, current);
  }
}

void CPostListDlg::Arm(int button, bool on) {
  bool& armed = button == id::kCopy ? copyArmed_ : deleteArmed_;
  armed = on;
  SetCheck(button, on ? 1 : 0);
}

void CPostListDlg::OnClick(int control) {
  const int count = PostCount();
  switch (control) {
    case id::kCopy:
      if (copyArmed_) {
        Arm(id::kCopy, false);
      } else if (count < kMaxPostsAfterCopy) {
        platform::Beep();
        Arm(id::kCopy, true);
        Arm(id::kDelete, false);
      } else {
        Arm(id::kCopy, false);  // refused: shown released
      }
      break;
    case id::kDelete:
      if (deleteArmed_) {
        Arm(id::kDelete, false);
      } else if (count >= kMinPostsForDelete) {
        platform::Beep();
        Arm(id::kDelete, true);
        Arm(id::kCopy, false);
      } else {
        Arm(id::kDelete, false);
      }
      break;
    case id::kChoose:
      Choose();
      break;
    case id::kCancel:
      EndDialog(platform::kIdCancel);
      break;
    default:
      break;
  }
}

void CPostListDlg::OnDoubleClick(int control) {
  if (control == id::kList) Choose();
}

void CPostListDlg::Choose() {
  const int line = GetCurSel(id::kList);
  if (line < 0) return;  // nothing selected: nothing happens
  if (mode_ == kPostListModePosts) {
    ChoosePost(line);
  } else {
    ChooseMachine(line);
  }
}

void CPostListDlg::ChoosePost(int line) {
  const int count = PostCount();
  const int post = line + 1;
  if (post >= count) return;
  if (deleteArmed_) {
    DeletePost(line);
    return;
  }
  if (copyArmed_ && count < kMaxPostsAfterCopy) {
    g_postTable[static_cast<std::size_t>(count)] = g_postTable[static_cast<std::size_t>(post)];
    Header().postCount = count + 1;
    MakeCurrent(count);
    EndDialog(platform::kIdOk);
    return;
  }
  MakeCurrent(post);
  Arm(id::kCopy, false);
  EndDialog(platform::kIdOk);
}

// Deletes post line + 1: the later posts move down. The post being edited
// and record 0's current post stay on a post that exists: the one that took
// the deleted one's place, or the new last post.
void CPostListDlg::DeletePost(int line) {
  const int count = PostCount();
  if (count < kMinPostsForDelete) return;
  const int deleted = line + 1;
  for (int p = deleted; p + 1 < count; ++p) {
    g_postTable[static_cast<std::size_t>(p)] = g_postTable[static_cast<std::size_t>(p + 1)];
  }
  const int newCount = count - 1;
  Header().postCount = newCount;
  g_currentPost = deleted < newCount ? deleted : newCount - 1;
  int& headerCurrent = Header().currentPost;
  if (headerCurrent > deleted) {
    --headerCurrent;
  } else if (headerCurrent == deleted) {
    headerCurrent = g_currentPost;
  }
  FillPosts();
  platform::Beep();
  Arm(id::kDelete, false);
}

void CPostListDlg::ChooseMachine(int line) {
  const std::string name = GetItemText(id::kList, line);
  if (mode_ == kPostListModeMachine) {
    platform::SetFieldText(g_dbSelection.machineName, name);
    const platform::FileResult r = WriteDbSelection();
    if (!r.ok()) {
      platform::ShowMessageBox(
          {platform::Utf8ToCp932(r.message), std::string(), platform::MessageButtons::Ok, platform::MessageIcon::Stop});
    }
  } else {
    platform::SetFieldText(g_pathBuf, name);
  }
  FocusedEditIndex = 0;
  EndDialog(platform::kIdOk);
}

bool ChooseMachineName(std::string& machine) {
  FocusedEditIndex = kPostListModeMachineName;
  CPostListDlg dialog;
  const int result = dialog.DoModal();
  FocusedEditIndex = 0;
  if (result != platform::kIdOk) return false;
  machine = platform::FieldText(g_pathBuf);
  return !machine.empty();
}

void InstallMachineChoiceDialog() { g_commandEngines.chooseMachineDialog = ChooseMachineName; }

}  // namespace dorn
