#include "kelto_dorn/files/dialogs/data_edit_dialog.h"

#include "kelto_dorn/files/drawing_folders.h"
#include "kelto_dorn/files/file_listing.h"
#include "kelto_dorn/files/files_messages.h"
#include "kelto_dorn/files/files_state.h"
#include "kelto_dorn/files/folder_lists.h"
#include "platform/paths.h"
#include "platform/record_file.h"
#include "platform/text.h"

namespace dorn {

namespace {
using platform::ControlKind;
namespace id = data_edit;
constexpr char kEditRequestFile[] = "$EDIT.@@@";
constexpr std::size_t kFolderNameLimit = 52;
constexpr int kEditFailed = 2;
}  // namespace

bool MakeEditRequest(const handover::DrawingHeader& header, const std::string& name, EditRequestRecord& out) {
  out = EditRequestRecord{};
  const std::size_t dot = name.find('.');
  const std::string base = name.substr(0, dot);
  const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
  if (base.empty() || base.size() >= sizeof out.fileName || extension.size() >= sizeof out.extension ||
      extension.find('.') != std::string::npos)
    return false;
  platform::SetFieldText(out.unitName, platform::FieldText(header.unitName));
  platform::SetFieldText(out.secondName, platform::FieldText(header.secondName));
  platform::SetFieldText(out.fileName, base);
  platform::SetFieldText(out.extension, extension);
  return true;
}

CDataEditDlg::CDataEditDlg(handover::DrawingHeader& header)
    : platform::Dialog(kDataEditDialogId, platform::Sjis("データ編集"),
                       {{ControlKind::ComboBox, id::kUnit, "", 0, 200, 0, platform::control_style::kDropList},
                        {ControlKind::ComboBox, id::kSecond, "", 0, 200, 0, platform::control_style::kDropList},
                        {ControlKind::ListBox, id::kList, "", 0, 520, 260, platform::control_style::kFixedPitch},
                        {ControlKind::PushButton, id::kRun, platform::Sjis("実 行")},
                        {ControlKind::PushButton, platform::kIdCancel, platform::Sjis("ｷｬﾝｾﾙ")}}),
      header_(header) {}

bool CDataEditDlg::OnInit() {
  Fill();
  return true;
}

void CDataEditDlg::Fill() {
  const std::string unit = platform::FieldText(header_.unitName), second = platform::FieldText(header_.secondName);
  ResetContent(id::kUnit);
  ResetContent(id::kSecond);
  ResetContent(id::kList);
  for (const std::string& name : ListUserFolders(platform::DataRoot())) AddItem(id::kUnit, name);
  const auto unitFolder = platform::ResolvePath(platform::DataRoot(), unit);
  for (const std::string& name : ListUserFolders(unitFolder)) AddItem(id::kSecond, name);
  SelectPrefix(id::kUnit, unit);
  SelectPrefix(id::kSecond, second);
  for (const ListedFile& file : ListFolder(platform::ResolvePath(platform::ResolvePath(unitFolder, second), "DAT"), "*.*"))
    AddItem(id::kList, file.folder ? "[DIR]" + file.name : FileListLine(file.name, file, true));
}

void CDataEditDlg::OnSelectionChanged(int controlId) {
  if (controlId != id::kUnit && controlId != id::kSecond) return;
  const std::string unit = CutListName(GetItemText(id::kUnit, GetCurSel(id::kUnit)), kFolderNameLimit);
  const std::string second =
      controlId == id::kSecond ? CutListName(GetItemText(id::kSecond, GetCurSel(id::kSecond)), kFolderNameLimit) : "";
  if (!unit.empty()) platform::SetFieldText(header_.unitName, unit);
  platform::SetFieldText(header_.secondName, second);
  Fill();
}

void CDataEditDlg::OnClick(int controlId) {
  if (controlId == id::kRun) WriteEditRequest();
}

void CDataEditDlg::OnDoubleClick(int controlId) {
  if (controlId == id::kList) WriteEditRequest();
}

void CDataEditDlg::WriteEditRequest() {
  const int row = GetCurSel(id::kList);
  if (row < 0) return EndDialog(platform::kIdCancel);
  const std::string line = GetItemText(id::kList, row);
  if (IsFolderLine(line)) return;
  const std::string name = NameOfListLine(line);
  EditRequestRecord record;
  if (!MakeEditRequest(header_, name, record)) {
    ShowFilesMessage(platform::Sjis("このファイル名は編集に渡せません (拡張子は3文字まで、\".\"は1つまで)\n") + name);
    return;
  }
  const std::string unit = platform::FieldText(header_.unitName), second = platform::FieldText(header_.secondName);
  platform::SetFieldText(g_pathBuffer, platform::SystemName(platform::DataRoot()) + "\\" + unit + "\\" + second +
                                           "\\DAT\\" + name);
  const platform::FileResult written =
      platform::WriteRecords(platform::ProgramFolder() / kEditRequestFile, &record, 1);
  if (!written.ok()) {
    // The editor would open whatever an older request named: say so and stop.
    ShowFilesMessage(platform::Sjis("$EDIT.@@@ を書けません\n") + platform::Utf8ToCp932(written.message));
    return EndDialog(kEditFailed);
  }
  EndDialog(platform::kIdOk);
}

int RunDataEditDialog(handover::DrawingHeader& header) {
  CDataEditDlg dialog(header);
  return dialog.DoModal();
}

}  // namespace dorn
