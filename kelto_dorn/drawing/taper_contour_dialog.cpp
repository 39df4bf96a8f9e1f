// The taper contour dialog: see taper_contour_dialog.h.
#include "kelto_dorn/drawing/taper_contour_dialog.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/dialogs/color_palette_dialog.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/drawing/contour_builders.h"
#include "platform/text.h"

namespace dorn {

namespace {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;

constexpr int kFaceGroup = 1710;
constexpr int kCurveStateOneSection = 9;
constexpr std::size_t kFieldChars = 24;
constexpr std::size_t kGroupSize = 6;

std::vector<ControlSpec> TaperControls() {
  return {
      ControlSpec(ControlKind::StaticText, -1, Sjis("曲線名")),
      ControlSpec(ControlKind::Edit, kTaperNameEdit, "", 0, 0, 0, 0, 63),
      ControlSpec(ControlKind::StaticText, -1, Sjis("TOP[Z]")),
      ControlSpec(ControlKind::Edit, kTaperTopEdit),
      ControlSpec(ControlKind::StaticText, -1, Sjis("END[Z]")),
      ControlSpec(ControlKind::Edit, kTaperEndEdit),
      ControlSpec(ControlKind::StaticText, -1, Sjis("IP点[X]")),
      ControlSpec(ControlKind::Edit, kTaperIpXEdit),
      ControlSpec(ControlKind::StaticText, -1, Sjis("IP点[Y]")),
      ControlSpec(ControlKind::Edit, kTaperIpYEdit),
      // One tab per section above the section's fields, which show the
      // selected section.
      ControlSpec(ControlKind::TabControl, kTaperTabs),
      ControlSpec(ControlKind::StaticText, -1, Sjis("角度")),
      ControlSpec(ControlKind::Edit, kTaperAngleEdit),
      ControlSpec(ControlKind::StaticText, -1, Sjis("上面Ｒ")),
      ControlSpec(ControlKind::Edit, kTaperUpperEdit),
      ControlSpec(ControlKind::StaticText, -1, Sjis("下面Ｒ")),
      ControlSpec(ControlKind::Edit, kTaperLowerEdit),
      ControlSpec(ControlKind::GroupBox, kFaceGroup, Sjis("輪郭規準")),
      ControlSpec(ControlKind::RadioButton, kTaperTopRadio, Sjis("輪郭規準は[上]"), kFaceGroup),
      ControlSpec(ControlKind::RadioButton, kTaperBottomRadio, Sjis("輪郭規準は[下]"), kFaceGroup),
      ControlSpec(ControlKind::BitmapButton, kTaperColourButton, Sjis("色")),
      ControlSpec(ControlKind::PushButton, kTaperWholeButton, Sjis("全周"), 0, 0, 0, platform::control_style::kCheckLook),
      ControlSpec(ControlKind::PushButton, kTaperPickButton, Sjis("図形指定")),
      ControlSpec(ControlKind::PushButton, kTaperRegisterButton, Sjis("登録")),
      ControlSpec(ControlKind::PushButton, platform::kIdCancel, Sjis("キャンセル")),
  };
}

std::string Formatted(double value) {
  FormatNumber4(value);
  return " " + std::string(g_textBuffer, strnlen(g_textBuffer, sizeof g_textBuffer));
}

bool SectionModeOn() { return g_curCurveRecord.taperCode >= kTaperSectionModeBase; }

// The figure's section: its style word, within 0..4.
int SectionOf(const FigureRecord& f) { return f.style >= 0 && f.style < kTaperSections ? f.style : 0; }

void JoinBlocks(FigureRecord& a, FigureRecord& b) {
  if (a.kind <= kKindPoint || b.kind <= kKindPoint) return;
  FigureRecord first = a, second = b;
  second.choice = 0;
  const FigureRecord hit = IntersectFigures(first, second);
  if (hit.number > kHitTwoPoints) return;
  a.end = hit.start;
  b.start = hit.start;
}

}  // namespace

float& TaperField(CurveRecord& curve, TaperValue which, int section) {
  const std::size_t s = static_cast<std::size_t>(section >= 0 && section < kTaperSections ? section : 0);
  return curve.values[static_cast<std::size_t>(which) * kGroupSize + s];
}

void ApplyTaperOffsets(CurveRecord& curve, int count) {
  const bool sections = curve.taperCode >= kTaperSectionModeBase;
  for (int s = 0; s < (sections ? kTaperSections : 1); ++s) {
    const TaperSectionOffsets o =
        ComputeTaperSection(curve.topZ, curve.endZ, TaperField(curve, TaperValue::Angle, s),
                            TaperField(curve, TaperValue::UpperRadius, s), TaperField(curve, TaperValue::LowerRadius, s),
                            curve.zFlag);
    TaperField(curve, TaperValue::ReferenceOffset, s) = static_cast<float>(o.reference);
    TaperField(curve, TaperValue::TopToBottom, s) = static_cast<float>(o.topToBottom);
  }
  count = std::min(count, kSegmentBlockCount);
  if (count <= 0) return;
  FigureRecord* first = g_figureStore.SegmentBlock(0);
  FigureRecord* last = g_figureStore.SegmentBlock(count - 1);
  if (sections && count > 1) {
    // A point at either end belongs to its neighbour's section.
    if (first->kind == kKindPoint) first->style = g_figureStore.SegmentBlock(1)->style;
    if (last->kind == kKindPoint) last->style = g_figureStore.SegmentBlock(count - 2)->style;
  }
  const FigureRecord saved = g_curFigure;
  for (int i = 0; i < count; ++i) {
    FigureRecord* f = g_figureStore.SegmentBlock(i);
    if (!sections) f->style = 0;
    const double d = TaperField(curve, TaperValue::ReferenceOffset, SectionOf(*f));
    if (d == 0.0) continue;
    g_curFigure = *f;
    if (OffsetFigure(d) == 0) *f = g_curFigure;
  }
  g_curFigure = saved;
  for (int i = 1; i < count; ++i) JoinBlocks(*g_figureStore.SegmentBlock(i - 1), *g_figureStore.SegmentBlock(i));
}

CTaperContourDlg::CTaperContourDlg(int curveKey, int curveState, bool allowPick)
    : platform::Dialog(kTaperDialogId, Sjis("  テーパー輪郭"), TaperControls()),
      curveKey_(curveKey),
      curveState_(curveState),
      allowPick_(allowPick) {}

bool CTaperContourDlg::OnInit() {
  activeField_ = 0;
  section_ = SectionModeOn() ? g_curCurveRecord.taperCode - kTaperSectionModeBase : 0;
  if (section_ < 0 || section_ >= kTaperSections) section_ = 0;
  CurveRecord& c = g_curCurveRecord;
  if (c.name[0] == '\0') std::snprintf(c.name, sizeof c.name, "TAPER_%04d", curveKey_);
  const int tabs = curveState_ == kCurveStateOneSection ? 1 : kTaperSections;
  ResetContent(kTaperTabs);
  for (int s = 0; s < tabs; ++s) AddItem(kTaperTabs, Sjis("断面[") + std::to_string(s + 1) + "]");
  SetCurSel(kTaperTabs, section_);
  Enable(kTaperPickButton, curveState_ != kCurveStateOneSection && allowPick_);
  Fill();
  return true;
}

void CTaperContourDlg::Fill() {
  CurveRecord& c = g_curCurveRecord;
  SetText(kTaperNameEdit, platform::FieldText(c.name));
  SetText(kTaperTopEdit, Formatted(c.topZ));
  SetText(kTaperEndEdit, Formatted(c.endZ));
  SetText(kTaperIpXEdit, Formatted(c.ipX));
  SetText(kTaperIpYEdit, Formatted(c.ipY));
  SetText(kTaperAngleEdit, Formatted(TaperField(c, TaperValue::Angle, section_)));
  SetText(kTaperUpperEdit, Formatted(TaperField(c, TaperValue::UpperRadius, section_)));
  SetText(kTaperLowerEdit, Formatted(TaperField(c, TaperValue::LowerRadius, section_)));
  SetCheck(kTaperTopRadio, c.zFlag == 0);
  SetCheck(kTaperBottomRadio, c.zFlag != 0);
  SetCheck(kTaperWholeButton, !SectionModeOn());
  Enable(kTaperWholeButton, section_ == 0);
  SetImage(kTaperColourButton, ColourSwatch(std::clamp(c.colour, 0, kPaletteSize - 1)));
}

void CTaperContourDlg::CommitField() {
  if (committing_ || activeField_ == 0) return;
  committing_ = true;
  CurveRecord& c = g_curCurveRecord;
  std::string text = GetText(activeField_);
  if (activeField_ == kTaperNameEdit) {
    // Leading blanks are dropped; an empty entry keeps the name.
    const std::size_t from = text.find_first_not_of(' ');
    if (from != std::string::npos) platform::SetFieldText(c.name, text.substr(from));
  } else if (text.size() <= kFieldChars && text.find_first_not_of(' ') != std::string::npos) {
    const double v = ParseNumber(text.c_str());
    if (!std::isfinite(v)) {
      SignalBeep();
    } else {
      switch (activeField_) {
        case kTaperTopEdit: c.topZ = v; break;
        case kTaperEndEdit: c.endZ = v; break;
        case kTaperIpXEdit: c.ipX = v; break;
        case kTaperIpYEdit: c.ipY = v; break;
        case kTaperAngleEdit: {
          float& angle = TaperField(c, TaperValue::Angle, section_);
          angle = TaperAngleFromEntry(v, angle);
          break;
        }
        case kTaperUpperEdit: TaperField(c, TaperValue::UpperRadius, section_) = static_cast<float>(v); break;
        case kTaperLowerEdit: TaperField(c, TaperValue::LowerRadius, section_) = static_cast<float>(v); break;
        default: break;
      }
    }
  }
  Fill();
  committing_ = false;
}

void CTaperContourDlg::OnFocusGained(int id) {
  if (id < kTaperNameEdit || id > kTaperLowerEdit || (id > kTaperNameEdit && id < kTaperTopEdit)) return;
  CommitField();
  activeField_ = id;
}

void CTaperContourDlg::OnSelectionChanged(int id) {
  if (id != kTaperTabs) return;
  CommitField();
  section_ = SectionModeOn() ? std::max(GetCurSel(kTaperTabs), 0) : 0;
  if (!SectionModeOn()) SetCurSel(kTaperTabs, 0);
  Fill();
}

void CTaperContourDlg::OnClick(int id) {
  CommitField();
  CurveRecord& c = g_curCurveRecord;
  switch (id) {
    case kTaperRegisterButton:
      ApplyTaperOffsets(c, g_workCount);
      EndDialog(platform::kIdOk);
      return;
    case kTaperWholeButton:
      c.taperCode = 0;
      section_ = 0;
      SetCurSel(kTaperTabs, 0);
      Fill();
      return;
    case kTaperPickButton:
      section_ = std::max(GetCurSel(kTaperTabs), 0);
      c.taperCode = kTaperSectionModeBase + section_;
      EndDialog(kTaperPickSection);
      return;
    case kTaperTopRadio:
    case kTaperBottomRadio:
      c.zFlag = id == kTaperBottomRadio ? 1 : 0;
      Fill();
      return;
    case kTaperColourButton: {
      CColorPaletteDlg palette;
      const int colour = RunModalDialog(palette);
      if (colour >= 0 && colour < kPaletteSize) {
        c.colour = colour;
        g_figureStyle = (g_figureStyle & ~kAttrColourMask) | colour;
      }
      Fill();
      return;
    }
    default:
      return;
  }
}

void CTaperContourDlg::OnOk() {
  CommitField();
  NextControl();
}

}  // namespace dorn
