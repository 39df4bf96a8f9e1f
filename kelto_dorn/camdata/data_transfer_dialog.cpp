#include "kelto_dorn/camdata/data_transfer_dialog.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <system_error>
#include <vector>

#include "kelto_dorn/files/folder_lists.h"
#include "platform/application.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "shared/handover/transfer_list.h"

namespace dorn {

namespace data_transfer {

int ToggleGraphic(int b) { return b == kNetwork ? b : b ^ kDraw; }
int ToggleDataList(int b) { return b == kNetwork ? b : b ^ kList; }
// Off again it leaves COM2 with GRAPHIC on.
int ToggleNfsOut(int b) { return (b & kNetwork) != 0 ? (kDraw | 1) : kNetwork; }
int ChoosePort(int b, int index) { return b == kNetwork ? b : (b & ~kPortMask) | (index & kPortMask); }

std::string FileLine(const std::string& name, long long size, std::time_t modified) {
  std::tm local{};
  localtime_r(&modified, &local);
  std::vector<char> line(name.size() + 64);
  std::snprintf(line.data(), line.size(), "%-20s   %7lld %04d-%02d-%02d %02d:%02d.%02d", name.c_str(), size,
                local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return line.data();
}

std::string NameOfLine(const std::string& line) {
  if (line.size() >= 5 && line[0] == '[' && line[4] == ']') return {};
  return line.substr(0, line.find("  "));
}

std::string FolderNameOf(const std::string& text) {
  std::string name = text.substr(0, std::min(text.find("  "), text.find('.')));
  return name.substr(0, platform::Cp932PrefixLength(name, 52));
}

}  // namespace data_transfer

namespace {

namespace fs = std::filesystem;
using namespace data_transfer;

std::vector<platform::ControlSpec> TransferControls() {
  using platform::ControlKind;
  const unsigned look = platform::control_style::kCheckLook;
  return {
      {ControlKind::StaticText, -1, platform::Sjis("ユニット名")},
      {ControlKind::ComboBox, kUnit, "", 0, 200, 0, platform::control_style::kDropList},
      {ControlKind::StaticText, -1, platform::Sjis("セカンド名")},
      {ControlKind::ComboBox, kSecond, "", 0, 200, 0, platform::control_style::kDropList},
      {ControlKind::ListBox, kFiles, "", 0, 740, 300,
       platform::control_style::kMultiSelect | platform::control_style::kFixedPitch},
      {ControlKind::ComboBox, kPort, "", 0, 90, 0, platform::control_style::kDropList},
      {ControlKind::PushButton, kGraphic, "GRAPHIC", 0, 0, 0, look},
      {ControlKind::PushButton, kDataList, platform::Sjis("DATA表示"), 0, 0, 0, look},
      {ControlKind::PushButton, kNfsOut, "NFS_OUT", 0, 0, 0, look},
      {ControlKind::PushButton, kCopy, platform::Sjis("ファイルのコピー"), 0, 0, 0, look},
      {ControlKind::PushButton, kDelete, platform::Sjis("ファイルの削除"), 0, 0, 0, look},
      {ControlKind::PushButton, kPortSettings, platform::Sjis("ポート設定")},
      {ControlKind::PushButton, kExecute, platform::Sjis("実 行")},
  };
}

fs::path DataFolder(const handover::DrawingHeader& h) {
  return platform::DataRoot() / platform::DiskName(platform::FieldText(h.unitName)) /
         platform::DiskName(platform::FieldText(h.secondName)) / "DAT";
}

// The entries of a DAT folder: folders as "[DIR]name", files as file lines.
std::vector<std::string> ListDataFolder(const fs::path& folder) {
  std::vector<std::string> lines;
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(folder, ec)) {
    const std::string name = platform::SystemName(e.path().filename());
    if (e.is_directory(ec)) {
      lines.push_back("[DIR]" + name);
      continue;
    }
    const auto size = static_cast<long long>(e.file_size(ec));
    const auto written = e.last_write_time(ec);
    const auto systemTime = std::chrono::system_clock::now() + std::chrono::duration_cast<std::chrono::system_clock::duration>(
                                                                   written - fs::file_time_type::clock::now());
    lines.push_back(ec ? name : FileLine(name, size, std::chrono::system_clock::to_time_t(systemTime)));
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

// "<data root>\<unit>\<second>\DAT\<name>" as the transfer list spells it.
std::string ListedPath(const handover::DrawingHeader& h, const std::string& name) {
  std::string root = platform::SystemName(platform::DataRoot());
  std::replace(root.begin(), root.end(), '/', '\\');
  return root + "\\" + platform::FieldText(h.unitName) + "\\" + platform::FieldText(h.secondName) + "\\DAT\\" + name;
}

}  // namespace

CDataTransferDlg::CDataTransferDlg(const CamServices& services, handover::DrawingHeader& header)
    : Dialog(kTemplateId, platform::Sjis("  データ転送"), TransferControls()), services_(services), header_(header) {}

bool CDataTransferDlg::OnInit() {
  for (int i = 1; i <= 9; ++i) AddItem(kPort, " COM" + std::to_string(i));
  Enable(kCopy, static_cast<bool>(services_.fileListDialog));
  Enable(kDelete, static_cast<bool>(services_.fileListDialog));
  Enable(kPortSettings, static_cast<bool>(services_.portSettingDialog));
  Refresh();
  return true;
}

void CDataTransferDlg::ShowOptions() {
  const int b = header_.portByte;
  SetCheck(kGraphic, (b & kDraw) != 0);
  SetCheck(kDataList, (b & kList) != 0);
  SetCheck(kNfsOut, (b & kNetwork) != 0);
  SetCurSel(kPort, (b & kPortMask) < 9 ? (b & kPortMask) : -1);
}

void CDataTransferDlg::Refresh() {
  selection_.clear();
  SetCheck(kCopy, 0);
  SetCheck(kDelete, 0);
  ShowOptions();
  ResetContent(kUnit);
  for (const std::string& name : ListUserFolders(platform::DataRoot())) AddItem(kUnit, name);
  SetCurSel(kUnit, FindPrefix(kUnit, platform::FieldText(header_.unitName)));
  ResetContent(kSecond);
  const fs::path unit = platform::DataRoot() / platform::DiskName(platform::FieldText(header_.unitName));
  for (const std::string& name : ListUserFolders(unit)) AddItem(kSecond, name);
  SetCurSel(kSecond, FindPrefix(kSecond, platform::FieldText(header_.secondName)));
  ResetContent(kFiles);
  for (const std::string& line : ListDataFolder(DataFolder(header_))) AddItem(kFiles, line);
}

void CDataTransferDlg::TakeSelection() {
  const std::vector<int> rows = GetSelectedRows(kFiles);
  // A line the user deselected is no longer chosen: it is never sent.
  std::erase_if(selection_, [&](int row) { return std::find(rows.begin(), rows.end(), row) == rows.end(); });
  for (const int row : rows) {
    if (std::find(selection_.begin(), selection_.end(), row) != selection_.end()) continue;
    if (selection_.size() >= kMaxSelection) {
      platform::Beep();
      SetSel(kFiles, row, false);
      continue;
    }
    selection_.push_back(row);
  }
}

void CDataTransferDlg::TakeFolderName(int id) {
  const int row = GetCurSel(id);
  if (row < 0) return;
  char* field = id == kUnit ? header_.unitName : header_.secondName;
  platform::SetFieldText(field, 64, FolderNameOf(GetItemText(id, row)));
  Refresh();
}

void CDataTransferDlg::OnSelectionChanged(int id) {
  if (id == kFiles) TakeSelection();
  if (id == kUnit || id == kSecond) TakeFolderName(id);
  if (id == kPort && GetCurSel(kPort) >= 0) {
    header_.portByte = ChoosePort(header_.portByte, GetCurSel(kPort));
    ShowOptions();
  }
}

void CDataTransferDlg::OnDoubleClick(int id) {
  if (id != kFiles) return;
  TakeSelection();
  WriteList();
}

void CDataTransferDlg::OnClick(int id) {
  switch (id) {
    case kGraphic: header_.portByte = ToggleGraphic(header_.portByte); break;
    case kDataList: header_.portByte = ToggleDataList(header_.portByte); break;
    case kNfsOut: header_.portByte = ToggleNfsOut(header_.portByte); break;
    case kCopy:
    case kDelete:
      SetCheck(id, 1);
      services_.fileListDialog(id == kCopy ? 1 : 2);
      SetCheck(id, 0);
      Refresh();
      platform::Beep();
      return;
    case kPortSettings:
      platform::Beep();
      services_.portSettingDialog(header_.portByte & kPortMask);
      return;
    case kExecute: WriteList(); return;
    default: return;
  }
  ShowOptions();
}

void CDataTransferDlg::WriteList() {
  std::vector<std::string> paths;
  for (const int row : selection_) {
    const std::string name = NameOfLine(GetItemText(kFiles, row));
    if (name.empty()) continue;
    std::string path = ListedPath(header_, name);
    if (path.size() >= handover::kTransferRecordBytes) {
      // A path the list's record cannot hold whole is refused, not cut.
      platform::ShowMessageBox(platform::Sjis("パスが長すぎるため転送できません：") + path, {}, 0x30);
      return;
    }
    paths.push_back(std::move(path));
  }
  const fs::path list = platform::ResolvePath(platform::ProgramFolder(), handover::kTransferListFileName);
  const platform::FileResult written = handover::WriteTransferList(list, paths);
  if (!written.ok()) {
    platform::ShowMessageBox(platform::Utf8ToCp932(written.message), {}, 0x10);
    return;
  }
  EndDialog(paths.empty() ? 2 : 1);
}

int RunDataTransferDialog(const CamServices& services, handover::DrawingHeader& header) {
  handover::DrawingHeader work = header;
  CDataTransferDlg dialog(services, work);
  const int result = dialog.DoModal();
  header.portByte = work.portByte;
  return result == 1 ? 1 : 2;
}

}  // namespace dorn
