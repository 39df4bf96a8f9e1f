#include "kelto_dorn/machining/dialogs/omit_dialog.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/document/startup.h"
#include "kelto_dorn/machining/definition_pending.h"
#include "kelto_dorn/machining/figure_names.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/machining/omit_rules.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;
namespace ctl = omit_ctl;

namespace {

constexpr int kColourScheme = 5;
constexpr int kFigureLimit = 26;
constexpr int kCodeLimit = 12;
constexpr int kBaseLineZ = 1;
constexpr int kRowFrame = 1490;
constexpr unsigned kCheckLook = platform::control_style::kCheckLook;

MachiningDefinition& D() { return g_curMachiningDef; }

std::vector<ControlSpec> OmitControls() {
  constexpr int kHeads = 1489;
  std::vector<ControlSpec> c = {ControlSpec(ControlKind::GroupBox, kHeads, ""),
                                ControlSpec(ControlKind::PushButton, ctl::kFigureHead, Sjis("輪郭図形"), kHeads, 180, 0, kCheckLook),
                                ControlSpec(ControlKind::PushButton, ctl::kZHead, Sjis("ＯＭＩＴ Ｚ値"), kHeads, 140, 0, kCheckLook),
                                ControlSpec(ControlKind::PushButton, ctl::kUpHead, "UP_FCODE", kHeads, 80, 0, kCheckLook),
                                ControlSpec(ControlKind::PushButton, ctl::kDownHead, "DOWN_FCODE", kHeads, 80, 0, kCheckLook)};
  // One frame per visible row keeps the row's edits side by side.
  for (int i = 0; i < ctl::kVisibleRows; ++i) {
    const int row = kRowFrame + i;
    c.emplace_back(ControlKind::GroupBox, row, "");
    c.emplace_back(ControlKind::Edit, ctl::kFigure[i], "", row, 180, 0, 0, kFigureLimit);
    c.emplace_back(ControlKind::Edit, ctl::kZ[i], "", row, 140, 0, 0, kFigureLimit);
    c.emplace_back(ControlKind::Edit, ctl::kUp[i], "", row, 80, 0, 0, kCodeLimit);
    c.emplace_back(ControlKind::Edit, ctl::kDown[i], "", row, 80, 0, 0, kCodeLimit);
    c.emplace_back(ControlKind::PushButton, ctl::kNot[i], "not", row, 0, 0, kCheckLook);
  }
  c.emplace_back(ControlKind::ScrollBar, ctl::kScroll, "", 0, 16, 150, platform::control_style::kVertical);
  c.emplace_back(ControlKind::StaticText, -1, Sjis("ＯＭＩＴ輪郭残し量"));
  c.emplace_back(ControlKind::Edit, ctl::kStock, "", 0, 120);
  c.emplace_back(ControlKind::PushButton, ctl::kRegister, Sjis("登  録"));
  c.emplace_back(ControlKind::PushButton, ctl::kInsert, "INS", 0, 0, 0, kCheckLook);
  c.emplace_back(ControlKind::PushButton, ctl::kDelete, "DEL", 0, 0, 0, kCheckLook);
  c.emplace_back(ControlKind::PushButton, ctl::kReset, "RESET");
  c.emplace_back(ControlKind::PushButton, ctl::kCancel, Sjis("ｷｬﾝｾﾙ"));
  return c;
}

}  // namespace

COmitDlg::COmitDlg() : platform::Dialog(kOmitDialogId, Sjis("ＯＭＩＴ登録"), OmitControls()) {
  for (int i = 0; i < ctl::kVisibleRows; ++i) {
    fields_.Add({ctl::kUp[i], [this, i](double v) { D().figures[top_ + i].word16 = static_cast<std::int32_t>(v); }, {}});
    fields_.Add({ctl::kDown[i], [this, i](double v) { D().figures[top_ + i].word12 = static_cast<std::int32_t>(v); }, {}});
  }
  fields_.Add({ctl::kStock, [](double v) { OmitStock(D()) = v; }, {}});
}

platform::DialogColors COmitDlg::Colors() {
  SetDialogColors(kColourScheme);
  return platform::Dialog::Colors();
}

bool COmitDlg::OnInit() {
  saved_ = std::make_unique<std::array<MachiningFigureEntry, kOmitRowCount>>();
  std::copy(D().figures, D().figures + kOmitRowCount, saved_->begin());
  g_pickTargetIndex = 0;
  top_ = 0;
  SetRange(ctl::kScroll, 0, ctl::kLastTopRow);
  SetSteps(ctl::kScroll, 1, 5);
  SetPos(ctl::kScroll, 0);
  Refresh();
  return true;
}

void COmitDlg::Refresh() {
  char text[96];
  for (int i = 0; i < ctl::kVisibleRows; ++i) {
    const int row = top_ + i;
    const MachiningFigureEntry& e = D().figures[row];
    const bool notOn = (e.word0 & kOmitNot) != 0;
    if (e.figureKey == 0) {
      std::snprintf(text, sizeof text, "[%02d]", row + 1);
      SetText(ctl::kFigure[i], text);
      SetText(ctl::kZ[i], "");
      SetText(ctl::kUp[i], "");
      SetText(ctl::kDown[i], "");
      SetText(ctl::kNot[i], "not");
      SetCheck(ctl::kNot[i], 0);
      continue;
    }
    // A figure whose curve is gone keeps its row and its old text.
    if (const auto name = CurveNameOfKey(e.figureKey)) {
      std::snprintf(text, sizeof text, "[%02d] ", row + 1);
      SetText(ctl::kFigure[i], text + *name);
    }
    if (e.word8 != 0) {
      const auto surface = SurfaceNameOfKey(e.word8);
      std::snprintf(text, sizeof text, " [ %10s ] ", surface ? surface->c_str() : "");
      SetText(ctl::kZ[i], text);
    } else {
      SetText(ctl::kZ[i], NumberText(e.value));
    }
    SetText(ctl::kUp[i], IntText(e.word16));
    SetText(ctl::kDown[i], IntText(e.word12));
    SetText(ctl::kNot[i], notOn ? "ON" : "not");
    SetCheck(ctl::kNot[i], notOn ? 1 : 0);
  }
  FormatNumber4(OmitStock(D()));
  SetText(ctl::kStock, g_textBuffer);
}

void COmitDlg::End(int code, int targetRow) {
  g_pickTargetIndex = targetRow;
  EndDialog(code);
}

void COmitDlg::PromptRowZ(int row) {
  MachiningFigureEntry& e = D().figures[row];
  if (e.figureKey == 0) return;
  g_curSurface.z1 = e.value;
  g_curSurface.zSurface1 = e.word8;
  PromptZValue(kBaseLineZ);
  e.value = g_curSurface.z1;
  e.word8 = g_curSurface.zSurface1;
}

void COmitDlg::RowAction(int row, bool zColumn) {
  SetFocus(zColumn ? ctl::kZHead : ctl::kFigureHead);
  if (modes_.remove || modes_.insert) {
    if (modes_.remove) {
      DeleteOmitRow(D(), row);
    } else {
      InsertOmitRow(D(), row);
    }
  } else if (!zColumn) {
    if (OmitRowPickable(D(), row)) return End(kOmitPickRow, row);
    g_pickTargetIndex = row;
  } else {
    PromptRowZ(row);
  }
  Refresh();
}

void COmitDlg::OnClick(int id) {
  if (fields_.Commit(*this)) Refresh();
  if (const int i = RowOfControl(ctl::kNot, id); i >= 0) {
    D().figures[top_ + i].word0 ^= kOmitNot;
    return Refresh();
  }
  switch (id) {
    case ctl::kFigureHead: {
      const int row = FirstEmptyOmitRow(D());
      if (row >= 0) End(kOmitPickNext, row);
      return;
    }
    case ctl::kZHead:
      for (int i = 0; i < ctl::kVisibleRows; ++i) PromptRowZ(top_ + i);
      return Refresh();
    case ctl::kUpHead:
      return SetFocus(ctl::kUp[0]);
    case ctl::kDownHead:
      return SetFocus(ctl::kDown[0]);
    case ctl::kInsert:
    case ctl::kDelete:
      return modes_.Press(*this, id, ctl::kInsert, ctl::kDelete);
    case ctl::kReset:
      ResetOmitRows(D());
      return Refresh();
    case ctl::kRegister:
      CompactOmitRows(D());
      return End(1, top_);
    case ctl::kCancel:
      return OnCancel();
    default:
      return;
  }
}

void COmitDlg::OnFocusGained(int id) {
  if (const int i = RowOfControl(ctl::kFigure, id); i >= 0) {
    if (fields_.Commit(*this)) Refresh();
    return RowAction(top_ + i, false);
  }
  if (const int i = RowOfControl(ctl::kZ, id); i >= 0) {
    if (fields_.Commit(*this)) Refresh();
    return RowAction(top_ + i, true);
  }
  const bool up = RowOfControl(ctl::kUp, id) >= 0;
  const bool down = RowOfControl(ctl::kDown, id) >= 0;
  if (fields_.Focused() != id && fields_.Commit(*this)) Refresh();
  if (!fields_.FocusGained(*this, id)) return;
  SetCheck(ctl::kUpHead, up);
  SetCheck(ctl::kDownHead, down);
}

void COmitDlg::OnFocusLost(int id) {
  if (RowOfControl(ctl::kUp, id) >= 0) SetCheck(ctl::kUpHead, 0);
  if (RowOfControl(ctl::kDown, id) >= 0) SetCheck(ctl::kDownHead, 0);
}

void COmitDlg::OnScroll(int id) {
  if (id != ctl::kScroll) return;
  if (fields_.Commit(*this)) Refresh();
  top_ = std::clamp(GetPos(ctl::kScroll), 0, ctl::kLastTopRow);
  SetPos(ctl::kScroll, top_);
  Refresh();
}

void COmitDlg::OnOk() {
  const int field = fields_.Focused();
  if (fields_.Commit(*this)) Refresh();
  if (const int i = RowOfControl(ctl::kUp, field); i >= 0) return SetFocus(ctl::kDown[i]);
  SetCheck(ctl::kUpHead, 0);
  SetCheck(ctl::kDownHead, 0);
}

// The rows come back as they were at opening; the stock stays as typed.
void COmitDlg::OnCancel() {
  std::copy(saved_->begin(), saved_->end(), D().figures);
  End(2, top_);
}

}  // namespace dorn
