#include "kelto_dorn/machining/dialogs/hole_define_dialog.h"

#include <cmath>
#include <cstdio>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/camdata/post_table.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/document/file_fault.h"
#include "kelto_dorn/machining/curve_items.h"
#include "kelto_dorn/machining/definition_flow.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/definition_tools.h"
#include "kelto_dorn/machining/dialogs/condition_openers.h"
#include "kelto_dorn/machining/dialogs/definition_dialog_parts.h"
#include "kelto_dorn/machining/dialogs/hole_aux_dialogs.h"
#include "kelto_dorn/machining/dialogs/hole_preview.h"
#include "kelto_dorn/machining/dialogs/hole_process_dialog.h"
#include "kelto_dorn/machining/dialogs/process_select_dialog.h"
#include "kelto_dorn/machining/dialogs/row_list_controls.h"
#include "kelto_dorn/machining/dialogs/tool_detail_dialog.h"
#include "kelto_dorn/machining/dialogs/tool_select_dialog.h"
#include "kelto_dorn/machining/hole_fields.h"
#include "kelto_dorn/machining/hole_rules.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/machining/step_operations.h"
#include "kelto_dorn/tooldb/atc_table.h"
#include "kelto_dorn/tooldb/db_messages.h"
#include "kelto_dorn/tooldb/hole_processes.h"
#include "kelto_dorn/tooldb/tool_table.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::MenuItem;
using platform::Sjis;
namespace ctl = hole_ctl;

namespace {

constexpr unsigned kCheckLook = platform::control_style::kCheckLook;
constexpr unsigned kReadOnly = platform::control_style::kReadOnly;
constexpr int kNameLimit = 32;
// The preview panel in the dialog's own pixels.
constexpr int kPanelLeft = 330, kPanelTop = 52, kPanelRight = 497, kPanelBottom = 267;
constexpr int kGroupHead = 1591, kGroupFigures = 1592, kGroupSteps = 1593, kGroupZ = 1594, kGroupOut = 1595, kGroupAtc = 1596;

ControlSpec Button(int id, const char* utf8, int group, unsigned style = 0) {
  return ControlSpec(ControlKind::PushButton, id, Sjis(utf8), group, 0, 0, style);
}
ControlSpec Radio(int id, const char* utf8, int group) {
  return ControlSpec(ControlKind::RadioButton, id, Sjis(utf8), group);
}
ControlSpec Edit(int id, int group, int width = 80, unsigned style = 0) {
  return ControlSpec(ControlKind::Edit, id, "", group, width, 0, style, 24);
}
ControlSpec Label(const char* utf8, int group) { return ControlSpec(ControlKind::StaticText, -1, Sjis(utf8), group); }
ControlSpec Combo(int id, int group, int width) {
  return ControlSpec(ControlKind::ComboBox, id, "", group, width, 0, platform::control_style::kDropList);
}

std::vector<ControlSpec> HoleControls() {
  std::vector<ControlSpec> c = {
      ControlSpec(ControlKind::GroupBox, kGroupHead, "", 0),
      Button(ctl::kNameButton, "加工名", kGroupHead),
      ControlSpec(ControlKind::Edit, ctl::kName, "", kGroupHead, 260, 0, 0, kNameLimit),
      Label("ポスト", kGroupHead), Combo(ctl::kPost, kGroupHead, 200),
      Label("座標系指定", kGroupHead), Combo(ctl::kWorkOffset, kGroupHead, 80),
      Button(ctl::kChooseProcess, "工程名の選択", kGroupHead),
      Button(ctl::kNewProcess, "工程の新規作成", kGroupHead),
      Edit(ctl::kProcessName, kGroupHead, 260, kReadOnly),
      ControlSpec(ControlKind::GroupBox, kGroupFigures, "", 0),
      Button(ctl::kFigureButton, "穴図面名", kGroupFigures), Combo(ctl::kFigures, kGroupFigures, 200),
      Button(ctl::kRepick, "変更", kGroupFigures), Button(ctl::kRemove, "削除", kGroupFigures),
      Button(ctl::kMore, "複数", kGroupFigures, kCheckLook),
      Edit(ctl::kFigureLine, kGroupFigures, 260, kReadOnly),
      ControlSpec(ControlKind::GroupBox, kGroupZ, "", 0),
      Label("加工面Ｚ値", kGroupZ), Edit(ctl::kSurfaceZ, kGroupZ),
      Label("貫通量", kGroupZ), Edit(ctl::kThrough, kGroupZ),
      Label("Ｒ点", kGroupZ), Edit(ctl::kRPoint, kGroupZ),
      Label("Ｉ点", kGroupZ), Edit(ctl::kIPoint, kGroupZ),
      Label("MAX_穴深さ", kGroupZ), Edit(ctl::kMaxDepth, kGroupZ),
      Button(ctl::kChamferDetail, "面取詳細", kGroupZ),
      ControlSpec(ControlKind::OwnerDrawButton, ctl::kPreview, "", kGroupZ, kPanelRight - kPanelLeft + 1,
                  kPanelBottom - kPanelTop + 1),
      Button(ctl::kScale, "◎", kGroupZ),
      ControlSpec(ControlKind::GroupBox, kGroupSteps, Sjis("工程"), 0),
  };
  // The step buttons in one row; each step's tool line beside its depth; the
  // ATC numbers in their own group.
  for (int s = 0; s < kHoleStepRows; ++s) {
    char caption[16];
    std::snprintf(caption, sizeof caption, "工程_%d", s + 1);
    c.push_back(Button(ctl::kStepButton[s], caption, kGroupSteps, kCheckLook));
  }
  for (int s = 0; s < kHoleStepRows; ++s) {
    c.push_back(ControlSpec(ControlKind::StaticText, ctl::kStepLine[s], "", kGroupSteps, 520));
    c.push_back(Edit(ctl::kStepDepth[s], kGroupSteps, 80));
  }
  c.push_back(ControlSpec(ControlKind::GroupBox, kGroupAtc, Sjis("ATC番号"), 0));
  for (int s = 0; s < kHoleStepRows; ++s) {
    char caption[16];
    std::snprintf(caption, sizeof caption, "工程_%d", s + 1);
    c.push_back(Label(caption, kGroupAtc));
    c.push_back(Edit(ctl::kStepAtc[s], kGroupAtc, 50));
  }
  const std::vector<ControlSpec> tail = {
      Label("深さ[Z]: 工具名  SEC名  工具[φ]  G  送り[F]  先端長  刃長", kGroupSteps),
      Button(ctl::kToolDetail, "工具詳細", kGroupSteps), Button(ctl::kChooseTool, "工具の選択", kGroupSteps),
      Button(ctl::kInsert, "追加", kGroupSteps, kCheckLook), Button(ctl::kDelete, "削 除", kGroupSteps, kCheckLook),
      Button(ctl::kReset, "RESET", kGroupSteps), Button(ctl::kThroughToggle, "貫 通", kGroupSteps, kCheckLook),
      ControlSpec(ControlKind::GroupBox, kGroupOut, "", 0),
      Label("ATC原点[Ｘ]", kGroupOut), Edit(ctl::kAtcX, kGroupOut),
      Label("[Ｙ]", kGroupOut), Edit(ctl::kAtcY, kGroupOut),
      Label("[Ｚ]", kGroupOut), Edit(ctl::kAtcZ, kGroupOut),
      Label("データ形式", kGroupOut), Radio(ctl::kMain, "メイン", kGroupOut), Radio(ctl::kSub, "サブ", kGroupOut),
      Label("復帰レベル", kGroupOut),
      ControlSpec(ControlKind::RadioButton, ctl::kG98, "G98", kGroupOut, 0, 0, platform::control_style::kGroupStart),
      Radio(ctl::kG99, "G99", kGroupOut),
      Button(ctl::kMove, "ＭＯＶＥ", kGroupOut, kCheckLook), Button(ctl::kMultiPiece, "多数個取り", kGroupOut, kCheckLook),
      Button(ctl::kCheckSurface, "CHECK曲面", kGroupOut, kCheckLook),
  };
  c.insert(c.end(), tail.begin(), tail.end());
  return c;
}

std::vector<MenuItem> Menu259() {
  return {MenuItem(ctl::kMenuStore, Sjis("登録")), MenuItem(ctl::kMenuNext, Sjis("<次の定義>")),
          MenuItem(ctl::kMenuPrevious, Sjis("<前の定義>")), MenuItem(ctl::kMenuStepAllow, "STEP/ALLOW"),
          MenuItem(ctl::kMenuDraw, Sjis("DRAW図形"))};
}

MachiningDefinition& D() { return g_curMachiningDef; }

std::string SecUpToBlank(const AtcRecord& t) {
  std::string sec = platform::FieldText(t.secName);
  return sec.substr(0, std::min(sec.find(' '), std::size_t{12}));
}

HoleDialogIds HoleIds() {
  return {.nameButton = ctl::kNameButton,
          .name = ctl::kName,
          .post = ctl::kPost,
          .workOffset = ctl::kWorkOffset,
          .figures = ctl::kFigures,
          .repick = ctl::kRepick,
          .more = ctl::kMore,
          .remove = ctl::kRemove,
          .move = ctl::kMove,
          .multiPiece = ctl::kMultiPiece,
          .menuStore = ctl::kMenuStore,
          .menuNext = ctl::kMenuNext,
          .menuPrevious = ctl::kMenuPrevious,
          .menuStepAllow = ctl::kMenuStepAllow,
          .menuDraw = ctl::kMenuDraw};
}

}  // namespace

CHoleDefineDlg::CHoleDefineDlg(DocAtcTable& atc)
    : CHoleDialogBase(kHoleDefineDialogId, Sjis("  穴加工定義"), HoleControls(), Menu259(), HoleIds(), atc) {
  AddFields();
}

void CHoleDefineDlg::AddFields() {
  auto dbl = [this](int id, double MachiningDefinition::*m) {
    fields_.Add({id, [m](double v) { D().*m = v; }, [m] { return NumberText(D().*m); }});
  };
  fields_.Add({ctl::kAtcX, [](double v) { D().value[3] = v; }, [] { return NumberText(D().value[3]); }});
  fields_.Add({ctl::kAtcY, [](double v) { D().value[4] = v; }, [] { return NumberText(D().value[4]); }});
  dbl(ctl::kAtcZ, &MachiningDefinition::zOrigin);
  dbl(ctl::kIPoint, &MachiningDefinition::holeIPoint);
  dbl(ctl::kRPoint, &MachiningDefinition::holeRPoint);
  fields_.Add({ctl::kThrough,
               [](double v) {
                 D().holeThroughAmount = v;
                 g_machiningDefaults.holeThroughAmount = v;
                 if (D().steps[0].switch8 != 0) {
                   for (int s = 0; s < kHoleStepRows; ++s) ComputeRecordDepth(s);
                 }
               },
               [] { return NumberText(D().holeThroughAmount); }});
  fields_.Add({ctl::kSurfaceZ,
               [](double v) {
                 for (StepCondition& s : D().steps) s.depth = v, s.bottomFlag = 0;
                 D().holeRPoint = v + g_machiningDefaults.holeRPoint;
               },
               [] { return NumberText(D().steps[0].depth); }});
  fields_.Add({ctl::kMaxDepth,
               [](double v) {
                 const double depth = HoleDepthFromTyped(D(), v);
                 for (StepCondition& s : D().steps) s.endDepth = depth, s.bottomZStock = 0.0, s.bottomFlag = 0;
               },
               [] { return NumberText(DeepestHoleDepth(D())); }});
  for (int s = 0; s < kHoleStepRows; ++s) {
    fields_.Add({ctl::kStepAtc[s],
                 [s](double v) {
                   D().stepTools[s].atcNumber = static_cast<std::int32_t>(v);
                   D().stepTools[s].inUse = 1;
                 },
                 [s] {
                   char text[16] = "";
                   if (D().stepTools[s].atcNumber != 0) std::snprintf(text, sizeof text, " %4d", D().stepTools[s].atcNumber);
                   return std::string(text);
                 }});
    fields_.Add({ctl::kStepDepth[s], [s](double v) { D().steps[s].endDepth = HoleDepthFromTyped(D(), v); },
                 [s] { return D().stepTools[s].diameter > 0.0f ? NumberText(D().steps[s].endDepth) : std::string(); }});
  }
}

bool CHoleDefineDlg::OnInit() {
  MachiningDefinition& d = D();
  const platform::FileResult read = ReadChamferDetail(g_chamferDetail);
  if (!read.ok() && read.status != platform::FileStatus::Missing) ReportFileFault(read);
  if (HoleChamferSize(d) != 0.0) {
    g_chamferDetail = ChamferDetailOfDefinition(d);
  } else {
    CopyChamferDetailToDefinition(g_chamferDetail, d);
  }
  previewScale_ = 1;
  g_curStepIndex = g_curContourItem = g_curToolIndex = 0;
  g_stepButtonNumber = g_stepDeleteMode = g_stepInsertMode = 0;
  FocusedEditIndex = 0;
  FillHeadControls();
  FillHoleToolLines();
  return true;
}

void CHoleDefineDlg::OnShow() {
  char title[96];
  std::snprintf(title, sizeof title, "  穴加工定義  [ %d/%d ] ", g_shownDefinitionIndex + 1, g_shownDefinitionTotal);
  SetTitle(Sjis(title));
}

void CHoleDefineDlg::FillHoleToolLines() {
  MachiningDefinition& d = D();
  const bool cycleWord = PostForDefinition(d.generalA).toolLengthG43 == 0;
  for (int s = 0; s < kHoleStepRows; ++s) {
    AtcRecord& t = d.stepTools[s];
    if (!(t.diameter > 0.0f)) {
      SetText(ctl::kStepLine[s], "");
      continue;
    }
    d.steps[s].word156 = cycleWord ? 3 : 0;
    const AtcFieldTexts f = FormatThroughScratch(atc_, t, DocAtcTable::kBlankToolSlot);
    char line[200];
    std::snprintf(line, sizeof line, "%24s  %-12s %7s %5s  %7s %7s %7s", f.toolName.c_str(), SecUpToBlank(t).c_str(),
                  f.diameter.c_str(), f.cannedCycle.substr(0, 4).c_str(), f.feed.c_str(), f.tipLength.c_str(),
                  f.fluteLength.c_str());
    SetText(ctl::kStepLine[s], line);
  }
  Refresh();
}

std::optional<double> CHoleDefineDlg::SelectedHoleDiameter() const {
  const int item = std::clamp(g_curContourItem, 0, kCurveItemCount - 1);
  const int curve = FindCurveByKey(D().curves[item].key);
  if (curve < 0 || curve >= g_curveCount) return std::nullopt;
  return g_curveTable[static_cast<std::size_t>(curve)].values[6];
}

void CHoleDefineDlg::Refresh() {
  MachiningDefinition& d = D();
  const int item = std::clamp(g_curContourItem, 0, kCurveItemCount - 1);
  const int curve = FindCurveByKey(d.curves[item].key);
  if (curve >= 0 && curve < g_curveCount) {
    const CurveRecord& c = g_curveTable[static_cast<std::size_t>(curve)];
    FormatNumber4(c.values[6]);
    const std::string diameter = std::string(g_textBuffer) + Sjis("φ");
    FormatNumber4(c.topZ);
    const std::string topZ = g_textBuffer;
    FormatNumber4(c.endZ);
    SetText(ctl::kFigureLine, " " + diameter + "  " + topZ + " " + Sjis("～") + " " + g_textBuffer);
  } else {
    SetText(ctl::kFigureLine, "");
  }
  SetCheck(ctl::kThroughToggle, d.steps[0].switch8 != 0);
  ApplyHoleStepRules(d, SelectedHoleDiameter(), g_machiningDefaults);
  fields_.ShowAll(*this);
  SetText(ctl::kProcessName, " " + platform::FieldText(d.processName));
  ShowFigureAndTransformButtons(*this, d, ctl::kNameButton, ctl::kMore, ctl::kMove, ctl::kMultiPiece);
  SetCheck(ctl::kCheckSurface, d.checkSurfaces[0].surfaceKey != 0);
  SetCheck(ctl::kG98, HoleReturnLevel(d) == 0);
  SetCheck(ctl::kG99, HoleReturnLevel(d) == 1);
  SetCheck(ctl::kMain, HoleDataFormat(d) == kHoleDataMain);
  SetCheck(ctl::kSub, HoleDataFormat(d) == kHoleDataSub);
  SetCheck(ctl::kInsert, g_stepInsertMode != 0);
  SetCheck(ctl::kDelete, g_stepDeleteMode != 0);
  Enable(ctl::kCheckSurface, static_cast<bool>(g_conditionOpeners.checkSurface));
  RedrawItem(ctl::kPreview);
}

void CHoleDefineDlg::CommitFocusedField(bool fromButton) {
  if (!CommitTypedText()) return;
  g_stepDeleteMode = 0;
  g_stepButtonNumber = 0;
  FillHoleToolLines();
  if (!fromButton) NextControl();
}

void CHoleDefineDlg::StoreName(const std::string& text) {
  if (text.find_first_not_of(' ') != std::string::npos) CheckDefinitionName(text);
}

bool CHoleDefineDlg::PassesOver(int id) const {
  const int step = RowOfControl(ctl::kStepDepth, id);
  return step >= 0 && D().stepTools[step].diameter == 0.0f;
}

void CHoleDefineDlg::OnSelectionChanged(int id) {
  MachiningDefinition& d = D();
  switch (id) {
    case ctl::kPost:
      StorePostChoice(*this, id, d);
      return FillHoleToolLines();
    case ctl::kWorkOffset:
      d.generalB = std::max(0, GetCurSel(id));
      return Refresh();
    case ctl::kFigures:
      SelectFigureRow();
      return Refresh();
    default:
      return;
  }
}

void CHoleDefineDlg::PressStepButton(int n) {
  g_stepButtonNumber = n;
  const bool deleting = g_stepDeleteMode != 0;
  if (SelectHoleStep(atc_)) FillHoleToolLines();
  for (int s = 0; s < kHoleStepRows; ++s) SetCheck(ctl::kStepButton[s], 0);
  if (!deleting && n >= 1 && n <= kHoleStepRows) SetCheck(ctl::kStepButton[n - 1], 1);
}

void CHoleDefineDlg::ToggleStepMode(bool insert) {
  if (insert) {
    g_stepInsertMode = g_stepInsertMode != 0 ? 0 : 1;
    if (g_stepInsertMode != 0) g_stepDeleteMode = 0;
  } else {
    g_stepDeleteMode = g_stepDeleteMode != 0 ? 0 : kStepDeleteOn;
    if (g_stepDeleteMode != 0) g_stepInsertMode = 0;
  }
  PressStepButton(0);
  Refresh();
}

void CHoleDefineDlg::ChooseTool() {
  const int s = g_curStepIndex;
  // After 追加 or 削 除 no row is current: nothing to choose a tool for.
  if (s < 0 || s >= kHoleStepRows) {
    SignalBeep();
    return;
  }
  MachiningDefinition& d = D();
  if (s > 0 && d.stepTools[s - 1].diameter == 0.0f) {
    std::snprintf(g_textBuffer, kTextBufferSize, "%s", Sjis("※ 前の工程の工具を先に選択して下さい").c_str());
    ShowErrorCode(45);
    return;
  }
  const std::int32_t kept = d.stepTools[s].stepWord;
  CToolSelectDlg dialog(atc_);
  if (RunModalDialog(dialog) != platform::kIdOk) return FillHoleToolLines();
  AtcRecord& t = d.stepTools[s];
  t.inUse = 1;
  t.stepWord = kept;
  if (t.dCode != 0) d.steps[s].compensationD = t.dCode;
  CopyRecord168(g_holeProcess.rows[s], t);
  d.steps[s].bottomFlag = 0;
  for (int k = 0; k < kHoleStepRows; ++k) {
    AtcRecord& row = d.stepTools[k];
    if (row.diameter != 0.0f && row.atcNumber != 0) continue;
    row.diameter = 0.0f, row.atcNumber = 0, row.inUse = 0;
    g_holeProcess.rows[k].diameter = 0.0f, g_holeProcess.rows[k].atcNumber = 0;
    d.steps[k].endDepth = 0.0;
  }
  if (d.steps[0].switch8 != 0) ComputeRecordDepth(s);
  MachiningOrderValid = 0;
  FillHoleToolLines();
}

void CHoleDefineDlg::ToggleThrough() {
  MachiningDefinition& d = D();
  for (int s = 0; s < kHoleStepRows && d.stepTools[s].diameter != 0.0f; ++s) {
    d.steps[s].switch8 = d.steps[s].switch8 != 0 ? 0 : 1;
    d.steps[s].bottomFlag = 0;
  }
  if (d.steps[0].switch8 != 0) {
    for (int s = 0; s < kHoleStepRows; ++s) ComputeRecordDepth(s);
  }
  FillHoleToolLines();
}

void CHoleDefineDlg::ResetSteps() {
  MachiningDefinition& d = D();
  for (int s = 0; s < kStepCount; ++s) ClearStepCondition(s);
  ClearAtcRecord(atc_, DocAtcTable::kBlankToolSlot);
  AtcRecord& blank = atc_.Record(DocAtcTable::kBlankToolSlot);
  blank.atcNumber = 0;
  for (AtcRecord& t : d.stepTools) CopyRecord168(t, blank);
  platform::SetFieldText(d.processName, "");
  platform::SetFieldText(d.machineName, "");
  g_curStepIndex = g_curToolIndex = g_stepButtonNumber = 0;
  g_stepDeleteMode = g_stepInsertMode = 0;
  FocusedEditIndex = 0;
  MachiningOrderValid = 0;
  FillHoleToolLines();
}

void CHoleDefineDlg::ChooseProcess() {
  FocusedEditIndex = 1;
  CProcessNameSelectDlg dialog;
  const int answer = RunModalDialog(dialog);
  FocusedEditIndex = 0;
  if (answer == platform::kIdOk) {
    const std::string name = g_listTextBuffer;
    HoleProcessRecord read = g_holeProcess;
    const platform::FileResult r = ReadHoleProcess(name, read);
    if (!r.ok() && r.status != platform::FileStatus::Missing) {
      // A damaged process changes nothing.
      ReportFileFault(r);
    } else {
      g_holeProcess = read;
      platform::SetFieldText(g_holeProcess.name, name);
      MatchToolsToAtcTable(kMatchHoleProcess, atc_);
      ApplyHoleProcessToDefinition(D(), g_holeProcess);
      MachiningOrderValid = 0;
    }
  }
  g_stepButtonNumber = 0;
  FillHoleToolLines();
  SetFocus(ctl::kMaxDepth);
}

void CHoleDefineDlg::NewProcess() {
  RunHoleProcessDialog(atc_);
  ApplyHoleProcessToDefinition(D(), g_holeProcess);
  MachiningOrderValid = 0;
  FillHoleToolLines();
  SetFocus(ctl::kMaxDepth);
}

void CHoleDefineDlg::ChamferDetailDialog() {
  g_chamferDetail = ChamferDetailOfDefinition(D());
  CHoleChamferDetailDlg dialog;
  RunModalDialog(dialog);
  CopyChamferDetailToDefinition(g_chamferDetail, D());
  Refresh();
}

void CHoleDefineDlg::EndWith(int code) {
  CommitFocusedField(true);
  StampHoleCurves(D(), static_cast<std::int32_t>(MachiningKind::Hole), HoleToolRadius(D()));
  EndDialog(code);
}

void CHoleDefineDlg::OnClick(int id) {
  CommitFocusedField(true);
  // 穴図面名 picks the figures anew, as 変更 does.
  if (ClickSharedButton(id == ctl::kFigureButton ? ctl::kRepick : id)) return;
  const int step = RowOfControl(ctl::kStepButton, id);
  if (step >= 0) return PressStepButton(step + 1);
  MachiningDefinition& d = D();
  switch (id) {
    case ctl::kInsert:
      return ToggleStepMode(true);
    case ctl::kDelete:
      return ToggleStepMode(false);
    case ctl::kChooseTool:
      return ChooseTool();
    case ctl::kToolDetail: {
      if (g_curStepIndex < 0 || g_curStepIndex >= kHoleStepRows) {
        SignalBeep();
        return;
      }
      CToolDetailDlg detail;
      RunModalDialog(detail);
      return FillHoleToolLines();
    }
    case ctl::kThroughToggle:
      return ToggleThrough();
    case ctl::kReset:
      return ResetSteps();
    case ctl::kChooseProcess:
      return ChooseProcess();
    case ctl::kNewProcess:
      return NewProcess();
    case ctl::kChamferDetail:
      return ChamferDetailDialog();
    case ctl::kCheckSurface: {
      if (!g_conditionOpeners.checkSurface) return;
      SetCheck(id, 1);
      const int item = g_curContourItem, step = g_curStepIndex;
      g_conditionOpeners.checkSurface();
      g_curContourItem = item, g_curStepIndex = step;
      return Refresh();
    }
    case ctl::kScale:
      previewScale_ = previewScale_ == 1 ? 2 : 1;
      return RedrawItem(ctl::kPreview);
    case ctl::kMain:
    case ctl::kSub:
      HoleDataFormat(d) = id == ctl::kMain ? kHoleDataMain : kHoleDataSub;
      return Refresh();
    case ctl::kG98:
    case ctl::kG99:
      HoleReturnLevel(d) = id == ctl::kG98 ? 0 : 1;
      return Refresh();
    default:
      return;
  }
}

void CHoleDefineDlg::OnDrawItem(int id, platform::DeviceContext& dc, const platform::OwnerDrawItem& item) {
  if (id != ctl::kPreview) return;
  // The panel's own pixels are kept: the control's top left is the panel's.
  DrawHolePreview(dc, {item.rect.left - kPanelLeft, item.rect.top - kPanelTop}, previewScale_, D());
}

int RunHoleDefineDialog(DocAtcTable& atc) {
  CHoleDefineDlg dialog(atc);
  return RunModalDialog(dialog);
}

}  // namespace dorn
