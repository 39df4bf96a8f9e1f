// The view and operation settings dialog: see view_settings_dialog.h.
#include "kelto_dorn/dialogs/view_settings_dialog.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/dialogs/color_palette_dialog.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "platform/text.h"

namespace dorn {

namespace {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;
namespace cs = platform::control_style;

// The four rate edits and the label buttons that show which has the focus.
constexpr int kShrinkEdit = 1008;
constexpr int kMoveEdit = 1029;
constexpr int kGridEdit = 1030;
constexpr int kJoinEdit = 1031;
constexpr int kSlowEdit = 1347;
constexpr int kShrinkLabel = 1269;
constexpr int kMoveLabel = 1270;
constexpr int kGridLabel = 1271;
constexpr int kJoinLabel = 1278;

constexpr int kIpShown = 1148;
constexpr int kIpHidden = 1149;
constexpr int kDashed = 1466;
constexpr int kChain1 = 1467;
constexpr int kChain2 = 1468;
constexpr int kDxfCompound = 1400;
constexpr int kCadByLayer = 1470;
constexpr int kCadByColor = 1469;
constexpr int kNfs = 1451;
constexpr int kNcData = 1453;
constexpr int kSlider = 1471;

// Colour buttons: figure, second figure, curve, second curve, axis, background.
constexpr int kFigureColourButton = 1000;
constexpr int kFigureColour2Button = 1001;
constexpr int kCurveColourButton = 1002;
constexpr int kCurveColour2Button = 1003;
constexpr int kAxisColourButton = 1004;
constexpr int kBackgroundButton = 1005;

// Frames of the groups.
constexpr int kIpGroup = 9201;
constexpr int kCadGroup = 9202;
constexpr int kDxfGroup = 9203;
constexpr int kNfsGroup = 9204;
constexpr int kNcGroup = 9205;
constexpr int kSlowGroup = 9206;
constexpr int kSliderGroup = 9207;

constexpr int kNumberLimit = 32;
constexpr int kSlowLimit = 12;
constexpr int kSliderMin = 1;
constexpr int kSliderMax = 19;
constexpr int kSliderDefault = 5;
constexpr double kMinRate = 1.0;             // zoom and pan rates, grid pitch
constexpr double kMinJoinTolerance = 0.001;  // mm
constexpr std::int32_t kNfsOn = 15;
constexpr std::int32_t kNcListHidden = 0x8000;

// The remembered edit: 1-4 the rates, 5 the SLOW feed.
struct Edit {
  int code;
  int edit;
  int label;  // 0: the SLOW edit's label is no button
};
constexpr Edit kEdits[] = {{1, kShrinkEdit, kShrinkLabel},
                           {2, kMoveEdit, kMoveLabel},
                           {3, kGridEdit, kGridLabel},
                           {4, kJoinEdit, kJoinLabel},
                           {5, kSlowEdit, 0}};

const Edit* EditById(int id) {
  for (const Edit& e : kEdits)
    if (e.edit == id) return &e;
  return nullptr;
}

const Edit* EditByCode(int code) {
  for (const Edit& e : kEdits)
    if (e.code == code) return &e;
  return nullptr;
}

std::size_t CurrentLayer() { return static_cast<std::size_t>(std::clamp(g_curLayer, 0, kLayerCount - 1)); }

std::string Number(double value) {
  FormatNumber4(value);
  return g_textBuffer;
}

int TruncatedInt(double value) {
  if (!(value > INT_MIN && value < INT_MAX)) return 0;
  return static_cast<int>(value);
}

// The colour index a colour button shows.
int ButtonColour(int id) {
  switch (id) {
    case kFigureColourButton:
      return g_figureStyle & 0xFF;
    case kFigureColour2Button:
      return g_colorTable.figureColor2;
    case kCurveColourButton:
      return g_curveColor;
    case kCurveColour2Button:
      return g_colorTable.curveColor2;
    case kAxisColourButton:
      return g_colorTable.axisColor;
    default:
      return g_backgroundIndex;
  }
}

void StoreButtonColour(int id, int index) {
  switch (id) {
    case kFigureColourButton:
      g_figureStyle = index | g_lineType;  // new figures keep the chosen line type
      break;
    case kFigureColour2Button:
      g_colorTable.figureColor2 = index;
      break;
    case kCurveColourButton:
      g_curveColor = index;
      break;
    case kCurveColour2Button:
      g_colorTable.curveColor2 = index;
      break;
    case kAxisColourButton:
      g_colorTable.axisColor = index;
      break;
    default:
      g_backgroundIndex = index;
      break;
  }
}

std::vector<ControlSpec> DialogControls() {
  auto labelled = [](int label, const char* caption, int edit) {
    return std::vector<ControlSpec>{{ControlKind::PushButton, label, Sjis(caption), 0, 0, 0, cs::kCheckLook},
                                    {ControlKind::Edit, edit, "", 0, 120, 0, 0, kNumberLimit}};
  };
  std::vector<ControlSpec> c;
  for (const auto& part : {labelled(kShrinkLabel, "収縮率", kShrinkEdit), labelled(kMoveLabel, "移動率", kMoveEdit),
                           labelled(kGridLabel, "座標軸", kGridEdit), labelled(kJoinLabel, "接続値", kJoinEdit)})
    c.insert(c.end(), part.begin(), part.end());
  const std::vector<ControlSpec> rest = {
      {ControlKind::GroupBox, kIpGroup, Sjis("IP表示有無")},
      {ControlKind::RadioButton, kIpShown, Sjis("表示有"), kIpGroup},
      {ControlKind::RadioButton, kIpHidden, Sjis("表示無"), kIpGroup},
      {ControlKind::GroupBox, kCadGroup, Sjis("CAD図形")},
      {ControlKind::CheckBox, kDashed, Sjis("破線"), kCadGroup},
      {ControlKind::CheckBox, kChain1, Sjis("１点鎖線"), kCadGroup},
      {ControlKind::CheckBox, kChain2, Sjis("２点鎖線"), kCadGroup},
      {ControlKind::CheckBox, kCadByLayer, Sjis("レイヤー別表示"), kCadGroup},
      {ControlKind::CheckBox, kCadByColor, Sjis("カラー別表示"), kCadGroup},
      {ControlKind::GroupBox, kDxfGroup, Sjis("[DXF]ｾｸｼｮﾝ")},
      {ControlKind::CheckBox, kDxfCompound, Sjis("複合図形"), kDxfGroup},
      {ControlKind::GroupBox, kNfsGroup, "NFS"},
      {ControlKind::CheckBox, kNfs, "NFS_ON", kNfsGroup},
      {ControlKind::GroupBox, kNcGroup, Sjis("データ作成表示")},
      {ControlKind::CheckBox, kNcData, Sjis("NCDATA表示"), kNcGroup},
      {ControlKind::GroupBox, kSlowGroup, Sjis("[SLOW = mm秒]")},
      {ControlKind::Edit, kSlowEdit, "", kSlowGroup, 120, 0, 0, kSlowLimit},
      {ControlKind::StaticText, -1, Sjis("図形のカラー")},
      {ControlKind::BitmapButton, kFigureColourButton, "", 0, 32, 32},
      {ControlKind::BitmapButton, kFigureColour2Button, "", 0, 32, 32},
      {ControlKind::StaticText, -1, Sjis("曲線のカラー")},
      {ControlKind::BitmapButton, kCurveColourButton, "", 0, 32, 32},
      {ControlKind::BitmapButton, kCurveColour2Button, "", 0, 32, 32},
      {ControlKind::StaticText, -1, Sjis("座標軸のカラー")},
      {ControlKind::BitmapButton, kAxisColourButton, "", 0, 32, 32},
      {ControlKind::StaticText, -1, Sjis("背景のカラー")},
      {ControlKind::BitmapButton, kBackgroundButton, "", 0, 32, 32},
      {ControlKind::GroupBox, kSliderGroup, Sjis("寸法[文字]")},
      {ControlKind::Slider, kSlider, "", kSliderGroup, 200, 0, cs::kTicks},
  };
  c.insert(c.end(), rest.begin(), rest.end());
  return c;
}

bool IsColourButton(int id) { return id >= kFigureColourButton && id <= kBackgroundButton; }

}  // namespace

CViewSettingsDlg::CViewSettingsDlg()
    : platform::Dialog(kViewSettingsDialogId, Sjis(" 各 種 設 定"), DialogControls()) {}

bool CViewSettingsDlg::OnInit() {
  focusField_ = 0;
  SetTick(kSlider, kSliderMax);
  SetRange(kSlider, kSliderMin, kSliderMax);
  if (g_dimTextSlider < kSliderMin || g_dimTextSlider > kSliderMax) g_dimTextSlider = kSliderDefault;
  ShowSwatches();
  Fill();
  return true;
}

void CViewSettingsDlg::OnShow() { SetTitle("\t" + Sjis(" 各 種 設 定")); }

void CViewSettingsDlg::ShowSwatches() {
  for (int i = 0; i < kPaletteSize; ++i) swatches_[static_cast<std::size_t>(i)] = ColourSwatch(i);
  for (int id = kFigureColourButton; id <= kBackgroundButton; ++id)
    SetImage(id, swatches_[static_cast<std::size_t>(std::clamp(ButtonColour(id), 0, kPaletteSize - 1))]);
}

void CViewSettingsDlg::Fill() {
  LayerViewRecord& view = g_layerViews[CurrentLayer()];
  if (g_shrinkRate < kMinRate) g_shrinkRate = kMinRate;
  if (g_moveRate < kMinRate) g_moveRate = kMinRate;
  if (view.gridPitch < kMinRate) view.gridPitch = kMinRate;
  if (std::fabs(g_joinTolerance) < kMinJoinTolerance) g_joinTolerance = kMinJoinTolerance;
  SetCheck(kIpShown, g_showIpPoint != 0.0 ? 1 : 0);
  SetCheck(kIpHidden, g_showIpPoint != 0.0 ? 0 : 1);
  SetText(kShrinkEdit, Number(g_shrinkRate));
  SetText(kMoveEdit, Number(g_moveRate));
  SetText(kGridEdit, Number(view.gridPitch));
  SetText(kJoinEdit, Number(g_joinTolerance));
  SetCheck(kDashed, g_showDashed ? 1 : 0);
  SetCheck(kChain1, g_showChain1 ? 1 : 0);
  SetCheck(kChain2, g_showChain2 ? 1 : 0);
  SetCheck(kDxfCompound, (g_dxfCompound & 1) ? 1 : 0);
  SetCheck(kCadByLayer, g_cadByLayer ? 1 : 0);
  SetCheck(kCadByColor, g_cadByColor ? 1 : 0);
  SetCheck(kNfs, g_drawingHeader.nfsSwitch ? 1 : 0);
  SetCheck(kNcData, g_drawingHeader.ncDisplayFlags == 0 ? 1 : 0);
  SetText(kSlowEdit, " " + std::to_string(g_drawingHeader.slowFeed));
  SetPos(kSlider, g_dimTextSlider);
}

void CViewSettingsDlg::ReadSlider() { g_dimTextSlider = GetPos(kSlider); }

void CViewSettingsDlg::Commit() {
  // The slider first: filling the controls again sets it from the setting.
  ReadSlider();
  if (const Edit* e = EditByCode(focusField_)) {
    const std::string whole = GetText(e->edit);
    const std::string text = whole.substr(0, std::min<std::size_t>(whole.size(), kNumberLimit));
    if (!text.empty()) {
      const double value = ParseNumber(text.c_str());
      switch (e->code) {
        case 1:
          g_shrinkRate = value;
          break;
        case 2:
          g_moveRate = value;
          break;
        case 3:
          // Every layer takes the pitch: the paint copies each layer's pitch
          // into its view record.
          for (int l = 0; l < kLayerCount; ++l) {
            g_layerViews[static_cast<std::size_t>(l)].gridPitch = value;
            g_layerGridPitch[static_cast<std::size_t>(l)] = value;
          }
          break;
        case 4:
          g_joinTolerance = value;
          break;
        default:
          g_drawingHeader.slowFeed = TruncatedInt(value);
          break;
      }
    }
  }
  focusField_ = 0;
  Fill();
  ReadSlider();
}

// Whatever takes the focus commits the field that had it first.
void CViewSettingsDlg::OnFocusGained(int id) {
  const Edit* e = EditById(id);
  if (focusField_ != 0) Commit();
  if (!e) return;
  if (e->label) SetCheck(e->label, 1);
  focusField_ = e->code;
}

void CViewSettingsDlg::OnFocusLost(int id) {
  const Edit* e = EditById(id);
  if (e && e->label) SetCheck(e->label, 0);
}

void CViewSettingsDlg::OnScroll(int id) {
  if (id == kSlider) ReadSlider();
}

void CViewSettingsDlg::OnClick(int id) {
  if (IsColourButton(id)) {
    ChooseColour(id);
    return;
  }
  const bool toggle = id == kDashed || id == kChain1 || id == kChain2 || id == kDxfCompound || id == kCadByLayer ||
                      id == kCadByColor || id == kNfs || id == kNcData || id == kIpShown || id == kIpHidden;
  if (!toggle) return;
  Commit();
  switch (id) {
    case kIpShown:
      g_showIpPoint = 1.0;
      break;
    case kIpHidden:
      g_showIpPoint = 0.0;
      break;
    case kDashed:
      g_showDashed = g_showDashed ? 0 : 1;
      break;
    case kChain1:
      g_showChain1 = g_showChain1 ? 0 : 1;
      break;
    case kChain2:
      g_showChain2 = g_showChain2 ? 0 : 1;
      break;
    case kDxfCompound:
      g_dxfCompound ^= 1;
      break;
    case kCadByLayer:
      g_cadByLayer = g_cadByLayer ? 0 : 1;
      break;
    case kCadByColor:
      g_cadByColor = g_cadByColor ? 0 : 1;
      break;
    case kNfs:
      g_drawingHeader.nfsSwitch = g_drawingHeader.nfsSwitch ? 0 : kNfsOn;
      break;
    case kNcData:
      g_drawingHeader.ncDisplayFlags = g_drawingHeader.ncDisplayFlags == 0 ? kNcListHidden : 0;
      break;
    default:
      break;
  }
  Fill();
}

void CViewSettingsDlg::ChooseColour(int id) {
  Commit();
  CColorPaletteDlg palette;
  const int index = RunModalDialog(palette);
  if (index >= 0 && index < kPaletteSize) StoreButtonColour(id, index);
  ShowSwatches();
  Fill();
}

// Enter commits the field and moves on; the dialog closes only as cancel.
void CViewSettingsDlg::OnOk() { NextControl(); }

void CViewSettingsDlg::OnCancel() {
  Commit();
  EndDialog(platform::kIdCancel);
}

}  // namespace dorn
