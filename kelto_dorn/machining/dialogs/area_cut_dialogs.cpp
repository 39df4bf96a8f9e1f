#include "kelto_dorn/machining/dialogs/area_cut_dialogs.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "kelto_dorn/document/startup.h"
#include "kelto_dorn/machining/figure_names.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/machining/step_operations.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;

namespace {

constexpr int kAreaCutMode = 1;
constexpr std::int32_t kContourCheckBit = 0x80;
constexpr int kRepeatCutGiven = 4;
constexpr int kZRangeKind = 2;
constexpr int kResolutionLimit = 16;

MachiningDefinition& D() { return g_curMachiningDef; }
StepCondition& S() { return CurrentStep(); }

ControlSpec Mark(int id, const char* utf8, int group = 0) {
  return ControlSpec(ControlKind::CheckBox, id, Sjis(utf8), group);
}
ControlSpec Edit(int id, int group = 0, int limit = 24) {
  return ControlSpec(ControlKind::Edit, id, "", group, 110, 0, 0, limit);
}
ControlSpec Button(int id, const char* utf8, unsigned style = 0) {
  return ControlSpec(ControlKind::PushButton, id, Sjis(utf8), 0, 0, 0, style);
}

// The check box beside each edit is checked while its edit has the focus.
struct FieldMark {
  int edit, mark;
};
constexpr FieldMark kAreaMarks[] = {{area_cut_ctl::kPick, area_cut_ctl::kPickMark},
                                    {area_cut_ctl::kOffset, area_cut_ctl::kOffsetMark},
                                    {area_cut_ctl::kFeed, area_cut_ctl::kFeedMark},
                                    {area_cut_ctl::kStart, area_cut_ctl::kStartMark},
                                    {area_cut_ctl::kCut, area_cut_ctl::kCutMark},
                                    {area_cut_ctl::kEnd, area_cut_ctl::kEndMark}};
constexpr FieldMark kResolutionMarks[] = {{resolution_ctl::kStep, resolution_ctl::kStepMark},
                                          {resolution_ctl::kAllow, resolution_ctl::kAllowMark},
                                          {resolution_ctl::kAllowR, resolution_ctl::kAllowRMark}};

template <std::size_t N>
int MarkOf(const FieldMark (&marks)[N], int edit) {
  for (const FieldMark& m : marks) {
    if (m.edit == edit) return m.mark;
  }
  return 0;
}
template <std::size_t N>
bool IsMark(const FieldMark (&marks)[N], int id) {
  for (const FieldMark& m : marks) {
    if (m.mark == id) return true;
  }
  return false;
}

}  // namespace

double LimitedStep(double step) { return std::isnan(step) || step < 0.001 ? 0.001 : step; }
double LimitedAllow(double allow) { return std::isnan(allow) || allow < 0.0001 ? 0.0001 : allow; }

// --- area cutting ------------------------------------------------------------------------------

CAreaCutDlg::CAreaCutDlg()
    : platform::Dialog(
          kAreaCutDialogId, Sjis("  区域切削登録"),
          {ControlSpec(ControlKind::GroupBox, 1200, Sjis("区域切削")), Mark(area_cut_ctl::kPickMark, "ピック量", 1200),
           Edit(area_cut_ctl::kPick, 1200), Mark(area_cut_ctl::kOffsetMark, "OFFSET量", 1200),
           Edit(area_cut_ctl::kOffset, 1200), Mark(area_cut_ctl::kFeedMark, "送り[Ｆ]", 1200),
           Edit(area_cut_ctl::kFeed, 1200), ControlSpec(ControlKind::GroupBox, 1201, Sjis("繰り返し[Ｚ]")),
           Mark(area_cut_ctl::kStartMark, "スタート", 1201), Edit(area_cut_ctl::kStart, 1201),
           Mark(area_cut_ctl::kCutMark, "切り込み", 1201), Edit(area_cut_ctl::kCut, 1201),
           Mark(area_cut_ctl::kEndMark, "エンド", 1201), Edit(area_cut_ctl::kEnd, 1201),
           ControlSpec(ControlKind::CheckBox, area_cut_ctl::kContourCheck, Sjis("輪郭チェック")),
           Button(area_cut_ctl::kRegister, "登録"), Button(area_cut_ctl::kCancel, "ｷｬﾝｾﾙ")}) {
  using namespace area_cut_ctl;
  fields_.Add({kPick, [](double v) { S().areaCutValue = v; }, [] { return NumberText(S().areaCutValue); }});
  fields_.Add({kOffset, [](double v) { S().contourStock = v; }, [] { return NumberText(S().contourStock); }});
  fields_.Add({kFeed, [](double v) { S().value216 = v; }, [] { return NumberText(S().value216); }});
  fields_.Add({kStart, [](double v) { S().repeat[1].first = v; }, [] { return NumberText(S().repeat[1].first); }});
  fields_.Add({kCut, [](double v) { S().repeat[1].second = v; }, [] { return NumberText(S().repeat[1].second); }});
  fields_.Add({kEnd, [](double v) { S().repeat[1].third = v; }, [] { return NumberText(S().repeat[1].third); }});
}

platform::DialogColors CAreaCutDlg::Colors() {
  SetDialogColors(6);
  return platform::Dialog::Colors();
}

bool CAreaCutDlg::OnInit() {
  fields_.Forget();
  saved_ = S();
  if (S().stepMode != kAreaCutMode) ClearRepeatBlocks();
  S().repeat[1].kind = kZRangeKind;
  Refresh();
  return true;
}

void CAreaCutDlg::Refresh() {
  StepCondition& s = S();
  const int on = s.areaCutValue != 0.0 ? 1 : 0;
  s.stepMode = on;
  s.switch8 = on;
  fields_.ShowAll(*this);
  SetCheck(area_cut_ctl::kContourCheck, s.bottomFlag != 0);
}

void CAreaCutDlg::OnClick(int id) {
  using namespace area_cut_ctl;
  if (IsMark(kAreaMarks, id)) {
    if (id == kCutMark) S().repeat[1].inUse = kRepeatCutGiven;
    NextControl();
    return;
  }
  if (fields_.Commit(*this)) Refresh();
  switch (id) {
    case kContourCheck:
      S().bottomFlag ^= kContourCheckBit;
      return Refresh();
    case kRegister: {
      StepCondition& s = S();
      const bool on = s.areaCutValue != 0.0;
      s.stepMode = on ? kAreaCutMode : 0;
      s.switch8 = on ? 1 : 0;
      if (on) s.word208 = 0;
      EndDialog(1);
      return;
    }
    case kCancel:
      return OnCancel();
    default:
      return;
  }
}

void CAreaCutDlg::OnFocusGained(int id) {
  if (!fields_.FocusGained(*this, id)) return;
  SetCheck(MarkOf(kAreaMarks, id), 1);
  if (id == area_cut_ctl::kCut) S().repeat[1].inUse = kRepeatCutGiven;
}

void CAreaCutDlg::OnFocusLost(int id) {
  if (const int mark = MarkOf(kAreaMarks, id)) SetCheck(mark, 0);
}

void CAreaCutDlg::OnOk() {
  using namespace area_cut_ctl;
  const int field = fields_.Focused();
  if (fields_.Commit(*this)) Refresh();
  if (field == kFeed || field == kEnd) return NextControl(true);
  if (field == kPick) return SetFocus(kOffset);
  if (field == kOffset) return SetFocus(kFeed);
  if (field == kStart) return SetFocus(kCut);
  if (field == kCut) SetFocus(kEnd);
}

void CAreaCutDlg::OnCancel() {
  S() = saved_;
  EndDialog(2);
}

// --- figure resolution -------------------------------------------------------------------------

CFigureResolutionDlg::CFigureResolutionDlg()
    : platform::Dialog(kFigureResolutionDialogId, Sjis("  図形分解能登録"),
                       {Mark(resolution_ctl::kStepMark, "STEP"), Edit(resolution_ctl::kStep, 0, kResolutionLimit),
                        Mark(resolution_ctl::kAllowMark, "ALLOW"), Edit(resolution_ctl::kAllow, 0, kResolutionLimit),
                        Mark(resolution_ctl::kAllowRMark, "ALLOW[R]"),
                        Edit(resolution_ctl::kAllowR, 0, kResolutionLimit),
                        ControlSpec(ControlKind::GroupBox, 1200, Sjis("３軸曲面ＦＩＸ分解")),
                        ControlSpec(ControlKind::PushButton, resolution_ctl::kOff, "[ OFF ]", 1200, 0, 0,
                                    platform::control_style::kCheckLook),
                        ControlSpec(ControlKind::PushButton, resolution_ctl::kOn, "[ ON ]", 1200, 0, 0,
                                    platform::control_style::kCheckLook),
                        Button(resolution_ctl::kRegister, "登録"), Button(resolution_ctl::kCancel, "ｷｬﾝｾﾙ")}) {
  using namespace resolution_ctl;
  fields_.Add({kStep, [](double v) { D().value[0] = std::fabs(v); }, [] { return NumberText(D().value[0]); }});
  fields_.Add({kAllow, [](double v) { D().value[1] = std::fabs(v); }, [] { return NumberText(D().value[1]); }});
  fields_.Add({kAllowR, [](double v) { D().value[2] = std::fabs(v); }, [] { return NumberText(D().value[2]); }});
}

platform::DialogColors CFigureResolutionDlg::Colors() {
  SetDialogColors(2);
  return platform::Dialog::Colors();
}

bool CFigureResolutionDlg::OnInit() {
  fields_.Forget();
  savedSplit_ = D().general36;
  std::memcpy(saved_, D().value, sizeof saved_);
  const std::int32_t kind = D().kind;
  Enable(resolution_ctl::kOn, !(kind > 0xB000 && kind < 0xC200));
  Refresh();
  return true;
}

void CFigureResolutionDlg::Refresh() {
  D().value[0] = LimitedStep(D().value[0]);
  D().value[1] = LimitedAllow(D().value[1]);
  SetCheck(resolution_ctl::kOn, D().general36 == 1);
  SetCheck(resolution_ctl::kOff, D().general36 != 1);
  fields_.ShowAll(*this);
}

void CFigureResolutionDlg::OnClick(int id) {
  using namespace resolution_ctl;
  if (IsMark(kResolutionMarks, id)) return NextControl();
  if (fields_.Commit(*this)) Refresh();
  switch (id) {
    case kOn:
    case kOff:
      D().general36 = id == kOn ? 1 : 0;
      return Refresh();
    case kRegister:
      Refresh();
      EndDialog(1);
      return;
    case kCancel:
      return OnCancel();
    default:
      return;
  }
}

void CFigureResolutionDlg::OnFocusGained(int id) {
  if (fields_.FocusGained(*this, id)) SetCheck(MarkOf(kResolutionMarks, id), 1);
}

void CFigureResolutionDlg::OnFocusLost(int id) {
  if (const int mark = MarkOf(kResolutionMarks, id)) SetCheck(mark, 0);
}

void CFigureResolutionDlg::OnOk() {
  if (fields_.Commit(*this)) Refresh();
  NextControl(true);
}

void CFigureResolutionDlg::OnCancel() {
  D().general36 = savedSplit_;
  std::memcpy(D().value, saved_, sizeof saved_);
  EndDialog(2);
}

// --- X-axis development ------------------------------------------------------------------------

CXAxisDevelopDlg::CXAxisDevelopDlg()
    : platform::Dialog(kXAxisDevelopDialogId, Sjis("  Ｘ軸展開登録"),
                       {Button(develop_ctl::kCurve, "展開曲線"),
                        ControlSpec(ControlKind::Edit, develop_ctl::kName, "", 0, 200, 0,
                                    platform::control_style::kReadOnly),
                        Button(develop_ctl::kRegister, "登録"), Button(develop_ctl::kReset, "RESET"),
                        Button(develop_ctl::kCancel, "ｷｬﾝｾﾙ")}) {}

platform::DialogColors CXAxisDevelopDlg::Colors() {
  SetDialogColors(2);
  return platform::Dialog::Colors();
}

bool CXAxisDevelopDlg::OnInit() {
  saved_ = D().general16[2];
  Refresh();
  return false;
}

void CXAxisDevelopDlg::Refresh() {
  const auto name = CurveNameOfKey(D().general16[2]);
  SetText(develop_ctl::kName, name ? " [ " + *name + " ]" : std::string());
}

void CXAxisDevelopDlg::OnClick(int id) {
  switch (id) {
    case develop_ctl::kCurve:
      EndDialog(kPickDevelopCurve);
      return;
    case develop_ctl::kReset:
      D().general16[2] = 0;
      return Refresh();
    case develop_ctl::kRegister:
      return OnOk();
    case develop_ctl::kCancel:
      return OnCancel();
    default:
      return;
  }
}

void CXAxisDevelopDlg::OnFocusGained(int id) {
  if (id == develop_ctl::kName) EndDialog(kPickDevelopCurve);
}

void CXAxisDevelopDlg::OnOk() { EndDialog(1); }

void CXAxisDevelopDlg::OnCancel() {
  D().general16[2] = saved_;
  EndDialog(2);
}

}  // namespace dorn
