#include "kelto_dorn/machining/machining_state.h"

#include "kelto_dorn/machining/capsule_file.h"

#include "kelto_dorn/machining/hole_fields.h"

#include "kelto_dorn/app/app_state.h"

namespace dorn {

MachiningDefinition g_curMachiningDef{};
int& g_machiningCount = g_machiningIndexTable.count;
int& g_curDefinitionSlot = g_machiningIndexTable.currentSlot;
int g_definitionEditMode = kEditModeNew;
int MachiningOrderValid = 0;
handover::MachiningDefaults g_machiningDefaults{};
FinishPassSettings g_finishPassRecord;
std::array<int, 1024> g_selectionList = [] {
  std::array<int, 1024> list{};
  list.fill(0xFFFF);
  return list;
}();
double g_lastCornerDistance = 0.0;
double g_lastCornerRate = 0.0;
int g_definitionPickStep = 0;
int g_pickResumeCode = 0;
int g_curStepIndex = 0;
int g_curContourItem = 0;
int g_pickTargetIndex = 0;
int g_savedStepIndex = 0;
int g_savedRowIndex = 0;
int g_multiPickFlag = 0;
int g_shownDefinitionIndex = 0;
int g_shownDefinitionTotal = 0;
int g_definitionPickCount = 0;
int g_stepMoveRequest = 0;
int g_pickMade = 0;
int g_pickMode2 = 0;
int g_definitionCommandActive = 0;
int g_stepButtonNumber = 0;
int g_stepDeleteMode = 0;
int g_stepInsertMode = 0;
std::string g_capsuleName;
int g_capsuleBaseCount = 0;
int g_capsuleSlot = 0;
int g_capsuleResult = kCapsuleNoResult;
std::array<CurveListItem, kCurveItemCount> g_capsuleCurveList{};
std::array<StepCondition, kStepCount> g_capsuleSavedSteps{};
double g_capsuleFaceZ = 0.0;
double g_capsuleBottomZ = 0.0;
std::string g_lastCapsuleName;

void ResetMachiningState() {
  g_curMachiningDef = MachiningDefinition{};
  g_machiningCount = 0;
  g_curDefinitionSlot = 0;
  g_definitionEditMode = kEditModeNew;
  MachiningOrderValid = 0;
  g_machiningDefaults = handover::MachiningDefaults{};
  g_finishPassRecord = FinishPassSettings{};
  g_selectionList.fill(0xFFFF);
  g_lastCornerDistance = 0.0;
  g_lastCornerRate = 0.0;
  g_definitionPickStep = g_pickResumeCode = 0;
  g_curStepIndex = g_curContourItem = g_pickTargetIndex = 0;
  g_savedStepIndex = g_savedRowIndex = 0;
  g_multiPickFlag = 0;
  g_shownDefinitionIndex = g_shownDefinitionTotal = 0;
  g_definitionPickCount = g_stepMoveRequest = 0;
  g_pickMade = g_pickMode2 = 0;
  g_definitionCommandActive = 0;
  g_stepButtonNumber = g_stepDeleteMode = g_stepInsertMode = 0;
  g_chamferDetail = ChamferDetail{};
  g_capsuleName.clear();
  g_capsuleBaseCount = g_capsuleSlot = 0;
  g_capsuleResult = kCapsuleNoResult;
  g_capsuleCurveList = {};
  g_capsuleSavedSteps = {};
  g_capsuleFaceZ = g_capsuleBottomZ = 0.0;
  g_lastCapsuleName.clear();
  g_capsuleLoadCount = 0;
}

}  // namespace dorn
