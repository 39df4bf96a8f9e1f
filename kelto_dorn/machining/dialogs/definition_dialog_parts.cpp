#include "kelto_dorn/machining/dialogs/definition_dialog_parts.h"

#include <cstdio>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/camdata/post_table.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/machining/curve_items.h"
#include "kelto_dorn/machining/dialogs/condition_openers.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/text.h"

namespace dorn {
namespace {

std::string PostLine(int number) {
  char line[96];
  std::snprintf(line, sizeof line, "No.%02d::", number);
  std::string text = line;
  if (number >= 1 && number < PostCount()) text += platform::FieldText(g_postTable[static_cast<std::size_t>(number)].name);
  return text;
}

}  // namespace

void FillPostCombo(platform::Dialog& dialog, int id, MachiningDefinition& d) {
  dialog.ResetContent(id);
  for (int i = 1; i < PostCount(); ++i) dialog.AddItem(id, PostLine(i));
  if (d.generalA == 0) d.generalA = g_currentPost;
  const int row = d.generalA - 1;
  if (!dialog.SetCurSel(id, row)) dialog.SetText(id, PostLine(d.generalA));
}

void StorePostChoice(platform::Dialog& dialog, int id, MachiningDefinition& d) {
  const int row = dialog.GetCurSel(id);
  if (row >= 0) d.generalA = row + 1;
}

void FillWorkOffsetCombo(platform::Dialog& dialog, int id, int selection) {
  dialog.ResetContent(id);
  for (const char* g : {" G54 ", " G55 ", " G56 ", " G57 ", " G58 ", " G59 "}) dialog.AddItem(id, g);
  dialog.SetCurSel(id, selection);
}

std::vector<int> FillCurveCombo(platform::Dialog& dialog, int id, MachiningDefinition& d) {
  dialog.ResetContent(id);
  std::vector<int> rows;
  const int n = CountCurveItems(d);
  for (int item = 0; item < n; ++item) {
    const int curve = FindCurveByKey(d.curves[item].key);
    if (curve < 0 || curve >= g_curveCount) continue;
    dialog.AddItem(id, platform::FieldText(g_curveTable[static_cast<std::size_t>(curve)].name));
    if (item == g_curContourItem) dialog.SetCurSel(id, static_cast<int>(rows.size()));
    rows.push_back(item);
  }
  return rows;
}

void ChooseNameFromCapsuleList(platform::Dialog& dialog, int nameId) {
  const int slot = g_curDefinitionSlot;
  if (slot < 0 || slot >= kMachiningSlotCount) return;
  char (&name)[64] = g_machiningIndexTable.records[static_cast<std::size_t>(slot)].name;
  if (g_conditionOpeners.capsuleNames) {
    ++ModalDepth;
    const int answer = g_conditionOpeners.capsuleNames();
    if (ModalDepth > 0) --ModalDepth;
    if (answer == 1) platform::SetFieldText(name, JoinChosenName(g_textBuffer, platform::FieldText(name)));
  }
  dialog.SetText(nameId, platform::FieldText(name));
}

void ShowFigureAndTransformButtons(platform::Dialog& dialog, const MachiningDefinition& d, int nameButtonId, int moreId,
                                   int moveId, int multiPieceId) {
  const ConditionOpeners& o = g_conditionOpeners;
  dialog.SetCheck(moreId, CountCurveItems(d) >= 2);
  dialog.SetCheck(moveId, d.moveEntries[0].word0 != 0);
  const MultiPieceEntry& m = d.multiPieceEntries[0];
  dialog.SetCheck(multiPieceId, (m.word[0] | m.word[1] | m.word[2] | m.word[3]) != 0);
  dialog.Enable(moveId, static_cast<bool>(o.move));
  dialog.Enable(multiPieceId, static_cast<bool>(o.multiPiece));
  dialog.Enable(nameButtonId, static_cast<bool>(o.capsuleNames));
}

}  // namespace dorn
