#include "kelto_dorn/machining/dialogs/definition_picks.h"

#include <algorithm>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/machining/curve_items.h"
#include "kelto_dorn/machining/dialogs/condition_openers.h"
#include "kelto_dorn/machining/dialogs/definition_dialog_parts.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/tooldb/db_messages.h"
#include "kelto_dorn/tooldb/tool_table.h"

namespace dorn {

bool EndDefinitionForPick(platform::Dialog& dialog, const MachiningDefinition& d, int code, PickStateReset reset) {
  if (code == kPickMore) {
    const int n = CountCurveItems(d);
    // The list holds 80 figures; a further pick would land past it.
    if (n >= kCurveItemCount) {
      SignalBeep();
      return false;
    }
    g_curContourItem = n;
  }
  if (reset == PickStateReset::ContourPicks) {
    g_definitionPickCount = 0;
  } else {
    g_stepButtonNumber = g_curToolIndex = g_stepDeleteMode = g_stepInsertMode = 0;
  }
  FocusedEditIndex = 0;
  dialog.EndDialog(code);
  return true;
}

bool RunHoleTransformOpener(platform::Dialog& dialog, int button, const std::function<int()>& opener, int pickCode) {
  if (!opener) return false;
  dialog.SetCheck(button, 1);
  const int code = opener();
  if (code == pickCode) {
    g_pickResumeCode = code;
    dialog.EndDialog(code);
    return false;
  }
  if (code == 1 || code == 2) g_pickResumeCode = g_curStepIndex = g_curContourItem = 0;
  return true;
}

void RunDrawListForPick(platform::Dialog& dialog) {
  if (g_conditionOpeners.runDrawFigureList && g_conditionOpeners.runDrawFigureList() == kPickDraw) {
    dialog.EndDialog(kPickDraw);
  }
}

bool RemoveCurrentFigure(platform::Dialog& dialog, int comboId, MachiningDefinition& d, std::vector<int>& rows) {
  if (CountCurveItems(d) < 2 || ShowMessage(12) != kAnswerYes) return false;
  g_curContourItem = std::max(0, RemoveCurveItem(d, g_curContourItem));
  rows = FillCurveCombo(dialog, comboId, d);
  return true;
}

}  // namespace dorn
