#include "kelto_dorn/machining/capsule_flow.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/machining/capsule_file.h"
#include "kelto_dorn/machining/definition_flow.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/definition_slots.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/text.h"

namespace dorn {

namespace {

constexpr int kPromptPickDrawing = 1000;
constexpr int kPromptPickMore = 1001;
constexpr int kCurvePickState = 50;
constexpr int kLastChainItem = 78;
constexpr int kHoleSteps = 8;
constexpr int kNoCurve = 0xFFFF;

MachiningDefinition& Def() { return g_curMachiningDef; }
bool IsHole(const MachiningDefinition& d) { return d.kind == static_cast<std::int32_t>(MachiningKind::Hole); }
bool Confirmed(int r) { return r == kCapsuleContourConfirmed || r == kCapsuleSameAgain; }

bool HasPick() { return g_pickMade != 0 && g_curCurveIndex >= 0 && g_curCurveIndex < g_curveCount; }

void AskDrawing(int prompt) {
  g_curDefinitionSlot = g_capsuleSlot;  // the prompt names this definition
  ShowPromptHook(prompt);
  g_pickState = kCurvePickState;
  g_pickMode2 = kCurvePickState;
}

void SaveCurveList() { std::copy(std::begin(Def().curves), std::end(Def().curves), g_capsuleCurveList.begin()); }

// Every step back as the capsule held it, with the given depths.
void RestoreSavedSteps(double depth, double referenceZ) {
  for (int s = 0; s < kStepCount; ++s) {
    StepCondition& step = Def().steps[s];
    step = g_capsuleSavedSteps[static_cast<std::size_t>(s)];
    step.depth = depth;
    step.endDepth = referenceZ;
  }
}

// The appended definitions are dropped: slots and index records as before
// the capsule was loaded.
void AbandonCapsule() {
  const int loaded = g_machiningCount;
  DefinitionSlots* slots = g_definitionFlow.definitions;
  DocAtcTable* atc = g_definitionFlow.atc;
  if (slots != nullptr && atc != nullptr) {
    ResetMachiningRecord(*atc);
    for (int s = g_capsuleBaseCount; s < loaded; ++s) slots->Slot(s) = g_curMachiningDef;
  }
  for (int i = g_capsuleBaseCount; i < std::max(loaded, g_capsuleBaseCount + 1); ++i) {
    DefinitionIndexRecord& r = g_machiningIndexTable.records[static_cast<std::size_t>(i)];
    r.recordKind = r.key = r.slot = r.kindCode = 0;
    std::memset(r.name, 0, sizeof r.name);
  }
  g_machiningCount = g_curDefinitionSlot = g_shownDefinitionTotal = g_capsuleBaseCount;
  MachiningOrderValid = 0;
  g_definitionPickStep = 0;
  ShowPromptHook(0);
  EndPick(define_cmd::kCapsule);
  RedrawView();
}

// The capsule's next definition: taken with the same curves at once, or
// its curves are asked for. True when it goes on without picks.
bool NextDefinition() {
  GetMachiningDefinition(*g_definitionFlow.definitions, g_capsuleSlot, *g_definitionFlow.atc);
  std::copy(std::begin(Def().steps), std::end(Def().steps), g_capsuleSavedSteps.begin());
  if (g_capsuleCurveList[0].key != 0 && (IsHole(Def()) || Confirmed(g_capsuleResult))) {
    std::copy(g_capsuleCurveList.begin(), g_capsuleCurveList.end(), std::begin(Def().curves));
    g_pickState = 0;
    g_definitionPickStep = 1;
    return true;
  }
  // The capsule's own curves belong to another drawing: the picks replace
  // them, and ending the picks without one drops the capsule.
  g_curContourItem = 0;
  Def().curves[0].type = Def().curves[0].key = 0;
  AskDrawing(kPromptPickDrawing);
  g_definitionPickStep = 0;
  g_capsuleResult = kCapsuleNoResult;
  return false;
}

// The picks of one definition ended with its first curve: its Z values,
// then it is stored and the next one begins. True when the next one goes
// on without picks.
bool FinishDefinition() {
  MachiningDefinition& d = Def();
  const int found = FindCurveByKey(d.curves[0].key);
  if (found != kNoCurve) LoadCurveEntry(found);
  ShowPromptHook(0);
  int r = g_capsuleResult;
  if ((r == kCapsuleAllConfirmed || Confirmed(r)) && IsHole(d)) {
    const double face = ChamferStepDepth(d).value_or(g_capsuleFaceZ);
    RestoreSavedSteps(face, g_capsuleBottomZ);
    ApplyCapsuleHoleRule(face);
  } else if (Confirmed(r)) {
    RestoreSavedSteps(g_capsuleFaceZ, g_capsuleBottomZ);
  } else {
    r = g_definitionFlow.capsuleDialog ? g_definitionFlow.capsuleDialog() : 2;
    g_capsuleResult = r;
    if (r == 2) {
      AbandonCapsule();
      return false;
    }
    if (Confirmed(r)) SaveCurveList();
  }
  if (IsHole(d)) SaveCurveList();
  PutMachiningDefinition(*g_definitionFlow.definitions, g_capsuleSlot);
  ++g_capsuleSlot;
  if (g_capsuleSlot >= g_machiningCount) {
    g_definitionPickStep = 0;
    ShowPromptHook(0);
    EndPick(define_cmd::kCapsule);
    if (r == kCapsuleSameAgain) {
      g_capsuleResult = kCapsuleNoResult;
      LoadCapsule();
    } else {
      g_definitionEditMode = kEditModeReturnToList;
    }
    return false;
  }
  return NextDefinition();
}

// A pick of the current definition's curves; false when the picks go on.
bool TakePick() {
  MachiningDefinition& d = Def();
  const int item = std::clamp(g_curContourItem, 0, kCurveItemCount - 1);
  d.curves[item].type = 1;
  d.curves[item].key = g_curveTable[static_cast<std::size_t>(g_curCurveIndex)].key;
  LoadCurveEntry(g_curCurveIndex);
  if (item >= kLastChainItem) return true;  // the list is full: the picks end here
  d.curves[item + 1] = CurveListItem{};
  g_curContourItem = item + 1;
  AskDrawing(kPromptPickMore);
  g_definitionPickStep = 0;
  return false;
}

}  // namespace

std::optional<double> ChamferStepDepth(const MachiningDefinition& d) {
  static const std::string kChamfer = platform::Sjis("面取");
  for (int s = 0; s < kHoleSteps; ++s) {
    const std::string sec = platform::FieldText(d.stepTools[s].secName);
    if (sec.find(kChamfer) != std::string::npos) return d.steps[s].depth;
  }
  return std::nullopt;
}

void ApplyCapsuleHoleRule(double faceZ) {
  MachiningDefinition& d = Def();
  d.holeRPoint = g_machiningDefaults.holeRPoint + faceZ;
  for (int s = 0; s < kHoleSteps; ++s) {
    StepCondition& step = d.steps[s];
    const AtcRecord& tool = d.stepTools[s];
    // A flute length of 0 is a tool without a known flute: no limit.
    if (tool.fluteLength > 0.0f && std::fabs(step.endDepth - step.depth) > tool.fluteLength) {
      step.endDepth = step.depth - tool.fluteLength;
      step.bottomZStock = 0.0;
    }
    if (tool.diameter > 0.0f && step.endDepth > 0.0) step.endDepth = -step.endDepth;
    if (d.steps[0].switch8 != 0) ComputeRecordDepth(s);
  }
}

void ApplyCapsuleZ(double faceZ, double bottomZ) {
  MachiningDefinition& d = Def();
  for (StepCondition& step : d.steps) {
    step.depth = faceZ;
    step.endDepth = bottomZ;
  }
  switch (static_cast<MachiningKind>(d.kind)) {
    case MachiningKind::PlaneContour:
      for (StepCondition& step : d.steps) {
        for (RepeatBlock& row : step.repeat) {
          if (row.second != 0.0 && row.kind == 2) {
            step.endDepth = faceZ;
            row.first = faceZ;
            row.third = bottomZ;
          }
        }
      }
      break;
    case MachiningKind::Hole:
      ApplyCapsuleHoleRule(faceZ);
      break;
    case MachiningKind::HelicalHole:
      d.holeRPoint = g_machiningDefaults.holeRPoint + faceZ;
      if (d.steps[0].bottomFlag != 0) ComputeRecordDepth(0);
      break;
    case MachiningKind::DeepHole:
      d.holeRPoint = g_machiningDefaults.holeRPoint + faceZ;
      if (d.steps[0].bottomFlag == 1)
        d.steps[0].endDepth = -(d.stepTools[0].tipLength + d.holeThroughAmount + g_globalZ);
      break;
    default:
      break;
  }
}

bool LoadCapsule() {
  g_capsuleCurveList[0].key = 0;
  MachiningOrderValid = 0;
  g_capsuleBaseCount = g_curDefinitionSlot = g_capsuleSlot = g_machiningCount;
  if (g_definitionFlow.definitions == nullptr || g_definitionFlow.atc == nullptr) return false;
  // Without a curve nothing could be picked for the capsule's definitions.
  if (g_curveCount <= 0) return false;
  const CapsuleLoad load = LoadCapsuleFile(*g_definitionFlow.definitions, *g_definitionFlow.atc, g_capsuleName);
  if (load.appended == 0) return false;
  g_shownDefinitionTotal = g_machiningCount;
  RunMachiningCommand(define_cmd::kCapsule);
  return true;
}

void ApplyCapsule() {
  if (g_definitionFlow.definitions == nullptr || g_definitionFlow.atc == nullptr) return;
  if (g_capsuleSlot < g_capsuleBaseCount || g_capsuleSlot >= g_machiningCount) {
    // Nothing of a capsule left to apply.
    g_definitionPickStep = 0;
    EndPick(define_cmd::kCapsule);
    return;
  }
  if (g_definitionPickStep == 0) {
    MachiningOrderValid = 0;
    GetMachiningDefinition(*g_definitionFlow.definitions, g_capsuleSlot, *g_definitionFlow.atc);
    std::copy(std::begin(Def().steps), std::end(Def().steps), g_capsuleSavedSteps.begin());
    g_curContourItem = 0;
    Def().curves[0].type = Def().curves[0].key = 0;
    AskDrawing(kPromptPickDrawing);
    g_capsuleResult = kCapsuleNoResult;
    return;
  }
  bool automatic = false;
  if (HasPick()) {
    if (!TakePick()) return;
    automatic = FinishDefinition();
  } else if (Def().curves[0].key <= 0) {
    AbandonCapsule();
    return;
  } else {
    automatic = FinishDefinition();
  }
  // The definitions that take the same curves follow without picks.
  while (automatic) automatic = FinishDefinition();
}

}  // namespace dorn
