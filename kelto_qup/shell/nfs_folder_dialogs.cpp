#include "kelto_qup/shell/nfs_folder_dialogs.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/application.h"
#include "platform/drives.h"
#include "platform/message_box.h"
#include "platform/settings_store.h"
#include "platform/text.h"

namespace qup::shell {

namespace fs = std::filesystem;

namespace {

constexpr int kDriveLetters = platform::kLastMappedLetter - platform::kFirstDriveLetter + 1;
constexpr char kFolderMark[] = "[DIR]";

bool IsDriveNumber(int number) { return number >= 0 && number < kDriveLetters; }

char LetterOf(int number) { return static_cast<char>(platform::kFirstDriveLetter + number); }

// The folders at the root of a mapped drive, sorted, without hidden ones.
std::vector<std::string> FoldersAtRoot(const fs::path& root) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.empty() || name[0] == '.' || !it->is_directory(ec)) continue;
    names.push_back(platform::Utf8ToCp932(name));
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

// ---- the folder list

CUserDirListDlg::CUserDirListDlg(NfsSendSettings& settings)
    : Dialog(kTemplateId, platform::Sjis("ユーザー名 [DIR] 一覧"),
             {{platform::ControlKind::ListBox, kList, "", 0, 300, 260},
              {platform::ControlKind::PushButton, platform::kIdOk, "OK", 0, 0, 0,
               platform::control_style::kDefaultButton},
              {platform::ControlKind::PushButton, platform::kIdCancel, platform::Sjis("ｷｬﾝｾﾙ")}}),
      settings_(settings) {}

bool CUserDirListDlg::OnInit() {
  if (settings_.selection == kPickedFolder) {
    settings_.selection = settings_.slot1;
    settings_.folder[0] = 0;
  }
  if (!IsDriveNumber(settings_.selection)) {
    platform::ShowMessageBox(platform::Sjis("送信ドライブが正しくありません"), {}, 0x30);
    return true;
  }
  const char letter = LetterOf(settings_.selection);
  const std::string rootEntry = std::string(1, letter) + ":\\";
  AddItem(kList, rootEntry);
  const platform::SettingsStore store("Kelto_qup");
  const fs::path root = platform::DriveFolder(store, letter);
  if (root.empty()) {
    platform::ShowMessageBox(std::string(1, letter) + platform::Sjis(": はドライブとして設定されていません"), {}, 0x30);
    return true;
  }
  platform::BeginWaitCursor();
  for (const std::string& name : FoldersAtRoot(root)) AddItem(kList, kFolderMark + name);
  platform::EndWaitCursor();
  return true;
}

void CUserDirListDlg::TakeSelection() {
  const int row = GetCurSel(kList);
  const std::string entry = row < 0 ? std::string() : GetItemText(kList, row);
  const bool folder = entry.rfind(kFolderMark, 0) == 0 && entry.size() > sizeof kFolderMark - 1;
  platform::SetFieldText(settings_.folder, folder ? entry.substr(sizeof kFolderMark - 1) : std::string());
  EndDialog(platform::kIdOk);
}

void CUserDirListDlg::OnOk() { TakeSelection(); }

void CUserDirListDlg::OnDoubleClick(int id) {
  if (id == kList) TakeSelection();
}

// ---- the drive slots

namespace {

constexpr int kSlotGroup = 1050;  // the slots' frames, 1050-1054

std::vector<platform::ControlSpec> DriveControls() {
  using platform::ControlKind;
  std::vector<platform::ControlSpec> controls;
  for (int i = 0; i < kNfsSlotCount; ++i) {
    const int group = kSlotGroup + i;  // a frame per slot: its drive and its label
    controls.push_back({ControlKind::GroupBox, group, "No." + std::to_string(i + 1)});
    controls.push_back({ControlKind::StaticText, -1, platform::Sjis("ドライブ"), group});
    controls.push_back({ControlKind::ComboBox, CSendDriveDlg::kFirstDrive + i, "", group, 70, 0,
                        platform::control_style::kDropList});
    controls.push_back({ControlKind::StaticText, -1, platform::Sjis("表示名"), group});
    controls.push_back(
        {ControlKind::Edit, CSendDriveDlg::kFirstLabel + i, "", group, 220, 0, 0, CSendDriveDlg::kLabelLimit});
  }
  controls.push_back({ControlKind::PushButton, CSendDriveDlg::kRegister, platform::Sjis("登録")});
  controls.push_back({ControlKind::PushButton, platform::kIdCancel, platform::Sjis("ｷｬﾝｾﾙ")});
  return controls;
}

}  // namespace

CSendDriveDlg::CSendDriveDlg(NfsSendSettings& settings)
    : Dialog(kTemplateId, platform::Sjis("送信ドライブの変更"), DriveControls()), settings_(settings) {}

bool CSendDriveDlg::OnInit() {
  for (int i = 0; i < kNfsSlotCount; ++i) {
    const NfsSlotRef slot = NfsSlot(settings_, i + 1);
    chosen_[i] = slot.number;
    for (int d = 0; d < kDriveLetters; ++d) AddItem(kFirstDrive + i, "[" + std::string(1, LetterOf(d)) + "]");
    SetCurSel(kFirstDrive + i, IsDriveNumber(slot.number) ? slot.number : -1);
    const std::string label = platform::FieldText(slot.label, kNfsLabelBytes);
    SetText(kFirstLabel + i, label.substr(0, platform::Cp932PrefixLength(label, kLabelLimit)));
  }
  return true;
}

void CSendDriveDlg::OnSelectionChanged(int id) {
  const int i = id - kFirstDrive;
  if (i < 0 || i >= kNfsSlotCount) return;
  const int row = GetCurSel(id);
  if (row >= 0) chosen_[i] = row;
}

void CSendDriveDlg::OnClick(int id) {
  if (id == kRegister) Register();
}

void CSendDriveDlg::Register() {
  for (int i = 0; i < kNfsSlotCount; ++i) {
    NfsSlotRef slot = NfsSlot(settings_, i + 1);
    // A slot whose drive was never valid keeps its old letter.
    if (IsDriveNumber(chosen_[i])) {
      slot.number = chosen_[i];
      slot.letter[0] = LetterOf(chosen_[i]);
      slot.letter[1] = 0;
    }
    platform::SetFieldText(slot.label, kNfsLabelBytes, GetText(kFirstLabel + i));
  }
  // A picked folder is dropped: the selection goes back to the first slot.
  if (settings_.selection == kPickedFolder) {
    settings_.folder[0] = 0;
    settings_.selection = settings_.slot1;
  }
  EndDialog(platform::kIdOk);
}

}  // namespace qup::shell
