#include "kelto_dorn/machining/definition_flow.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/machining/capsule_flow.h"
#include "kelto_dorn/machining/definition_list_run.h"
#include "kelto_dorn/machining/definition_pending.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/definition_slots.h"
#include "kelto_dorn/machining/definition_store.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "kelto_dorn/surfaces/surface_store.h"

namespace dorn {

DefinitionFlowServices g_definitionFlow;

namespace {

using R = DefinitionRunner;
constexpr int kNoCurve = 0xFFFF;
constexpr int kCurvePickState = 50;
constexpr int kLastChainItem = 78;     // a chain of curves stops growing here
constexpr int kLastOmitRow = 127;      // OMIT rows 0-127; entry 128 is kept free
constexpr int kLastDrawPickSlot = 146;  // DRAW picks go on while below
constexpr int kWireRibLimit = 30;       // RIB lines a wire surface takes
constexpr int kListAction = 0xF100;
constexpr int kListDeleted = 0xF300;

// Prompts of the flow.
constexpr int kPromptCurve = 910;
constexpr int kPromptBaseLine = 920;
constexpr int kPromptFeedLine = 921;
constexpr int kPromptPlaneCurve = 922;
constexpr int kPromptHoleFigure = 926;
constexpr int kPromptSymmetryAxis = 929;
constexpr int kPromptBaseLine2 = 930;
constexpr int kPromptRibLine = 931;
constexpr int kPromptGor = 932;
constexpr int kPromptUniSection = 933;
constexpr int kPromptZone1 = 934;
constexpr int kPromptZone2 = 935;
constexpr int kPromptOmit = 936;
constexpr int kPromptPointByMouse = 137;
constexpr int kPromptFirstOfTwo = 13;
constexpr int kPromptFigureByMouse = 1527;

constexpr unsigned Bit(R r) { return 1u << static_cast<int>(r); }
constexpr unsigned kContours = Bit(R::Contour) | Bit(R::Taper);
constexpr unsigned kHoles = Bit(R::Hole) | Bit(R::HelicalHole) | Bit(R::DeepHole);
constexpr unsigned kSurfaces = Bit(R::Surface3Axis) | Bit(R::Model);
constexpr unsigned kAll = (1u << kRunnerCount) - 1;

// One pick request: the end code, the runners that know it, the prompt, the
// waiting pick step, and whether it starts a chain of curves.
struct PickRequest {
  int code;
  unsigned runners;
  int prompt;
  int waitStep;
  bool chain;
};

// The pick requests of the definition dialogs as one table. A code a runner
// does not know ends its dialog without a store.
constexpr PickRequest kPickRequests[] = {
    {100, kContours | Bit(R::CharContour) | kHoles, kPromptPlaneCurve, 0, false},
    {100, Bit(R::Axis25) | Bit(R::Wire), kPromptBaseLine, 0, false},
    {111, kContours | kHoles, kPromptPlaneCurve, 0, true},
    {111, Bit(R::CharContour), kPromptPlaneCurve, 0, false},
    {111, Bit(R::Axis25), kPromptBaseLine, 0, true},
    {101, Bit(R::Axis25), kPromptBaseLine, 0, true},
    {120, kContours | Bit(R::CharContour) | Bit(R::Axis25) | kSurfaces, kPromptZone1, 3, false},
    {125, kContours | Bit(R::CharContour) | kSurfaces, kPromptZone1, 3, false},
    {130, kContours | Bit(R::CharContour) | Bit(R::Axis25) | kSurfaces, kPromptZone2, 5, false},
    {135, kContours | Bit(R::CharContour) | kSurfaces, kPromptZone2, 5, false},
    {180, kSurfaces, kPromptUniSection, 2, false},
    {220, kSurfaces | Bit(R::Axis25), kPromptUniSection, 2, false},
    {200, Bit(R::Axis25), kPromptFeedLine, 1, false},
    {201, Bit(R::Axis25), kPromptFeedLine, 1, false},
    {333, kContours | Bit(R::Axis25) | Bit(R::Surface3Axis), kPromptGor, 8, false},
    {301, Bit(R::Axis25) | Bit(R::Surface3Axis), kPromptGor, 8, false},
    {400, kAll & ~(Bit(R::Screw) | Bit(R::Wire) | kHoles), kPromptSymmetryAxis, 7, false},
    {410, kAll & ~(Bit(R::Screw) | Bit(R::Wire) | kHoles), kPromptSymmetryAxis, 7, false},
    {400, kHoles, kPromptSymmetryAxis, 3, false},
    {410, kHoles, kPromptSymmetryAxis, 3, false},
    {510, kContours, kPromptOmit, 9, false},
    {511, kContours, kPromptOmit, 9, false},
    {600, kContours | kSurfaces, kPromptPlaneCurve, 11, false},
    {910, kAll & ~Bit(R::Screw), kPromptCurve, 19, false},
    {200, Bit(R::Wire), kPromptBaseLine2, 1, false},
    {300, Bit(R::Wire), 0, 2, false},
    {400, Bit(R::Wire), 0, 3, false},
    {600, Bit(R::Wire), 0, 6, false},
    {500, Bit(R::Wire), kPromptRibLine, 5, false},
};

const PickRequest* FindPickRequest(R runner, int code) {
  for (const PickRequest& r : kPickRequests) {
    if (r.code == code && (r.runners & Bit(runner)) != 0) return &r;
  }
  return nullptr;
}

// Points asked by 401 and 501: the prompt and flag by the point-input mode.
bool IsPointRequest(R runner, int code) {
  return (code == 401 || code == 501) && (Bit(runner) & (Bit(R::Axis25) | kSurfaces)) != 0;
}

void Prompt(int code) { ShowPromptHook(code); }

void AskCurve(int prompt) {
  Prompt(prompt);
  g_pickState = kCurvePickState;
  g_pickMode2 = kCurvePickState;
}

void SetActive(int command, int on) {
  if (g_commandEngines.setActiveCommand) g_commandEngines.setActiveCommand(command, on);
}

MachiningDefinition& Def() { return g_curMachiningDef; }
StepCondition& CurStep() { return Def().steps[std::clamp(g_curStepIndex, 0, kStepCount - 1)]; }
int ClampRow(int row, int last) { return std::clamp(row, 0, last); }

bool HasPick() { return g_pickMade != 0 && g_curCurveIndex >= 0 && g_curCurveIndex < g_curveCount; }
const CurveRecord& PickedCurve() { return g_curveTable[g_curCurveIndex]; }
std::int32_t PickedKey() { return PickedCurve().key; }

void LoadPickedCurve() { LoadCurveEntry(g_curCurveIndex); }

// The pick state of the view after every entry.
void ResetPickWords() {
  g_pickIndex = 0;
  g_pickResult = 0;
  g_curCurveIndex = kNoCurve;
  g_pickMade = 0;
}

// A four-axis wire stores its surface with the definition. A new wire's
// surface got its index record when its second base line was picked; a
// stored one keeps its record and slot.
void RegisterWireSurface() {
  DefinitionIndexTable<kSurfaceSlotCount>& table = g_surfaceIndexTable;
  const int index = g_curSurface.key != 0 ? FindSurfaceByKey(g_curSurface.key) : kNoCurve;
  if (index != kNoCurve) {
    table.currentSlot = table.records[static_cast<std::size_t>(index)].slot;
  } else {
    table.currentSlot = table.count;
    const bool inProgress = table.count < kSurfaceSlotCount && g_curSurface.key != 0 &&
                            table.records[static_cast<std::size_t>(table.count)].key == g_curSurface.key;
    if (!inProgress) {
      MakeSurfaceName();
      Def().curves[0].key = g_curSurface.key;
    }
  }
  RegisterSurface(1);
}

StoreServices StoreServicesOfFlow() {
  StoreServices s;
  s.registerWireSurface = RegisterWireSurface;
  s.resetFigureAndSurface = g_definitionFlow.resetFigureAndSurface;
  s.saveDrawing = g_definitionFlow.saveDrawing;
  return s;
}

void ResetWorkingRecords() {
  if (g_definitionFlow.resetFigureAndSurface) g_definitionFlow.resetFigureAndSurface();
  if (g_definitionFlow.atc) ResetMachiningRecord(*g_definitionFlow.atc);
}

// After the dialog: a store or cancel ends the command.
void CommonTail(int command, int result) {
  if (result != 0 && g_definitionFlow.definitions && g_definitionFlow.atc) {
    StoreMachiningDefinition(result, *g_definitionFlow.definitions, *g_definitionFlow.atc, StoreServicesOfFlow());
    g_definitionPickStep = 0;
    EndPick(command);
  }
  g_curCurveIndex = kNoCurve;
  ClearCurrentFigure();
}

// Ends a command that did not start a definition.
void EndWithoutDefinition(int command) {
  g_definitionPickStep = 0;
  g_definitionPickCount = 0;
  ResetWorkingRecords();
  EndPick(command);
  RedrawView();
}

// A branch is ready for its dialog once numbered and not waiting for more.
bool Ready() {
  return g_definitionPickStep != 9 && g_definitionPickStep != 19 && g_definitionPickCount != 0;
}

void RunIfReady(int command, R runner) {
  if (!Ready()) return;
  g_definitionPickStep = 0;
  CommonTail(command, RunDefineDialog(runner));
}

// --- the kinds' pick sequences -----------------------------------------------------

void ContourBranch(int command) {
  MachiningDefinition& d = Def();
  const int step = g_definitionPickStep;
  if (step == 0) {
    StepCondition& s1 = d.steps[0];
    s1.switch0 = 1;
    s1.stepMode = 0;
    s1.switch8 = 0;
    if (command == define_cmd::kContour) {
      d.kind = static_cast<std::int32_t>(MachiningKind::PlaneContour);
      s1.repeat[0].kind = 1, s1.repeat[1].kind = 2;
    } else if (command == define_cmd::kTaper) {
      d.kind = static_cast<std::int32_t>(MachiningKind::Taper);
      s1.repeat[0].kind = 0, s1.repeat[1].kind = 2;
    } else {
      d.kind = static_cast<std::int32_t>(MachiningKind::CharacterContour);
      s1.repeat[0].kind = 2, s1.repeat[1].kind = 2;
      s1.contourCentreFlag = 1;
    }
    AskCurve(kPromptPlaneCurve);
  } else if (step == 1) {
    if (!HasPick()) {
      // The picks ended before any curve: no definition is started.
      if (g_definitionPickCount == 0) return EndWithoutDefinition(command);
    } else {
      const int item = ClampRow(g_curContourItem, kCurveItemCount - 1);
      d.curves[item].type = 1;
      d.curves[item].key = PickedKey();
      LoadPickedCurve();
      if (g_definitionPickCount != 0 && g_multiPickFlag != 0 && item < kLastChainItem) {
        g_curContourItem = item + 1;
        AskCurve(kPromptPlaneCurve);
        g_definitionPickStep = 0;
        return;  // waits for the next curve of the chain
      } else if (g_definitionPickCount == 0) {
        StepCondition& s = CurStep();
        s.depth = s.endDepth = g_curCurveRecord.topZ;
        s.value272 = s.value312 = g_curCurveRecord.ipX;
        s.value280 = s.value320 = g_curCurveRecord.ipY;
        s.surfaceKey = 0;
        AssignDefinitionNumber();
        ++g_definitionPickCount;
      }
    }
  } else {
    ApplyPickedFigure(0);
  }
  const R runner = command == define_cmd::kContour ? R::Contour : command == define_cmd::kTaper ? R::Taper
                                                                                              : R::CharContour;
  RunIfReady(command, runner);
}

void HoleBranch(int command) {
  MachiningDefinition& d = Def();
  const int step = g_definitionPickStep;
  if (step == 0) {
    d.kind = static_cast<std::int32_t>(command == define_cmd::kHole          ? MachiningKind::Hole
                                       : command == define_cmd::kHelicalHole ? MachiningKind::HelicalHole
                                                                             : MachiningKind::DeepHole);
    g_curContourItem = 0;
    d.steps[0].switch0 = 1;
    d.steps[0].stepMode = 3;
    AskCurve(kPromptHoleFigure);
  } else if (step == 1) {
    if (HasPick()) {
      const int item = ClampRow(g_curContourItem, kCurveItemCount - 1);
      d.curves[item].key = PickedKey();
      LoadPickedCurve();
      if (g_definitionPickCount == 0) {
        for (int s = 0; s < 6; ++s) d.steps[s].depth = g_curCurveRecord.topZ;
        d.holeRPoint = g_machiningDefaults.holeRPoint + g_curCurveRecord.topZ;
        AssignDefinitionNumber();
        d.steps[0].approachOn = d.steps[0].approachKind = 0;
        d.steps[0].value264 = 0.0;
        d.value[0] = 10.0;
        ++g_definitionPickCount;
      } else if (g_multiPickFlag != 0 && item < kLastChainItem) {
        g_curContourItem = item + 1;
        AskCurve(kPromptHoleFigure);
        g_definitionPickStep = 0;
        return;  // waits for the next hole
      } else {
        ++g_definitionPickCount;
      }
    } else {
      // The picks ended: the dialog opens. A definition still without a
      // number gets one first, so that none is stored unnumbered.
      if (g_definitionPickCount == 0) AssignDefinitionNumber();
      ++g_definitionPickCount;
    }
  } else if (step == 4) {
    if (HasPick()) {
      const int r = ClampRow(g_pickTargetIndex, 1);
      if (g_pickResumeCode == 400) d.moveEntries[r].figureKey = PickedKey();
      if (g_pickResumeCode == 410) d.multiPieceEntries[r].figureKey = PickedKey();
      ++g_definitionPickCount;
    }
  } else {
    ApplyPickedFigure(9);
  }
  const R runner = command == define_cmd::kHole          ? R::Hole
                   : command == define_cmd::kHelicalHole ? R::HelicalHole
                                                         : R::DeepHole;
  RunIfReady(command, runner);
}

void Axis25Branch(int command) {
  MachiningDefinition& d = Def();
  const int step = g_definitionPickStep;
  const int item = ClampRow(g_curContourItem, kCurveItemCount - 1);
  if (step == 0) {
    d.kind = static_cast<std::int32_t>(MachiningKind::TwoAndHalfAxis);
    d.steps[0].switch0 = 1;
    d.steps[0].stepMode = 0;
    d.steps[0].switch8 = 0;
    AskCurve(kPromptBaseLine);
  } else if (step == 1) {
    if (HasPick()) {
      d.curves[item].key = PickedKey();
      LoadPickedCurve();
      AskCurve(kPromptFeedLine);
      return;  // waits for the feed line (step 1 -> 2)
    }
    if (g_definitionPickCount == 0) return EndWithoutDefinition(command);
  } else if (step == 2) {
    d.curves[item].word8 = HasPick() ? PickedKey() : 0;
    if (g_definitionPickCount != 0) {
      if (g_multiPickFlag != 0 && item < kLastChainItem) {
        g_curContourItem = item + 1;
        g_definitionPickStep = 0;
        AskCurve(kPromptBaseLine);
        return;
      }
    } else {
      CurStep().surfaceKey = 0;
      CurStep().endDepth = HasPick() ? PickedCurve().topZ : 0.0;
      AssignDefinitionNumber();
      ++g_definitionPickCount;
    }
  } else {
    ApplyPickedFigure(0);
  }
  RunIfReady(command, R::Axis25);
}

// 3-axis and model: the first surface comes from the surface list.
void SurfaceBranch(int command) {
  MachiningDefinition& d = Def();
  if (g_definitionPickStep == 0) {
    if (command == define_cmd::kSurface3Axis) {
      d.kind = static_cast<std::int32_t>(MachiningKind::ThreeAxisSurface);
      d.steps[0].switch0 = 1;
      d.steps[0].stepMode = 0;
      d.steps[0].switch8 = 0;
    } else {
      d.kind = static_cast<std::int32_t>(MachiningKind::ModelPending);
    }
    const std::array<int, 1024> chosen = SelectSurfaces();
    if (chosen[0] == kNoCurve || chosen[0] == 0x9999) return EndWithoutDefinition(command);
    // A chosen surface would be taken as the pick of step 1 here; the
    // surfaces are not in the program yet.
    return EndWithoutDefinition(command);
  }
  ApplyPickedFigure(0);
  RunIfReady(command, command == define_cmd::kSurface3Axis ? R::Surface3Axis : R::Model);
}

// The wire: base line 1, base line 2 (skipped: a two-axis wire), then the
// start and end points numbered it; RIB lines and points come back from its
// dialog.
void WireFirstValues() {
  MachiningDefinition& d = Def();
  StepCondition& s1 = d.steps[0];
  StepCondition& s2 = d.steps[1];
  d.kind = static_cast<std::int32_t>(MachiningKind::FourAxisWire);
  s1.value264 = g_machiningDefaults.wireDivision;
  s1.contourStock = g_machiningDefaults.wireStock;
  g_curSurface.kind = static_cast<std::int32_t>(SurfaceKind::Wire4);
  g_curSurface.mode = 1;
  g_curSurface.curvesB[0] = kNoCurveKey;
  s1.switch8 = s1.approachKind = s1.compensationOn = s1.compensationD = 0;
  s2.approachKind = s2.compensationD = 0;
  s1.chamferTipDiameter = 0.0;
  s1.feedCode = 0.0;
  d.stepTools[0].feed = 0.0f;
}

// The wire without its second base line: a two-axis wire on base line 1.
void MakeTwoAxisWire() {
  MachiningDefinition& d = Def();
  d.kind = static_cast<std::int32_t>(MachiningKind::TwoAxisWire);
  d.steps[0].endDepth = d.zOrigin;
  d.curves[0].key = g_curSurface.baseLine1;
}

// A start or end point input cancelled before the wire has its number goes
// back to the prompt for base line 2, from where both points are asked again.
void BackToSecondBaseLine() {
  g_definitionPickStep = 1;
  AskCurve(kPromptBaseLine2);
}

// Appends a RIB line to the working surface's list (ended by 0xFFFF); false
// when the list was full.
bool AppendRibLine(std::int32_t key) {
  int n = 0;
  while (n < kWireRibLimit && g_curSurface.curvesB[n] != kNoCurveKey) ++n;
  if (n >= kWireRibLimit) return false;
  g_curSurface.curvesB[n] = key;
  if (n + 1 < kSurfaceCurveKeys) g_curSurface.curvesB[n + 1] = kNoCurveKey;
  return true;
}

int RibLineCount() {
  int n = 0;
  while (n < kWireRibLimit && g_curSurface.curvesB[n] != kNoCurveKey) ++n;
  return n;
}

// The wire's dialog rounds: between rounds the start, end or scale centre is
// typed; a RIB line or base line request waits for its pick. Returns the
// dialog's result, 0 when a pick is awaited.
int RunWireRounds() {
  for (;;) {
    g_definitionPickStep = 0;
    g_pickMode2 = 0;
    const int result = RunDefineDialog(R::Wire);
    if (result != 0) return result;
    const int step = g_definitionPickStep;
    if (step != 2 && step != 3 && step != 6) return 0;
    // A cancelled input reopens the dialog with the point as it was.
    InputWirePoint(step == 2 ? 0 : step == 3 ? 1 : 2);
    if (g_pickMode2 != 0) return 0;
  }
}

void WireBranch(int command) {
  MachiningDefinition& d = Def();
  const bool numbered = g_definitionPickCount != 0;
  int step = g_definitionPickStep;
  if (step == 0) {
    WireFirstValues();
    AskCurve(kPromptBaseLine);
    return;
  }
  if (step == 1) {
    if (!HasPick()) {
      if (!numbered) return EndWithoutDefinition(command);
      ApplyPickedFigure(9);
    } else {
      g_curSurface.baseLine1 = PickedKey();
      LoadPickedCurve();
      if (!numbered) {
        PromptZValue(1);
        d.zOrigin = g_curSurface.z1;
        AskCurve(kPromptBaseLine2);
        return;  // waits for base line 2
      }
      if (d.kind == static_cast<std::int32_t>(MachiningKind::TwoAxisWire)) MakeTwoAxisWire();
    }
  } else if (step == 2) {
    if (HasPick()) {
      g_curSurface.baseLine2 = PickedKey();
      if (!numbered) {
        // A second base line makes it four-axis, also after a skip whose
        // start point was cancelled.
        d.kind = static_cast<std::int32_t>(MachiningKind::FourAxisWire);
        PromptZValue(2);
        if (d.kind == static_cast<std::int32_t>(MachiningKind::FourAxisWire)) {
          MakeSurfaceName();
          d.curves[0].key = g_curSurface.key;
        }
      }
    } else if (!numbered) {
      MakeTwoAxisWire();
    }
    if (!numbered) {
      if (InputWirePoint(0) != 0) return BackToSecondBaseLine();
      step = g_definitionPickStep;
    }
  } else if (step == 6) {
    // A RIB line after end code 500: more are asked while the list has room.
    if (HasPick() && AppendRibLine(PickedKey()) && RibLineCount() < kWireRibLimit) {
      g_definitionPickStep = 5;
      AskCurve(kPromptRibLine);
      return;
    }
  } else if (step != 3 && step != 4) {
    ApplyPickedFigure(9);
  }
  // The start point is in: the end point follows; with it the wire is numbered.
  if (step == 3 && !numbered) {
    if (InputWirePoint(1) != 0) return BackToSecondBaseLine();
    step = g_definitionPickStep;
  }
  if (step == 4 && !numbered) {
    AssignDefinitionNumber();
    ++g_definitionPickCount;
  }
  if (!Ready()) return;
  CommonTail(command, RunWireRounds());
}

void ListBranch() {
  g_definitionPickCount = 0;
  g_definitionEditMode = kEditModeNew;
  if (g_machiningCount <= 0) return;
  const int result = RunDefinitionList(kListAction, define_cmd::kDefinitionList);
  if (result == 0) return;
  g_returnCommand = define_cmd::kDefinitionList;
  if (result == kListDeleted) EndPick(define_cmd::kDefinitionList);
  RedrawView();
}

void RunBranch(int command) {
  switch (command) {
    case define_cmd::kContour:
    case define_cmd::kTaper:
    case define_cmd::kCharContour:
      return ContourBranch(command);
    case define_cmd::kHole:
    case define_cmd::kHelicalHole:
    case define_cmd::kDeepHole:
      return HoleBranch(command);
    case define_cmd::kAxis25:
      return Axis25Branch(command);
    case define_cmd::kSurface3Axis:
    case define_cmd::kModel:
      return SurfaceBranch(command);
    case define_cmd::kDefinitionList:
      return ListBranch();
    case define_cmd::kScrew:
      if (!PickScrewBaseSurface() || !PickScrewPocketSurface()) return EndWithoutDefinition(command);
      return;
    case define_cmd::kCapsule:
      return ApplyCapsule();
    case define_cmd::kWire:
      return WireBranch(command);
    default:
      return EndWithoutDefinition(command);
  }
}

// Store and move on: the previous or next stored definition is edited.
void MoveLoop() {
  while (g_stepMoveRequest != 0) {
    const int request = g_stepMoveRequest;
    g_stepMoveRequest = 0;
    int slot = g_curDefinitionSlot;
    bool moved = false;
    if (request == define_end::kStorePrevious && slot > 0) {
      --slot;
      moved = true;
    } else if (request == define_end::kStoreNext && slot + 1 < g_machiningCount) {
      ++slot;
      moved = true;
    }
    g_returnCommand = define_cmd::kDefinitionList;
    if (!moved || !g_definitionFlow.definitions || !g_definitionFlow.atc) {
      g_definitionEditMode = kEditModeReturnToList;
      break;
    }
    g_curDefinitionSlot = slot;
    GetMachiningDefinition(*g_definitionFlow.definitions, slot, *g_definitionFlow.atc);
    g_shownDefinitionTotal = g_machiningCount;
    g_definitionEditMode = kEditModeStoredSlot;
    EditMachiningDefinition(slot);
  }
}

}  // namespace

int RunnerOfCommand(int command) {
  switch (command) {
    case define_cmd::kContour:
      return static_cast<int>(R::Contour);
    case define_cmd::kTaper:
      return static_cast<int>(R::Taper);
    case define_cmd::kCharContour:
      return static_cast<int>(R::CharContour);
    case define_cmd::kAxis25:
      return static_cast<int>(R::Axis25);
    case define_cmd::kSurface3Axis:
      return static_cast<int>(R::Surface3Axis);
    case define_cmd::kModel:
      return static_cast<int>(R::Model);
    case define_cmd::kScrew:
      return static_cast<int>(R::Screw);
    case define_cmd::kHole:
      return static_cast<int>(R::Hole);
    case define_cmd::kHelicalHole:
      return static_cast<int>(R::HelicalHole);
    case define_cmd::kDeepHole:
      return static_cast<int>(R::DeepHole);
    case define_cmd::kWire:
      return static_cast<int>(R::Wire);
    default:
      return -1;
  }
}

int CommandOfKind(int kind) {
  switch (static_cast<MachiningKind>(kind)) {
    case MachiningKind::PlaneContour:
      return define_cmd::kContour;
    case MachiningKind::Taper:
      return define_cmd::kTaper;
    case MachiningKind::CharacterContour:
      return define_cmd::kCharContour;
    case MachiningKind::TwoAndHalfAxis:
      return define_cmd::kAxis25;
    case MachiningKind::ThreeAxisSurface:
      return define_cmd::kSurface3Axis;
    case MachiningKind::Model:
    case MachiningKind::Fillet:
      return define_cmd::kModel;
    case MachiningKind::AAxisScrew:
      return define_cmd::kScrew;
    case MachiningKind::Hole:
      return define_cmd::kHole;
    case MachiningKind::HelicalHole:
      return define_cmd::kHelicalHole;
    case MachiningKind::DeepHole:
      return define_cmd::kDeepHole;
    case MachiningKind::FourAxisWire:
    case MachiningKind::TwoAxisWire:
      return define_cmd::kWire;
    default:
      return 0;
  }
}

void ResetDefinitionFlow() {
  g_definitionPickStep = g_pickResumeCode = 0;
  g_savedStepIndex = g_savedRowIndex = 0;
  g_multiPickFlag = g_definitionPickCount = g_stepMoveRequest = 0;
  g_definitionEditMode = kEditModeNew;
}

int RunMachiningCommand(int command) {
  ResetDefinitionFlow();
  if (g_commandEngines.resetCommandInput) g_commandEngines.resetCommandInput();
  if (g_curveCount <= 0 && command != define_cmd::kDefinitionList) return 0;
  SetActive(command, 1);
  g_definitionCommandActive = 1;
  ClearCurrentFigure();
  ResetWorkingRecords();
  g_shownDefinitionIndex = g_curDefinitionSlot = g_machiningCount;
  g_shownDefinitionTotal = g_machiningCount + 1;
  g_pickTargetIndex = g_curStepIndex = g_curContourItem = 0;
  g_surfaceIndexTable.currentSlot = g_surfaceIndexTable.indexInProgress = g_surfaceIndexTable.count;
  return DefineMachining(command);
}

int DefineMachining(int command) {
  const bool reEdit = g_definitionEditMode == kEditModeStoredSlot;
  // A capsule's definitions are in their slots already.
  const bool appendsNothing = command == define_cmd::kDefinitionList || command == define_cmd::kCapsule;
  if (g_machiningCount >= kMachiningSlotCount && !reEdit && !appendsNothing) {
    // No room for another definition: refused before any pick is asked for,
    // rather than after the user has made them all.
    ShowErrorCode(kErrorMachiningFull);
    EndWithoutDefinition(command);
    ResetPickWords();
    return 0;
  }
  if (g_commandEngines.eraseRubberBand) g_commandEngines.eraseRubberBand();
  FocusedEditIndex = 0;
  g_curCommand = command;
  RunBranch(command);
  ResetPickWords();
  MoveLoop();
  ResetPickWords();
  if (g_definitionEditMode == kEditModeReturnToList) {
    g_returnCommand = define_cmd::kDefinitionList;
    RunMachiningCommand(define_cmd::kDefinitionList);
  }
  return 0;
}

void DefinitionCurvePick(bool picked) {
  if (!picked) g_curCurveIndex = kNoCurve;
  g_pickMade = picked ? 1 : 0;
  ++g_definitionPickStep;
  DefineMachining(g_curCommand);
}

int RunDefineDialog(DefinitionRunner runner) {
  g_stepMoveRequest = 0;
  g_multiPickFlag = 0;
  Prompt(0);
  // The dialogs run through the window's modal runner, which counts the depth.
  const int index = static_cast<int>(runner);
  int code = define_end::kCancel;
  if (g_definitionFlow.kindDialogs[index]) {
    code = g_definitionFlow.kindDialogs[index]();
  } else if (g_definitionFlow.openFrame) {
    code = g_definitionFlow.openFrame(runner);
  }
  g_curCurveIndex = kNoCurve;

  switch (code) {
    case define_end::kStore:
      g_savedStepIndex = g_savedRowIndex = 0;
      return 1;
    case define_end::kCancel:
      return -1;
    case define_end::kStorePrevious:
    case define_end::kStoreNext:
      g_stepMoveRequest = code;
      return 1;
    default:
      break;
  }
  if (const PickRequest* request = FindPickRequest(runner, code)) {
    g_pickResumeCode = code;
    if (request->prompt != 0) Prompt(request->prompt);
    g_definitionPickStep = request->waitStep;
    if (request->chain) ++g_multiPickFlag;
    g_pickState = kCurvePickState;
    g_definitionPickCount = 1;
    return 0;
  }
  if (IsPointRequest(runner, code)) {
    g_pickResumeCode = code;
    int flag = 0;
    if (g_pickState == 4) Prompt(kPromptPointByMouse), flag = 0x8000;
    else if (g_pickState == 6) Prompt(kPromptFirstOfTwo), flag = 0x2000;
    else if (g_pickState == 80) Prompt(kPromptFigureByMouse), flag = 0x4000;
    g_definitionPickStep = (code == 401 ? 13 : 15) | flag;
    g_pickMode2 = flag;
    g_definitionPickCount = 1;
    return 0;
  }
  return 0;
}

void ApplyPickedFigure(int mode) {
  g_savedStepIndex = g_curStepIndex;
  g_savedRowIndex = g_pickTargetIndex;
  const int step = g_definitionPickStep;
  if (mode == 9 && step != 20) return;
  if (!HasPick()) return;
  MachiningDefinition& d = Def();
  StepCondition& s = CurStep();
  const std::int32_t key = PickedKey();
  int r = g_pickTargetIndex;
  bool counts = true;
  switch (step) {
    case 3:
      s.repeat[ClampRow(r, 1)].figureKey = key;
      break;
    case 4:
      s.zone1Key = key;
      break;
    case 6:
      s.zone2Key = key;
      break;
    case 8:
      if (g_pickResumeCode == 400) d.moveEntries[ClampRow(r, 1)].figureKey = key;
      if (g_pickResumeCode == 410) d.multiPieceEntries[ClampRow(r, 1)].figureKey = key;
      break;
    case 9: {
      const int item = d.curves[0].type == 2 ? ClampRow(g_curContourItem, kCurveItemCount - 1) : 0;
      d.curves[item].secondKey = key;
      d.curves[item].value[0] = 0.0f;
      g_definitionPickStep = 29;
      break;
    }
    case 10: {
      r = ClampRow(r, kLastOmitRow);
      MachiningFigureEntry& row = d.figures[r];
      if (g_pickResumeCode == 510 && r > 0) {
        const MachiningFigureEntry& above = d.figures[r - 1];
        row.word0 = above.word0;
        row.word8 = above.word8;
        row.word12 = above.word12;
        row.word16 = above.word16;
        row.value = above.value;
      }
      row.figureKey = key;
      // A chain goes on to the next row until the last OMIT row.
      if (g_pickResumeCode == 510 && r < kLastOmitRow) {
        g_pickTargetIndex = r + 1;
        g_definitionPickStep = 9;
        AskCurve(kPromptOmit);
      }
      if (g_pickResumeCode == 510 && r == kLastOmitRow) counts = false;
      break;
    }
    case 12:
      d.general16[2] = key;
      break;
    case 20: {
      r = std::clamp(r, 131, kLastDrawPickSlot);
      d.figures[r].figureKey = key;
      if (r < kLastDrawPickSlot) {
        g_pickTargetIndex = r + 1;
        g_definitionPickStep = 19;
        AskCurve(kPromptCurve);
      } else {
        counts = false;
      }
      break;
    }
    default:
      counts = false;
      break;
  }
  if (counts) ++g_definitionPickCount;
}

void EditMachiningDefinition(int slot) {
  if (g_definitionFlow.resetFigureAndSurface) g_definitionFlow.resetFigureAndSurface();
  g_returnCommand = g_curCommand;
  g_pickResumeCode = 0;
  g_savedStepIndex = g_savedRowIndex = 0;
  g_multiPickFlag = 0;
  g_pickMode2 = 0;
  g_shownDefinitionIndex = g_curDefinitionSlot = slot;
  const int command = CommandOfKind(g_curMachiningDef.kind);
  const int runner = RunnerOfCommand(command);
  if (runner < 0) {
    // A slot of no known kind has no dialog: back to the list.
    g_definitionEditMode = kEditModeReturnToList;
    return;
  }
  g_curCommand = command;
  const bool wire = runner == static_cast<int>(R::Wire);
  if (g_curMachiningDef.kind == static_cast<std::int32_t>(MachiningKind::FourAxisWire)) {
    // The wire's values live in its surface: loaded from its slot.
    const int index = FindSurfaceByKey(g_curMachiningDef.curves[0].key);
    if (index != kNoCurve) {
      g_surfaceIndexTable.currentSlot = g_surfaceIndexTable.records[static_cast<std::size_t>(index)].slot;
      GetSurface(g_surfaceIndexTable.currentSlot);
    }
  }
  const int result = wire ? RunWireRounds() : RunDefineDialog(static_cast<DefinitionRunner>(runner));
  if (result == 0) {
    // The picks go on through DefineMachining; the store then goes into this slot.
    g_definitionEditMode = kEditModeStoredSlot;
    SetActive(command, 1);
    return;
  }
  if (result < 0) {
    g_definitionEditMode = kEditModeReturnToList;
    ResetWorkingRecords();
    return;
  }
  if (g_definitionFlow.definitions && g_definitionFlow.atc) {
    g_definitionEditMode = kEditModeStoredSlot;
    StoreMachiningDefinition(result, *g_definitionFlow.definitions, *g_definitionFlow.atc, StoreServicesOfFlow());
  }
  g_definitionEditMode = kEditModeReturnToList;
  g_shownDefinitionIndex = g_machiningCount;
}

int InputWirePoint(int which) {
  g_pickMode2 = 0;
  if (!g_definitionFlow.pointInput) return 1;
  static constexpr const char* kTitles[] = {"  [ ワイヤー加工 ] : 開始点を入力して下さい ",
                                            "  [ ワイヤー加工 ] : 終了点を入力して下さい ",
                                            "  [ ワイヤー加工 ] : スケール中心を入力して下さい "};
  static constexpr const char* kX[] = {"［Sx］＝ ", "［Ex］＝ ", "［Cx］＝ "};
  static constexpr const char* kY[] = {"［Sy］＝ ", "［Ey］＝ ", "［Cy］＝ "};
  which = std::clamp(which, 0, 2);
  MachiningDefinition& d = Def();
  StepCondition& s1 = d.steps[0];
  constexpr int kCentreEntry = 19;  // the surface's X/Y entry of the scale centre
  double x = which == 0 ? d.value[3] : which == 1 ? s1.value312 : g_curSurface.x[kCentreEntry];
  double y = which == 0 ? d.value[4] : which == 1 ? s1.value320 : g_curSurface.y[kCentreEntry];
  if (!g_definitionFlow.pointInput(kTitles[which], kX[which], kY[which], x, y)) return 1;
  ++g_definitionPickStep;
  if (which == 0) {
    d.value[3] = x, d.value[4] = y;
    s1.value272 = x, s1.value280 = y;
  } else if (which == 1) {
    s1.value312 = x, s1.value320 = y;
  } else {
    s1.value64 = x, s1.value72 = y;
    g_curSurface.x[kCentreEntry] = x, g_curSurface.y[kCentreEntry] = y;
  }
  return 0;
}

}  // namespace dorn
