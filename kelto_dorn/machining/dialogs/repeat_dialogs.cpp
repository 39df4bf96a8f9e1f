#include "kelto_dorn/machining/dialogs/repeat_dialogs.h"

#include <cmath>
#include <cstdio>
#include <span>
#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/dialogs/choice_dialogs.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/document/startup.h"
#include "kelto_dorn/machining/figure_names.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/machining/repeat_rules.h"
#include "kelto_dorn/machining/step_operations.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;
namespace ctl = repeat_ctl;

namespace {

constexpr int kColourScheme = 1;
constexpr int kCurveFigureTable = 90;
constexpr int kTaper = 0xDA00;
constexpr unsigned kCheckLook = platform::control_style::kCheckLook;
const platform::Color kReverseOn = platform::Rgb(255, 0, 0);       // colour value 255
const platform::Color kReverseOff = platform::Rgb(100, 200, 200);  // colour value 13158500

StepCondition& S() { return CurrentStep(); }
RepeatBlock& R(int range) { return S().repeat[range]; }

ControlSpec Button(int id, const char* utf8, int group = 0) {
  return ControlSpec(ControlKind::PushButton, id, Sjis(utf8), group, 0, 0, kCheckLook);
}
ControlSpec Edit(int id, int group = 0) { return ControlSpec(ControlKind::Edit, id, "", group, 110, 0, 0, 24); }
ControlSpec Name(int id) { return ControlSpec(ControlKind::Edit, id, "", 0, 150, 0, platform::control_style::kReadOnly); }
ControlSpec Label(const char* utf8, int group = 0) { return ControlSpec(ControlKind::StaticText, -1, Sjis(utf8), group); }

struct StyleButton {
  int code;
  const char* caption;
};
constexpr StyleButton kMachiningStyles[] = {{0, "OFF"},   {1, "XY"},    {2, "Z"},
                                            {3, "SLOPE"}, {4, "SCALE"}, {5, "ZONE"}};
constexpr StyleButton kRangeStyles[] = {{0, "OFF"}, {1, "XY"},  {2, "Z"},  {6, "UX"},
                                        {7, "UZ"},  {8, "XY%"}, {9, "Z%"}, {10, "UNI%"}};

std::vector<ControlSpec> CommonControls(bool machining) {
  std::vector<ControlSpec> c = {ControlSpec(ControlKind::TabControl, ctl::kTabs, "", 0, 320, 24),
                                ControlSpec(ControlKind::GroupBox, ctl::kStyleGroup, Sjis("スタイル"))};
  for (const StyleButton& b : machining ? std::span<const StyleButton>(kMachiningStyles)
                                        : std::span<const StyleButton>(kRangeStyles)) {
    c.push_back(Button(ctl::kFirstStyle + b.code, b.caption, ctl::kStyleGroup));
  }
  const std::vector<ControlSpec> rest = {
      ControlSpec(ControlKind::GroupBox, ctl::kRangeGroup, Sjis("加工範囲")),
      Label("スタート", ctl::kRangeGroup),
      Edit(ctl::kStart, ctl::kRangeGroup),
      Label("切り込み", ctl::kRangeGroup),
      Edit(ctl::kCut, ctl::kRangeGroup),
      Label("エンド", ctl::kRangeGroup),
      Edit(ctl::kEnd, ctl::kRangeGroup),
      Label("切り込み時の送りＦ"),
      Edit(ctl::kFeed),
      Button(ctl::kZone1, "ZONE図形.1"),
      Name(ctl::kZone1Name),
      Button(ctl::kZone1Flip, "反転"),
      Button(ctl::kZone2, "ZONE図形.2"),
      Name(ctl::kZone2Name),
      Button(ctl::kZone2Flip, "反転"),
      ControlSpec(ControlKind::GroupBox, 1203, Sjis("切削方向")),
      Button(ctl::kAround, "周回", 1203),
      Button(ctl::kOneWay, "一定", 1203),
      Button(ctl::kToAndFro, "往復", 1203),
      machining ? ControlSpec(ControlKind::OwnerDrawButton, ctl::kReverse, Sjis("逆走行"))
                : Button(ctl::kReverse, "逆走行"),
  };
  c.insert(c.end(), rest.begin(), rest.end());
  return c;
}

std::vector<ControlSpec> MachiningExtras() {
  return {Label("輪郭補助円"),
          Edit(ctl::kAuxCircle),
          ControlSpec(ControlKind::GroupBox, 1204, "ZONE_TRIM"),
          Button(ctl::kTrimOff, "無し", 1204),
          Button(ctl::kTrimOn, "有", 1204),
          Button(ctl::kEscapeCorner, "逃がしコーナー切削"),
          ControlSpec(ControlKind::PushButton, ctl::kRegister, Sjis("登 録")),
          ControlSpec(ControlKind::PushButton, ctl::kReset, "RESET")};
}

std::vector<ControlSpec> RangeExtras() {
  return {Button(ctl::kUni, "ＵＮＩ図形"),
          Name(ctl::kUniName),
          ControlSpec(ControlKind::GroupBox, 1205, Sjis("OFFSET断面")),
          Button(ctl::kOffsetOff, "OFF", 1205),
          Button(ctl::kOffsetOn, "ON", 1205),
          ControlSpec(ControlKind::PushButton, ctl::kRegister, Sjis("登 録")),
          ControlSpec(ControlKind::PushButton, ctl::kReset, "RESET")};
}

std::vector<ControlSpec> Joined(std::vector<ControlSpec> a, const std::vector<ControlSpec>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::string FormattedNumber(double v) {
  FormatNumber4(v);
  return g_textBuffer;
}

// The Z height of the curve the definition dialog loaded.
double CurveHeight() { return g_curCurveRecord.endZ - g_curCurveRecord.topZ; }

// From the curve's reference point to the start of its first figure.
double CurveReachDistance() {
  const FigureTable* t = g_figureStore.Table(kCurveFigureTable);
  const int first = g_curCurveRecord.first;
  if (t == nullptr || first < 0 || first >= t->capacity()) return 0.0;
  const Vec2 start = t->slot(first).start;
  return std::hypot(start.x - g_curCurveRecord.ipX, start.y - g_curCurveRecord.ipY);
}

std::string NameText(std::int32_t key) {
  const auto name = CurveNameOfKey(key);
  return name ? " " + *name : " ";
}

}  // namespace

CRepeatDlgBase::CRepeatDlgBase(int templateId, bool machining, std::vector<ControlSpec> extra)
    : platform::Dialog(templateId, Sjis("繰り返し加工"), Joined(CommonControls(machining), extra)),
      machining_(machining) {
  fields_.Add({ctl::kStart, [this](double v) { R(range_).first = v; }, [this] { return NumberText(R(range_).first); }});
  fields_.Add({ctl::kCut, [this](double v) { R(range_).second = v; }, [this] { return NumberText(R(range_).second); }});
  fields_.Add({ctl::kEnd, [this](double v) { R(range_).third = v; }, [this] { return NumberText(R(range_).third); }});
  fields_.Add({ctl::kFeed, [](double v) { S().value216 = v; }, [] { return NumberText(S().value216); }});
  if (machining) {
    fields_.Add({ctl::kAuxCircle, [](double v) { S().float136 = static_cast<float>(v); },
                 [] { return NumberText(S().float136); }});
  }
}

CRepeatMachiningDlg::CRepeatMachiningDlg() : CRepeatDlgBase(kRepeatMachiningDialogId, true, MachiningExtras()) {}

CRepeatRangeDlg::CRepeatRangeDlg() : CRepeatDlgBase(kRepeatRangeDialogId, false, RangeExtras()) {}

platform::DialogColors CRepeatDlgBase::Colors() {
  SetDialogColors(kColourScheme);
  return platform::Dialog::Colors();
}

bool CRepeatDlgBase::OnInit() {
  char caption[32];
  for (int i = 1; i <= 2; ++i) {
    std::snprintf(caption, sizeof caption, "繰り返し[%02d]", i);
    AddItem(ctl::kTabs, platform::Utf8ToCp932(caption));
  }
  const std::int32_t kind = g_curMachiningDef.kind;
  if (machining_) {
    range_ = OpeningRepeatRange(S());
  } else {
    range_ = 0;
    Enable(ctl::kOffsetOff, kind == 0xD000);
    Enable(ctl::kOffsetOn, kind == 0xD000 || kind == kTaper);
    if (kind == 0xD000 || kind == kTaper) {
      Enable(ctl::kFirstStyle + repeat_style::kZPercent, false);
      Enable(ctl::kFirstStyle + repeat_style::kXYPercent, false);
    }
  }
  SetCurSel(ctl::kTabs, range_);
  Refresh();
  return true;
}

std::string CRepeatDlgBase::RangeCaption() const {
  const int style = S().repeat[range_].kind;
  char text[96];
  if (machining_) {
    if (style == repeat_style::kZ) {
      std::snprintf(text, sizeof text, "加工範囲 :: %s", FormattedNumber(CurveHeight()).c_str());
      return text;
    }
    if (style == repeat_style::kScale) return "加工範囲 :: 1～100";
    if ((style == 0 || style == 1) && g_curCurveRecord.kind >= 5) {
      std::snprintf(text, sizeof text, "加工範囲 :: %s", FormattedNumber(CurveReachDistance()).c_str());
      return text;
    }
    return "加工範囲";
  }
  if (g_curMachiningDef.kind != kTaper) return "加工範囲";
  if (style == repeat_style::kZ || style == repeat_style::kUZ) {
    std::snprintf(text, sizeof text, "加工範囲::0～%s", FormattedNumber(CurveHeight()).c_str());
    return text;
  }
  if (style == 0 || style == 1 || style == repeat_style::kUX) {
    std::snprintf(text, sizeof text, "加工範囲::0～%s", FormattedNumber(CurveReachDistance()).c_str());
    return text;
  }
  if (style >= repeat_style::kXYPercent && style <= repeat_style::kUniPercent) return "加工範囲::0～100";
  return "加工範囲";
}

void CRepeatDlgBase::Refresh() {
  StepCondition& s = S();
  SetText(ctl::kRangeGroup, platform::Utf8ToCp932(RangeCaption()));
  fields_.ShowAll(*this);
  SetText(ctl::kZone1Name, NameText(s.zone1Key));
  SetText(ctl::kZone2Name, NameText(s.zone2Key));
  const CutDirection direction = DirectionOf(s);
  SetCheck(ctl::kAround, direction == CutDirection::Around);
  SetCheck(ctl::kOneWay, direction == CutDirection::OneWay);
  SetCheck(ctl::kToAndFro, direction == CutDirection::ToAndFro);
  SetCheck(ctl::kZone1Flip, s.word144 < 0);
  SetCheck(ctl::kZone2Flip, s.word200 < 0);
  for (int code = 0; code <= repeat_style::kUniPercent; ++code) {
    SetCheck(ctl::kFirstStyle + code, s.repeat[range_].kind == code);
  }
  SetCheck(ctl::kReverse, s.word32 != 0);
  if (machining_) {
    SetCheck(ctl::kTrimOn, s.word152 != 0);
    SetCheck(ctl::kTrimOff, s.word152 == 0);
    SetCheck(ctl::kEscapeCorner, (s.repeat[0].inUse & kEscapeCornerBit) != 0);
    reverseButton_.SetColor(s.word32 != 0 ? kReverseOn : kReverseOff);
    RedrawItem(ctl::kReverse);
  } else {
    // A UNI figure that no longer exists is dropped.
    const auto uni = CurveNameOfKey(s.repeat[0].figureKey);
    if (!uni) s.repeat[0].figureKey = 0;
    SetText(ctl::kUniName, uni ? " " + *uni : " ");
    SetCheck(ctl::kOffsetOn, g_curMachiningDef.general16[4] != 0);
    SetCheck(ctl::kOffsetOff, g_curMachiningDef.general16[4] == 0);
  }
}

// SLOPE asks the angle, SCALE and ZONE the centre; a cancelled input keeps
// what the step held.
void CRepeatDlgBase::ChooseStyle(int code) {
  S().repeat[range_].kind = code;
  if (machining_ && code == repeat_style::kSlope) {
    const double surfaceAngle = g_curSurface.x[0];
    CSlopeAngleDlg slope;
    slope.angleText = NumberText(S().chamferToolPosition);
    if (RunModalDialog(slope) == platform::kIdOk) S().chamferToolPosition = ParseNumber(slope.angleText.c_str());
    g_curSurface.x[0] = surfaceAngle;
  } else if (machining_ && (code == repeat_style::kScale || code == repeat_style::kZone)) {
    CPointInputDlg point;
    point.xLabel = Sjis("中心 CX = ");
    point.yLabel = Sjis("中心 CY = ");
    point.xText = NumberText(S().value64);
    point.yText = NumberText(S().value72);
    if (RunModalDialog(point) == platform::kIdOk) {
      S().value64 = PointInputValue.x;
      S().value72 = PointInputValue.y;
    }
  }
  Refresh();
  SetFocus(ctl::kStart);
}

void CRepeatDlgBase::OnClick(int id) {
  if (fields_.Commit(*this)) Refresh();
  StepCondition& s = S();
  if (id >= ctl::kFirstStyle && id <= ctl::kFirstStyle + repeat_style::kUniPercent) {
    return ChooseStyle(id - ctl::kFirstStyle);
  }
  switch (id) {
    case ctl::kAround:
      SetDirection(s, CutDirection::Around);
      break;
    case ctl::kOneWay:
      SetDirection(s, CutDirection::OneWay);
      break;
    case ctl::kToAndFro:
      SetDirection(s, CutDirection::ToAndFro);
      break;
    case ctl::kReverse:
      ToggleReverseTravel(s);
      break;
    case ctl::kZone1Flip:
      FlipZoneDirection(s.word144);
      break;
    case ctl::kZone2Flip:
      FlipZoneDirection(s.word200);
      break;
    case ctl::kZone1:
      return Close(repeat_end::kPickZone1);
    case ctl::kZone2:
      return Close(repeat_end::kPickZone2);
    case ctl::kUni:
      if (g_curMachiningDef.kind != kTaper) return Close(repeat_end::kPickUni);
      return;
    case ctl::kTrimOff:
    case ctl::kTrimOn:
      s.word152 = id == ctl::kTrimOn ? 3 : 0;
      break;
    case ctl::kOffsetOff:
    case ctl::kOffsetOn:
      g_curMachiningDef.general16[4] = id == ctl::kOffsetOn ? 1 : 0;
      break;
    case ctl::kEscapeCorner:
      ToggleEscapeCorner(s.repeat[0]);
      break;
    case ctl::kReset:
      ResetRepeatConditions(s, machining_);
      break;
    case ctl::kRegister:
      return Close(1);
    default:
      return;
  }
  Refresh();
}

void CRepeatDlgBase::OnFocusGained(int id) {
  if (fields_.FocusGained(*this, id)) return;
  // The figure names are not typed into: they pass the focus on, the UNI
  // name asks for its figure.
  if (id == ctl::kUniName && g_curMachiningDef.kind != kTaper) return Close(repeat_end::kPickUni);
  if (id == ctl::kZone1Name || id == ctl::kZone2Name || id == ctl::kUniName) NextControl();
}

void CRepeatDlgBase::OnSelectionChanged(int id) {
  if (id != ctl::kTabs) return;
  if (fields_.Commit(*this)) Refresh();
  const int selected = GetCurSel(ctl::kTabs);
  if (selected == range_ || selected < 0) return;
  range_ = selected;
  Refresh();
  SetFocus(ctl::kStart);
}

void CRepeatDlgBase::OnOk() {
  if (fields_.Commit(*this)) Refresh();
  NextControl();
}

// Esc marks and normalises the ranges too but takes no pending text; the
// 310 dialog leaves the step word at 4 alone on Esc.
void CRepeatDlgBase::OnCancel() {
  fields_.Forget();
  StepCondition& s = S();
  MarkRangesForClose(s, machining_);
  if (!machining_ && s.repeat[0].inUse == 1) s.stepMode = 0;
  g_pickTargetIndex = range_;
  EndDialog(2);
}

void CRepeatDlgBase::Close(int code) {
  StepCondition& s = S();
  if (code == 1) {
    fields_.Commit(*this);
    MarkRangesForClose(s, machining_);
    if (machining_ || s.repeat[0].inUse == 1) s.stepMode = 0;
  }
  g_pickTargetIndex = range_;
  EndDialog(code);
}

void CRepeatDlgBase::OnDrawItem(int id, platform::DeviceContext& dc, const platform::OwnerDrawItem& item) {
  if (id == ctl::kReverse) reverseButton_.DrawItem(dc, item, Sjis("逆走行"));
}

}  // namespace dorn
