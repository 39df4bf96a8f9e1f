#include "kelto_dorn/machining/step_operations.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/machining/repeat_rules.h"
#include "kelto_dorn/tooldb/db_messages.h"
#include "platform/text.h"

namespace dorn {
namespace {

StepCondition& Current() { return g_curMachiningDef.steps[std::clamp(g_curStepIndex, 0, kStepCount - 1)]; }

bool IsThreeAxis() { return g_curMachiningDef.kind == static_cast<std::int32_t>(MachiningKind::ThreeAxisSurface); }

// One save area for the repeat dialogs: a single level, overwritten by each save.
struct RepeatContext {
  std::int32_t stepMode = 0;
  std::int32_t switch8 = 0;
  std::int32_t word208 = 0;
  double areaCutValue = 0, contourStock = 0, toolMoveZ = 0, value216 = 0;
  RepeatBlock blocks[2]{};
};
RepeatContext g_savedRepeat;

}  // namespace

StepCondition& CurrentStep() { return Current(); }
AtcRecord& CurrentStepTool() { return g_curMachiningDef.stepTools[std::clamp(g_curStepIndex, 0, kStepCount - 1)]; }

int CountProcessSteps(const MachiningDefinition& d) {
  int n = 0;
  while (n < kStepCount && d.stepTools[n].inUse != 0) ++n;
  return n;
}

void EnsureFirstStep(MachiningDefinition& d) {
  d.stepTools[0].inUse = 1;
  if (d.stepTools[0].diameter == 0.0f) d.stepTools[0].diameter = 1e-6f;
}

bool AddProcessStep() {
  MachiningDefinition& d = g_curMachiningDef;
  const int n = CountProcessSteps(d);
  if (n >= kMaxDialogSteps) return false;
  const int added = n == 0 ? 1 : n;
  const int from = added - 1;
  d.stepTools[added] = d.stepTools[from];
  d.steps[added] = d.steps[from];
  d.stepTools[added].inUse = 1;
  d.steps[added].colour = d.steps[from].colour + 1;
  g_curStepIndex = added;
  MachiningOrderValid = 0;
  return true;
}

bool DeleteProcessStep() {
  MachiningDefinition& d = g_curMachiningDef;
  const int n = CountProcessSteps(d);
  const int cur = g_curStepIndex;
  if (n <= 1 || cur < 0 || cur >= n) return false;
  // Later steps move down; nothing is read behind the twelfth place, which
  // is cleared instead.
  for (int k = cur; k + 1 < kStepCount; ++k) {
    d.stepTools[k] = d.stepTools[k + 1];
    d.steps[k] = d.steps[k + 1];
  }
  std::memset(&d.stepTools[kStepCount - 1], 0, sizeof(AtcRecord));
  std::memset(&d.steps[kStepCount - 1], 0, sizeof(StepCondition));
  if (d.stepTools[cur].inUse == 0 && g_curStepIndex > 0) --g_curStepIndex;
  MachiningOrderValid = 0;
  return true;
}

void ResetStepModes() {
  StepCondition& s = Current();
  s.approachOn = s.approachKind = 0;
  s.compensationOn = 0;
  s.escapeOn = s.escapeKind = 0;
  s.switch8 = 0;
  s.word156 = 0;
  s.word208 = 0;
  s.repeat[0].inUse = 0;  // 328
  s.repeat[0].kind = 0;   // 340
  // 344..371: the first block's three values and the second block's in-use word.
  s.repeat[0].first = s.repeat[0].second = s.repeat[0].third = 0.0;
  s.repeat[1].inUse = 0;
  // 384..407: the second block's three values.
  s.repeat[1].first = s.repeat[1].second = s.repeat[1].third = 0.0;
  s.repeat[1].kind = 2;  // 380
  s.stepMode = 0;
  s.areaCutValue = 0.0;
}

void ApplyDiameterRule(AtcRecord& tool) {
  // A tool given by its diameter alone keeps it: its radii say nothing.
  const float radii = tool.cornerRadius + tool.flatRadius;
  if (tool.tipLength == 0.0f && radii > 0.0f) tool.diameter = 2.0f * radii;
  if (tool.diameter == 0.0f) tool.diameter = 1e-7f;
}

bool CheckDefinitionName(std::string_view typed) {
  std::size_t start = 0;
  while (start < typed.size() && typed[start] == ' ') ++start;
  std::string name(typed.substr(start));
  std::replace(name.begin(), name.end(), ' ', '_');
  const int slot = g_curDefinitionSlot;
  const int count = std::min(g_machiningCount, kMachiningSlotCount);
  for (int i = 0; i < count; ++i) {
    if (i != slot && platform::FieldText(g_machiningIndexTable.records[i].name) == name) {
      ShowMessage(19);
      return false;
    }
  }
  if (slot < 0 || slot >= kMachiningSlotCount) return false;
  platform::SetFieldText(g_machiningIndexTable.records[slot].name, name);
  return true;
}

void DropEmptyRepeatBlocks() { NormaliseRepeatRanges(Current()); }

void ClearRepeatBlocks() {
  StepCondition& s = Current();
  for (RepeatBlock& b : s.repeat) {
    b.inUse = b.escapeStamp = b.figureKey = 0;
    b.first = b.second = b.third = 0.0;
    b.kind = IsThreeAxis() ? 9 : 0;
  }
  s.switch8 = 0;
  s.zone1Key = 0;
  s.word152 = 0;
  s.zone2Key = 0;
  s.word208 = 0;
}

void SaveRepeatContext(int mode) {
  StepCondition& s = Current();
  if (mode == 2 && s.word208 != 0) {
    s.word208 = 1;
    s.switch8 = 0;
  }
  if (IsThreeAxis() && s.repeat[0].kind == 0) s.repeat[0].kind = s.repeat[1].kind = 9;
  RepeatContext& c = g_savedRepeat;
  c.stepMode = s.stepMode;
  c.switch8 = s.switch8;
  c.word208 = s.word208;
  c.areaCutValue = s.areaCutValue;
  c.contourStock = s.contourStock;
  c.toolMoveZ = s.toolMoveZ;
  c.value216 = s.value216;
  c.blocks[0] = s.repeat[0];
  c.blocks[1] = s.repeat[1];
  if (s.stepMode == 1 || s.stepMode == 2) s.stepMode = 0;
}

void RestoreRepeatContext() {
  StepCondition& s = Current();
  const RepeatContext& c = g_savedRepeat;
  s.stepMode = c.stepMode;
  s.switch8 = c.switch8;
  s.word208 = c.word208;
  s.areaCutValue = c.areaCutValue;
  s.contourStock = c.contourStock;
  s.toolMoveZ = c.toolMoveZ;
  s.value216 = c.value216;
  s.repeat[0] = c.blocks[0];
  s.repeat[1] = c.blocks[1];
}

}  // namespace dorn
