#include "kelto_dorn/machining/dialogs/contour_define_dialog.h"

#include <algorithm>
#include <cstdio>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/camdata/post_table.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/document/startup.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/machining/curve_items.h"
#include "kelto_dorn/machining/definition_pending.h"
#include "kelto_dorn/machining/definition_z_range.h"
#include "kelto_dorn/machining/dialogs/condition_openers.h"
#include "kelto_dorn/machining/dialogs/definition_dialog_parts.h"
#include "kelto_dorn/machining/dialogs/definition_picks.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/machining/step_operations.h"
#include "kelto_dorn/tooldb/db_messages.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::MenuItem;
using platform::Sjis;
namespace ctl = contour_ctl;

namespace {

constexpr unsigned kCheckLook = platform::control_style::kCheckLook;
constexpr unsigned kReadOnly = platform::control_style::kReadOnly;
constexpr int kGroupContour = 1240, kGroupConditions = 1241;
constexpr int kCharacterColours = 12;
constexpr std::int32_t kAllChosen = 0x9999, kNoneChosen = 0xFFFF;

ControlSpec Button(int id, const char* utf8, int group, unsigned style = kCheckLook) {
  return ControlSpec(ControlKind::PushButton, id, Sjis(utf8), group, 0, 0, style);
}
ControlSpec Edit(int id, int group, unsigned style = 0) {
  return ControlSpec(ControlKind::Edit, id, "", group, 90, 0, style, 24);
}
ControlSpec Label(const char* utf8, int group) { return ControlSpec(ControlKind::StaticText, -1, Sjis(utf8), group); }
ControlSpec Combo(int id, int group, int width) {
  return ControlSpec(ControlKind::ComboBox, id, "", group, width, 0, platform::control_style::kDropList);
}

std::vector<ControlSpec> ContourControls() {
  return {
      ControlSpec(ControlKind::GroupBox, kGroupContour, "", 0),
      Button(ctl::kNameButton, "加工名", kGroupContour, 0),
      Label("ポスト", kGroupContour), Combo(ctl::kPost, kGroupContour, 200),
      Label("座標系指定", kGroupContour), Combo(ctl::kWorkOffset, kGroupContour, 80),
      Label("輪郭図面名", kGroupContour), Combo(ctl::kContours, kGroupContour, 200),
      Button(ctl::kRepick, "変更", kGroupContour, 0), Button(ctl::kMore, "複数輪郭", kGroupContour),
      Button(ctl::kRemove, "削除", kGroupContour, 0),
      Label("TOP[Z]", kGroupContour), Edit(ctl::kTopZ, kGroupContour, kReadOnly),
      Label("END[Z]", kGroupContour), Edit(ctl::kEndZ, kGroupContour, kReadOnly),
      Label("GOR=", kGroupContour), Edit(ctl::kGor, kGroupContour),
      Label("ATC原点[X]", kGroupContour), Edit(ctl::kAtcX, kGroupContour),
      Label("[Y]", kGroupContour), Edit(ctl::kAtcY, kGroupContour),
      Label("[Z]", kGroupContour), Edit(ctl::kAtcZ, kGroupContour),
      Label("工具移動[Z]", kGroupContour), Edit(ctl::kMoveZ, kGroupContour),
      Label("加工範囲", kGroupContour),
      ControlSpec(ControlKind::Edit, ctl::kRange, "", kGroupContour, 220, 0, kReadOnly),
      Button(ctl::kSurface, "曲面参照", kGroupContour, 0),
      ControlSpec(ControlKind::GroupBox, kGroupConditions, "", 0),
      Button(ctl::kMove, "ＭＯＶＥ", kGroupConditions), Button(ctl::kMultiPiece, "多数個取り", kGroupConditions),
      Button(ctl::kAxisConversion, "軸変換", kGroupConditions), Button(ctl::kRotation, "ROTATION", kGroupConditions),
      ControlSpec(ControlKind::PushButton, ctl::kShrink, "", kGroupConditions, 24, 0, kCheckLook),
      Button(ctl::kXDevelop, "Ｘ軸展開", kGroupConditions), Button(ctl::kOmit, "ＯＭＩＴ", kGroupConditions),
      Button(ctl::kCheckSurface, "CHECK曲面", kGroupConditions),
  };
}

std::vector<MenuItem> Menu261() {
  return {MenuItem(ctl::kMenuStore, Sjis("登録")),        MenuItem(ctl::kMenuCancel, Sjis("取消")),
          MenuItem(ctl::kMenuNext, Sjis("<次の定義>")),    MenuItem(ctl::kMenuPrevious, Sjis("<前の定義>")),
          MenuItem(ctl::kMenuStepAllow, "STEP/ALLOW"),     MenuItem(ctl::kMenuCornerFeed, Sjis("減速指定")),
          MenuItem(ctl::kMenuDraw, Sjis("DRAW図形"))};
}

MachiningDefinition& D() { return g_curMachiningDef; }

const CurveRecord* CurveOfItem(int item) {
  const int curve = FindCurveByKey(D().curves[std::clamp(item, 0, kCurveItemCount - 1)].key);
  return curve >= 0 && curve < g_curveCount ? &g_curveTable[static_cast<std::size_t>(curve)] : nullptr;
}

std::string ZText(double z) { return NumberText(z); }

}  // namespace

CContourDefineDlg::CContourDefineDlg(DefinitionRunner runner, DocAtcTable& atc)
    : CDefinitionFrameDlg(runner, atc, ContourControls(), Menu261()) {
  AddContourFields();
}

void CContourDefineDlg::AddContourFields() {
  NumericFieldSet& f = Fields();
  f.Add({ctl::kAtcX, [](double v) { D().value[3] = v; }, [] { return NumberText(D().value[3]); }});
  f.Add({ctl::kAtcY, [](double v) { D().value[4] = v; }, [] { return NumberText(D().value[4]); }});
  f.Add({ctl::kAtcZ, [](double v) { D().zOrigin = v; }, [] { return NumberText(D().zOrigin); }});
  // The definition's tool move Z (offset 88, the hole kinds' I point) is
  // also the current step's.
  f.Add({ctl::kMoveZ,
         [](double v) {
           D().holeIPoint = v;
           CurrentStep().toolMoveZ = v;
         },
         [] { return NumberText(D().holeIPoint); }});
  f.Add({ctl::kGor,
         [](double v) {
           D().curves[0].secondKey = 0;
           D().curves[0].value[0] = static_cast<float>(v);
         },
         [] { return NumberText(D().curves[0].value[0]); }});
}

platform::DialogColors CContourDefineDlg::Colors() {
  if (!IsCharacter()) return CDefinitionFrameDlg::Colors();
  SetDialogColors(kCharacterColours);
  return platform::Dialog::Colors();
}

bool CContourDefineDlg::OnInit() {
  MachiningDefinition& d = D();
  g_curContourItem = 0;
  g_curStepIndex = 0;
  // A character definition machines one contour.
  if (IsCharacter()) {
    for (int i = 1; i < kCurveItemCount; ++i) d.curves[i] = CurveListItem{};
  }
  for (int i = 0; i < CountCurveItems(d); ++i) {
    if (CurveOfItem(i) != nullptr) d.curves[i].type = 1;
  }
  CDefinitionFrameDlg::OnInit();
  if (d.curves[std::clamp(g_curStepIndex, 0, kCurveItemCount - 1)].key == 0) g_curStepIndex = 0;
  Show(frame_ctl::kMoveZ, false);
  FillPostCombo(*this, ctl::kPost, d);
  contourRows_ = FillCurveCombo(*this, ctl::kContours, d);
  FillWorkOffsetCombo(*this, ctl::kWorkOffset, d.generalB);
  BuildStepTabs(true);
  RefreshPage();
  return true;
}

void CContourDefineDlg::OnShow() {
  CDefinitionFrameDlg::OnShow();
  char title[96];
  std::snprintf(title, sizeof title, IsCharacter() ? " 文字加工定義  [ %d/%d ] " : "  輪郭加工定義  [ %d/%d ] ",
                g_shownDefinitionIndex + 1, g_shownDefinitionTotal);
  SetTitle(Sjis(title));
}

void CContourDefineDlg::RefreshPage() {
  CDefinitionFrameDlg::RefreshPage();
  RefreshContourDialog();
}

void CContourDefineDlg::RefreshContourDialog() {
  MachiningDefinition& d = D();
  const CurveRecord* curve = CurveOfItem(g_curContourItem);
  SetText(ctl::kTopZ, curve != nullptr ? ZText(curve->topZ) : std::string());
  SetText(ctl::kEndZ, curve != nullptr ? ZText(curve->endZ) : std::string());
  if (!IsCharacter() && d.curves[0].secondKey != 0) {
    const int gor = FindCurveByKey(d.curves[0].secondKey);
    if (gor >= 0 && gor < g_curveCount) SetText(ctl::kGor, platform::FieldText(g_curveTable[static_cast<std::size_t>(gor)].name));
  }
  Show(ctl::kGor, !IsCharacter());
  const handover::PostDefinition& post = PostForDefinition(d.generalA);
  const ZRangeText range = FormatDefinitionZRange(d, g_curStepIndex, post.ncDataOrigin, [](std::int32_t key) {
    const int s = FindSurfaceByKey(key);
    if (s < 0 || s >= kSurfaceSlotCount) return std::optional<std::string>();
    return std::optional<std::string>(platform::FieldText(g_surfaceIndexTable.records[static_cast<std::size_t>(s)].name));
  });
  SetText(ctl::kRange, range.Whole());
  ShowFigureAndTransformButtons(*this, d, ctl::kNameButton, ctl::kMore, ctl::kMove, ctl::kMultiPiece);
  SetCheck(ctl::kCheckSurface, d.checkSurfaces[0].surfaceKey != 0);
  const bool contour = !IsCharacter();
  SetCheck(ctl::kXDevelop, contour && d.general16[2] != 0);
  SetCheck(ctl::kAxisConversion, contour && d.general16[3] > 0);
  SetCheck(ctl::kRotation, contour && d.rotations[0].active != 0);
  SetCheck(ctl::kOmit, contour && d.figures[0].figureKey != 0);
  if (!contour) Show(frame_ctl::kBottom, false);
  const ConditionOpeners& o = g_conditionOpeners;
  Enable(frame_ctl::kRepeat, static_cast<bool>(o.repeatMachining));
  Enable(frame_ctl::kAreaCut, contour && static_cast<bool>(o.areaCut));
  Enable(ctl::kAxisConversion, contour && static_cast<bool>(o.axisConversion));
  Enable(ctl::kRotation, contour && static_cast<bool>(o.rotation));
  Enable(ctl::kShrink, false);  // kept disabled, as the shrink button has always been
  Enable(ctl::kXDevelop, contour && static_cast<bool>(o.xAxisDevelop));
  Enable(ctl::kOmit, contour && static_cast<bool>(o.omit));
  Enable(ctl::kCheckSurface, static_cast<bool>(o.checkSurface));
}

void CContourDefineDlg::EndForPick(int code) {
  CommitFocusedField(true);
  if (code == kPickMore && IsCharacter()) return;
  EndDefinitionForPick(*this, D(), code, PickStateReset::ContourPicks);
}

void CContourDefineDlg::RemoveContour() {
  if (RemoveCurrentFigure(*this, ctl::kContours, D(), contourRows_)) RefreshPage();
}

void CContourDefineDlg::ChooseSurface() {
  const std::array<int, 1024> chosen = SelectSurfaces();
  // "All" is no single surface: taken as no choice.
  if (chosen[0] == kNoneChosen || chosen[0] == kAllChosen || chosen[0] < 0 || chosen[0] >= kSurfaceSlotCount) return;
  CurrentStep().surfaceKey = g_surfaceIndexTable.records[static_cast<std::size_t>(chosen[0])].key;
  CurrentStep().endDepth = 0.0;
  RefreshPage();
}

void CContourDefineDlg::RunOpener(int button, const std::function<int()>& opener, std::vector<int> pickCodes,
                                  bool clearsResume) {
  if (!opener) return;
  CommitFocusedField(true);
  SetCheck(button, 1);
  const int code = opener();
  if (std::find(pickCodes.begin(), pickCodes.end(), code) != pickCodes.end()) {
    g_pickResumeCode = code;
    EndDialog(code);
    return;
  }
  if (clearsResume || code == 1 || code == 2) g_pickResumeCode = 0;
  RefreshPage();
}

void CContourDefineDlg::ResumeSubDialog(int resumeCode) {
  const ConditionOpeners& o = g_conditionOpeners;
  // The page shows the step the pick was for.
  BuildStepTabs(true);
  RefreshPage();
  switch (resumeCode) {
    case 120:
    case 130:
    case 180:
    case 220:
      return RunOpener(frame_ctl::kRepeat, o.repeatMachining, {120, 130}, false);
    case 400:
      return RunOpener(ctl::kMove, o.move, {400}, false);
    case 410:
      return RunOpener(ctl::kMultiPiece, o.multiPiece, {410}, false);
    case 510:
    case 511:
      if (!IsCharacter()) RunOpener(ctl::kOmit, o.omit, {510, 511}, false);
      return;
    default:
      return;
  }
}

void CContourDefineDlg::OnSelectionChanged(int id) {
  MachiningDefinition& d = D();
  switch (id) {
    case ctl::kPost:
      StorePostChoice(*this, id, d);
      break;
    case ctl::kWorkOffset:
      d.generalB = std::max(0, GetCurSel(id));
      if (!IsCharacter()) RefreshPage();
      break;
    case ctl::kContours: {
      const int row = GetCurSel(id);
      if (row >= 0 && row < static_cast<int>(contourRows_.size())) {
        g_curContourItem = contourRows_[static_cast<std::size_t>(row)];
      }
      if (!IsCharacter()) RefreshPage();
      break;
    }
    default:
      return CDefinitionFrameDlg::OnSelectionChanged(id);
  }
  if (IsCharacter()) NextControl();
}

void CContourDefineDlg::OnCommand(int commandId) {
  switch (commandId) {
    case ctl::kMenuStore:
      return OnClick(frame_ctl::kStore);
    case ctl::kMenuCancel:
      return OnClick(frame_ctl::kCancel);
    case ctl::kMenuNext:
      return OnClick(frame_ctl::kNext);
    case ctl::kMenuPrevious:
      return OnClick(frame_ctl::kPrevious);
    case ctl::kMenuCornerFeed:
      return OnClick(frame_ctl::kCornerFeed);
    case ctl::kMenuStepAllow:
      CommitFocusedField(true);
      if (g_conditionOpeners.figureResolution) g_conditionOpeners.figureResolution();
      return;
    case ctl::kMenuDraw:
      CommitFocusedField(true);
      return RunDrawListForPick(*this);
    default:
      return;
  }
}

void CContourDefineDlg::OnClick(int id) {
  const ConditionOpeners& o = g_conditionOpeners;
  const bool contour = !IsCharacter();
  switch (id) {
    case ctl::kRepick:
      return EndForPick(kPickRepick);
    case ctl::kMore:
      return EndForPick(kPickMore);
    case ctl::kRemove:
      CommitFocusedField(true);
      return RemoveContour();
    case ctl::kNameButton:
      CommitFocusedField(true);
      return ChooseNameFromCapsuleList(*this, frame_ctl::kName);
    case ctl::kSurface:
      CommitFocusedField(true);
      return ChooseSurface();
    case frame_ctl::kRepeat:
      return RunOpener(id, o.repeatMachining, {120, 130}, false);
    case frame_ctl::kAreaCut:
      if (!contour) return;
      RunOpener(id, o.areaCut, {}, false);
      if (CurrentStep().stepMode == 1) {
        CurrentStep().compensationOn = 0;
      } else {
        SetCheck(id, 0);
      }
      return;
    case frame_ctl::kChamfer:
    case frame_ctl::kOverrun:
      if (!contour) return;
      break;
    case ctl::kMove:
      return RunOpener(id, o.move, {400}, false);
    case ctl::kMultiPiece:
      return RunOpener(id, o.multiPiece, {410}, false);
    case ctl::kAxisConversion:
      if (contour) RunOpener(id, o.axisConversion, {}, true);
      return;
    case ctl::kRotation:
      if (contour) RunOpener(id, o.rotation, {}, true);
      return;
    case ctl::kShrink:
      if (contour) RunOpener(id, o.shrink, {}, true);
      return;
    case ctl::kXDevelop:
      if (contour) RunOpener(id, o.xAxisDevelop, {600}, false);
      return;
    case ctl::kOmit:
      if (contour) RunOpener(id, o.omit, {510, 511}, false);
      return;
    case ctl::kCheckSurface: {
      const int item = g_curContourItem, step = g_curStepIndex;
      RunOpener(id, o.checkSurface, {}, false);
      g_curContourItem = item, g_curStepIndex = step;
      return;
    }
    default:
      break;
  }
  CDefinitionFrameDlg::OnClick(id);
}

int RunContourDefineDialog(DefinitionRunner runner, DocAtcTable& atc) {
  CContourDefineDlg dialog(runner, atc);
  return RunModalDialog(dialog);
}

}  // namespace dorn
