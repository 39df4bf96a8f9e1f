#include "kelto_dorn/files/dialogs/print_dialogs.h"

#include "kelto_dorn/files/files_state.h"
#include "platform/choosers.h"
#include "platform/text.h"

namespace dorn {

namespace {

using platform::ControlKind;
constexpr unsigned kCheckLook = platform::control_style::kCheckLook;
constexpr std::int32_t kAllTools = 'R';
constexpr std::int32_t kBothEndTools = 'S';
constexpr std::int32_t kColourBits = 0xF000;
constexpr std::int32_t kBlackOutput = 0x1000;
constexpr std::int32_t kDarkColours = 0x2000;
constexpr int kHoleProcessLists = 810;
constexpr int kAtcLists = 820;

void PrinterSetup() {
  static platform::PrinterSetup setup;
  if (auto chosen = platform::ChoosePrinter(setup)) setup = *chosen;
}

}  // namespace

CPrintOutputDlg::CPrintOutputDlg(int& printMode)
    : platform::Dialog(kPrintOutputDialogId, platform::Sjis("プリント出力"),
                       {{ControlKind::PushButton, print_output::kNcData, platform::Sjis("ＮＣデータ"), 0, 0, 0, kCheckLook},
                        {ControlKind::PushButton, print_output::kInfo, platform::Sjis("加工情報"), 0, 0, 0, kCheckLook},
                        {ControlKind::PushButton, print_output::kDrawing, platform::Sjis("図面データ"), 0, 0, 0, kCheckLook},
                        {ControlKind::StaticText, -1, platform::Sjis("加工工具表の出力")},
                        {ControlKind::PushButton, print_output::kAll, platform::Sjis("全部"), 0, 0, 0, kCheckLook},
                        {ControlKind::PushButton, print_output::kBothEnds, platform::Sjis("両端"), 0, 0, 0, kCheckLook},
                        {ControlKind::PushButton, print_output::kStandard, platform::Sjis("標準"), 0, 0, 0, kCheckLook},
                        {ControlKind::PushButton, print_output::kBlack, platform::Sjis("黒出力"), 0, 0, 0, kCheckLook},
                        {ControlKind::PushButton, print_output::kDark, platform::Sjis("ダークカラー"), 0, 0, 0, kCheckLook},
                        {ControlKind::PushButton, print_output::kRun, platform::Sjis("実 行")},
                        {ControlKind::PushButton, kPrintSetupButton, platform::Sjis("プリンタの設定")},
                        {ControlKind::PushButton, kFontButton, platform::Sjis("フォントの設定")},
                        {ControlKind::PushButton, platform::kIdCancel, platform::Sjis("ｷｬﾝｾﾙ")}}),
      printMode_(printMode) {}

bool CPrintOutputDlg::OnInit() {
  if (PrintOptions == 0) PrintOptions = kBothEndTools;
  SetPrintMode(printMode_ == 0 ? kPrintDrawingData : printMode_);
  return true;
}

void CPrintOutputDlg::OnShow() { SetTitle(platform::Sjis("  プリント出力")); }

void CPrintOutputDlg::SetPrintMode(int mode) {
  namespace id = print_output;
  printMode_ = mode;
  SetCheck(id::kAll, (PrintOptions & 0xFF) == kAllTools ? 1 : 0);
  SetCheck(id::kBothEnds, (PrintOptions & 0xFF) == kAllTools ? 0 : 1);
  const std::int32_t colours = PrintOptions & kColourBits;
  SetCheck(id::kStandard, colours == 0 ? 1 : 0);
  SetCheck(id::kBlack, colours == kBlackOutput ? 1 : 0);
  SetCheck(id::kDark, colours == kDarkColours ? 1 : 0);
  SetCheck(id::kNcData, mode == kPrintNcData ? 1 : 0);
  SetCheck(id::kInfo, mode == kPrintMachiningInfo ? 1 : 0);
  SetCheck(id::kDrawing, mode == kPrintDrawingData ? 1 : 0);
}

void CPrintOutputDlg::OnClick(int controlId) {
  namespace id = print_output;
  switch (controlId) {
    case id::kNcData: return SetPrintMode(kPrintNcData);
    case id::kInfo: return SetPrintMode(kPrintMachiningInfo);
    case id::kDrawing: return SetPrintMode(kPrintDrawingData);
    case id::kAll: PrintOptions = (PrintOptions & ~0xFF) | kAllTools; break;
    case id::kBothEnds: PrintOptions = (PrintOptions & ~0xFF) | kBothEndTools; break;
    case id::kStandard: PrintOptions &= ~kColourBits; break;
    case id::kBlack: PrintOptions = (PrintOptions & ~kColourBits) | kBlackOutput; break;
    case id::kDark: PrintOptions = (PrintOptions & ~kColourBits) | kDarkColours; break;
    case id::kRun:
      if (printMode_ != 0) EndDialog(platform::kIdOk);
      return;
    case kPrintSetupButton: return PrinterSetup();
    case kFontButton: return EndDialog(kAskFontChoice);
    default: return;
  }
  SetPrintMode(printMode_);
}

CPrintListDlg::CPrintListDlg(int printMode, int& choice)
    : platform::Dialog(kPrintListDialogId, platform::Sjis("◇ プリント出力"),
                       {{ControlKind::RadioButton, print_list::kFirst, platform::Sjis("現在の工具名リストのみ")},
                        {ControlKind::RadioButton, print_list::kSecond, platform::Sjis("現在の基本ベース名リスト")},
                        {ControlKind::RadioButton, print_list::kThird, platform::Sjis("すべての工具情報")},
                        {ControlKind::PushButton, print_list::kRun, platform::Sjis("実 行")},
                        {ControlKind::PushButton, kPrintSetupButton, platform::Sjis("プリンタの設定")},
                        {ControlKind::PushButton, kFontButton, platform::Sjis("フォントの設定")},
                        {ControlKind::PushButton, platform::kIdCancel, platform::Sjis("ｷｬﾝｾﾙ")}}),
      printMode_(printMode),
      choice_(choice) {}

bool CPrintListDlg::OnInit() {
  namespace id = print_list;
  if (printMode_ == kHoleProcessLists || printMode_ == kAtcLists) {
    const bool holes = printMode_ == kHoleProcessLists;
    SetText(id::kFirst, platform::Sjis(holes ? "現在穴工程リスト" : "現在のＡＴＣリスト"));
    SetText(id::kThird, platform::Sjis(holes ? "すべての穴工程リスト" : "すべてのＡＴＣリスト"));
    SetText(id::kSecond, "   ");
    Enable(id::kSecond, false);
  }
  choice_ = 1;
  SetCheck(id::kFirst, 1);
  return true;
}

void CPrintListDlg::OnClick(int controlId) {
  namespace id = print_list;
  switch (controlId) {
    case id::kFirst: choice_ = 1; return;
    case id::kSecond: choice_ = 2; return;
    case id::kThird: choice_ = 3; return;
    case id::kRun: return EndDialog(platform::kIdOk);
    case kPrintSetupButton: return PrinterSetup();
    case kFontButton: return EndDialog(kAskFontChoice);
    default: return;
  }
}

}  // namespace dorn
