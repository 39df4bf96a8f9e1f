#include "kelto_dorn/files/dialogs/file_copy_dialog.h"

#include <system_error>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/files/dialogs/shared_file_pick.h"
#include "kelto_dorn/files/drawing_folders.h"
#include "kelto_dorn/files/files_messages.h"
#include "kelto_dorn/files/files_state.h"
#include "kelto_dorn/files/folder_lists.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {

namespace {
using platform::ControlKind;
namespace id = file_copy;
constexpr std::size_t kNameLimit = 62;
}  // namespace

CFileCopyDlg::CFileCopyDlg()
    : platform::Dialog(kFileCopyDialogId, platform::Sjis("ファイルのコピー"),
                       {{ControlKind::StaticText, id::kSource, "", 0, 360},
                        {ControlKind::Edit, id::kTarget, "", 0, 360, 0, 0, 128},
                        {ControlKind::ComboBox, id::kUnit, "", 0, 200, 0, platform::control_style::kDropList},
                        {ControlKind::ComboBox, id::kSecond, "", 0, 200, 0, platform::control_style::kDropList},
                        {ControlKind::PushButton, id::kRun, platform::Sjis("実 行")},
                        {ControlKind::PushButton, id::kRename, platform::Sjis("名前変更"), 0, 0, 0, platform::control_style::kCheckLook},
                        {ControlKind::PushButton, id::kJoin, platform::Sjis("結 合"), 0, 0, 0, platform::control_style::kCheckLook},
                        {ControlKind::PushButton, id::kShared, platform::Sjis("共有ファイル")},
                        {ControlKind::PushButton, platform::kIdCancel, platform::Sjis("ｷｬﾝｾﾙ")}}) {}

bool CFileCopyDlg::OnInit() {
  g_renameMode = g_copyRename = 0;
  FocusedEditIndex = 0;
  const bool data = FileListKind == kFileListData;
  Enable(id::kRename, data);
  Enable(id::kJoin, data);
  if (g_fileCopyMode != 1) return true;
  g_copyTarget[0] = '\0';
  unit_.clear();
  second_.clear();
  g_copyTargetKind = FileListKind & 0xF;
  if (FileListKind & kFileListTyped) {
    SetText(id::kSource, g_typedFolder);
  } else {
    SetText(id::kSource, DrawingFolderText() + (data ? "\\DAT\\" : "\\SEG\\"));
  }
  for (const std::string& unit : ListUserFolders(platform::DataRoot())) AddItem(id::kUnit, unit);
  for (const std::string& second : ListUserFolders(DrawingFolder().parent_path())) AddItem(id::kSecond, second);
  SetFocus(id::kTarget);
  return false;
}

void CFileCopyDlg::OnShow() {
  SetTitle(platform::Sjis(g_fileCopyMode == 1 ? "  コピー先を指定して下さい" : "  ファイルのコピーを実行します....."));
}

void CFileCopyDlg::RebuildTarget() {
  if (g_copyTargetKind & kFileListTyped) {
    SetText(id::kTarget, g_copyTarget);
  } else if (!unit_.empty() && !second_.empty()) {
    const std::string target = platform::SystemName(platform::DataRoot()) + "\\" + unit_ + "\\" + second_ +
                               ((g_copyTargetKind & 0xF) == kFileListData ? "\\DAT\\" : "\\SEG\\");
    platform::SetFieldText(g_copyTarget, target);
    SetText(id::kTarget, target);
  }
}

void CFileCopyDlg::OnSelectionChanged(int controlId) {
  if (controlId == id::kUnit) {
    unit_ = CutListName(GetItemText(id::kUnit, GetCurSel(id::kUnit)), kNameLimit);
    ResetContent(id::kSecond);
    for (const std::string& second : ListUserFolders(platform::ResolvePath(platform::DataRoot(), unit_)))
      AddItem(id::kSecond, second);
    g_copyTargetKind &= 0xF;
  } else if (controlId == id::kSecond) {
    second_ = CutListName(GetItemText(id::kSecond, GetCurSel(id::kSecond)), kNameLimit);
  } else {
    return;
  }
  RebuildTarget();
}

void CFileCopyDlg::OnOk() {
  // Enter in the target field: a drive folder, or back to the lists.
  if (FocusedControl() != id::kTarget) return;
  const std::string text = GetText(id::kTarget);
  if (text.size() >= 2 && text[1] == ':') {
    g_copyTargetKind |= kFileListTyped;
    platform::SetFieldText(g_copyTarget, text.size() == 2 ? text + "\\" : text);
  } else {
    g_copyTargetKind &= 0xF;
  }
  RebuildTarget();
  NextControl(true);
}

void CFileCopyDlg::OnClick(int controlId) {
  switch (controlId) {
    case id::kRename:
      g_copyRename ^= 1;
      SetCheck(id::kRename, g_copyRename);
      return;
    case id::kJoin:
      g_renameMode = g_renameMode == 1 ? 0 : 1;
      SetCheck(id::kJoin, g_renameMode);
      return;
    case id::kShared: {
      const std::string picked = KelCommonSaveFile();
      if (picked.empty()) return;
      platform::SetFieldText(g_copyTarget, picked.substr(0, picked.find_last_of("\\/") + 1));
      g_copyTargetKind |= kFileListTyped;
      RebuildTarget();
      return;
    }
    case id::kRun:
      return Run();
    default:
      return;
  }
}

void CFileCopyDlg::Run() {
  platform::SetFieldText(g_copyTarget, GetText(id::kTarget));
  if (g_copyTargetKind & kFileListTyped) {
    EndDialog(platform::kIdOk);
    return;
  }
  if (unit_.empty() || second_.empty()) return;
  const auto folder = platform::ResolvePath(platform::ResolvePath(platform::DataRoot(), unit_), second_);
  std::error_code ec;
  std::filesystem::create_directories(platform::ResolvePath(folder, "SEG"), ec);
  std::filesystem::create_directories(platform::ResolvePath(folder, "DAT"), ec);
  if (ec) {
    ShowFilesMessage(platform::Sjis("コピー先のフォルダを作れません\n") + platform::SystemName(folder));
    return;
  }
  EndDialog(platform::kIdOk);
}

}  // namespace dorn
