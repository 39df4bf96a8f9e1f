#include "kelto_dorn/files/dialogs/cad_file_list_dialog.h"

#include <cstring>

#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/files/files_messages.h"
#include "kelto_dorn/files/dialogs/file_list_dialog.h"
#include "kelto_dorn/files/dialogs/shared_file_pick.h"
#include "kelto_dorn/files/drawing_folders.h"
#include "kelto_dorn/files/file_listing.h"
#include "kelto_dorn/files/files_state.h"
#include "kelto_dorn/files/user_paths.h"
#include "kelto_dorn/files/folder_lists.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {

namespace {

using platform::ControlKind;
namespace id = cad_list;

constexpr int kDxfOutputMode = 0x8002;
constexpr int kKindButtons[] = {id::kBmi, id::kDxf, id::kIges, id::kDorn, id::kNcData, id::kTxtData};
const char* const kPatterns[] = {"*.BMI", "*.DXF", "*.IGS", "*.DRN", "*.*", "*.TXT"};

int KindOfButton(int button) {
  for (int k = 0; k < 6; ++k)
    if (kKindButtons[k] == button) return k + 1;
  return 0;
}

const char* PatternOfKind(int kind) { return kPatterns[(kind >= 1 && kind <= 6 ? kind : 2) - 1]; }

void SetPathBuffer(std::string_view text) { platform::SetFieldText(g_pathBuffer, text); }

std::string PathBufferText() { return std::string(g_pathBuffer, strnlen(g_pathBuffer, sizeof g_pathBuffer)); }

void FillFolderCombo(platform::Dialog& d, int combo, const std::filesystem::path& folder, const std::string& current) {
  d.ResetContent(combo);
  for (const std::string& name : ListUserFolders(folder)) d.AddItem(combo, name);
  d.SetText(combo, current);
  d.SelectPrefix(combo, current);
}

}  // namespace

CCadFileListDlg::CCadFileListDlg()
    : platform::Dialog(kCadFileListDialogId, platform::Sjis("ＣＡＤファイル一覧"),
                       {{ControlKind::PushButton, id::kDxf, platform::Sjis("ＤＸＦ"), 0, 0, 0, platform::control_style::kCheckLook},
                        {ControlKind::PushButton, id::kBmi, platform::Sjis("ＢＭＩ"), 0, 0, 0, platform::control_style::kCheckLook},
                        {ControlKind::PushButton, id::kIges, platform::Sjis("ＩＧＥＳ"), 0, 0, 0, platform::control_style::kCheckLook},
                        {ControlKind::PushButton, id::kDorn, platform::Sjis("ＤＯＲＮ"), 0, 0, 0, platform::control_style::kCheckLook},
                        {ControlKind::PushButton, id::kNcData, "NC_DATA", 0, 0, 0, platform::control_style::kCheckLook},
                        {ControlKind::PushButton, id::kTxtData, "TXT_DATA", 0, 0, 0, platform::control_style::kCheckLook},
                        {ControlKind::ComboBox, id::kUnit, "", 0, 200, 0, platform::control_style::kDropList, 48},
                        {ControlKind::ComboBox, id::kSecond, "", 0, 200, 0, platform::control_style::kDropList, 48},
                        {ControlKind::StaticText, id::kLabel, ""},
                        {ControlKind::Edit, id::kName, "", 0, 300, 0, 0, 128},
                        {ControlKind::ListBox, id::kList, "", 0, 560, 260, platform::control_style::kFixedPitch},
                        {ControlKind::PushButton, id::kDelete, platform::Sjis("ファイルの削除")},
                        {ControlKind::PushButton, id::kCopy, platform::Sjis("ファイルのコピー")},
                        {ControlKind::PushButton, id::kShared, platform::Sjis("共有ファイル")},
                        {ControlKind::PushButton, id::kRun, platform::Sjis("実 行")},
                        {ControlKind::PushButton, platform::kIdCancel, platform::Sjis("ｷｬﾝｾﾙ")}}) {}

bool CCadFileListDlg::OutputMode() const { return ImportFileKind == kDxfOutputMode; }

bool CCadFileListDlg::OnInit() {
  SetText(id::kLabel, platform::Sjis(OutputMode() ? "ファイル指定" : "ドライヴ指定"));
  g_typedFolder[0] = g_lastTypedPattern[0] = '\0';
  g_fileCopyMode = g_deleteMode = 0;
  if ((ImportFileKind & 0xF) == 0) ImportFileKind = 2;
  if (OutputMode()) {
    for (int button : kKindButtons) Enable(button, false);
    Enable(id::kDelete, false);
    Enable(id::kCopy, false);
    Enable(id::kShared, false);
  }
  Fill({});
  SetFocus(id::kName);
  return false;
}

void CCadFileListDlg::OnShow() {
  SetTitle(platform::Sjis(OutputMode() ? "\t DXF_OUT::ＤＸＦファイル名を指定して下さい" : "\t ＣＡＤファイル名を選択して下さい"));
}

void CCadFileListDlg::Fill(const std::string& typedName) {
  g_fileCopyMode = g_deleteMode = 0;
  const int kind = ImportFileKind & 0xF;
  for (int k = 0; k < 6; ++k) SetCheck(kKindButtons[k], k + 1 == kind ? 1 : 0);
  ResetContent(id::kList);
  const bool typed = (FileListKind & kFileListTyped) != 0;
  if (!typed) {
    FillFolderCombo(*this, id::kUnit, platform::DataRoot(), platform::FieldText(g_drawingHeader.unitName));
    FillFolderCombo(*this, id::kSecond,
                    platform::ResolvePath(platform::DataRoot(), platform::FieldText(g_drawingHeader.unitName)),
                    platform::FieldText(g_drawingHeader.secondName));
    SetPathBuffer(DrawingFolderText() + "\\DAT\\" + (typedName.empty() ? PatternOfKind(kind) : typedName));
  } else {
    SetPathBuffer(g_typedFolder);
  }
  if (OutputMode() && !typedName.empty()) {
    EndDialog(platform::kIdOk);
    return;
  }
  std::filesystem::path folder;
  std::string pattern;
  SplitSearchPattern(PathBufferText(), folder, pattern);
  const std::string folderText = typed ? PathBufferText().substr(0, PathBufferText().find_last_of("\\/") + 1) : "";
  for (const ListedFile& file : ListFolder(folder, pattern)) {
    if (file.folder) AddItem(id::kList, "[DIR]" + file.name);
    else AddItem(id::kList, FileListLine(typed ? folderText + file.name : file.name, file, false));
  }
}

void CCadFileListDlg::OnClick(int controlId) {
  if (const int kind = KindOfButton(controlId); kind != 0) {
    if (OutputMode()) return;
    ImportFileKind = kind;
    SetText(id::kName, PatternOfKind(kind));
    Fill({});
    return;
  }
  switch (controlId) {
    case id::kRun: return Execute();
    case id::kDelete: return RunFileList(true);
    case id::kCopy: return RunFileList(false);
    case id::kShared:
      if (PickSharedFile()) EndDialog(platform::kIdOk);
      return;
    default: return;
  }
}

void CCadFileListDlg::RunFileList(bool deleting) {
  FileListKind = kFileListData;
  (deleting ? g_deleteMode : g_fileCopyMode) = 1;
  SetCheck(deleting ? id::kDelete : id::kCopy, 1);
  CFileListDlg list;
  list.DoModal();
  g_deleteMode = g_fileCopyMode = 0;
  FileListKind = kFileListDrawings;
  SetCheck(deleting ? id::kDelete : id::kCopy, 0);
  Fill({});
  SignalBeep();
}

void CCadFileListDlg::OnSelectionChanged(int controlId) {
  if (controlId != id::kUnit && controlId != id::kSecond) return;
  const std::string unit = GetItemText(id::kUnit, GetCurSel(id::kUnit));
  std::string second = platform::FieldText(g_drawingHeader.secondName);
  if (controlId == id::kSecond) second = GetItemText(id::kSecond, GetCurSel(id::kSecond));
  SetDrawingFolderNames(unit.empty() ? platform::FieldText(g_drawingHeader.unitName) : unit, second);
  Fill({});
}

void CCadFileListDlg::OnDoubleClick(int controlId) {
  if (controlId == id::kList) Execute();
}

void CCadFileListDlg::OnOk() {
  // Enter in the name field: a typed folder or a name; the list stays open.
  if (FocusedControl() != id::kName) return;
  const std::string text = GetText(id::kName);
  if (text.empty()) return;
  if (text.size() >= 2 && text[1] == ':') {
    FileListKind |= kFileListTyped;
    std::string folder = text;
    if (folder.size() == 2) folder += "\\*.*";
    platform::SetFieldText(g_typedFolder, folder);
    platform::SetFieldText(g_lastTypedPattern, folder);
    Fill({});
  } else if (text.find('*') != std::string::npos || text.find('?') != std::string::npos) {
    Fill(OutputMode() ? std::string() : text);
  } else {
    Choose(text);
  }
}

// A name (CP932) in the current DAT folder or, for a typed folder, a full path.
void CCadFileListDlg::Choose(const std::string& name) {
  if (IsUnsafeFileName(name)) {
    ShowFilesMessage(platform::Sjis("ファイル名に使えない文字があります: ") + name);
    return;
  }
  SetPathBuffer(DrawingFolderText() + "\\DAT\\" + name);
  g_fileCopyMode = g_deleteMode = 0;
  EndDialog(platform::kIdOk);
}

void CCadFileListDlg::Execute() {
  const std::vector<int> rows = GetSelectedRows(id::kList);
  int row = rows.empty() ? GetCurSel(id::kList) : rows.front();
  if (row < 0) {
    const std::string text = GetText(id::kName);
    if (text.size() >= 2 && text[1] == ':') {
      SetPathBuffer(text);
      EndDialog(platform::kIdOk);
    } else if (!text.empty() && text.find('*') == std::string::npos) {
      Choose(text);
    }
    return;
  }
  const std::string line = GetItemText(id::kList, row);
  if (IsFolderLine(line)) {
    std::string folder = PathBufferText();
    folder = folder.substr(0, folder.find_last_of("\\/") + 1) + line.substr(5) + "\\*.*";
    FileListKind |= kFileListTyped;
    platform::SetFieldText(g_typedFolder, folder);
    SignalBeep();
    Fill({});
    return;
  }
  const std::string name = NameOfListLine(line);
  if ((FileListKind & kFileListTyped) != 0) {
    FileListKind &= ~kFileListTyped;
    SetPathBuffer(name);
    g_fileCopyMode = g_deleteMode = 0;
    EndDialog(platform::kIdOk);
    return;
  }
  Choose(name);
}

std::string ChosenCadPath() { return PathBufferText(); }

}  // namespace dorn
