#include "kelto_dorn/files/dialogs/backup_dialog.h"

#include <cstdio>
#include <system_error>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/files/dialogs/copy_progress_dialog.h"
#include "kelto_dorn/files/file_copy.h"
#include "kelto_dorn/files/files_messages.h"
#include "kelto_dorn/files/folder_lists.h"
#include "platform/drives.h"
#include "platform/paths.h"
#include "platform/settings_store.h"
#include "platform/text.h"

namespace dorn {

namespace fs = std::filesystem;

namespace {

using platform::ControlKind;
namespace id = backup;
constexpr char kBackupRootName[] = "KELTO_DORN";
constexpr int kComboLimit = 36;

platform::SettingsStore Settings() { return platform::SettingsStore("Kelto_Dorn"); }

std::string DescribeDriveLine(const platform::DriveInfo& d) {
  const char* kind = d.kind == platform::DriveKind::kRemovable ? "REMOVALE"
                     : d.kind == platform::DriveKind::kFixed   ? "FIXED"
                     : d.kind == platform::DriveKind::kNetwork ? "REMOTE"
                                                               : "CDROM_W";
  char line[96];
  std::snprintf(line, sizeof line, "%c:[%llu][%s]", d.letter, static_cast<unsigned long long>(d.freeBytes), kind);
  return line;
}

// The letter of a drive line ("F:..." or "F:\KELTO_DORN").
char LetterOf(const std::string& line) { return line.empty() ? '\0' : line[0]; }

}  // namespace

CBackupDlg::CBackupDlg()
    : platform::Dialog(kBackupDialogId, "",
                       {{ControlKind::StaticText, -1, platform::Sjis("ユニット名")},
                        {ControlKind::ComboBox, id::kUnit, "", 0, 220, 0, platform::control_style::kDropList, kComboLimit},
                        {ControlKind::StaticText, id::kLabel, ""},
                        {ControlKind::ComboBox, id::kDrive, "", 0, 220, 0, platform::control_style::kDropList, kComboLimit},
                        {ControlKind::PushButton, id::kAllUnits, platform::Sjis("すべてのユニット"), 0, 0, 0, platform::control_style::kCheckLook},
                        {ControlKind::PushButton, id::kSegFiles, platform::Sjis("図面ファイルのみ"), 0, 0, 0, platform::control_style::kCheckLook},
                        {ControlKind::PushButton, id::kDatFiles, platform::Sjis("データファイルのみ"), 0, 0, 0, platform::control_style::kCheckLook},
                        {ControlKind::PushButton, id::kRun, platform::Sjis("実 行")},
                        {ControlKind::PushButton, platform::kIdCancel, platform::Sjis("ｷｬﾝｾﾙ")}}) {}

bool CBackupDlg::OnInit() {
  upload_ = FocusedEditIndex == 1;
  allUnits_ = false;
  segFiles_ = datFiles_ = true;
  Fill();
  return true;
}

void CBackupDlg::OnShow() {
  SetText(id::kLabel, platform::Sjis(upload_ ? "入力先ドライヴ名" : "出力先ドライヴ名"));
  SetTitle(platform::Sjis(upload_ ? "  UPLOAD::ユニット" : "  BACKUP::ユニット"));
}

void CBackupDlg::Fill() {
  SetCheck(id::kAllUnits, allUnits_);
  SetCheck(id::kSegFiles, segFiles_);
  SetCheck(id::kDatFiles, datFiles_);
  ResetContent(id::kUnit);
  ResetContent(id::kDrive);
  const platform::SettingsStore settings = Settings();
  for (char letter = platform::kFirstDriveLetter; letter <= platform::kLastDriveLetter; ++letter) {
    if (upload_) {
      const fs::path folder = platform::DriveFolder(settings, letter);
      std::error_code ec;
      if (!folder.empty() && fs::is_directory(folder / kBackupRootName, ec))
        AddItem(id::kDrive, std::string(1, letter) + ":\\" + kBackupRootName);
    } else {
      const platform::DriveInfo drive = platform::DescribeDrive(settings, letter);
      if (drive.kind != platform::DriveKind::kNone) AddItem(id::kDrive, DescribeDriveLine(drive));
    }
  }
  SetCurSel(id::kDrive, 0);
  if (upload_) {
    if (GetCount(id::kDrive) == 0) {
      EndDialog(platform::kIdCancel);
      return;
    }
    FillUploadUnits();
  } else {
    for (const std::string& unit : ListUserFolders(platform::DataRoot())) AddItem(id::kUnit, unit);
    SelectPrefix(id::kUnit, platform::FieldText(g_drawingHeader.unitName));
  }
  SignalBeep();
}

void CBackupDlg::FillUploadUnits() {
  ResetContent(id::kUnit);
  const fs::path folder = platform::DriveFolder(Settings(), LetterOf(GetItemText(id::kDrive, GetCurSel(id::kDrive))));
  for (const std::string& unit : ListUserFolders(folder / kBackupRootName)) AddItem(id::kUnit, unit);
  SetCurSel(id::kUnit, 0);
}

void CBackupDlg::OnSelectionChanged(int controlId) {
  if (controlId == id::kDrive && upload_) FillUploadUnits();
}

void CBackupDlg::OnClick(int controlId) {
  switch (controlId) {
    case id::kAllUnits: allUnits_ = !allUnits_; break;
    case id::kSegFiles: segFiles_ = !segFiles_; break;
    case id::kDatFiles: datFiles_ = !datFiles_; break;
    case id::kRun: return Run();
    default: return;
  }
  SetCheck(id::kAllUnits, allUnits_);
  SetCheck(id::kSegFiles, segFiles_);
  SetCheck(id::kDatFiles, datFiles_);
}

void CBackupDlg::Run() {
  if (!segFiles_ && !datFiles_) return;
  const char letter = LetterOf(GetItemText(id::kDrive, GetCurSel(id::kDrive)));
  const fs::path driveFolder = platform::DriveFolder(Settings(), letter);
  const std::string unit = GetItemText(id::kUnit, GetCurSel(id::kUnit));
  if (driveFolder.empty() || (!allUnits_ && unit.empty())) return;
  const std::string drive(1, letter);
  char question[512];
  if (upload_) {
    std::snprintf(question, sizeof question,
                  (allUnits_ ? platform::Sjis("ドライヴ[%s]よりすべてのユニットをUPLOADします")
                             : platform::Sjis("ドライヴ[%s]よりユニット[%s]をUPLOADします")).c_str(),
                  drive.c_str(), unit.c_str());
  } else if (allUnits_) {
    std::snprintf(question, sizeof question, platform::Sjis("すべてのユニットを ドライヴ[%s]にBACKUPします").c_str(),
                  drive.c_str());
  } else {
    std::snprintf(question, sizeof question, platform::Sjis("ユニット[%s]をドライヴ[%s]にBACKUPします").c_str(),
                  unit.c_str(), drive.c_str());
  }
  if (ShowFilesMessage(question, platform::MessageIcon::Information, platform::MessageButtons::OkCancel) !=
      platform::kIdOk)
    return;
  CCopyProgressDlg progress;
  progress.Start(platform::Sjis("  ファイルのコピーを実行します...."));
  const fs::path backupRoot = driveFolder / kBackupRootName;
  if (!upload_) g_drawingHeader.backupWord = 1;
  std::vector<std::string> units;
  if (allUnits_) {
    for (int i = 0; i < GetCount(id::kUnit); ++i) units.push_back(GetItemText(id::kUnit, i));
  } else {
    units.push_back(unit);
  }
  std::string message;
  for (const std::string& u : units) {
    UnitCopy copy;
    copy.from = platform::ResolvePath(upload_ ? backupRoot : platform::DataRoot(), u);
    copy.to = platform::ResolvePath(upload_ ? platform::DataRoot() : backupRoot, u);
    copy.segFiles = segFiles_;
    copy.datFiles = datFiles_;
    if (!CopyUnit(copy, [&progress](const std::string& s, const std::string& t) { progress.ShowFiles(s, t); }, message)) {
      // A stopped backup says so: the drive does not hold the whole unit.
      ShowFilesMessage(platform::Sjis("コピーを中断しました\n") + message);
      break;
    }
  }
  progress.DestroyWindow();
  Fill();
}

}  // namespace dorn
