#include "kelto_dorn/files/dialogs/file_list_dialog.h"

#include <algorithm>
#include <cstring>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/files/dialogs/copy_progress_dialog.h"
#include "kelto_dorn/files/dialogs/file_copy_dialog.h"
#include "kelto_dorn/files/dialogs/shared_file_pick.h"
#include "kelto_dorn/files/drawing_folders.h"
#include "kelto_dorn/files/file_copy.h"
#include "kelto_dorn/files/file_listing.h"
#include "kelto_dorn/files/files_messages.h"
#include "kelto_dorn/files/files_state.h"
#include "kelto_dorn/files/rename_dialog.h"
#include "platform/key_codes.h"
#include "platform/text.h"

namespace dorn {

namespace {
using platform::ControlKind;
namespace id = file_list;
constexpr std::size_t kDrawingNameLimit = 48;
}  // namespace

CFileListDlg::CFileListDlg()
    : platform::Dialog(kFileListDialogId, platform::Sjis("ファイル一覧"),
                       {{ControlKind::PushButton, id::kDrawings, platform::Sjis("図面"), 0, 0, 0, platform::control_style::kCheckLook},
                        {ControlKind::PushButton, id::kData, platform::Sjis("データ"), 0, 0, 0, platform::control_style::kCheckLook},
                        {ControlKind::Edit, id::kName, "", 0, 300, 0, 0, 128},
                        {ControlKind::ListBox, id::kList, "", 0, 560, 280,
                         platform::control_style::kMultiSelect | platform::control_style::kFixedPitch},
                        {ControlKind::PushButton, id::kRun, platform::Sjis("実行")},
                        {ControlKind::PushButton, id::kRestore, platform::Sjis("削除ファイルの復帰")},
                        {ControlKind::PushButton, id::kShared, platform::Sjis("共有ファイル")},
                        {ControlKind::PushButton, platform::kIdCancel, platform::Sjis("ｷｬﾝｾﾙ")}}) {}

bool CFileListDlg::OnInit() {
  g_typedFolder[0] = g_lastTypedPattern[0] = '\0';
  g_renameMode = 0;
  FileListKind = kFileListDrawings;
  g_pickedItems.fill(0xFFFF);
  g_pickedItemCount = 0;
  FocusedEditIndex = 0;
  ring_.Clear();
  Enable(id::kShared, g_deleteMode == 0);
  Fill(false);
  return true;
}

void CFileListDlg::OnShow() {
  SetTitle(platform::Sjis(g_deleteMode != 0 ? "\t 削除するファイル名を選択して下さい" : "\t コピーするファイル名を選択して下さい"));
  SignalBeep();
}

void CFileListDlg::Fill(bool withName) {
  g_pickedItems.fill(0xFFFF);
  g_pickedItemCount = 0;
  ResetContent(id::kList);
  SetCheck(id::kDrawings, 0);
  SetCheck(id::kData, 0);
  const bool typed = (FileListKind & kFileListTyped) != 0;
  std::string pattern;
  if (typed) {
    pattern = g_typedFolder;
    platform::SetFieldText(g_lastTypedPattern, pattern);
  } else if ((FileListKind & 0xF) == kFileListData) {
    SetCheck(id::kData, 1);
    pattern = DrawingFolderText() + "\\DAT\\" + (withName ? typedName_ : "*.*");
  } else {
    SetCheck(id::kDrawings, 1);
    pattern = DrawingFolderText() + "\\SEG\\" + (withName ? typedName_ + ".MZF" : "*.MZF");
  }
  std::filesystem::path folder;
  std::string filePattern;
  SplitSearchPattern(pattern, folder, filePattern);
  const std::string folderText = typed ? pattern.substr(0, pattern.find_last_of("\\/:") + 1) : "";
  for (const ListedFile& file : ListFolder(folder, filePattern)) {
    if (file.folder) {
      AddItem(id::kList, "[DIR]" + file.name);
      continue;
    }
    std::string name = file.name;
    if (typed) name = folderText + name;
    else if ((FileListKind & 0xF) == kFileListDrawings) name = CutListName(name, kDrawingNameLimit);
    AddItem(id::kList, FileListLine(name, file, true));
  }
}

void CFileListDlg::OnClick(int controlId) {
  switch (controlId) {
    case id::kDrawings:
    case id::kData:
      SetText(id::kName, "");
      FileListKind = controlId == id::kData ? kFileListData : kFileListDrawings;
      return Fill(false);
    case id::kRun:
      return Execute();
    case id::kRestore:
      if (RestoreFromBackupRing(ring_) >= 0) {
        platform::SetFieldText(g_typedFolder, g_lastTypedPattern);
        Fill(false);
      }
      return;
    case id::kShared:
      return SharedFiles();
    default:
      return;
  }
}

void CFileListDlg::OnSelectionChanged(int controlId) {
  if (controlId != id::kList) return;
  const std::vector<int> selected = GetSelectedRows(id::kList);
  // Picks keep the order in which rows were first selected; deselected rows
  // leave them.
  int kept = 0;
  for (int i = 0; i < g_pickedItemCount; ++i) {
    const int pick = g_pickedItems[static_cast<std::size_t>(i)];
    if (std::find(selected.begin(), selected.end(), pick) != selected.end()) g_pickedItems[static_cast<std::size_t>(kept++)] = pick;
  }
  g_pickedItemCount = kept;
  for (int row : selected) {
    if (std::find(g_pickedItems.begin(), g_pickedItems.begin() + g_pickedItemCount, row) != g_pickedItems.begin() + g_pickedItemCount)
      continue;
    if (g_pickedItemCount >= kPickedItemLimit) {
      SignalBeep();
      break;
    }
    g_pickedItems[static_cast<std::size_t>(g_pickedItemCount++)] = row;
  }
  for (int i = g_pickedItemCount; i < static_cast<int>(g_pickedItems.size()); ++i) g_pickedItems[static_cast<std::size_t>(i)] = 0xFFFF;
}

void CFileListDlg::OnDoubleClick(int controlId) {
  if (controlId == id::kList) Execute();
}

bool CFileListDlg::OnKeyDown(int controlId, int key, unsigned) {
  if (controlId == id::kList && key == platform::kKeyDelete && g_deleteMode != 0) {
    Execute();
    return true;
  }
  return false;
}

void CFileListDlg::OnOk() {
  if (FocusedControl() != id::kName) return;
  const std::string text = GetText(id::kName);
  FileListKind &= 0xF;
  if (text.size() >= 2 && text[1] == ':') {
    FileListKind |= kFileListTyped;
    platform::SetFieldText(g_typedFolder, text.size() == 2 ? text + "\\*.*" : text);
  } else {
    typedName_ = text;
  }
  Fill(!text.empty() && (FileListKind & kFileListTyped) == 0);
  NextControl(true);
}

void CFileListDlg::OnCancel() {
  FileListKind = kFileListDrawings;
  EndDialog(platform::kIdCancel);
}

bool CFileListDlg::ConfirmDeletion(const std::vector<std::string>& lines) {
  std::string question;
  for (const std::string& line : lines) question += NameOfListLine(line) + "\n";
  question += platform::Sjis("\n※ すべて削除されます...\n\t 宜しいですか ???");
  if (!AskFilesQuestion(question)) return false;
  g_deleteMode = 2;
  PurgeBackupFolder();
  ring_.Clear();
  return true;
}

void CFileListDlg::Execute() {
  collected_.clear();
  std::vector<std::string> lines;
  for (int i = 0; i < g_pickedItemCount; ++i) lines.push_back(GetItemText(id::kList, g_pickedItems[static_cast<std::size_t>(i)]));
  if (lines.empty()) {
    const int row = GetCurSel(id::kList);
    if (row >= 0) lines.push_back(GetItemText(id::kList, row));
  }
  for (const std::string& line : lines) {
    if (IsFolderLine(line)) {
      // A folder opens; the modes and the ring stay as they were.
      std::string folder = g_typedFolder;
      folder = folder.substr(0, folder.find_last_of("\\/:") + 1) + line.substr(5) + "\\*.*";
      FileListKind |= kFileListTyped;
      platform::SetFieldText(g_typedFolder, folder);
      SetText(id::kName, folder);
      SignalBeep();
      Fill(false);
      return;
    }
  }
  for (const std::string& line : lines) {
    const std::string name = NameOfListLine(line);
    if (g_deleteMode == 1 && !ConfirmDeletion(lines)) break;
    if (g_deleteMode != 0) DeleteDrawingFiles(name, ring_);
    if (g_fileCopyMode == 1) {
      CFileCopyDlg target;
      if (target.DoModal() != platform::kIdOk) break;
      g_fileCopyMode = 2;
    }
    if (g_fileCopyMode != 0) collected_.push_back(name);
  }
  if (g_fileCopyMode > 1) CopyCollected();
  if (g_deleteMode != 0) {
    g_deleteMode = 1;
    if (!ring_.WriteBackupIndex()) ShowFilesMessage(platform::Sjis("削除ファイルの記録を書けません"));
  }
  if (g_fileCopyMode != 0) g_fileCopyMode = 1;
  platform::SetFieldText(g_typedFolder, g_lastTypedPattern);
  SignalBeep();
  Fill(false);
}

void CFileListDlg::CopyCollected() {
  CCopyProgressDlg progress;
  progress.Start(platform::Sjis("\t ファイルのコピーを実行します...."));
  const CopyRunOutcome outcome = CopyDrawingFiles(
      collected_, [&progress](const std::string& s, const std::string& t) { progress.ShowFiles(s, t); },
      [](int mode, std::string& name) { return RunRenameDialog(mode, name); });
  SignalBeep();
  progress.SetTitle(platform::Sjis(outcome.completed ? "\t コピーを終了しました...." : "\t コピーを中断しました...."));
  if (!outcome.completed) ShowFilesMessage(outcome.message);
  progress.DestroyWindow();
  collected_.clear();
}

void CFileListDlg::SharedFiles() {
  if (g_deleteMode != 0) return;
  collected_ = KelCommonOpenFiles();
  if (collected_.empty()) return;
  FileListKind = kFileListTyped;
  g_fileCopyMode = 1;
  CFileCopyDlg target;
  if (target.DoModal() == platform::kIdOk) CopyCollected();
  collected_.clear();
}

}  // namespace dorn
