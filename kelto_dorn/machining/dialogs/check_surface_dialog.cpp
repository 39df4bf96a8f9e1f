#include "kelto_dorn/machining/dialogs/check_surface_dialog.h"

#include <algorithm>
#include <cstdio>

#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/document/startup.h"
#include "kelto_dorn/machining/check_surface_rules.h"
#include "kelto_dorn/machining/definition_pending.h"
#include "kelto_dorn/machining/figure_names.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;
namespace ctl = check_surface_ctl;

namespace {

constexpr int kColourScheme = 6;
constexpr unsigned kCheckLook = platform::control_style::kCheckLook;

MachiningDefinition& D() { return g_curMachiningDef; }

std::vector<ControlSpec> CheckSurfaceControls() {
  constexpr int kHeads = 1040;
  constexpr int kRowFrame = 1041;
  std::vector<ControlSpec> c = {ControlSpec(ControlKind::GroupBox, kHeads, ""),
                                ControlSpec(ControlKind::PushButton, ctl::kNameHead, Sjis("曲 面 名"), kHeads, 200, 0, kCheckLook),
                                ControlSpec(ControlKind::StaticText, -1, "GTorLT", kHeads, 70),
                                ControlSpec(ControlKind::StaticText, -1, "TYPE", kHeads, 70),
                                ControlSpec(ControlKind::StaticText, -1, Sjis("面OFFSET"), kHeads, 70)};
  // One frame per visible row keeps the row's controls side by side.
  for (int i = 0; i < ctl::kVisibleRows; ++i) {
    const int row = kRowFrame + i;
    c.emplace_back(ControlKind::GroupBox, row, "");
    c.emplace_back(ControlKind::Edit, ctl::kName[i], "", row, 200, 0, platform::control_style::kReadOnly);
    c.emplace_back(ControlKind::PushButton, ctl::kSide[i], "GT", row, 70);
    c.emplace_back(ControlKind::PushButton, ctl::kType[i], "CHECK", row, 70);
    c.emplace_back(ControlKind::PushButton, ctl::kOffset[i], Sjis("有り"), row, 70);
  }
  c.emplace_back(ControlKind::ScrollBar, ctl::kScroll, "", 0, 16, 160, platform::control_style::kVertical);
  c.emplace_back(ControlKind::PushButton, ctl::kRegister, Sjis("登 録"));
  c.emplace_back(ControlKind::PushButton, ctl::kDelete, "DEL", 0, 0, 0, kCheckLook);
  c.emplace_back(ControlKind::PushButton, ctl::kInsert, "INS", 0, 0, 0, kCheckLook);
  c.emplace_back(ControlKind::PushButton, ctl::kReset, "RESET");
  c.emplace_back(ControlKind::PushButton, ctl::kCancel, Sjis("ｷｬﾝｾﾙ"));
  return c;
}

}  // namespace

CCheckSurfaceDlg::CCheckSurfaceDlg()
    : platform::Dialog(kCheckSurfaceDialogId, Sjis("ＣＨＥＣＫ曲面登録"), CheckSurfaceControls()) {}

platform::DialogColors CCheckSurfaceDlg::Colors() {
  SetDialogColors(kColourScheme);
  return platform::Dialog::Colors();
}

bool CCheckSurfaceDlg::OnInit() {
  g_pickTargetIndex = 0;
  std::copy(std::begin(D().checkSurfaces), std::end(D().checkSurfaces), saved_.begin());
  top_ = 0;
  selected_ = 0;
  SetRange(ctl::kScroll, 0, ctl::kLastTopRow);
  SetSteps(ctl::kScroll, 1, 4);
  SetPos(ctl::kScroll, 0);
  Refresh();
  return false;
}

void CCheckSurfaceDlg::Refresh() {
  char text[96];
  for (int i = 0; i < ctl::kVisibleRows; ++i) {
    const int row = top_ + i;
    const CheckSurfaceRow& r = D().checkSurfaces[row];
    if (r.surfaceKey == 0) {
      std::snprintf(text, sizeof text, "[%02d]", row + 1);
      SetText(ctl::kName[i], text);
    } else if (const auto name = SurfaceNameOfKey(r.surfaceKey)) {
      std::snprintf(text, sizeof text, "[%02d] ", row + 1);
      SetText(ctl::kName[i], text + *name);
    }
    SetText(ctl::kSide[i], r.side == 1 ? "GT" : r.side == 2 ? "LT" : "ZT");
    const int type = r.typeWord & 0xFF;
    SetText(ctl::kType[i], type == 2 ? "MODEL" : type == 3 ? "FILLET" : "CHECK");
    SetText(ctl::kOffset[i], Sjis((r.typeWord & kNoFaceOffset) != 0 ? "なし" : "有り"));
  }
}

bool CCheckSurfaceDlg::RowEntry(int row) {
  selected_ = row;
  if (modes_.remove) {
    DeleteCheckSurfaceRow(D(), row);
    return false;
  }
  if (modes_.insert) {
    InsertCheckSurfaceRow(D(), row);
    return false;
  }
  SurfaceListFilter = kSurfaceListCheckSurfaces;
  const std::array<int, 1024> answer = SelectSurfaces();
  SurfaceListFilter = 0;
  FillCheckSurfaces(D(), row, ChosenSurfaces(answer));
  return true;
}

void CCheckSurfaceDlg::OnFocusGained(int id) {
  const int i = RowOfControl(ctl::kName, id);
  if (i < 0) return;
  SetFocus(ctl::kNameHead);
  RowEntry(top_ + i);
  Refresh();
}

void CCheckSurfaceDlg::OnClick(int id) {
  if (const int i = RowOfControl(ctl::kSide, id); i >= 0) {
    if (D().checkSurfaces[top_ + i].surfaceKey > 0) selected_ = top_ + i;
    CycleCheckSurfaceSide(D(), top_ + i);
    return Refresh();
  }
  if (const int i = RowOfControl(ctl::kType, id); i >= 0) {
    if (D().checkSurfaces[top_ + i].surfaceKey > 0) selected_ = top_ + i;
    CycleCheckSurfaceType(D(), top_ + i);
    return Refresh();
  }
  if (const int i = RowOfControl(ctl::kOffset, id); i >= 0) {
    if (D().checkSurfaces[top_ + i].surfaceKey > 0) selected_ = top_ + i;
    ToggleCheckSurfaceFaceOffset(D(), top_ + i);
    return Refresh();
  }
  switch (id) {
    case ctl::kNameHead:
      SetCheck(ctl::kNameHead, 1);
      for (int i = 0; i < ctl::kVisibleRows; ++i) {
        if (RowEntry(top_ + i)) break;
      }
      SetCheck(ctl::kNameHead, 0);
      return Refresh();
    case ctl::kInsert:
    case ctl::kDelete:
      return modes_.Press(*this, id, ctl::kInsert, ctl::kDelete);
    case ctl::kReset:
      modes_ = {};
      SetCheck(ctl::kInsert, 0);
      SetCheck(ctl::kDelete, 0);
      ResetCheckSurfaces(D());
      SignalBeep();
      return Refresh();
    case ctl::kRegister:
      CompactCheckSurfaces(D());
      selected_ = 0;
      EndDialog(1);
      return;
    case ctl::kCancel:
      return OnCancel();
    default:
      return;
  }
}

void CCheckSurfaceDlg::OnScroll(int id) {
  if (id != ctl::kScroll) return;
  top_ = std::clamp(GetPos(ctl::kScroll), 0, ctl::kLastTopRow);
  SetPos(ctl::kScroll, top_);
  Refresh();
}

void CCheckSurfaceDlg::OnCancel() {
  selected_ = 0;
  std::copy(saved_.begin(), saved_.end(), D().checkSurfaces);
  EndDialog(2);
}

}  // namespace dorn
