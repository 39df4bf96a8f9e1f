#include "kelto_dorn/machining/dialogs/hole_dialog_base.h"

#include <functional>
#include <utility>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/machining/definition_flow.h"
#include "kelto_dorn/machining/dialogs/condition_openers.h"
#include "kelto_dorn/machining/dialogs/definition_dialog_parts.h"
#include "kelto_dorn/machining/dialogs/definition_picks.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/text.h"

namespace dorn {

namespace {

// The answers of the MOVE and multi-piece openers that ask for a pick.
constexpr int kPickMove = 400;
constexpr int kPickMultiPiece = 410;

}  // namespace

CHoleDialogBase::CHoleDialogBase(int templateId, std::string titleCp932, std::vector<platform::ControlSpec> controls,
                                 std::vector<platform::MenuItem> menu, const HoleDialogIds& ids, DocAtcTable& atc)
    : platform::Dialog(templateId, std::move(titleCp932), std::move(controls), std::move(menu)), atc_(atc), ids_(ids) {}

bool CHoleDialogBase::CommitTypedText() {
  if (nameFocused_) {
    nameFocused_ = false;
    StoreName(GetText(ids_.name));
    return true;
  }
  if (fields_.Focused() == 0) return false;
  fields_.Commit(*this);
  return true;
}

void CHoleDialogBase::FillHeadControls() {
  MachiningDefinition& d = g_curMachiningDef;
  const int slot = g_curDefinitionSlot;
  if (slot >= 0 && slot < kMachiningSlotCount) {
    SetText(ids_.name, platform::FieldText(g_machiningIndexTable.records[static_cast<std::size_t>(slot)].name));
  }
  FillPostCombo(*this, ids_.post, d);
  figureRows_ = FillCurveCombo(*this, ids_.figures, d);
  FillWorkOffsetCombo(*this, ids_.workOffset, d.generalB);
}

bool CHoleDialogBase::SelectFigureRow() {
  const int row = GetCurSel(ids_.figures);
  if (row < 0 || row >= static_cast<int>(figureRows_.size())) return false;
  g_curContourItem = figureRows_[static_cast<std::size_t>(row)];
  return true;
}

void CHoleDialogBase::OnFocusGained(int id) {
  if (id == ids_.name) {
    CommitFocusedField(true);
    nameFocused_ = true;
    return;
  }
  if (fields_.Find(id) == nullptr) return;
  if (nameFocused_) CommitFocusedField(true);
  if (PassesOver(id)) {
    if (fields_.Focused() != 0) CommitFocusedField(true);
    NextControl();
    return;
  }
  if (fields_.Focused() != 0 && fields_.Focused() != id) CommitFocusedField(true);
  fields_.FocusGained(*this, id);
}

void CHoleDialogBase::OnCommand(int commandId) {
  if (commandId < 0) return;
  if (commandId == ids_.menuStore) return EndWith(define_end::kStore);
  if (commandId == ids_.menuNext) return EndWith(define_end::kStoreNext);
  if (commandId == ids_.menuPrevious) return EndWith(define_end::kStorePrevious);
  if (commandId == ids_.menuStepAllow) {
    CommitFocusedField(true);
    if (g_conditionOpeners.figureResolution) g_conditionOpeners.figureResolution();
    return;
  }
  if (commandId == ids_.menuDraw) {
    CommitFocusedField(true);
    RunDrawListForPick(*this);
  }
}

bool CHoleDialogBase::ClickSharedButton(int id) {
  if (id == ids_.nameButton) {
    ChooseNameFromCapsuleList(*this, ids_.name);
  } else if (id == ids_.repick) {
    EndForPick(kPickRepick);
  } else if (id == ids_.more) {
    EndForPick(kPickMore);
  } else if (id == ids_.remove) {
    RemoveFigure();
  } else if (id == ids_.move) {
    RunTransform(id, kPickMove);
  } else if (id == ids_.multiPiece) {
    RunTransform(id, kPickMultiPiece);
  } else {
    return false;
  }
  return true;
}

void CHoleDialogBase::EndForPick(int code) {
  CommitFocusedField(true);
  EndDefinitionForPick(*this, g_curMachiningDef, code, PickStateReset::HoleSteps);
}

void CHoleDialogBase::RemoveFigure() {
  if (RemoveCurrentFigure(*this, ids_.figures, g_curMachiningDef, figureRows_)) Refresh();
}

void CHoleDialogBase::RunTransform(int button, int pickCode) {
  const std::function<int()>& opener = button == ids_.move ? g_conditionOpeners.move : g_conditionOpeners.multiPiece;
  if (RunHoleTransformOpener(*this, button, opener, pickCode)) Refresh();
}

void CHoleDialogBase::OnOk() {
  if (nameFocused_ || fields_.Focused() != 0) {
    CommitFocusedField(false);
  } else {
    NextControl();
  }
}

void CHoleDialogBase::OnCancel() {
  g_stepButtonNumber = g_stepDeleteMode = g_stepInsertMode = 0;
  FocusedEditIndex = 0;
  EndDialog(define_end::kCancel);
}

}  // namespace dorn
