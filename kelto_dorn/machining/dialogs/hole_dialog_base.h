#pragma once
// What the hole definition dialog (309) and the single-step hole dialogs
// (helical 331, deep hole 333) do alike: the definition name and numeric
// fields with the commit of typed text (on a button, on Enter, when another
// field gains the focus), the combo rows of the picked hole figures, the
// buttons both have (加工名, 変更, 複数, 削除, ＭＯＶＥ, 多数個取り), the
// 登録 / <次の定義> / <前の定義>, STEP/ALLOW and DRAW図形 menu entries, and
// Esc. Each dialog names its own ids for these controls and says what it
// stores, shows and stamps.
#include <string>
#include <vector>

#include "kelto_dorn/machining/dialogs/numeric_fields.h"
#include "platform/dialog.h"

namespace dorn {

class DocAtcTable;

// The ids, in a hole dialog's own table, of the controls and menu entries
// the base handles; -1 for a menu entry the dialog's menu does not have.
struct HoleDialogIds {
  int nameButton = -1;
  int name = -1;
  int post = -1;
  int workOffset = -1;
  int figures = -1;
  int repick = -1;
  int more = -1;
  int remove = -1;
  int move = -1;
  int multiPiece = -1;
  int menuStore = -1;
  int menuNext = -1;
  int menuPrevious = -1;
  int menuStepAllow = -1;
  int menuDraw = -1;
};

class CHoleDialogBase : public platform::Dialog {
 protected:
  CHoleDialogBase(int templateId, std::string titleCp932, std::vector<platform::ControlSpec> controls,
                  std::vector<platform::MenuItem> menu, const HoleDialogIds& ids, DocAtcTable& atc);

  void OnCommand(int commandId) override;
  void OnFocusGained(int id) override;
  // Enter commits and moves on; it never closes the dialog.
  void OnOk() override;
  void OnCancel() override;

  // Commits the typed text that holds the focus (CommitTypedText), then
  // shows what it changed; from a button the focus stays, from Enter it
  // moves on.
  virtual void CommitFocusedField(bool fromButton) = 0;
  // The typed definition name, as the focus leaves the name field.
  virtual void StoreName(const std::string& text) = 0;
  virtual void Refresh() = 0;
  // Stores the definition and ends the dialog with `code`.
  virtual void EndWith(int code) = 0;
  // A numeric field that the focus passes over instead of taking it.
  virtual bool PassesOver(int id) const {
    (void)id;
    return false;
  }

  // The name (through StoreName) or the focused numeric field into the
  // definition; false when neither held the focus.
  bool CommitTypedText();
  // The name of the current definition slot in the name field; the post,
  // work coordinate and hole figure combos filled.
  void FillHeadControls();
  // The buttons both kinds have, after the caller committed its focused
  // field; false for any other control.
  bool ClickSharedButton(int id);
  // The row chosen in the hole figure combo as the current curve item;
  // false when no row of the combo is chosen.
  bool SelectFigureRow();

  DocAtcTable& atc_;
  NumericFieldSet fields_;

 private:
  void EndForPick(int code);
  void RemoveFigure();
  void RunTransform(int button, int pickCode);

  HoleDialogIds ids_;
  bool nameFocused_ = false;
  std::vector<int> figureRows_;
};

}  // namespace dorn
