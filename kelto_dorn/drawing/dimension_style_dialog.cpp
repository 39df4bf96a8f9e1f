// The dimension style dialog: see dimension_style_dialog.h.
#include "kelto_dorn/drawing/dimension_style_dialog.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/dimension_painter.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/dialogs/color_palette_dialog.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "platform/text.h"

namespace dorn {

namespace {

using platform::ControlKind;
using platform::ControlSpec;
namespace id = style_dialog;

constexpr double kAngleLimit = 45.0;
constexpr double kLengthLimit = 30.0;
constexpr double kTinySize = 0.3;
constexpr double kTinyShownUpTo = 0.8;
constexpr int kSizeEntries = 50;
constexpr std::size_t kFieldChars = 16;
constexpr const char* kPrecisions[] = {" 1/10", " 1/100", " 1/1000", " 1/10000", " 1/100000"};
// The sample: its area, the line and the text's place (pixels).
constexpr platform::Rect kSampleArea{20, 19, 303, 107};
constexpr platform::Point kLineFrom{30, 80};
constexpr platform::Point kLineTo{283, 80};
constexpr platform::Point kTextAt{34, 78};
constexpr int kSmallestFont = 7;

std::vector<ControlSpec> StyleControls() {
  using platform::Sjis;
  return {
      ControlSpec(ControlKind::StaticText, -1, Sjis("矢印--->の角度")),
      ControlSpec(ControlKind::Edit, id::kArrowAngle, "", 0, 80),
      ControlSpec(ControlKind::StaticText, -1, Sjis("矢印--->の長さ")),
      ControlSpec(ControlKind::Edit, id::kArrowLength, "", 0, 80),
      ControlSpec(ControlKind::StaticText, -1, Sjis("文字サイズの規準値")),
      ControlSpec(ControlKind::ComboBox, id::kTextSize, "", 0, 90, 0, platform::control_style::kDropList),
      ControlSpec(ControlKind::StaticText, -1, Sjis("寸法値の単位")),
      ControlSpec(ControlKind::ComboBox, id::kPrecision, "", 0, 110, 0, platform::control_style::kDropList),
      ControlSpec(ControlKind::StaticText, -1, Sjis("寸法線のカラー")),
      ControlSpec(ControlKind::BitmapButton, id::kLineColour, "", 0, 32, 32),
      ControlSpec(ControlKind::StaticText, -1, Sjis("テキストのカラー")),
      ControlSpec(ControlKind::BitmapButton, id::kTextColour, "", 0, 32, 32),
      ControlSpec(ControlKind::StaticText, -1, Sjis("矢印の先端")),
      ControlSpec(ControlKind::RadioButton, id::kOpenTip, Sjis("∨")),
      ControlSpec(ControlKind::RadioButton, id::kFilledTip, Sjis("▼")),
      ControlSpec(ControlKind::OwnerDrawButton, id::kSample, "", 0, 323, 127),
      ControlSpec(ControlKind::PushButton, id::kDefaults, Sjis("標準設定")),
      ControlSpec(ControlKind::PushButton, id::kRegister, Sjis("登 録")),
  };
}

std::string Formatted(double value) {
  FormatNumber4(value);
  return std::string(g_textBuffer, strnlen(g_textBuffer, sizeof g_textBuffer));
}

int PrecisionRow(int precision) {
  switch (precision) {
    case 1: return 0;
    case 2: return 1;
    case 3: return 2;
    case 5: return 4;
    default: return 3;  // 0 and 4: 1/10000
  }
}

void ResetStyleToDefaults() {
  DimensionStyle& s = g_dimensionStyle;
  s.arrowAngle = 15.0;
  s.arrowLength = 4.0;
  s.textSize = 5.0;
  s.dimPrecision = 0;
  s.arrowFilled = 0;
  s.dimLineColor = 21;
  s.textColor = 7;
  g_dimTextSlider = 5;
}

}  // namespace

int SampleFontHeight(double textSize, double zoom) {
  const double factor = textSize > kTinyShownUpTo ? textSize * 5.0 : 1.5;
  int height = static_cast<int>(zoom * 0.01 * factor);
  height = std::max(height, kSmallestFont);
  switch (height) {
    case 8: return 9;
    case 10:
    case 11: return 12;
    case 13: return 14;
    case 18: return 19;
    case 22: return 21;
    default: return height;
  }
}

CDimensionStyleDlg::CDimensionStyleDlg()
    : platform::Dialog(kDimensionStyleDialogId, platform::Sjis("  寸法スタイルの設定"), StyleControls()) {}

bool CDimensionStyleDlg::OnInit() {
  focused_ = 0;
  ShowColourImages();
  AddItem(id::kTextSize, platform::Sjis(" 微小"));
  for (int n = 1; n <= kSizeEntries; ++n) {
    char entry[16];
    std::snprintf(entry, sizeof entry, " %2d", n);
    AddItem(id::kTextSize, entry);
  }
  for (const char* p : kPrecisions) AddItem(id::kPrecision, p);
  ShowValues();
  return true;
}

void CDimensionStyleDlg::ShowValues() {
  const DimensionStyle& s = g_dimensionStyle;
  SetText(id::kArrowAngle, Formatted(s.arrowAngle));
  SetText(id::kArrowLength, Formatted(s.arrowLength));
  SetCurSel(id::kTextSize, s.textSize > kTinyShownUpTo ? std::clamp(static_cast<int>(s.textSize), 1, kSizeEntries) : 0);
  SetCurSel(id::kPrecision, PrecisionRow(s.dimPrecision));
  SetCheck(id::kOpenTip, s.arrowFilled == 1 ? 0 : 1);
  SetCheck(id::kFilledTip, s.arrowFilled == 1 ? 1 : 0);
  RedrawItem(id::kSample);
}

void CDimensionStyleDlg::ShowColourImages() {
  const int colours[2] = {g_dimensionStyle.dimLineColor, g_dimensionStyle.textColor};
  const int ids[2] = {id::kLineColour, id::kTextColour};
  for (std::size_t i = 0; i < 2; ++i) {
    images_[i] = ColourSwatch(std::clamp(colours[i], 0, kPaletteSize - 1));
    SetImage(ids[i], images_[i]);
  }
}

void CDimensionStyleDlg::Commit() {
  if (focused_ == 0) return;
  std::string text = GetText(focused_);
  if (text.size() > kFieldChars) text.resize(kFieldChars);
  if (!text.empty()) {
    const double value = std::fabs(ParseNumber(text.c_str()));
    if (!std::isfinite(value)) {
      SignalBeep();
    } else if (focused_ == id::kArrowAngle) {
      g_dimensionStyle.arrowAngle = std::min(value, kAngleLimit);
    } else {
      g_dimensionStyle.arrowLength = std::min(value, kLengthLimit);
    }
    UpdateDimensionArrowShape();
  }
  ShowValues();
}

void CDimensionStyleDlg::OnFocusGained(int control) {
  if (control != id::kArrowAngle && control != id::kArrowLength) return;
  Commit();
  focused_ = control;
}

void CDimensionStyleDlg::OnSelectionChanged(int control) {
  const int row = GetCurSel(control);
  if (row < 0) return;
  if (control == id::kTextSize) {
    g_dimensionStyle.textSize = row == 0 ? kTinySize : row;
    ShowValues();
  } else if (control == id::kPrecision) {
    g_dimensionStyle.dimPrecision = row + 1;
    ShowValues();
    NextControl();
  }
}

void CDimensionStyleDlg::ChooseColour(int control) {
  Commit();
  CColorPaletteDlg palette;
  const int index = RunModalDialog(palette);
  if (index < 0 || index >= kPaletteSize) return;
  (control == id::kLineColour ? g_dimensionStyle.dimLineColor : g_dimensionStyle.textColor) = index;
  ShowColourImages();
  RedrawItem(id::kSample);
}

void CDimensionStyleDlg::OnClick(int control) {
  switch (control) {
    case id::kLineColour:
    case id::kTextColour:
      return ChooseColour(control);
    case id::kOpenTip:
    case id::kFilledTip:
      g_dimensionStyle.arrowFilled = control == id::kFilledTip ? 1 : 0;
      return ShowValues();
    case id::kDefaults:
      ResetStyleToDefaults();
      UpdateDimensionArrowShape();
      ShowColourImages();
      return ShowValues();
    case id::kRegister:
      return OnCancel();  // closes as Escape does
    default:
      return;
  }
}

void CDimensionStyleDlg::OnOk() {
  if (focused_ == 0) return;
  Commit();
  NextControl();
}

void CDimensionStyleDlg::OnCancel() {
  Commit();
  UpdateDimensionArrowShape();
  EndDialog(platform::kIdCancel);
}

void CDimensionStyleDlg::OnDrawItem(int control, platform::DeviceContext& dc, const platform::OwnerDrawItem&) {
  if (control == id::kSample) DrawSample(dc);
}

void CDimensionStyleDlg::DrawSample(platform::DeviceContext& dc) {
  const DimensionStyle& s = g_dimensionStyle;
  dc.Save();
  dc.IntersectClipRect(kSampleArea);
  dc.FillRect(kSampleArea, {PaletteColors[static_cast<std::size_t>(std::clamp(g_backgroundIndex, 0, kPaletteSize - 1))],
                            platform::BrushStyle::Solid});
  const platform::Pen oldPen = dc.SelectPen(PenForColour(s.dimLineColor));
  dc.Polyline({kLineFrom, kLineTo});
  // The head at the left end points left: wings 0 and 1 run back along the
  // line (the screen's Y grows downwards).
  const double scale = g_view.m_unitsPerMm > 0.0 ? g_view.m_unitsPerMm : 1.0;
  const std::array<Vec2, 4>& wings = ArrowWingVectors();
  auto wing = [&](int i) {
    const Vec2 w = wings[static_cast<std::size_t>(i)];
    return platform::Point{kLineFrom.x + static_cast<int>(std::lround(w.x * scale)),
                           kLineFrom.y - static_cast<int>(std::lround(w.y * scale))};
  };
  if (s.arrowFilled == 1) {
    const platform::Brush oldBrush = dc.SelectBrush({PaletteColors[static_cast<std::size_t>(
                                                         std::clamp(s.dimLineColor, 0, kPaletteSize - 1))],
                                                     platform::BrushStyle::Solid});
    dc.Polygon({kLineFrom, wing(0), wing(1), kLineFrom});
    dc.SelectBrush(oldBrush);
  } else {
    dc.Polyline({wing(0), kLineFrom, wing(1)});
  }
  dc.SelectPen(oldPen);
  platform::Font font;
  font.face = g_view.m_fontFace;
  const double zoom = g_layerViews[static_cast<std::size_t>(std::clamp(g_curLayer, 0, kLayerCount - 1))].scale;
  font.height = SampleFontHeight(s.textSize, zoom);
  const platform::Font oldFont = dc.SelectFont(font);
  const platform::BackgroundMode oldMode = dc.SetBackgroundMode(platform::BackgroundMode::Transparent);
  dc.SetTextColor(PaletteColors[static_cast<std::size_t>(std::clamp(s.textColor, 0, kPaletteSize - 1))]);
  const unsigned oldAlign = dc.SetTextAlign(platform::text_align::kBottom);
  dc.TextOut(kTextAt, "TEXT");
  dc.SetTextAlign(oldAlign);
  dc.SetBackgroundMode(oldMode);
  dc.SelectFont(oldFont);
  dc.Restore();
}

void RunDimensionStyleDialog() {
  CDimensionStyleDlg dialog;
  RunModalDialog(dialog);
  UpdateDimensionArrowShape();
}

}  // namespace dorn
