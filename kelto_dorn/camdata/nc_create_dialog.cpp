// The NC data creation dialog: see nc_create_dialog.h.
#include "kelto_dorn/camdata/nc_create_dialog.h"

#include <cmath>
#include <cstdio>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/camdata/camdata_state.h"
#include "kelto_dorn/camdata/nc_requests.h"
#include "kelto_dorn/camdata/run_settings.h"
#include "kelto_dorn/camdata/order_items.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/text.h"

namespace dorn {

namespace {

using platform::ControlKind;
using platform::ControlSpec;
namespace id = nc_create;

// Group boxes of the dialog (their ids are the radio sets).
constexpr int kOutputGroup = 9001, kRunGroup = 9002, kScreenGroup = 9003, kMapGroup = 9004, kCloudGroup = 9005,
              kFileGroup = 9006;

handover::DrawingHeader& H() { return g_drawingHeader; }
// The settings' places in the system record.
std::int32_t& OutputKindWord() { return H().ncSetting324; }
std::int32_t& PlotterFlag() { return H().ncSetting332; }
std::int32_t& DataMapOutput() { return H().machiningSetting444; }
std::int32_t& PointCloudType() { return H().ncSetting328; }
std::int32_t& ScreenMode() { return H().displayListReload; }
std::int32_t& FileNameSource() { return H().programNumberSwitch; }
std::int32_t& MachineChannel() { return H().machiningTimeRecord; }

std::vector<ControlSpec> ControlTable() {
  using platform::Sjis;
  const unsigned start = platform::control_style::kGroupStart;
  return {
      {ControlKind::GroupBox, kOutputGroup, Sjis("出力")},
      {ControlKind::RadioButton, id::kDataCreation, Sjis("データ作成"), kOutputGroup},
      {ControlKind::RadioButton, id::kGraphic, Sjis("グラフィック"), kOutputGroup},
      {ControlKind::RadioButton, id::kDataMap, Sjis("データマップ"), kOutputGroup},
      {ControlKind::RadioButton, id::kNcCheck, Sjis("ＮＣチェック"), kOutputGroup},
      {ControlKind::GroupBox, kRunGroup, Sjis("実行モード")},
      {ControlKind::RadioButton, id::kNormal, "NORMAL", kRunGroup},
      {ControlKind::RadioButton, id::kPause, "PAUSE", kRunGroup},
      {ControlKind::RadioButton, id::kSlow, "SLOW", kRunGroup},
      {ControlKind::GroupBox, kScreenGroup, Sjis("画面")},
      {ControlKind::RadioButton, id::kScreenNew, Sjis("新 規"), kScreenGroup},
      {ControlKind::RadioButton, id::kScreenOverwrite, Sjis("上書き"), kScreenGroup},
      {ControlKind::GroupBox, kMapGroup, Sjis("データマップ")},
      {ControlKind::RadioButton, id::kAbsOutput, Sjis("ABS出力"), kMapGroup},
      {ControlKind::RadioButton, id::kPointCloud, Sjis("点群出力"), kMapGroup},
      {ControlKind::RadioButton, id::kScreenOutput, Sjis("画面出力"), kMapGroup},
      {ControlKind::RadioButton, id::kPlotter, "PLOTTER", kMapGroup},
      {ControlKind::GroupBox, kCloudGroup, Sjis("点群")},
      {ControlKind::RadioButton, id::kCloudXy, "XY", kCloudGroup},
      {ControlKind::RadioButton, id::kCloudXz, "XZ", kCloudGroup},
      {ControlKind::RadioButton, id::kCloudYz, "YZ", kCloudGroup},
      {ControlKind::RadioButton, id::kCloudDz, "DZ", kCloudGroup},
      {ControlKind::GroupBox, kFileGroup, Sjis("ファイル名")},
      {ControlKind::RadioButton, id::kDrawingFileName, Sjis("図面ﾌｧｲﾙ名"), kFileGroup, 0, 0, start},
      {ControlKind::RadioButton, id::kONumberFileName, Sjis("Ｏ番ﾌｧｲﾙ名"), kFileGroup},
      {ControlKind::StaticText, -1, Sjis("データ.拡張子")},
      {ControlKind::Edit, id::kExtension, "", 0, 60, 0, 0, 8},
      {ControlKind::StaticText, -1, Sjis("Ｏ番号")},
      {ControlKind::Edit, id::kONumber, "", 0, 80},
      {ControlKind::StaticText, -1, Sjis("機械")},
      {ControlKind::ComboBox, id::kChannel, "", 0, 80, 0, platform::control_style::kDropList},
      {ControlKind::PushButton, id::kDrawingState, Sjis("作画状態")},
      {ControlKind::PushButton, id::kMachiningInfo, Sjis("加工情報")},
      {ControlKind::PushButton, id::kCentring, Sjis("芯出し")},
      {ControlKind::PushButton, id::kOutput, Sjis("出 力"), 0, 0, 0, platform::control_style::kCheckLook},
      {ControlKind::PushButton, id::kCancel, Sjis("ｷｬﾝｾﾙ")},
  };
}

const char* TitleOf(int kind) {
  switch (kind) {
    case kOutputGraphic:
      return "  グラフィック";
    case kOutputDataMap:
      return "  データマップ";
    case kOutputNcCheck:
      return "  ＮＣチェック";
    default:
      return "  ＮＣデータ作成";
  }
}

}  // namespace

StartPair StartPairOf(int outputKind, int dataMapOutput, int plotterFlag) {
  switch (outputKind) {
    case kOutputGraphic:
      return {4, 0};
    case kOutputDataMap:
      switch (dataMapOutput) {
        case kMapPointCloud:
          return {7, 6};
        case kMapPlotter:
          return {2, 0};
        case kMapScreen:
          return {0, 0};
        default:
          return {1, 6};
      }
    case kOutputNcCheck:
      return {11, plotterFlag == 1 ? 2 : 0};
    default:
      return {4, 6};
  }
}

void PrepareMachiningOrder() {
  const std::int32_t singleKey = g_machiningOrderCount & kOrderSingleKeyMask;
  if (OrderListLength() > 0) g_machiningOrderCount |= kOrderListInForce;
  if (singleKey != 0) {
    TruncateMachiningOrder(0);
    g_machiningOrderList[0] = singleKey;
    g_machiningOrderCount = kOrderListInForce;
  }
}

CNcDataCreateDlg::CNcDataCreateDlg(const CamServices& services)
    : platform::Dialog(kNcCreateDialogId, platform::Sjis("  ＮＣデータ作成"), ControlTable()), services_(services) {}

int CNcDataCreateDlg::OutputKind() const { return OutputKindWord(); }

bool CNcDataCreateDlg::OnInit() {
  if (g_ncOutputRequest != 0) OutputKindWord() = g_ncOutputRequest;
  g_ncOutputRequest = 0;
  if (OutputKindWord() < kOutputDataCreation || OutputKindWord() > kOutputNcCheck) {
    OutputKindWord() = kOutputDataCreation;
  }
  if (OutputKindWord() != kOutputNcCheck) PrepareMachiningOrder();
  for (int i = 1; i <= 4; ++i) AddItem(id::kChannel, "MC_" + std::to_string(i));
  if (MachineChannel() < 2 || MachineChannel() > 4) MachineChannel() = 1;
  SetCurSel(id::kChannel, MachineChannel() - 1);
  Enable(id::kDrawingState, static_cast<bool>(services_.drawingStateDialog));
  Enable(id::kMachiningInfo, static_cast<bool>(services_.machiningInfoDialog));
  Enable(id::kCentring, static_cast<bool>(services_.autoCentringDialog));
  Display();
  return true;
}

void CNcDataCreateDlg::SetOutputKind(int kind) {
  OutputKindWord() = kind;
  PlotterFlag() = 0;
}

void CNcDataCreateDlg::OnClick(int control) {
  CommitPendingEdit();
  if (ClickRunSetting(control)) {
    Display();
    return;
  }
  const bool dataMap = OutputKindWord() == kOutputDataMap;
  switch (control) {
    case id::kDataCreation:
      SetOutputKind(kOutputDataCreation);
      break;
    case id::kGraphic:
      SetOutputKind(kOutputGraphic);
      break;
    case id::kDataMap:
      SetOutputKind(kOutputDataMap);
      break;
    case id::kNcCheck:
      SetOutputKind(kOutputNcCheck);
      break;
    case id::kAbsOutput:
    case id::kPointCloud:
    case id::kScreenOutput:
    case id::kPlotter:
      if (!dataMap) break;
      DataMapOutput() = control == id::kAbsOutput    ? kMapAbs
                        : control == id::kPointCloud ? kMapPointCloud
                        : control == id::kPlotter    ? kMapPlotter
                                                     : kMapScreen;
      PlotterFlag() = control == id::kPlotter ? 1 : 0;
      break;
    case id::kCloudXy:
    case id::kCloudXz:
    case id::kCloudYz:
    case id::kCloudDz:
      if (dataMap && DataMapOutput() == kMapPointCloud) {
        PointCloudType() = control == id::kCloudXy ? 0 : control == id::kCloudXz ? 1 : control == id::kCloudYz ? 2 : 3;
      }
      break;
    case id::kDrawingFileName:
    case id::kONumberFileName:
      FileNameSource() = control == id::kDrawingFileName ? 0 : 1;
      break;
    case id::kDrawingState:
      if (services_.drawingStateDialog) {
        services_.drawingStateDialog(OutputKindWord() > kOutputGraphic && PlotterFlag() == 1 ? 1 : 0);
      }
      break;
    case id::kMachiningInfo:
      if (services_.machiningInfoDialog) services_.machiningInfoDialog();
      break;
    case id::kCentring:
      if (services_.autoCentringDialog) services_.autoCentringDialog();
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

void CNcDataCreateDlg::Output() {
  SetCheck(id::kOutput, 1);  // shown pressed while it works
  const StartPair pair = StartPairOf(OutputKindWord(), DataMapOutput(), PlotterFlag());
  BuildAndStart(services_, 1, pair.mode, pair.subMode);
  SetCheck(id::kOutput, 0);
}

void CNcDataCreateDlg::OnFocusGained(int control) {
  if (control == id::kExtension || control == id::kONumber) pendingEdit_ = control;
}

void CNcDataCreateDlg::OnFocusLost(int control) {
  if (control == pendingEdit_) CommitPendingEdit();
}

void CNcDataCreateDlg::CommitPendingEdit() {
  const int control = pendingEdit_;
  pendingEdit_ = 0;
  const std::string text = GetText(control);
  if (control == id::kExtension) {
    // Leading blanks are skipped and three characters kept.
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return;
    const std::string rest = text.substr(first);
    std::string kept;
    std::size_t at = 0;
    for (int n = 0; n < 3 && at < rest.size(); ++n) {
      at += platform::IsCp932LeadByte(static_cast<unsigned char>(rest[at])) && at + 1 < rest.size() ? 2 : 1;
    }
    kept = rest.substr(0, at);
    platform::SetFieldText(H().dataExtension, kept);
  } else if (control == id::kONumber) {
    if (text.empty()) return;
    const double v = ParseNumber(text.c_str());
    if (std::isfinite(v)) H().programNumber = static_cast<std::int32_t>(v);
  }
  if (control != 0) Display();
}

void CNcDataCreateDlg::OnSelectionChanged(int control) {
  if (control == id::kChannel && GetCurSel(id::kChannel) >= 0) MachineChannel() = GetCurSel(id::kChannel) + 1;
}

// Enter commits the pending field and moves on; it never closes the dialog.
void CNcDataCreateDlg::OnOk() {
  CommitPendingEdit();
  NextControl();
}

void CNcDataCreateDlg::OnCancel() {
  CommitPendingEdit();
  EndDialog(platform::kIdCancel);
}

void CNcDataCreateDlg::Display() {
  const int kind = OutputKindWord();
  SetTitle(platform::Sjis(TitleOf(kind)));
  const int outputs[4] = {id::kDataCreation, id::kGraphic, id::kDataMap, id::kNcCheck};
  for (int i = 0; i < 4; ++i) SetCheck(outputs[i], kind == i + 1 ? 1 : 0);
  ShowRunSettings(*this);
  const bool screenChoice = kind == kOutputDataCreation || kind == kOutputGraphic || PlotterFlag() == 0;
  Enable(id::kScreenNew, screenChoice);
  Enable(id::kScreenOverwrite, screenChoice);
  const bool dataMap = kind == kOutputDataMap;
  const int maps[4] = {id::kAbsOutput, id::kPointCloud, id::kPlotter, id::kScreenOutput};
  for (int i = 0; i < 4; ++i) {
    SetCheck(maps[i], DataMapOutput() == i ? 1 : 0);
    Enable(maps[i], dataMap);
  }
  const int clouds[4] = {id::kCloudXy, id::kCloudXz, id::kCloudYz, id::kCloudDz};
  for (int i = 0; i < 4; ++i) {
    SetCheck(clouds[i], PointCloudType() == i ? 1 : 0);
    Enable(clouds[i], dataMap && DataMapOutput() == kMapPointCloud);
  }
  if (FileNameSource() != 1) FileNameSource() = 0;
  SetCheck(id::kDrawingFileName, FileNameSource() == 0 ? 1 : 0);
  SetCheck(id::kONumberFileName, FileNameSource() == 1 ? 1 : 0);
  if (pendingEdit_ != id::kExtension) SetText(id::kExtension, platform::FieldText(H().dataExtension));
  if (pendingEdit_ != id::kONumber) SetText(id::kONumber, std::to_string(H().programNumber));
  Enable(id::kOutput, g_machiningCount > 0 || kind == kOutputNcCheck);
}

}  // namespace dorn
