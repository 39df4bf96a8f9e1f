#include "kelto_qup/shell/nc_copy.h"

#include <cstdio>
#include <ctime>
#include <fstream>
#include <system_error>
#include <vector>

#include "kelto_qup/shell/companion_colors.h"
#include "platform/application.h"
#include "platform/choosers.h"
#include "platform/drives.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/settings_store.h"
#include "platform/text.h"

namespace qup::shell {

namespace fs = std::filesystem;

namespace {

constexpr int kDriveCount = 14;  // "A:\" .. "N:\"
constexpr unsigned kYesNoQuestion = 0x24;

bool IsCommentLine(std::string_view line) { return !line.empty() && (line[0] == '@' || line[0] == '*'); }

std::string HeaderName(const handover::DrawingHeader& h) {
  std::string name = platform::FieldText(h.drawingName);
  const std::string extension = platform::FieldText(h.dataExtension);
  return extension.empty() ? name : name + "." + extension;
}

// "上書きしても良いですか ??" with the target's size and time.
bool MayOverwrite(const fs::path& target, const std::string& shownPath) {
  std::error_code ec;
  const auto size = static_cast<long long>(fs::file_size(target, ec));
  const auto written = fs::last_write_time(target, ec);
  const std::time_t t = std::chrono::system_clock::to_time_t(
      std::chrono::system_clock::now() +
      std::chrono::duration_cast<std::chrono::system_clock::duration>(written - fs::file_time_type::clock::now()));
  std::tm local{};
  localtime_r(&t, &local);
  std::vector<char> text(shownPath.size() + 160);
  std::snprintf(text.data(), text.size(),
                platform::Sjis("上書きしても良いですか ??\t   \n%s\t %lld %04d-%02d-%02d %02d:%02d.%02d").c_str(),
                shownPath.c_str(), size, local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                local.tm_min, local.tm_sec);
  return platform::ShowMessageBox(text.data(), {}, kYesNoQuestion) == platform::kIdYes;
}

}  // namespace

std::string PlainFileName(std::string_view typed) {
  const std::string name(typed);
  if (name.empty() || name.find("..") != std::string::npos) return {};
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (platform::IsCp932LeadByte(c)) {
      ++i;
    } else if (c == '\\' || c == '/' || c == ':' || c < 0x20) {
      return {};
    }
  }
  return name;
}

int CopyNcProgram(const fs::path& source, const fs::path& target) {
  std::ifstream in(source, std::ios::binary);
  if (!in) return kErrorCopySource;
  fs::path temporary = target;
  temporary += ".copying";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return kErrorCopyTarget;
    // Each whole line is tested, however long: no piece of a long line is
    // taken for a comment of its own.
    for (std::string line; std::getline(in, line);) {
      if (IsCommentLine(line)) continue;
      out << line;
      if (!in.eof()) out << '\n';
    }
    out.flush();
    if (!out) {
      std::error_code ec;
      out.close();
      fs::remove(temporary, ec);
      return kErrorCopyTarget;
    }
  }
  std::error_code ec;
  fs::rename(temporary, target, ec);
  if (ec) {
    fs::remove(temporary, ec);
    return kErrorCopyTarget;
  }
  return 0;
}

// ---- the dialog

namespace {

std::vector<platform::ControlSpec> CopyControls() {
  using platform::ControlKind;
  return {
      {ControlKind::StaticText, -1, platform::Sjis("ＨＤファイル名")},
      {ControlKind::Edit, CNcCopyDlg::kSource, "", 0, 220},
      {ControlKind::StaticText, -1, platform::Sjis("COPY先ファイル名")},
      {ControlKind::Edit, CNcCopyDlg::kTarget, "", 0, 220},
      {ControlKind::ComboBox, CNcCopyDlg::kDrive, "", 0, 90, 0, platform::control_style::kDropList},
      {ControlKind::CheckBox, CNcCopyDlg::kShared, platform::Sjis("共有ファイル")},
      {ControlKind::Edit, CNcCopyDlg::kFolder, "", 0, 320, 0, platform::control_style::kReadOnly},
      {ControlKind::PushButton, CNcCopyDlg::kExecute, platform::Sjis("実 行")},
  };
}

}  // namespace

CNcCopyDlg::CNcCopyDlg(RunContext& run)
    : Dialog(kTemplateId, platform::Sjis("◇ ＮＣデータのコピー"), CopyControls()), run_(run) {}

bool CNcCopyDlg::OnInit() {
  SetDialogColors(6);
  const handover::DrawingHeader& h = run_.job.Header;
  SetText(kSource, HeaderName(h));
  SetText(kTarget, h.programNumber != 0 ? std::to_string(h.programNumber) : std::string());
  for (int i = 0; i < kDriveCount; ++i) AddItem(kDrive, std::string(1, static_cast<char>('A' + i)) + ":\\");
  SetCurSel(kDrive, 0);
  return true;
}

void CNcCopyDlg::ForgetPickedFolder() {
  picked_ = false;
  pickedFolder_.clear();
  SetCheck(kShared, 0);
  SetText(kFolder, "");
}

void CNcCopyDlg::OnSelectionChanged(int id) {
  if (id == kDrive) ForgetPickedFolder();
}

void CNcCopyDlg::OnOk() {
  const std::string target = GetText(kTarget);
  SetText(kTarget, target.substr(0, target.find(' ')));
  NextControl();
}

void CNcCopyDlg::OnClick(int id) {
  if (id == kShared) PickSharedTarget();
  if (id == kExecute) Copy();
}

void CNcCopyDlg::PickSharedTarget() {
  platform::FileChooserRequest request;
  request.save = true;
  request.fileName = "*.*";
  const std::optional<std::string> chosen = platform::ChooseFile(request);
  if (!chosen) {
    ForgetPickedFolder();
    return;
  }
  const std::size_t cut = chosen->find_last_of("\\/");
  const std::string name = cut == std::string::npos ? *chosen : chosen->substr(cut + 1);
  if (!name.empty() && name[0] != '*') SetText(kTarget, name);
  pickedFolder_ = cut == std::string::npos ? std::string() : chosen->substr(0, cut + 1);
  picked_ = true;
  SetCheck(kShared, 1);
  SetText(kFolder, pickedFolder_);
}

fs::path CNcCopyDlg::TargetPath(const std::string& name) {
  if (picked_) return platform::NativePath(pickedFolder_ + name);
  const std::string drive = GetItemText(kDrive, GetCurSel(kDrive));
  const platform::SettingsStore store("Kelto_qup");
  const std::optional<fs::path> resolved = platform::ResolveDrivePath(store, drive + name);
  if (!resolved) {
    platform::ShowMessageBox(drive + platform::Sjis(" はドライブとして設定されていません"), {}, 0x30);
    return {};
  }
  return *resolved;
}

void CNcCopyDlg::Copy() {
  const handover::DrawingHeader& h = run_.job.Header;
  const std::string typedTarget = GetText(kTarget);
  const std::string targetName = typedTarget.empty() ? HeaderName(h) : PlainFileName(typedTarget);
  const std::string sourceName = PlainFileName(GetText(kSource));
  if (targetName.empty() || sourceName.empty()) {
    platform::ShowMessageBox(platform::Sjis("ファイル名にフォルダや .. は使えません"), {}, 0x30);
    return;
  }
  const fs::path target = TargetPath(targetName);
  if (target.empty()) return;
  if (fs::exists(target) && !MayOverwrite(target, platform::Utf8ToCp932(target.string()))) return;
  const fs::path source = platform::ResolvePath(platform::DataRoot(), run_.DatFolderRelative(sourceName));
  const int result = CopyNcProgram(source, target);
  if (result != 0) {
    run_.AbortFlag = 0;
    run_.ShowErrorCode(result);
    run_.AbortFlag = 0;
  }
  platform::Beep();
  EndDialog(1);
}

int RunNcCopy(RunContext& run) {
  CNcCopyDlg dialog(run);
  return dialog.DoModal();
}

}  // namespace qup::shell
