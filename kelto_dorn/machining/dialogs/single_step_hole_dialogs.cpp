#include "kelto_dorn/machining/dialogs/single_step_hole_dialogs.h"

#include <cmath>
#include <cstdio>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/color_button.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/dialogs/color_palette_dialog.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/machining/curve_items.h"
#include "kelto_dorn/machining/definition_flow.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/dialogs/condition_openers.h"
#include "kelto_dorn/machining/dialogs/definition_dialog_parts.h"
#include "kelto_dorn/machining/dialogs/hole_preview.h"
#include "kelto_dorn/machining/dialogs/tool_detail_dialog.h"
#include "kelto_dorn/machining/dialogs/tool_select_dialog.h"
#include "kelto_dorn/machining/hole_fields.h"
#include "kelto_dorn/machining/hole_rules.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/tooldb/db_messages.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/tool_table.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::MenuItem;
using platform::Sjis;
namespace ctl = single_hole_ctl;

namespace {

constexpr unsigned kCheckLook = platform::control_style::kCheckLook;
constexpr unsigned kReadOnly = platform::control_style::kReadOnly;
constexpr std::int32_t kGlobalZTop = 9999;
constexpr int kGroupHead = 1310, kGroupTool = 1311, kGroupZ = 1312, kGroupOut = 1313;

ControlSpec Button(int id, const char* utf8, int group, unsigned style = 0) {
  return ControlSpec(ControlKind::PushButton, id, Sjis(utf8), group, 0, 0, style);
}
ControlSpec Edit(int id, int group, unsigned style = 0) {
  return ControlSpec(ControlKind::Edit, id, "", group, 90, 0, style, 24);
}
ControlSpec Label(const char* utf8, int group) { return ControlSpec(ControlKind::StaticText, -1, Sjis(utf8), group); }
ControlSpec Combo(int id, int group, int width) {
  return ControlSpec(ControlKind::ComboBox, id, "", group, width, 0, platform::control_style::kDropList);
}
ControlSpec Radio(int id, const char* utf8, int group) {
  return ControlSpec(ControlKind::RadioButton, id, Sjis(utf8), group);
}

std::vector<ControlSpec> SingleHoleControls(bool helical) {
  std::vector<ControlSpec> c = {
      ControlSpec(ControlKind::GroupBox, kGroupHead, "", 0),
      Button(ctl::kNameButton, "加工名", kGroupHead),
      ControlSpec(ControlKind::Edit, ctl::kName, "", kGroupHead, 260, 0, 0, 32),
      Label("ポスト", kGroupHead), Combo(ctl::kPost, kGroupHead, 200),
      Label("座標系指定", kGroupHead), Combo(ctl::kWorkOffset, kGroupHead, 80),
      Label("穴図面名", kGroupHead), Combo(ctl::kFigures, kGroupHead, 200),
      Button(ctl::kRepick, "変更", kGroupHead), Button(ctl::kRemove, "削除", kGroupHead),
      Button(ctl::kMore, "複数輪郭", kGroupHead, kCheckLook),
      ControlSpec(ControlKind::GroupBox, kGroupTool, "", 0),
      Label("工具名", kGroupTool), Edit(ctl::kToolName, kGroupTool, kReadOnly),
      Label("SEC名", kGroupTool), Edit(ctl::kSecName, kGroupTool, kReadOnly),
      Button(ctl::kChooseTool, helical ? "工具の選択" : "工具選択", kGroupTool),
  };
  const std::vector<ControlSpec> tool =
      helical ? std::vector<ControlSpec>{Button(ctl::kToolDetail, "工具詳細", kGroupTool),
                                         Label("ＡＴＣ", kGroupTool), Edit(ctl::kHelicalAtc, kGroupTool),
                                         Label("工具_φ", kGroupTool), Edit(ctl::kHelicalDiameter, kGroupTool),
                                         Label("工具_Ｒ", kGroupTool), Edit(ctl::kHelicalCorner, kGroupTool),
                                         Label("工具_Ｆ", kGroupTool), Edit(ctl::kHelicalFlat, kGroupTool),
                                         Label("回転[S]", kGroupTool), Edit(ctl::kHelicalSpindle, kGroupTool),
                                         Label("送り[F]", kGroupTool), Edit(ctl::kHelicalFeed, kGroupTool),
                                         Label("ヘリカル傾斜角", kGroupTool), Edit(ctl::kSlopeAngle, kGroupTool),
                                         Label("ヘリカル穴径", kGroupTool), Edit(ctl::kHoleDiameter, kGroupTool),
                                         Label("一周での切り込み量", kGroupTool), Edit(ctl::kCutPerRevolution, kGroupTool),
                                         Label("断面テーパー角度", kGroupTool), Edit(ctl::kTaperAngle, kGroupTool),
                                         Button(ctl::kG41, "補正[G41]", kGroupTool, kCheckLook)}
              : std::vector<ControlSpec>{Label("ＡＴＣ", kGroupTool), Edit(ctl::kDeepAtc, kGroupTool),
                                         Label("工具_φ", kGroupTool), Edit(ctl::kDeepDiameter, kGroupTool),
                                         Label("回転[S]", kGroupTool), Edit(ctl::kDeepSpindle, kGroupTool),
                                         Label("送り[F]", kGroupTool), Edit(ctl::kDeepFeed, kGroupTool),
                                         Label("高速回転[S]", kGroupTool), Edit(ctl::kFastSpindle, kGroupTool),
                                         Label("高速送り[F]", kGroupTool), Edit(ctl::kFastFeed, kGroupTool),
                                         Label("トップ切り込み量", kGroupTool), Edit(ctl::kTopCut, kGroupTool),
                                         Label("高速切り込み量", kGroupTool), Edit(ctl::kFastCut, kGroupTool)};
  c.insert(c.end(), tool.begin(), tool.end());
  const std::vector<ControlSpec> z = {
      ControlSpec(ControlKind::GroupBox, kGroupZ, "", 0),
      Label("加工面Ｚ値", kGroupZ), Edit(ctl::kSurfaceZ, kGroupZ),
      Label("規準穴深さ", kGroupZ), Edit(ctl::kReferenceDepth, kGroupZ),
      Label(helical ? "底面Ｚ値" : "残し量", kGroupZ), Edit(ctl::kBottomOrStock, kGroupZ),
      Label("貫通量", kGroupZ), Edit(ctl::kThrough, kGroupZ),
      Label("Ｒ点", kGroupZ), Edit(ctl::kRPoint, kGroupZ),
      Label("Ｉ点", kGroupZ), Edit(ctl::kIPoint, kGroupZ),
      Button(ctl::kThroughToggle, "貫通", kGroupZ, kCheckLook),
      ControlSpec(ControlKind::OwnerDrawButton, ctl::kColour, "", kGroupZ, 24, 24),
      ControlSpec(ControlKind::OwnerDrawButton, ctl::kPreview, "", kGroupZ, 285, 201),
      ControlSpec(ControlKind::GroupBox, kGroupOut, "", 0),
      Label("ATC_X", kGroupOut), Edit(ctl::kAtcX, kGroupOut),
      Label("ATC_Y", kGroupOut), Edit(ctl::kAtcY, kGroupOut),
      Label("ATC_Z", kGroupOut), Edit(ctl::kAtcZ, kGroupOut),
  };
  c.insert(c.end(), z.begin(), z.end());
  if (helical) {
    c.push_back(Radio(ctl::kReturnI, "( I点 ）", kGroupOut));
    c.push_back(Radio(ctl::kReturnR, "( R点 ）", kGroupOut));
  } else {
    c.push_back(Radio(ctl::kG98, "G98", kGroupOut));
    c.push_back(Radio(ctl::kG99, "G99", kGroupOut));
  }
  c.push_back(Button(ctl::kMove, "ＭＯＶＥ", kGroupOut, kCheckLook));
  c.push_back(Button(ctl::kMultiPiece, "多数個取り", kGroupOut, kCheckLook));
  return c;
}

std::vector<MenuItem> SingleHoleMenu(bool helical) {
  std::vector<MenuItem> m = {MenuItem(ctl::kMenuStore, Sjis("登録")), MenuItem(ctl::kMenuNext, Sjis("<次の定義>")),
                             MenuItem(ctl::kMenuPrevious, Sjis("<前の定義>"))};
  if (helical) m.emplace_back(ctl::kMenuStepAllow, "STEP/ALLOW");
  return m;
}

MachiningDefinition& D() { return g_curMachiningDef; }
StepCondition& C() { return g_curMachiningDef.steps[0]; }
AtcRecord& T() { return g_curMachiningDef.stepTools[0]; }

double HelixOfStep() { return HelixDiameter(C().chamferSize, T().diameter, C().compensationOn != 0); }

// A typed depth above the surface is meant downwards.
double Downwards(double v) { return v > C().depth ? -v : v; }

// The deep hole's menu has no STEP/ALLOW.
HoleDialogIds SingleHoleIds(bool helical) {
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
          .menuStepAllow = helical ? ctl::kMenuStepAllow : -1};
}

}  // namespace

void UpdateHelicalCut(bool fromTypedAngle) {
  const double cut = CutPerRevolution(T().pCode, HelixOfStep());
  C().bottomZStock = fromTypedAngle ? Round3(cut) : cut;
}

CSingleStepHoleDlg::CSingleStepHoleDlg(bool helical, DocAtcTable& atc)
    : CHoleDialogBase(helical ? kHelicalHoleDialogId : kDeepHoleDialogId,
                      Sjis(helical ? "  ヘリカル穴加工" : "  深穴高速加工"), SingleHoleControls(helical),
                      SingleHoleMenu(helical), SingleHoleIds(helical), atc),
      helical_(helical) {
  AddCommonFields();
  if (helical_) {
    AddHelicalFields();
  } else {
    AddDeepHoleFields();
  }
}

void CSingleStepHoleDlg::AddCommonFields() {
  const bool helical = helical_;
  fields_.Add({ctl::kAtcX, [](double v) { D().value[3] = v; }, [] { return NumberText(D().value[3]); }});
  fields_.Add({ctl::kAtcY, [](double v) { D().value[4] = v; }, [] { return NumberText(D().value[4]); }});
  fields_.Add({ctl::kAtcZ, [](double v) { D().zOrigin = v; }, [] { return NumberText(D().zOrigin); }});
  fields_.Add({ctl::kIPoint,
               [](double v) {
                 D().holeIPoint = v;
                 if (v > D().zOrigin) D().zOrigin = v;
               },
               [] { return NumberText(D().holeIPoint); }});
  fields_.Add({ctl::kRPoint, [](double v) { D().holeRPoint = v; }, [] { return NumberText(D().holeRPoint); }});
  fields_.Add({ctl::kThrough,
               [](double v) {
                 D().holeThroughAmount = v;
                 g_machiningDefaults.holeThroughAmount = v;
                 if (C().bottomFlag != 0) ComputeRecordDepth(0);
               },
               [] { return NumberText(D().holeThroughAmount); }});
  fields_.Add({ctl::kSurfaceZ,
               [](double v) {
                 C().depth = v;
                 D().holeRPoint = v + g_machiningDefaults.holeRPoint;
               },
               [] { return NumberText(C().depth); }});
  fields_.Add({ctl::kReferenceDepth,
               [helical](double v) {
                 if (helical) {
                   C().areaCutValue = Downwards(v);
                 } else {
                   C().endDepth = Downwards(v);
                 }
               },
               [helical] { return NumberText(helical ? C().areaCutValue : C().endDepth); }});
  fields_.Add({ctl::kBottomOrStock,
               [helical](double v) {
                 if (helical) {
                   C().endDepth = Downwards(v);
                   C().contourStock = 0.0;
                 } else {
                   C().contourStock = v;
                 }
               },
               [helical] { return NumberText(helical ? C().endDepth : C().contourStock); }});
}

void CSingleStepHoleDlg::AddHelicalFields() {
  fields_.Add({ctl::kHelicalAtc, [](double v) { T().atcNumber = static_cast<std::int32_t>(v); },
               [] { return IntText(T().atcNumber); }});
  fields_.Add({ctl::kHelicalSpindle, [](double v) { T().spindleSpeed = static_cast<std::int32_t>(v); },
               [] { return IntText(T().spindleSpeed); }});
  fields_.Add({ctl::kHelicalFeed, [](double v) { T().feed = static_cast<float>(v); }, [] { return NumberText(T().feed); }});
  fields_.Add({ctl::kHelicalDiameter,
               [](double v) {
                 T().diameter = static_cast<float>(v);
                 if (v != 0.0) {
                   T().flatRadius = static_cast<float>(v / 2.0 - T().cornerRadius);
                 } else {
                   T().flatRadius = T().cornerRadius = 0.0f;
                 }
               },
               [] { return NumberText(T().diameter); }});
  // The corner and flat radius share half the diameter.
  auto radius = [this](int id, float AtcRecord::*typed, float AtcRecord::*other) {
    fields_.Add({id,
                 [typed, other](double v) {
                   const double half = T().diameter / 2.0;
                   T().*typed = static_cast<float>(std::min(v, half));
                   T().*other = static_cast<float>(half - T().*typed);
                 },
                 [typed] { return NumberText(T().*typed); }});
  };
  radius(ctl::kHelicalCorner, &AtcRecord::cornerRadius, &AtcRecord::flatRadius);
  radius(ctl::kHelicalFlat, &AtcRecord::flatRadius, &AtcRecord::cornerRadius);
  fields_.Add({ctl::kSlopeAngle,
               [](double v) {
                 T().pCode = static_cast<float>(v);
                 UpdateHelicalCut(true);
               },
               [] { return NumberText(T().pCode); }});
  fields_.Add({ctl::kHoleDiameter,
               [](double v) {
                 C().chamferSize = v;
                 UpdateHelicalCut(false);
               },
               [] { return NumberText(C().chamferSize); }});
  fields_.Add({ctl::kCutPerRevolution,
               [](double v) {
                 C().bottomZStock = v;
                 T().pCode = static_cast<float>(SlopeAngleOfCut(v, HelixOfStep()));
               },
               [] { return NumberText(C().bottomZStock); }});
  fields_.Add({ctl::kTaperAngle, [](double v) { C().chamferTipDiameter = v; },
               [] { return NumberText(C().chamferTipDiameter); }});
}

void CSingleStepHoleDlg::AddDeepHoleFields() {
  auto absFloat = [this](int id, float AtcRecord::*m) {
    fields_.Add({id, [m](double v) { T().*m = static_cast<float>(std::fabs(v)); }, [m] { return NumberText(T().*m); }});
  };
  auto absInt = [this](int id, std::int32_t AtcRecord::*m) {
    fields_.Add({id, [m](double v) { T().*m = static_cast<std::int32_t>(std::fabs(v)); },
                 [m] { return IntText(T().*m); }});
  };
  fields_.Add({ctl::kDeepAtc, [](double v) { T().atcNumber = static_cast<std::int32_t>(v); },
               [] { return IntText(T().atcNumber); }});
  absFloat(ctl::kDeepDiameter, &AtcRecord::diameter);
  absInt(ctl::kDeepSpindle, &AtcRecord::spindleSpeed);
  absFloat(ctl::kDeepFeed, &AtcRecord::feed);
  // The high-speed spindle and feed sit in the tool's integers at 12 and 16.
  absInt(ctl::kFastSpindle, &AtcRecord::cannedCycle);
  absInt(ctl::kFastFeed, &AtcRecord::mCode);
  absFloat(ctl::kTopCut, &AtcRecord::peckDepth);
  absFloat(ctl::kFastCut, &AtcRecord::pCode);
}

bool CSingleStepHoleDlg::OnInit() {
  g_curContourItem = g_curToolIndex = g_stepButtonNumber = g_curStepIndex = 0;
  g_stepDeleteMode = g_stepInsertMode = 0;
  FocusedEditIndex = 0;
  T().inUse = 1;
  FillHeadControls();
  Refresh();
  return true;
}

void CSingleStepHoleDlg::OnShow() {
  char title[96];
  std::snprintf(title, sizeof title, helical_ ? "\tヘリカル・穴加工定義  [ %d/%d ] " : "  深穴・高速加工定義  [ %d/%d ] ",
                g_shownDefinitionIndex + 1, g_shownDefinitionTotal);
  SetTitle(Sjis(title));
}

void CSingleStepHoleDlg::Refresh() {
  MachiningDefinition& d = D();
  fields_.ShowAll(*this);
  SetText(ctl::kToolName, " " + platform::FieldText(T().toolName));
  SetText(ctl::kSecName, " " + platform::FieldText(T().secName));
  SetCheck(ctl::kThroughToggle, C().bottomFlag != 0);
  ShowFigureAndTransformButtons(*this, d, ctl::kNameButton, ctl::kMore, ctl::kMove, ctl::kMultiPiece);
  const int level = HoleReturnLevel(d);
  if (helical_) {
    SetCheck(ctl::kG41, C().compensationOn != 0);
    SetCheck(ctl::kReturnI, level == 0);
    SetCheck(ctl::kReturnR, level == 1);
  } else {
    SetCheck(ctl::kG98, level == 0);
    SetCheck(ctl::kG99, level == 1);
  }
  RedrawItem(ctl::kColour);
  RedrawItem(ctl::kPreview);
}

void CSingleStepHoleDlg::ReadReturnLevel() {
  if (helical_) HoleReturnLevel(D()) = GetCheck(ctl::kReturnR) != 0 ? 1 : 0;
}

void CSingleStepHoleDlg::CommitFocusedField(bool fromButton) {
  ReadReturnLevel();
  if (!CommitTypedText()) return;
  Refresh();
  if (!fromButton) NextControl();
}

void CSingleStepHoleDlg::StoreName(const std::string& text) {
  const std::size_t start = text.find_first_not_of(' ');
  const int slot = g_curDefinitionSlot;
  if (start != std::string::npos && slot >= 0 && slot < kMachiningSlotCount) {
    platform::SetFieldText(g_machiningIndexTable.records[static_cast<std::size_t>(slot)].name, text.substr(start));
  }
}

void CSingleStepHoleDlg::ChooseTool() {
  g_stepDeleteMode = g_stepButtonNumber = 0;
  g_curStepIndex = 0;
  const std::int32_t kept = T().stepWord;
  CToolSelectDlg dialog(atc_);
  if (RunModalDialog(dialog) != platform::kIdOk) return Refresh();
  T().stepWord = kept;
  T().inUse = 1;
  // The machine's name is wider than the definition's field: cut on a
  // character boundary.
  platform::SetFieldText(D().machineName, platform::FieldText(g_dbSelection.machineName));
  if (T().dCode != 0) C().compensationD = T().dCode;
  if (helical_) {
    C().chamferSize = T().cannedCycle;
    UpdateHelicalCut(false);
  }
  if (C().bottomFlag != 0) ComputeRecordDepth(0);
  MachiningOrderValid = 0;
  Refresh();
}

void CSingleStepHoleDlg::ToggleThrough() {
  StepCondition& c = C();
  c.bottomFlag = c.bottomFlag != 0 ? 0 : 1;
  if (c.bottomFlag == 0) {
    c.endDepth = 0.0;
  } else {
    const bool withGlobal = helical_ || g_globalZMode != kGlobalZTop;
    c.endDepth = -(T().tipLength + D().holeThroughAmount + (withGlobal ? g_globalZ : 0.0));
  }
  Refresh();
}

void CSingleStepHoleDlg::ChooseColour() {
  CColorPaletteDlg palette;
  const int chosen = RunModalDialog(palette);
  if (chosen >= 0 && chosen <= 31) C().colour = chosen;
  RedrawItem(ctl::kColour);
}

void CSingleStepHoleDlg::SelectFigure() {
  g_stepDeleteMode = 0;
  if (!SelectFigureRow()) return;
  const int curve = FindCurveByKey(D().curves[g_curContourItem].key);
  g_curCurveIndex = curve;
  // The chosen figure becomes the current curve; its own Z values are kept
  // (another curve's must not be written into it).
  if (curve >= 0 && curve < g_curveCount) LoadCurveEntry(curve);
  Refresh();
}

void CSingleStepHoleDlg::EndWith(int code) {
  CommitFocusedField(true);
  if (helical_) {
    StampHoleCurves(D(), static_cast<std::int32_t>(MachiningKind::HelicalHole), C().chamferSize / 2.0);
  }
  g_stepDeleteMode = g_stepInsertMode = 0;
  g_curContourItem = g_curStepIndex = 0;
  FocusedEditIndex = 0;
  EndDialog(code);
}

void CSingleStepHoleDlg::OnSelectionChanged(int id) {
  switch (id) {
    case ctl::kPost:
      return StorePostChoice(*this, id, D());
    case ctl::kWorkOffset:
      D().generalB = std::max(0, GetCurSel(id));
      return Refresh();
    case ctl::kFigures:
      return SelectFigure();
    default:
      return;
  }
}

void CSingleStepHoleDlg::OnClick(int id) {
  CommitFocusedField(true);
  if (ClickSharedButton(id)) return;
  switch (id) {
    case ctl::kChooseTool:
      return ChooseTool();
    case ctl::kToolDetail: {
      if (!helical_) return;
      CToolDetailDlg detail;
      RunModalDialog(detail);
      return Refresh();
    }
    case ctl::kThroughToggle:
      return ToggleThrough();
    case ctl::kG41:
      if (!helical_) return;
      C().compensationOn = C().compensationOn != 0 ? 0 : 1;
      UpdateHelicalCut(false);
      return Refresh();
    case ctl::kColour:
      return ChooseColour();
    case ctl::kReturnI:
    case ctl::kReturnR:
      HoleReturnLevel(D()) = id == ctl::kReturnR ? 1 : 0;
      return Refresh();
    case ctl::kG98:
    case ctl::kG99:
      if (helical_) return;
      HoleReturnLevel(D()) = id == ctl::kG99 ? 1 : 0;
      return Refresh();
    default:
      return;
  }
}

void CSingleStepHoleDlg::OnDrawItem(int id, platform::DeviceContext& dc, const platform::OwnerDrawItem& item) {
  if (id == ctl::kColour) {
    CColorButton button;
    button.SetColor(ColorFromIndex(C().colour));
    button.DrawItem(dc, item, "");
    return;
  }
  if (id != ctl::kPreview) return;
  const int top = helical_ ? 350 : 330;
  DrawSingleHolePreview(dc, {item.rect.left - 484, item.rect.top - top}, helical_, D());
}

int RunHelicalHoleDialog(DocAtcTable& atc) {
  CHelicalHoleDlg dialog(atc);
  return RunModalDialog(dialog);
}

int RunDeepHoleDialog(DocAtcTable& atc) {
  CDeepHoleDlg dialog(atc);
  return RunModalDialog(dialog);
}

}  // namespace dorn
