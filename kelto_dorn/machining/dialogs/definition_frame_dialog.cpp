#include "kelto_dorn/machining/dialogs/definition_frame_dialog.h"

#include <cstdio>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/camdata/post_table.h"
#include "kelto_dorn/dialogs/color_palette_dialog.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/document/startup.h"
#include "kelto_dorn/machining/dialogs/approach_dialogs.h"
#include "kelto_dorn/machining/dialogs/condition_dialogs.h"
#include "kelto_dorn/machining/dialogs/tool_detail_dialog.h"
#include "kelto_dorn/machining/dialogs/tool_select_dialog.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/machining/step_operations.h"
#include "kelto_dorn/tooldb/atc_table.h"
#include "kelto_dorn/tooldb/db_messages.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;

namespace {

constexpr int kFrameColours = 4;
constexpr int kNameLimit = 32;
constexpr int kChamferMode = 10;
constexpr int kAreaCutMode = 1;
constexpr unsigned kCheckLook = platform::control_style::kCheckLook;

ControlSpec Button(int id, const char* utf8, unsigned style = 0, int group = 0) {
  return ControlSpec(ControlKind::PushButton, id, Sjis(utf8), group, 0, 0, style);
}
ControlSpec Edit(int id, int group) { return ControlSpec(ControlKind::Edit, id, "", group, 100, 0, 0, 24); }
ControlSpec Label(const char* utf8, int group) { return ControlSpec(ControlKind::StaticText, -1, Sjis(utf8), group); }

const char* CaptionOf(DefinitionRunner runner) {
  switch (runner) {
    case DefinitionRunner::Contour:
      return "  平面_輪郭加工定義";
    case DefinitionRunner::CharContour:
      return "  文字輪郭加工定義";
    case DefinitionRunner::Taper:
      return "  テーパー加工定義";
    case DefinitionRunner::Axis25:
      return "  ２・５軸加工定義";
    case DefinitionRunner::Surface3Axis:
      return "  曲面_３軸加工定義";
    case DefinitionRunner::Model:
      return "  モデル加工定義";
    case DefinitionRunner::Hole:
      return "  穴加工定義";
    case DefinitionRunner::HelicalHole:
      return "  ヘリカル穴加工定義";
    case DefinitionRunner::DeepHole:
      return "  深穴高速加工定義";
    case DefinitionRunner::Wire:
      return "  ワイヤー加工定義";
    case DefinitionRunner::Screw:
      return "  スクリュー加工定義";
  }
  return "";
}

// The kinds whose dialogs reopen a sub-dialog 400 ms after a pick.
bool HasResumeTimer(DefinitionRunner runner) {
  switch (runner) {
    case DefinitionRunner::Contour:
    case DefinitionRunner::CharContour:
    case DefinitionRunner::Taper:
    case DefinitionRunner::Axis25:
    case DefinitionRunner::Surface3Axis:
    case DefinitionRunner::Model:
      return true;
    default:
      return false;
  }
}

std::vector<ControlSpec> FrameControls() {
  constexpr int kPage = frame_ctl::kTabs;
  return {
      Label("加工名", 0),
      ControlSpec(ControlKind::Edit, frame_ctl::kName, "", 0, 300, 0, 0, kNameLimit),
      ControlSpec(ControlKind::TabControl, frame_ctl::kTabs, "", 0, 640, 320),
      ControlSpec(ControlKind::StaticText, frame_ctl::kToolLine, "", kPage, 600),
      Button(frame_ctl::kChooseTool, "工具の選択", 0, kPage),
      Button(frame_ctl::kToolDetail, "工具の詳細", 0, kPage),
      Label("ATC番号", kPage), Edit(frame_ctl::kAtcNumber, kPage),
      Label("回転[S]", kPage), Edit(frame_ctl::kSpindle, kPage),
      Label("Ｒ径", kPage), Edit(frame_ctl::kCornerRadius, kPage),
      Label("Ｆ径", kPage), Edit(frame_ctl::kFlatRadius, kPage),
      Label("送り[F]", kPage), Edit(frame_ctl::kFeed, kPage),
      Label("工具ダウン量", kPage), Edit(frame_ctl::kToolDown, kPage),
      Label("ダウン送りＦ", kPage), Edit(frame_ctl::kDownFeed, kPage),
      Label("工具移動[Z]", kPage), Edit(frame_ctl::kMoveZ, kPage),
      Label("輪郭残し量", kPage), Edit(frame_ctl::kContourStock, kPage),
      Label("底Ｚ残し量", kPage), Edit(frame_ctl::kBottomStock, kPage),
      Label("輪郭規準Ｚ値", kPage), Edit(frame_ctl::kReferenceZ, kPage),
      ControlSpec(ControlKind::GroupBox, 1850, Sjis("加工スタイル"), kPage),
      Button(frame_ctl::kAreaCut, "区域切削", kCheckLook, 1850),
      Button(frame_ctl::kChamfer, "面取り", kCheckLook, 1850),
      Button(frame_ctl::kRepeat, "繰り返し", kCheckLook, 1850),
      Button(frame_ctl::kReset, "リセット", 0, 1850),
      Button(frame_ctl::kApproach, "アプローチ", kCheckLook, kPage),
      Button(frame_ctl::kEscape, "エスケープ", kCheckLook, kPage),
      Button(frame_ctl::kCompensation, "工具補正", kCheckLook, kPage),
      Button(frame_ctl::kCornerFeed, "減速指定", kCheckLook, kPage),
      Button(frame_ctl::kBottom, "底面", kCheckLook, kPage),
      Button(frame_ctl::kCentre, "輪郭中心", kCheckLook, kPage),
      Button(frame_ctl::kOverrun, "オーバーラン", kCheckLook, kPage),
      ControlSpec(ControlKind::OwnerDrawButton, frame_ctl::kColour, "", kPage, 24, 24),
      Button(frame_ctl::kAddStep, "工程の追加"),
      Button(frame_ctl::kDeleteStep, "工程の削除"),
      Button(frame_ctl::kPrevious, "前の定義"),
      Button(frame_ctl::kNext, "次の定義"),
      Button(frame_ctl::kStore, "登録"),
      Button(frame_ctl::kCancel, "ｷｬﾝｾﾙ"),
  };
}

std::vector<ControlSpec> WithKindControls(std::vector<ControlSpec> kind) {
  std::vector<ControlSpec> all = FrameControls();
  all.insert(all.end(), std::make_move_iterator(kind.begin()), std::make_move_iterator(kind.end()));
  return all;
}

StepCondition& S() { return CurrentStep(); }
AtcRecord& T() { return CurrentStepTool(); }

}  // namespace

int DefinitionTemplateOf(DefinitionRunner runner) {
  switch (runner) {
    case DefinitionRunner::CharContour:
      return 349;
    case DefinitionRunner::Taper:
      return 321;
    case DefinitionRunner::Axis25:
      return 322;
    case DefinitionRunner::Surface3Axis:
    case DefinitionRunner::Model:
      return 312;
    case DefinitionRunner::Hole:
    case DefinitionRunner::HelicalHole:
    case DefinitionRunner::DeepHole:
      return 309;
    default:
      return 299;
  }
}

CDefinitionFrameDlg::CDefinitionFrameDlg(DefinitionRunner runner, DocAtcTable& atc)
    : CDefinitionFrameDlg(runner, atc, {}, {}) {}

CDefinitionFrameDlg::CDefinitionFrameDlg(DefinitionRunner runner, DocAtcTable& atc,
                                         std::vector<platform::ControlSpec> kindControls,
                                         std::vector<platform::MenuItem> menu)
    : platform::Dialog(DefinitionTemplateOf(runner), Sjis(CaptionOf(runner)),
                       WithKindControls(std::move(kindControls)), std::move(menu)),
      atc_(atc),
      runner_(runner) {
  auto dbl = [this](int id, double StepCondition::*m, bool clearsSurface = false) {
    fields_.Add({id,
                 [m, clearsSurface](double v) {
                   S().*m = v;
                   if (clearsSurface) S().surfaceKey = 0;
                 },
                 [m] { return NumberText(S().*m); }});
  };
  auto flt = [this](int id, float AtcRecord::*m) {
    fields_.Add({id, [m](double v) { T().*m = static_cast<float>(v); },
                 [m] { return T().*m == 0.0f ? std::string("  0") : NumberText(T().*m); }});
  };
  fields_.Add({frame_ctl::kAtcNumber, [](double v) { T().atcNumber = static_cast<std::int32_t>(v); },
               [] { return "  " + std::to_string(T().atcNumber); }});
  fields_.Add({frame_ctl::kSpindle, [](double v) { T().spindleSpeed = static_cast<std::int32_t>(v); },
               [] { return NumberText(T().spindleSpeed); }});
  flt(frame_ctl::kCornerRadius, &AtcRecord::cornerRadius);
  flt(frame_ctl::kFlatRadius, &AtcRecord::flatRadius);
  fields_.Add({frame_ctl::kFeed, [](double v) { T().feed = static_cast<float>(v); },
               [] { return NumberText(T().feed); }});
  dbl(frame_ctl::kToolDown, &StepCondition::toolDownAmount);
  dbl(frame_ctl::kDownFeed, &StepCondition::downFeed);
  dbl(frame_ctl::kMoveZ, &StepCondition::toolMoveZ);
  dbl(frame_ctl::kContourStock, &StepCondition::contourStock);
  dbl(frame_ctl::kBottomStock, &StepCondition::bottomZStock, true);
  dbl(frame_ctl::kReferenceZ, &StepCondition::endDepth, true);
}

platform::DialogColors CDefinitionFrameDlg::Colors() {
  SetDialogColors(kFrameColours);
  return platform::Dialog::Colors();
}

bool CDefinitionFrameDlg::OnInit() {
  FocusedEditIndex = 0;
  g_definitionPickCount = 0;
  MachiningDefinition& d = g_curMachiningDef;
  if (d.generalA == 0) d.generalA = g_currentPost;
  EnsureFirstStep(d);
  if (g_pickResumeCode != 0) {
    const int remembered = g_savedStepIndex & 0xF;
    g_curStepIndex = remembered > 7 ? 0 : remembered;
  }
  const int slot = g_curDefinitionSlot;
  if (slot >= 0 && slot < kMachiningSlotCount) {
    SetText(frame_ctl::kName, platform::FieldText(g_machiningIndexTable.records[slot].name));
  }
  BuildStepTabs(false);
  RefreshPage();
  return true;
}

void CDefinitionFrameDlg::OnShow() {
  char counter[64];
  std::snprintf(counter, sizeof counter, "[ %d/%d ]", g_shownDefinitionIndex + 1, g_shownDefinitionTotal);
  SetTitle(Sjis(CaptionOf(runner_)) + "  " + counter);
  if (HasResumeTimer(runner_)) SetTimer(kResumeTimerId, kResumeDelayMs, platform::TimerKind::OneShot);
}

void CDefinitionFrameDlg::OnTimer(int timerId) {
  if (timerId != kResumeTimerId) return;
  KillTimer(kResumeTimerId);
  if ((g_pickResumeCode & kResumeNothing) != 0 || g_pickResumeCode == 0) return;
  g_curStepIndex = g_savedStepIndex;
  g_pickTargetIndex = g_savedRowIndex;
  ResumeSubDialog(g_pickResumeCode);
}

void CDefinitionFrameDlg::BuildStepTabs(bool rebuild) {
  if (rebuild) ResetContent(frame_ctl::kTabs);
  const int n = CountProcessSteps(g_curMachiningDef);
  for (int i = 0; i < n; ++i) {
    char label[32];
    std::snprintf(label, sizeof label, "工程[%d]", i + 1);
    AddItem(frame_ctl::kTabs, Sjis(label));
  }
  if (g_curStepIndex >= n || g_curStepIndex < 0) g_curStepIndex = 0;
  SetCurSel(frame_ctl::kTabs, g_curStepIndex);
  if (rebuild) RedrawItem(frame_ctl::kColour);
}

void CDefinitionFrameDlg::RefreshPage() {
  AtcRecord& tool = T();
  StepCondition& s = S();
  ApplyDiameterRule(tool);
  const AtcFieldTexts t = FormatThroughScratch(atc_, tool, DocAtcTable::kBlankToolSlot);
  auto orDashes = [](const std::string& v) { return v.empty() ? std::string("  -----") : v; };
  std::string name = platform::FieldText(tool.toolName).substr(0, 26);
  std::string sec = platform::FieldText(tool.secName);
  sec = sec.substr(0, std::min(sec.find(' '), std::size_t{12}));
  char line[160];
  std::snprintf(line, sizeof line, "%24s %12s %7s %7s", name.c_str(), sec.c_str(), orDashes(t.diameter).c_str(),
                orDashes(t.fluteLength).c_str());
  SetText(frame_ctl::kToolLine, line);
  fields_.ShowAll(*this);
  // A step may only chamfer with a 90-degree tool.
  const bool chamferTool = tool.tipAngle == 90.0f;
  Enable(frame_ctl::kChamfer, chamferTool);
  if (!chamferTool && s.stepMode == kChamferMode) s.stepMode = 0;
  const bool repeat = s.stepMode == 0 && (s.repeat[0].second != 0.0 || s.repeat[1].second != 0.0);
  SetCheck(frame_ctl::kAreaCut, s.stepMode == kAreaCutMode && s.areaCutValue != 0.0);
  SetCheck(frame_ctl::kChamfer, s.stepMode == kChamferMode);
  SetCheck(frame_ctl::kRepeat, repeat && s.stepMode != kAreaCutMode);
  SetCheck(frame_ctl::kApproach, s.approachOn != 0);
  SetCheck(frame_ctl::kEscape, s.escapeOn != 0);
  SetCheck(frame_ctl::kCompensation, s.compensationOn != 0);
  SetCheck(frame_ctl::kCornerFeed, (g_curMachiningDef.cornerSwitch & kCornerDeceleration) != 0);
  SetCheck(frame_ctl::kBottom, s.bottomFlag != 0);
  SetCheck(frame_ctl::kCentre, s.contourCentreFlag != 0);
  SetCheck(frame_ctl::kOverrun, s.overrun == 1.0f);
  // Area cut and repeat have their own dialogs, which join with the kinds.
  Enable(frame_ctl::kAreaCut, false);
  Enable(frame_ctl::kRepeat, false);
  RedrawItem(frame_ctl::kColour);
}

void CDefinitionFrameDlg::CommitFocusedField(bool fromButton) {
  if (nameFocused_) {
    nameFocused_ = false;
    const std::string text = GetText(frame_ctl::kName);
    if (!text.empty()) CheckDefinitionName(text);
  } else if (fields_.Focused() == 0) {
    return;
  } else {
    fields_.Commit(*this);
  }
  RefreshPage();
  if (!fromButton) NextControl();
}

void CDefinitionFrameDlg::OnFocusGained(int id) {
  if (id == frame_ctl::kName) {
    CommitFocusedField(true);
    nameFocused_ = true;
    return;
  }
  if (fields_.Find(id) != nullptr) {
    if (nameFocused_) CommitFocusedField(true);
    fields_.FocusGained(*this, id);
  }
}

void CDefinitionFrameDlg::OnSelectionChanged(int id) {
  if (id != frame_ctl::kTabs) return;
  CommitFocusedField(true);
  const int tab = GetCurSel(frame_ctl::kTabs);
  if (tab >= 0 && tab != g_curStepIndex) {
    g_curStepIndex = tab;
    RefreshPage();
  }
}

void CDefinitionFrameDlg::ChooseStepTool() {
  CommitFocusedField(true);
  const std::int32_t kept = T().stepWord;
  CToolSelectDlg dialog(atc_);
  if (RunModalDialog(dialog) == platform::kIdOk) {
    AtcRecord& tool = T();
    tool.inUse = 1;
    tool.stepWord = kept;
    if (tool.dCode != 0) S().compensationD = tool.dCode;
  }
  RefreshPage();
}

void CDefinitionFrameDlg::RunCondition(int button, platform::Dialog& dialog) {
  SetCheck(button, 1);
  RunModalDialog(dialog);
  g_pickResumeCode = 0;
  RefreshPage();
}

void CDefinitionFrameDlg::RunChamfer() {
  StepCondition& s = S();
  s.stepMode = kChamferMode;
  for (RepeatBlock& b : s.repeat) b.inUse = 0, b.second = 0.0;
  s.areaCutValue = 0.0;
  CChamferDlg dialog;
  RunModalDialog(dialog);
  if (S().chamferSize == 0.0) S().stepMode = 0;
  RefreshPage();
}

void CDefinitionFrameDlg::ToggleBottom() {
  StepCondition& s = S();
  s.bottomFlag = s.bottomFlag != 0 ? 0 : 1;
  if (s.bottomFlag != 0) {
    // The reference Z becomes the contour's own END[Z].
    const int item = std::clamp(g_curContourItem, 0, kCurveItemCount - 1);
    const int curve = FindCurveByKey(g_curMachiningDef.curves[item].key);
    if (curve >= 0 && curve < g_curveCount) s.endDepth = g_curveTable[curve].endZ;
    s.surfaceKey = 0;
  }
}

void CDefinitionFrameDlg::ChooseColour() {
  CColorPaletteDlg palette;
  const int chosen = RunModalDialog(palette);
  if (chosen >= 0 && chosen <= 31) S().colour = chosen;
  RedrawItem(frame_ctl::kColour);
}

void CDefinitionFrameDlg::End(int code) {
  CommitFocusedField(true);
  EndDialog(code);
}

void CDefinitionFrameDlg::OnClick(int id) {
  switch (id) {
    case frame_ctl::kStore:
      return End(define_end::kStore);
    case frame_ctl::kCancel:
      return EndDialog(define_end::kCancel);
    case frame_ctl::kPrevious:
      return End(define_end::kStorePrevious);
    case frame_ctl::kNext:
      return End(define_end::kStoreNext);
    default:
      break;
  }
  CommitFocusedField(true);
  switch (id) {
    case frame_ctl::kChooseTool:
      return ChooseStepTool();
    case frame_ctl::kToolDetail: {
      CToolDetailDlg detail;
      RunModalDialog(detail);
      return RefreshPage();
    }
    case frame_ctl::kAddStep:
      if (AddProcessStep()) {
        BuildStepTabs(true);
        RefreshPage();
      }
      return;
    case frame_ctl::kDeleteStep:
      if (CountProcessSteps(g_curMachiningDef) <= 1 || ShowMessage(11) != kAnswerYes) return;
      if (DeleteProcessStep()) {
        BuildStepTabs(true);
        RefreshPage();
      }
      return;
    case frame_ctl::kColour:
      return ChooseColour();
    case frame_ctl::kReset:
      ResetStepModes();
      return RefreshPage();
    case frame_ctl::kApproach: {
      CApproachDlg dialog;
      return RunCondition(id, dialog);
    }
    case frame_ctl::kEscape: {
      CEscapeDlg dialog;
      return RunCondition(id, dialog);
    }
    case frame_ctl::kCompensation: {
      CToolCompensationDlg dialog;
      return RunCondition(id, dialog);
    }
    case frame_ctl::kCornerFeed: {
      CCornerFeedDlg dialog;
      RunModalDialog(dialog);
      return RefreshPage();
    }
    case frame_ctl::kChamfer:
      return RunChamfer();
    case frame_ctl::kBottom:
      ToggleBottom();
      return RefreshPage();
    case frame_ctl::kCentre:
      S().contourCentreFlag = S().contourCentreFlag != 0 ? 0 : 1;
      return RefreshPage();
    case frame_ctl::kOverrun:
      S().overrun = S().overrun == 1.0f ? 0.0f : 1.0f;
      return RefreshPage();
    default:
      return;
  }
}

// Enter commits and moves on; it never closes a definition dialog.
void CDefinitionFrameDlg::OnOk() {
  if (nameFocused_ || fields_.Focused() != 0) {
    CommitFocusedField(false);
  } else {
    NextControl();
  }
}

void CDefinitionFrameDlg::OnCancel() { EndDialog(define_end::kCancel); }

void CDefinitionFrameDlg::OnDrawItem(int id, platform::DeviceContext& dc, const platform::OwnerDrawItem& item) {
  if (id != frame_ctl::kColour) return;
  colourButton_.SetColor(ColorFromIndex(S().colour));
  colourButton_.DrawItem(dc, item, "");
}

int OpenDefinitionFrame(DefinitionRunner runner, DocAtcTable& atc) {
  CDefinitionFrameDlg dialog(runner, atc);
  return RunModalDialog(dialog);
}

}  // namespace dorn
