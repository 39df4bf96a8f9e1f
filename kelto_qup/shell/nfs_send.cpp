#include "kelto_qup/shell/nfs_send.h"

#include "kelto_qup/shell/nc_copy.h"
#include "kelto_qup/shell/nfs_folder_dialogs.h"

#include <cstdio>
#include <fstream>
#include <system_error>
#include <vector>

#include "platform/application.h"
#include "platform/choosers.h"
#include "platform/dravelo.h"
#include "platform/drives.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/settings_store.h"
#include "platform/text.h"

namespace qup::shell {

namespace fs = std::filesystem;

namespace {

using SlotRef = NfsSlotRef;
SlotRef Slot(NfsSendSettings& s, int i) { return NfsSlot(s, i); }

constexpr int kSlotButtons[] = {CNfsSendDlg::kSlot1, CNfsSendDlg::kSlot2, CNfsSendDlg::kSlot3, CNfsSendDlg::kSlot4,
                                CNfsSendDlg::kSlot5};

fs::path SettingsPath() { return platform::ResolvePath(platform::ProgramFolder(), kNfsSettingsFileName); }

std::string Text(const char* field, std::size_t width) { return platform::FieldText(field, width); }

std::string NameWithExtension(const std::string& name, const std::string& extension) {
  return extension.empty() ? name : name + "." + extension;
}

}  // namespace

NfsSlotRef NfsSlot(NfsSendSettings& s, int slot) {
  switch (slot) {
    case 1: return {s.slot1, s.letter1, s.label1};
    case 2: return {s.slot2, s.letter2, s.label2};
    case 3: return {s.slot3, s.letter3, s.label3};
    case 4: return {s.slot4, s.letter4, s.label4};
    default: return {s.slot5, s.letter5, s.label5};
  }
}

void ApplyNfsDefaults(NfsSendSettings& s) {
  const struct {
    int number;
    char letter;
    const char* label;
  } defaults[] = {{0, 'A', "[A] FD_Drive"}, {2, 'C', "[C] My_Drive"}, {3, 'I', "[I] My_Drive"},
                  {4, 'J', "[J] My_Drive"}, {5, 'K', "[K] My_Drive"}};
  for (int i = 1; i <= 5; ++i) {
    SlotRef slot = Slot(s, i);
    if (slot.letter[0] != 0) continue;
    slot.number = defaults[i - 1].number;
    slot.letter[0] = defaults[i - 1].letter;
    platform::SetFieldText(slot.label, 32, defaults[i - 1].label);
  }
}

platform::FileResult ReadNfsSettings(NfsSendSettings& s) {
  NfsSendSettings read{};
  platform::FileResult result = platform::ReadRecord(SettingsPath(), read);
  if (result.ok()) {
    platform::TerminateField(read.folder);
    s = read;
  } else {
    s = NfsSendSettings{};
  }
  ApplyNfsDefaults(s);
  return result;
}

platform::FileResult WriteNfsSettings(const NfsSendSettings& s) { return platform::WriteRecord(SettingsPath(), s); }

bool SplitListedPath(const std::string& path, handover::DrawingHeader& header) {
  // From the end: name.ext, "DAT", second name, unit name; whatever the data
  // root's length, the same file is named.
  std::vector<std::string> parts;
  std::string part;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const auto c = static_cast<unsigned char>(path[i]);
    if (platform::IsCp932LeadByte(c) && i + 1 < path.size()) {
      part += path[i];
      part += path[++i];
    } else if (c == '\\' || c == '/') {
      parts.push_back(std::move(part));
      part.clear();
    } else {
      part += static_cast<char>(c);
    }
  }
  parts.push_back(std::move(part));
  if (parts.size() < 4 || parts.back().empty()) return false;
  const std::string& file = parts[parts.size() - 1];
  const std::size_t dot = file.find('.');
  platform::SetFieldText(header.unitName, parts[parts.size() - 4]);
  platform::SetFieldText(header.secondName, parts[parts.size() - 3]);
  platform::SetFieldText(header.drawingName, file.substr(0, dot));
  platform::SetFieldText(header.dataExtension, dot == std::string::npos ? std::string() : file.substr(dot + 1, 3));
  return true;
}

fs::path NfsTargetPath(const NfsSendSettings& s, const std::string& name, std::string& why) {
  const std::string folder = Text(s.folder, sizeof s.folder);
  if (folder.find("..") != std::string::npos) {
    why = platform::Sjis("送信先に .. は使えません");
    return {};
  }
  if (PlainFileName(name).empty()) {  // a typed name stays a name in the target folder
    why = platform::Sjis("ファイル名にフォルダや .. は使えません");
    return {};
  }
  if (s.selection == kPickedFolder) return platform::NativePath(folder + name);
  const std::string drive = Text(s.drive, sizeof s.drive);
  const platform::SettingsStore store("Kelto_qup");
  const std::optional<fs::path> target = platform::ResolveDrivePath(store, drive + "\\" + folder + name);
  if (!target) {
    why = drive + platform::Sjis(" はドライブとして設定されていません");
    return {};
  }
  std::error_code ec;
  fs::create_directories(target->parent_path(), ec);  // every level below the drive
  return *target;
}

int CopyWhole(const fs::path& source, const fs::path& target) {
  std::ifstream in(source, std::ios::binary);
  if (!in) return 95;
  fs::path temporary = target;
  temporary += ".sending";
  std::error_code ec;
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return 96;
    out << in.rdbuf();
    out.flush();
    if (!out) {
      out.close();
      fs::remove(temporary, ec);
      return 96;
    }
  }
  fs::rename(temporary, target, ec);
  if (ec) {
    fs::remove(temporary, ec);
    return 96;
  }
  return 0;
}

// ---- the dialog

namespace {

std::vector<platform::ControlSpec> NfsControls() {
  using platform::ControlKind;
  const unsigned look = platform::control_style::kCheckLook;
  return {
      {ControlKind::PushButton, CNfsSendDlg::kSlot1, "", 0, 140, 0, look},
      {ControlKind::PushButton, CNfsSendDlg::kSlot2, "", 0, 140, 0, look},
      {ControlKind::PushButton, CNfsSendDlg::kSlot3, "", 0, 140, 0, look},
      {ControlKind::PushButton, CNfsSendDlg::kSlot4, "", 0, 140, 0, look},
      {ControlKind::PushButton, CNfsSendDlg::kSlot5, "", 0, 140, 0, look},
      {ControlKind::PushButton, CNfsSendDlg::kFolderList, platform::Sjis("一覧")},
      {ControlKind::PushButton, CNfsSendDlg::kDriveChange, "DRIVE_CHANGE"},
      {ControlKind::StaticText, -1, platform::Sjis("フォルダ")},
      {ControlKind::Edit, CNfsSendDlg::kFolder, "", 0, 320, 0, 0, 256},
      {ControlKind::StaticText, -1, platform::Sjis("ファイル名")},
      {ControlKind::Edit, CNfsSendDlg::kName, "", 0, 220, 0, 0, 32},
      {ControlKind::PushButton, CNfsSendDlg::kShared, platform::Sjis("共有ファイル"), 0, 0, 0, look},
      {ControlKind::PushButton, CNfsSendDlg::kSend, platform::Sjis("送 信"), 0, 0, 0, look},
  };
}

}  // namespace

CNfsSendDlg::CNfsSendDlg(RunContext& run, handover::DrawingHeader& header, int automatic)
    : Dialog(kTemplateId, platform::Sjis("NFS::データ送信"), NfsControls()),
      run_(run),
      header_(header),
      automatic_(automatic) {}

bool CNfsSendDlg::OnInit() {
  const platform::FileResult read = ReadNfsSettings(settings_);
  if (!read.ok() && !read.missing()) platform::ShowMessageBox(platform::Utf8ToCp932(read.message), {}, 0x30);
  Refresh();
  return true;
}

void CNfsSendDlg::OnShow() {
  if (automatic_ > 40) SetTimer(kAutoTimer, 900, platform::TimerKind::OneShot);
}

void CNfsSendDlg::OnTimer(int timerId) {
  if (timerId != kAutoTimer) return;
  KillTimer(kAutoTimer);
  Send();
}

void CNfsSendDlg::Refresh() {
  SetCheck(kShared, settings_.selection == kPickedFolder);
  int chosen = 0;
  for (int i = 1; i <= 5; ++i) {
    SlotRef slot = Slot(settings_, i);
    SetText(kSlotButtons[i - 1], Text(slot.label, 32));
    SetCheck(kSlotButtons[i - 1], 0);
    if (chosen == 0 && slot.number == settings_.selection) chosen = i;
  }
  SlotRef slot = Slot(settings_, chosen == 0 ? 1 : chosen);
  settings_.drive[0] = slot.letter[0];
  settings_.drive[1] = ':';
  settings_.drive[2] = 0;
  SetCheck(kSlotButtons[(chosen == 0 ? 1 : chosen) - 1], 1);
  std::string folder = Text(settings_.folder, sizeof settings_.folder);
  if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
  platform::SetFieldText(settings_.folder, folder);
  if (targetName_.empty()) {
    targetName_ = NameWithExtension(Text(header_.drawingName, 64), Text(header_.dataExtension, 4));
  }
  SetText(kFolder, folder);
  SetText(kName, targetName_);
  const std::string drive = Text(settings_.drive, sizeof settings_.drive);
  std::string title;
  if (folder.empty()) {
    title = platform::Sjis(" 送信先 ") + drive + "\\" + targetName_;
  } else if (settings_.selection == kPickedFolder) {
    title = platform::Sjis(" 送信先 ") + folder + targetName_;
  } else {
    title = platform::Sjis(" 送信先 ") + drive + "\\" + folder + targetName_;
  }
  SetTitle(title);
}

void CNfsSendDlg::TakeFields() {
  platform::SetFieldText(settings_.folder, GetText(kFolder));
  targetName_ = GetText(kName);
}

void CNfsSendDlg::OnOk() {
  TakeFields();
  Refresh();
  NextControl();
}

void CNfsSendDlg::OnCancel() {
  WriteNfsSettings(settings_);
  EndDialog(platform::kIdCancel);
}

void CNfsSendDlg::OnClick(int id) {
  for (int i = 1; i <= 5; ++i) {
    if (id != kSlotButtons[i - 1]) continue;
    if (settings_.selection == kPickedFolder) settings_.folder[0] = 0;
    settings_.selection = Slot(settings_, i).number;
    Refresh();
    return;
  }
  if (id == kFolderList) {
    CUserDirListDlg list(settings_);
    list.DoModal();
    Refresh();
  }
  if (id == kDriveChange) {
    CSendDriveDlg drives(settings_);
    drives.DoModal();
    Refresh();
  }
  if (id == kShared) PickShared();
  if (id == kSend) Send();
}

void CNfsSendDlg::PickShared() {
  std::string path;
  const platform::DraveloAnswer answer = platform::RunDravelo(platform::DraveloCaller::kCompanion);
  if (answer.outcome == platform::DraveloOutcome::kChosen) {
    path = answer.path;
  } else if (answer.outcome == platform::DraveloOutcome::kAbsent) {
    platform::FileChooserRequest request;
    request.save = true;
    request.folder = GetText(kFolder);
    path = platform::ChooseFile(request).value_or("");
  }
  if (path.empty()) {
    Refresh();
    return;
  }
  const std::size_t cut = path.find_last_of("\\/");
  const std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
  if (!name.empty() && name[0] != '*') targetName_ = name;
  platform::SetFieldText(settings_.folder, cut == std::string::npos ? std::string() : path.substr(0, cut + 1));
  settings_.selection = kPickedFolder;
  Refresh();
}

bool CNfsSendDlg::SendOne(const std::string& sourceName, const std::string& targetName) {
  std::string why;
  const fs::path target = NfsTargetPath(settings_, targetName, why);
  if (target.empty()) {
    platform::ShowMessageBox(why, {}, 0x10);
    return false;
  }
  // The dialog's own names (the DNC list's file), not the run's.
  const std::string relative = Text(header_.unitName, 64) + "\\" + Text(header_.secondName, 64) + "\\DAT\\" + sourceName;
  const fs::path source = platform::ResolvePath(platform::DataRoot(), relative);
  const int result = CopyWhole(source, target);
  if (result == 95) {
    run_.ErrorPath = source.string();
    run_.AbortFlag = 0;
    run_.ShowErrorCode(result);
    run_.AbortFlag = 0;
  } else if (result == 96) {
    platform::ShowMessageBox(platform::Sjis("出力ファイルがＯＰＥＮ出来ません !\n") + platform::Utf8ToCp932(target.string()),
                             {}, 0x10);
  }
  return result == 0;
}

void CNfsSendDlg::Send() {
  TakeFields();
  SetCheck(kSend, 1);
  const std::string name = Text(header_.drawingName, 64), extension = Text(header_.dataExtension, 4);
  if (targetName_.empty()) targetName_ = NameWithExtension(name, extension);
  sent_ = SendOne(NameWithExtension(name, extension), targetName_);
  if (sent_ && header_.holeSubprogram == 1) {
    // The subprogram never takes the main program's name: a typed name gets
    // its "S" too.
    const std::size_t dot = targetName_.find('.');
    const std::string subTarget = dot == std::string::npos ? targetName_ + "S"
                                                           : targetName_.substr(0, dot) + "S" + targetName_.substr(dot);
    sent_ = SendOne(NameWithExtension(name + "S", extension), subTarget);
  }
  const platform::FileResult written = WriteNfsSettings(settings_);
  if (!written.ok()) platform::ShowMessageBox(platform::Utf8ToCp932(written.message), {}, 0x30);
  SetCheck(kSend, 0);
  EndDialog(1);
}

int RunNfsTransfer(RunContext& run, int fromList) {
  handover::DrawingHeader copy = run.job.Header;
  if (fromList != 0 && !SplitListedPath(run.transfer.Com.PathBuffer, copy)) {
    run.host.ShowErrorBox(platform::Sjis("送信するファイルのパスが正しくありません：") + run.transfer.Com.PathBuffer);
    return 0;
  }
  CNfsSendDlg dialog(run, copy, fromList);
  dialog.DoModal();
  run.job.Header = copy;
  return dialog.Sent() ? 1 : 0;
}

}  // namespace qup::shell
