#include "kelto_dorn/files/dialogs/drawing_file_list_dialog.h"

#include <system_error>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/document/system_record.h"
#include "kelto_dorn/files/dialogs/backup_dialog.h"
#include "kelto_dorn/files/dialogs/file_list_dialog.h"
#include "kelto_dorn/files/drawing_folders.h"
#include "kelto_dorn/files/drawing_names.h"
#include "kelto_dorn/files/file_listing.h"
#include "kelto_dorn/files/files_messages.h"
#include "kelto_dorn/files/files_state.h"
#include "kelto_dorn/files/folder_lists.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {

namespace fs = std::filesystem;

namespace {
using platform::ControlKind;
namespace id = drawing_list;
constexpr std::size_t kDrawingNameLimit = 62, kUnitLimit = 52, kSecondLimit = 48, kDesignerLimit = 30;
constexpr std::size_t kListNameLimit = 48;

std::string WithoutLeadingBlanks(std::string s) {
  s.erase(0, s.find_first_not_of(' '));
  return s;
}
}  // namespace

CDrawingFileListDlg::CDrawingFileListDlg()
    : platform::Dialog(kDrawingFileListDialogId, platform::Sjis("図面ファイル一覧"),
                       {{ControlKind::StaticText, -1, platform::Sjis("ユニット名")},
                        {ControlKind::ComboBox, id::kUnit, "", 0, 220, 0, 0, 62},
                        {ControlKind::StaticText, -1, platform::Sjis("セカンド名")},
                        {ControlKind::ComboBox, id::kSecond, "", 0, 220, 0, 0, 62},
                        {ControlKind::StaticText, -1, platform::Sjis("図面名")},
                        {ControlKind::ComboBox, id::kFile, "", 0, 420, 0, 0, 128},
                        {ControlKind::StaticText, -1, platform::Sjis("データ拡張子")},
                        {ControlKind::Edit, id::kExtension, "", 0, 60, 0, 0, 6},
                        {ControlKind::StaticText, -1, platform::Sjis("設計者")},
                        {ControlKind::Edit, id::kDesigner, "", 0, 200, 0, 0, 31},
                        {ControlKind::PushButton, id::kDrawings, platform::Sjis("図 面"), 0, 0, 0, platform::control_style::kCheckLook},
                        {ControlKind::PushButton, id::kData, platform::Sjis("データ"), 0, 0, 0, platform::control_style::kCheckLook},
                        {ControlKind::PushButton, id::kCopy, platform::Sjis("ファイルのコピー")},
                        {ControlKind::PushButton, id::kDelete, platform::Sjis("ファイルの削除")},
                        {ControlKind::PushButton, id::kDeleteUnit, platform::Sjis("ユニット名の削除")},
                        {ControlKind::PushButton, id::kDeleteSecond, platform::Sjis("セカンド名の削除")},
                        {ControlKind::PushButton, id::kBackup, platform::Sjis("ユニットのBACKUP")},
                        {ControlKind::PushButton, id::kUpload, platform::Sjis("ユニットのUPLOAD")},
                        {ControlKind::PushButton, id::kFinish, platform::Sjis("終  了")},
                        {ControlKind::PushButton, platform::kIdCancel, platform::Sjis("ｷｬﾝｾﾙ")}}) {}

bool CDrawingFileListDlg::OnInit() {
  FileListKind = kFileListDrawings;
  g_deleteMode = g_fileCopyMode = 0;
  Fill();
  return true;
}

void CDrawingFileListDlg::OnShow() { SetTitle(platform::Sjis("  「ケルトドーン」図面ファイル一覧")); }

void CDrawingFileListDlg::Fill() {
  const std::string unit = platform::FieldText(g_drawingHeader.unitName);
  const std::string second = platform::FieldText(g_drawingHeader.secondName);
  ResetContent(id::kUnit);
  ResetContent(id::kSecond);
  ResetContent(id::kFile);
  for (const std::string& name : ListUserFolders(platform::DataRoot())) AddItem(id::kUnit, name);
  for (const std::string& name : ListUserFolders(platform::ResolvePath(platform::DataRoot(), unit))) AddItem(id::kSecond, name);
  const bool data = (FileListKind & 0xF) == kFileListData;
  for (const ListedFile& file : ListFolder(data ? DatFolder() : SegFolder(), data ? "*.*" : "*.MZF")) {
    if (file.folder) continue;
    const std::string name = data ? file.name : CutListName(file.name, kListNameLimit);
    // "%-20s   %7d %04d-%02d-%02d": the name, size and date without the time.
    const std::string line = FileListLine(name, file, false);
    AddItem(id::kFile, line.substr(0, line.rfind(' ')));
  }
  SetCheck(id::kDrawings, data ? 0 : 1);
  SetCheck(id::kData, data ? 1 : 0);
  SetText(id::kUnit, unit);
  SetText(id::kSecond, second);
  SetText(id::kFile, platform::FieldText(g_drawingHeader.drawingName));
  SetText(id::kExtension, " " + platform::FieldText(g_drawingHeader.dataExtension));
  SetText(id::kDesigner, " " + platform::FieldText(g_drawingHeader.designerName));
}

void CDrawingFileListDlg::Commit(int controlId) {
  const std::string text = WithoutLeadingBlanks(GetText(controlId));
  switch (controlId) {
    case id::kExtension:
      platform::SetFieldText(g_drawingHeader.dataExtension, text.substr(0, 3));
      return;
    case id::kDesigner:
      platform::SetFieldText(g_drawingHeader.designerName, text.substr(0, platform::Cp932PrefixLength(text, kDesignerLimit)));
      return;
    case id::kUnit:
    case id::kSecond: {
      auto& field = controlId == id::kUnit ? g_drawingHeader.unitName : g_drawingHeader.secondName;
      const std::string name = FilterDrawingName(text, controlId == id::kUnit ? kUnitLimit : kSecondLimit);
      if (name == platform::FieldText(field)) return;
      platform::SetFieldText(field, name);
      return Fill();
    }
    case id::kFile: {
      const std::string name = FilterDrawingName(text, kDrawingNameLimit);
      if (name == platform::FieldText(g_drawingHeader.drawingName)) return;
      platform::SetFieldText(g_drawingHeader.drawingName, name);
      if (ReadDrawingHeaderOfFile()) Fill();
      return;
    }
    default:
      return;
  }
}

void CDrawingFileListDlg::CommitAll() {
  for (int field : {id::kExtension, id::kDesigner, id::kUnit, id::kSecond, id::kFile}) Commit(field);
}

void CDrawingFileListDlg::OnFocusLost(int controlId) { Commit(controlId); }

void CDrawingFileListDlg::OnOk() {
  // Enter commits the field that has the focus; the list stays open.
  Commit(FocusedControl());
}

void CDrawingFileListDlg::OnSelectionChanged(int controlId) {
  const std::string chosen = GetItemText(controlId, GetCurSel(controlId));
  if (controlId == id::kUnit) {
    FileListKind = kFileListDrawings;
    platform::SetFieldText(g_drawingHeader.unitName, FilterDrawingName(chosen, kUnitLimit));
    platform::SetFieldText(g_drawingHeader.secondName, "");
    platform::SetFieldText(g_drawingHeader.drawingName, "");
  } else if (controlId == id::kSecond) {
    FileListKind = kFileListDrawings;
    platform::SetFieldText(g_drawingHeader.secondName, FilterDrawingName(chosen, kSecondLimit));
    platform::SetFieldText(g_drawingHeader.drawingName, "");
  } else if (controlId == id::kFile) {
    platform::SetFieldText(g_drawingHeader.drawingName, FilterDrawingName(NameOfListLine(chosen), kDrawingNameLimit));
    ReadDrawingHeaderOfFile();
  } else {
    return;
  }
  Fill();
}

void CDrawingFileListDlg::OnClick(int controlId) {
  switch (controlId) {
    case id::kDrawings:
    case id::kData:
      CommitAll();
      FileListKind = controlId == id::kData ? kFileListData : kFileListDrawings;
      return Fill();
    case id::kCopy: return RunFileList(false);
    case id::kDelete: return RunFileList(true);
    case id::kBackup: return RunBackup(0);
    case id::kUpload: return RunBackup(1);
    case id::kDeleteUnit: return DeleteUnit();
    case id::kDeleteSecond: return DeleteSecond();
    case id::kFinish: return Finish();
    default: return;
  }
}

void CDrawingFileListDlg::RunFileList(bool deleting) {
  CommitAll();
  (deleting ? g_deleteMode : g_fileCopyMode) = 1;
  CFileListDlg list;
  list.DoModal();
  g_deleteMode = g_fileCopyMode = 0;
  Fill();
}

void CDrawingFileListDlg::RunBackup(int direction) {
  FocusedEditIndex = direction;
  CBackupDlg backup;
  backup.DoModal();
  FocusedEditIndex = 0;
  if (direction == 1) Fill();
}

void CDrawingFileListDlg::DeleteUnit() {
  const std::string unit = platform::FieldText(g_drawingHeader.unitName);
  if (unit.empty()) return;
  if (unit == "SAMPLE") {
    ShowFilesMessage(platform::Sjis("DORN::[SAMPLE] 削除出来ません ...."));
    return;
  }
  if (!AskFilesQuestion(platform::Sjis("ユニット名 : ") + unit + platform::Sjis("\n※削除しても宜しいですか ??\n"))) return;
  const fs::path unitFolder = platform::ResolvePath(platform::DataRoot(), unit);
  std::string seconds = platform::Sjis(" セカンド名::\n  ");
  for (const std::string& s : ListUserFolders(unitFolder)) seconds += s + "\n  ";
  if (!AskFilesQuestion(seconds + platform::Sjis("すべて削除されます...\n  宜しいですか ???"))) return;
  for (const std::string& s : ListUserFolders(unitFolder)) DeleteDrawingFolder(platform::ResolvePath(unitFolder, s));
  std::error_code ec;
  if (!fs::remove(unitFolder, ec)) ShowFilesMessage(platform::Sjis("削除出来ません.....\n\n") + platform::SystemName(unitFolder));
  platform::SetFieldText(g_drawingHeader.unitName, "SAMPLE");
  platform::SetFieldText(g_drawingHeader.secondName, "PGM");
  Fill();
}

void CDrawingFileListDlg::DeleteSecond() {
  const std::string unit = platform::FieldText(g_drawingHeader.unitName);
  const std::string second = platform::FieldText(g_drawingHeader.secondName);
  if (second.empty()) return;
  if (unit == "SAMPLE" && second == "PGM") {
    ShowFilesMessage(platform::Sjis("SAMPLE::[PGM] 削除出来ません ...."));
    return;
  }
  if (!AskFilesQuestion(platform::Sjis("セカンド名 : ") + second + platform::Sjis("\n※削除しても宜しいですか ??\n")) ||
      !AskFilesQuestion(platform::Sjis("図面データ・ＮＣデータすべて削除されます...\n  宜しいですか ??")))
    return;
  DeleteDrawingFolder(DrawingFolder());
  std::string next;
  for (const std::string& s : ListUserFolders(platform::ResolvePath(platform::DataRoot(), unit)))
    if (s != second && next.empty()) next = s;
  platform::SetFieldText(g_drawingHeader.secondName, next);
  Fill();
}

void CDrawingFileListDlg::Finish() {
  CommitAll();
  for (const char* field : {g_drawingHeader.drawingName, g_drawingHeader.unitName, g_drawingHeader.secondName})
    if (field[0] == '\0' || field[0] == ' ') return;
  const platform::FileResult written = WriteSystemSettings();
  if (!written.ok()) ShowFilesMessage(platform::Utf8ToCp932(written.message));
  std::error_code ec;
  fs::create_directories(SegFolder(), ec);
  fs::create_directories(DatFolder(), ec);
  EndDialog(platform::kIdOk);
}

}  // namespace dorn
