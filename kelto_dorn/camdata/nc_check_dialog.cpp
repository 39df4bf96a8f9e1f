// The NC data check dialog: see nc_check_dialog.h.
#include "kelto_dorn/camdata/nc_check_dialog.h"

#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/camdata/nc_requests.h"
#include "kelto_dorn/camdata/run_settings.h"
#include "platform/choosers.h"
#include "platform/dravelo.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/record_file.h"
#include "platform/text.h"

namespace dorn {

namespace {

using platform::ControlKind;
using platform::ControlSpec;
namespace id = nc_check;

constexpr int kRunGroup = 9101, kDeviceGroup = 9102, kScreenGroup = 9103, kFileGroup = 9104;
constexpr int kCheckOwnMode = 11, kCheckSharedMode = 12;

std::int32_t& PlotterFlag() { return g_drawingHeader.ncSetting332; }

std::vector<ControlSpec> ControlTable() {
  using platform::Sjis;
  return {
      {ControlKind::GroupBox, kRunGroup, Sjis("実行モード")},
      {ControlKind::RadioButton, id::kNormal, "NORMAL", kRunGroup},
      {ControlKind::RadioButton, id::kPause, "PAUSE", kRunGroup},
      {ControlKind::RadioButton, id::kSlow, "SLOW", kRunGroup},
      {ControlKind::GroupBox, kDeviceGroup, Sjis("出力先")},
      {ControlKind::RadioButton, id::kGraphic, "GRAPHIC", kDeviceGroup},
      {ControlKind::RadioButton, id::kPlotter, "PLOTER", kDeviceGroup},
      {ControlKind::GroupBox, kScreenGroup, Sjis("画面")},
      {ControlKind::RadioButton, id::kScreenNew, Sjis("新 規"), kScreenGroup},
      {ControlKind::RadioButton, id::kScreenOverwrite, Sjis("上書き"), kScreenGroup},
      {ControlKind::GroupBox, kFileGroup, Sjis("ＮＣファイル")},
      {ControlKind::RadioButton, id::kOwnFile, Sjis("Keltoファイル"), kFileGroup},
      {ControlKind::RadioButton, id::kSharedFile, Sjis("共有ファイル"), kFileGroup},
      {ControlKind::Edit, id::kFileField, "", kFileGroup, 360, 0, platform::control_style::kReadOnly},
      {ControlKind::PushButton, id::kDrawingState, Sjis("作画状態")},
      {ControlKind::PushButton, id::kOutput, Sjis("出 力")},
      {ControlKind::PushButton, id::kCancel, Sjis("ｷｬﾝｾﾙ")},
  };
}

// The drawing's own NC file as the field shows it.
std::string OwnFileText() {
  const handover::DrawingHeader& h = g_drawingHeader;
  return platform::FieldText(h.unitName) + "\\" + platform::FieldText(h.secondName) + "\\" +
         platform::FieldText(h.drawingName) + "." + platform::FieldText(h.dataExtension);
}

}  // namespace

bool WriteCheckFileName(const std::string& pathCp932, std::string* message) {
  if (pathCp932.size() >= kCheckFileBytes) {
    *message = platform::Sjis("共有ファイルのパスが長すぎます (255 バイトまで)");
    return false;
  }
  char record[kCheckFileBytes] = {};
  std::memcpy(record, pathCp932.data(), pathCp932.size());
  const platform::FileResult r =
      platform::WriteFileAtomic(platform::ProgramFolder() / kCheckFileName, record, sizeof record);
  if (!r.ok()) {
    *message = platform::Utf8ToCp932(r.message);
    return false;
  }
  return true;
}

CNcDataCheckDlg::CNcDataCheckDlg(const CamServices& services)
    : platform::Dialog(kNcCheckDialogId, platform::Sjis("  ＮＣデータチェック"), ControlTable()), services_(services) {}

bool CNcDataCheckDlg::OnInit() {
  Enable(id::kDrawingState, static_cast<bool>(services_.drawingStateDialog));
  Display();
  return true;
}

void CNcDataCheckDlg::OnClick(int control) {
  if (ClickRunSetting(control)) {
    Display();
    return;
  }
  switch (control) {
    case id::kGraphic:
    case id::kPlotter:
      PlotterFlag() = control == id::kPlotter ? 1 : 0;
      break;
    case id::kDrawingState:
      if (services_.drawingStateDialog) services_.drawingStateDialog(PlotterFlag());
      break;
    case id::kOwnFile:
      sharedPath_.clear();
      break;
    case id::kSharedFile:
      ChooseSharedFile();
      break;
    case id::kOutput:
      Output();
      break;
    case id::kCancel:
      EndDialog(platform::kIdCancel);
      return;
    default:
      break;
  }
  Display();
}

void CNcDataCheckDlg::ChooseSharedFile() {
  std::string path;
  const platform::DraveloAnswer answer = platform::RunDravelo(platform::DraveloCaller::kMainProgram);
  switch (answer.outcome) {
    case platform::DraveloOutcome::kChosen:
      path = answer.path;
      break;
    case platform::DraveloOutcome::kAbsent: {
      platform::FileChooserRequest request;
      request.filters = platform::ParseFileFilters(platform::Sjis("すべてのファイル (*.*)|*.*||"));
      const std::optional<std::string> chosen = platform::ChooseFile(request);
      if (chosen) path = *chosen;
      break;
    }
    case platform::DraveloOutcome::kFailed:
      platform::ShowMessageBox({platform::Utf8ToCp932(answer.message), std::string(), platform::MessageButtons::Ok,
                                platform::MessageIcon::Exclamation});
      break;
    case platform::DraveloOutcome::kNothingChosen:
      break;
  }
  if (path.empty()) return;  // the choice stays as it was
  if (path.size() >= kCheckFileBytes) {
    platform::ShowMessageBox({platform::Sjis("共有ファイルのパスが長すぎます (255 バイトまで)"), std::string(),
                              platform::MessageButtons::Ok, platform::MessageIcon::Exclamation});
    return;
  }
  sharedPath_ = path;
}

void CNcDataCheckDlg::Output() {
  const bool shared = UsesSharedFile();
  const int subMode = PlotterFlag() == 1 ? 2 : 0;
  BuildAndStart(services_, 0, shared ? kCheckSharedMode : kCheckOwnMode, subMode, [this, shared] {
    if (!shared) return true;
    std::string message;
    if (WriteCheckFileName(sharedPath_, &message)) return true;
    // The companion would check another file than the one chosen.
    platform::ShowMessageBox({message, std::string(), platform::MessageButtons::Ok, platform::MessageIcon::Stop});
    return false;
  });
}

void CNcDataCheckDlg::Display() {
  ShowRunSettings(*this);
  SetCheck(id::kGraphic, PlotterFlag() == 1 ? 0 : 1);
  SetCheck(id::kPlotter, PlotterFlag() == 1 ? 1 : 0);
  SetCheck(id::kOwnFile, UsesSharedFile() ? 0 : 1);
  SetCheck(id::kSharedFile, UsesSharedFile() ? 1 : 0);
  SetText(id::kFileField, UsesSharedFile() ? sharedPath_ : OwnFileText());
}

}  // namespace dorn
