#include "kelto_dorn/files/draw_state_dialog.h"

#include <cstdio>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/files/port_setting_dialog.h"
#include "platform/application.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {

int g_workingPaneCount = 0;

namespace {

using namespace draw_state;

std::filesystem::path LibPath() {
  return platform::ResolvePath(platform::ProgramFolder(), handover::kDrawingStateFileName);
}

std::vector<platform::ControlSpec> DrawStateControls() {
  using platform::ControlKind;
  auto edit = [](int id) { return platform::ControlSpec(ControlKind::Edit, id, "", 0, 120, 0, 0, 16); };
  auto label = [](int id, const char* text) {
    return platform::ControlSpec(ControlKind::PushButton, id, platform::Sjis(text), 0, 0, 0,
                                 platform::control_style::kCheckLook);
  };
  auto radio = [](int id, const char* text, unsigned style = 0) {
    return platform::ControlSpec(ControlKind::RadioButton, id, platform::Sjis(text), 0, 0, 0, style);
  };
  const unsigned start = platform::control_style::kGroupStart;
  return {label(1198, "作画中心 [CX]"), edit(kCentreX),      label(1201, "作画中心 [CY]"), edit(kCentreY),
          label(1042, "スケール [％]"), edit(kScale),        label(1196, "Ｘ軸 回転角度"), edit(kRotX),
          label(1199, "Ｙ軸 回転角度"), edit(kRotY),         label(1200, "Ｚ軸 回転角度"), edit(kRotZ),
          label(1202, "ライン カラー"), edit(kColour),       radio(kPlaneXy, "ＸＹ", start),
          radio(kPlaneXz, "ＸＺ"),      radio(kPlaneYz, "ＹＺ"), radio(kRapidOn, "ON", start),
          radio(kRapidOff, "OFF"),      radio(kColourOn, "ON", start), radio(kColourOff, "OFF"),
          radio(kOnePane, "１画面", start), radio(kFourPanes, "４画面"),
          {ControlKind::GroupBox, kAxesGroup, platform::Sjis("座標軸")},
          {ControlKind::RadioButton, kAxesOff, "OFF", kAxesGroup}, {ControlKind::RadioButton, kAxes1, "SW1", kAxesGroup},
          {ControlKind::RadioButton, kAxes2, "SW2", kAxesGroup},
          {ControlKind::PushButton, kRegister, platform::Sjis("登 録")}};
}

int LabelOf(int edit) {
  switch (edit) {
    case kCentreX: return 1198;
    case kCentreY: return 1201;
    case kScale: return 1042;
    case kRotX: return 1196;
    case kRotY: return 1199;
    case kRotZ: return 1200;
    default: return 1202;
  }
}

bool IsValueEdit(int id) { return id >= kCentreX && id <= kColour; }

}  // namespace

platform::FileResult ReadDrawStateSettings(handover::PlotterSettings& settings) {
  settings = handover::DefaultPlotterSettings();
  const platform::FileResult read = handover::ReadPlotterSettings(LibPath(), settings);
  if (!read.ok()) settings = handover::DefaultPlotterSettings();
  settings.graphic.paneWord = g_workingPaneCount;
  return read;
}

platform::FileResult WriteDrawStateSettings(const handover::PlotterSettings& settings) {
  g_workingPaneCount = settings.graphic.paneWord;
  return handover::WritePlotterSettings(LibPath(), settings);
}

CDrawStateDlg::CDrawStateDlg(int mode) : Dialog(kTemplateId, "", DrawStateControls()), mode_(mode) {}

handover::DrawingStateRecord& CDrawStateDlg::Record() {
  return mode_ == kModeGraphic ? settings_.graphic : settings_.plotter;
}

bool CDrawStateDlg::OnInit() {
  if (mode_ != kModeGraphic) {
    Enable(kOnePane, false);
    Enable(kFourPanes, false);
    SetText(kAxesOff, platform::Sjis("設定"));
    SetText(kAxes1, "COM1");
    SetText(kAxes2, "COM2");
    SetText(kAxesGroup, platform::Sjis("出力ポート"));
    SetText(1202, platform::Sjis("ペン番号"));
  }
  const platform::FileResult read = ReadDrawStateSettings(settings_);
  if (!read.ok() && !read.missing()) platform::ShowMessageBox(platform::Utf8ToCp932(read.message), {}, 0x30);
  if (mode_ == kModeFromPlotterDialog) {
    settings_.plotter.rotationX = settings_.plotter.rotationY = settings_.plotter.rotationZ = 0.0;
    settings_.plotter.viewingPlane = 0;
    for (int id : {1196, 1199, 1200, kRotX, kRotY, kRotZ, kPlaneXz, kPlaneYz}) Enable(id, false);
    mode_ = kModePlotter;
  }
  Refresh();
  return true;
}

void CDrawStateDlg::OnShow() {
  SetTitle(platform::Sjis(mode_ == kModeGraphic ? "  グラフィック : 作画状態変更" : "  プロッター : 作画状態変更"));
}

void CDrawStateDlg::Refresh() {
  const handover::DrawingStateRecord& r = Record();
  auto show = [&](int id, double v) {
    FormatNumber4(v);
    SetText(id, std::string(" ") + g_textBuffer);
  };
  show(kCentreX, r.centreX[0]);
  show(kCentreY, r.centreY[0]);
  show(kScale, r.scale[0]);
  show(kRotX, r.rotationX);
  show(kRotY, r.rotationY);
  show(kRotZ, r.rotationZ);
  SetText(kColour, " " + std::to_string(r.lineColour));
  SetCheck(kPlaneXy, r.viewingPlane == 0);
  SetCheck(kPlaneXz, r.viewingPlane == 1);
  SetCheck(kPlaneYz, r.viewingPlane == 2);
  SetCheck(kRapidOn, r.rapidDisplay == 0);
  SetCheck(kRapidOff, r.rapidDisplay != 0);
  SetCheck(kColourOn, r.colourChange == 0);
  SetCheck(kColourOff, r.colourChange != 0);
  if (mode_ == kModeGraphic) {
    SetCheck(kOnePane, r.paneWord == 0);
    SetCheck(kFourPanes, r.paneWord == 1);
    SetCheck(kAxesOff, r.axes == 0);
    SetCheck(kAxes1, r.axes == 1);
    SetCheck(kAxes2, r.axes == 2);
  } else {
    SetCheck(kAxesOff, 0);
    SetCheck(kAxes1, r.paneWord == 0);
    SetCheck(kAxes2, r.paneWord == 1);
  }
}

void CDrawStateDlg::Commit(int id) {
  if (!IsValueEdit(id)) return;
  SetCheck(LabelOf(id), 0);
  const std::string text = GetText(id);
  if (text.find_first_not_of(' ') == std::string::npos) return;  // empty: nothing changes
  const double value = ParseNumber(text.c_str());
  handover::DrawingStateRecord& r = Record();
  switch (id) {
    case kCentreX: for (double& v : r.centreX) v = value; break;
    case kCentreY: for (double& v : r.centreY) v = value; break;
    case kScale: for (double& v : r.scale) v = value; break;
    case kRotX: r.rotationX = value; break;
    case kRotY: r.rotationY = value; break;
    case kRotZ: r.rotationZ = value; break;
    default: r.lineColour = static_cast<int>(value); break;
  }
}

void CDrawStateDlg::OnFocusGained(int id) {
  if (IsValueEdit(id)) SetCheck(LabelOf(id), 1);
}

void CDrawStateDlg::OnFocusLost(int id) {
  Commit(id);
  Refresh();
}

void CDrawStateDlg::OnOk() {
  const int id = FocusedControl();
  Commit(id);
  Refresh();
  NextControl();
}

void CDrawStateDlg::OnClick(int id) {
  handover::DrawingStateRecord& r = Record();
  switch (id) {
    case kPlaneXy: r.viewingPlane = 0; break;
    case kPlaneXz: r.viewingPlane = 1; break;
    case kPlaneYz: r.viewingPlane = 2; break;
    case kRapidOn: r.rapidDisplay = 0; break;
    case kRapidOff: r.rapidDisplay = 1; break;
    case kColourOn: r.colourChange = 0; break;
    case kColourOff: r.colourChange = 1; break;
    case kOnePane: r.paneWord = 0; break;
    case kFourPanes: r.paneWord = 1; break;
    case kAxesOff:
      if (mode_ == kModeGraphic) {
        r.axes = 0;
      } else {
        platform::Beep();
        RunPortSettingDialog(r.paneWord == 0 ? 0 : 1);  // the plotter's port: 0 COM1, else COM2
        return;
      }
      break;
    case kAxes1: (mode_ == kModeGraphic ? r.axes : r.paneWord) = mode_ == kModeGraphic ? 1 : 0; break;
    case kAxes2: (mode_ == kModeGraphic ? r.axes : r.paneWord) = mode_ == kModeGraphic ? 2 : 1; break;
    case kRegister: {
      const platform::FileResult written = WriteDrawStateSettings(settings_);
      if (!written.ok()) {
        platform::ShowMessageBox(platform::Utf8ToCp932(written.message), {}, 0x10);
        return;  // the dialog stays open with the values
      }
      EndDialog(1);
      return;
    }
    default: return;
  }
  Refresh();
}

int RunDrawStateDialog(int mode) {
  CDrawStateDlg dialog(mode);
  return dialog.DoModal() == 1 ? 1 : 0;
}

}  // namespace dorn
