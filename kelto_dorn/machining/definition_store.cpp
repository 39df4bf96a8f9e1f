#include "kelto_dorn/machining/definition_store.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/definition_slots.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/text.h"

namespace dorn {
namespace {

constexpr std::int32_t kFirstDefinitionNumber = 10000;
constexpr std::int32_t kDefinitionNumberStep = 1000;
// 200000 is never given as a definition number: it becomes 300000.
constexpr std::int32_t kSkippedDefinitionNumber = 200000;
constexpr std::int32_t kSkippedDefinitionReplacement = 300000;

constexpr std::int32_t kPFilletSurfaceKind = 0x7400;
constexpr std::int32_t kPencilFlag = 0x10;

void TakeFinite(double& destination, double value) {
  if (std::isfinite(value)) destination = value;
}

void SetIndexName(DefinitionIndexRecord& record, const char* patternUtf8, std::int32_t number) {
  const std::string& pattern = platform::Sjis(patternUtf8);
  const std::size_t mark = pattern.find("%d");
  std::string name = pattern.substr(0, mark) + std::to_string(number);
  if (mark != std::string::npos) name += pattern.substr(mark + 2);
  platform::SetFieldText(record.name, name);
}

// The step-1 values that a new definition of its kind starts with.
void SetFirstStepValues(MachiningDefinition& d) {
  StepCondition& step = d.steps[0];
  if (d.kind == static_cast<std::int32_t>(MachiningKind::CharacterContour)) step.contourCentreFlag = 1;
  if (d.kind == static_cast<std::int32_t>(MachiningKind::HelicalHole)) d.stepTools[0].pCode = 1.0f;
  const std::int32_t group = KindGroup(d.kind);
  if (group != kHoleGroup && group != kWireGroup) {
    step.toolDownAmount = g_machiningDefaults.toolDownAmount;
    step.downFeed = g_machiningDefaults.downFeed;
    step.toolMoveZ = g_machiningDefaults.moveZ;
  }
}

}  // namespace

const char* DefaultNamePatternUtf8(std::int32_t kind, const FilletSurface& surface) {
  switch (static_cast<MachiningKind>(kind)) {
    case MachiningKind::CharacterContour:
      return "文字加工_%d";
    case MachiningKind::PlaneContour:
      return "輪郭加工_%d";
    case MachiningKind::Hole:
      return "穴加工_%d";
    case MachiningKind::HelicalHole:
      return "ヘリカル加工_%d";
    case MachiningKind::DeepHole:
      return "深穴高速加工_%d";
    case MachiningKind::FourAxisWire:
      return "４軸ワイヤー_%d";
    case MachiningKind::TwoAxisWire:
      return "２軸ワイヤー_%d";
    case MachiningKind::TwoAndHalfAxis:
      return "２・５軸_%d";
    case MachiningKind::Taper:
      return "テーパー加工_%d";
    case MachiningKind::ThreeAxisSurface:
      return "３軸曲面_%d";
    case MachiningKind::Model:
      return "モデル加工_%d";
    case MachiningKind::Fillet:
      if (surface.surfaceKind == kPFilletSurfaceKind) return "Ｐフィレット_%d";
      if ((surface.flagByte & kPencilFlag) != 0) return "ペンシル加工_%d";
      return "フィレット_%d";
    case MachiningKind::AAxisScrew:
      return "スクリュー_%d";
    default:
      return nullptr;
  }
}

std::int32_t NextDefinitionNumber() {
  const int n = g_machiningCount;
  if (n <= 0) return kFirstDefinitionNumber;
  std::uint32_t highest = 0;
  const int stored = std::min(n, kMachiningSlotCount);
  for (int i = 0; i < stored; ++i) {
    highest = std::max(highest, static_cast<std::uint32_t>(g_machiningIndexTable.records[i].key));
  }
  const std::int32_t number = static_cast<std::int32_t>(highest + kDefinitionNumberStep);
  return number == kSkippedDefinitionNumber ? kSkippedDefinitionReplacement : number;
}

int AssignDefinitionNumber(const FilletSurfaceLookup& lookupFilletSurface) {
  MachiningDefinition& d = g_curMachiningDef;
  const std::int32_t number = NextDefinitionNumber();
  d.number = number;

  FilletSurface surface;
  if (d.kind == static_cast<std::int32_t>(MachiningKind::Fillet) && lookupFilletSurface) {
    surface = lookupFilletSurface(d.curves[0].key).value_or(FilletSurface{});
  }
  // The index record of the definition in progress; with 512 definitions
  // there is no room for one (an append is then refused when storing).
  const int n = g_machiningCount;
  if (n >= 0 && n < kMachiningSlotCount) {
    DefinitionIndexRecord& record = g_machiningIndexTable.records[n];
    record.key = number;
    record.slot = g_curDefinitionSlot;
    record.kindCode = d.kind;
    if (const char* pattern = DefaultNamePatternUtf8(d.kind, surface)) SetIndexName(record, pattern, number);
  }

  // A new definition starts with no pick position of an earlier one.
  g_savedStepIndex = 0;
  g_savedRowIndex = 0;
  SetFirstStepValues(d);
  // The next palette colour after the curve's; a damaged curve colour at the
  // top of the int range stays as it is rather than overflowing.
  const std::int32_t curveColour = g_curCurveRecord.colour;
  d.steps[0].colour = curveColour < INT_MAX ? curveColour + 1 : curveColour;
  return d.steps[0].colour;
}

void UpdateDefaultsFromDefinition(const MachiningDefinition& d) {
  handover::MachiningDefaults& m = g_machiningDefaults;
  const StepCondition& step = d.steps[0];
  const AtcRecord& tool = d.stepTools[0];
  const std::int32_t group = KindGroup(d.kind);
  if (group == kWireGroup) {
    TakeFinite(m.wireDivision, step.value264);
    TakeFinite(m.wireStock, step.contourStock);
  } else {
    if (d.kind == static_cast<std::int32_t>(MachiningKind::Hole)) {
      TakeFinite(m.holeIPoint, d.holeIPoint);
      TakeFinite(m.holeThroughAmount, d.holeThroughAmount);
    } else {
      TakeFinite(m.originZ, d.zOrigin);
      TakeFinite(m.toolDownAmount, step.toolDownAmount);
      TakeFinite(m.downFeed, step.downFeed);
      TakeFinite(m.feedCode, step.feedCode);
    }
    if (step.toolMoveZ > 0.0) TakeFinite(m.moveZ, step.toolMoveZ);
    m.generalB = d.generalB;
  }
  // The tool never moves above the Z origin.
  if (m.moveZ > m.originZ) m.moveZ = m.originZ;
  m.generalA = d.generalA;
  TakeFinite(m.toolFeed, tool.feed);
  m.spindleSpeed = tool.spindleSpeed;
}

bool StoreMachiningDefinition(int result, DefinitionSlots& slots, DocAtcTable& atc, const StoreServices& services) {
  const bool reEdit = g_definitionEditMode == kEditModeStoredSlot;
  if (reEdit) g_definitionEditMode = kEditModeReturnToList;

  bool stored = false;
  if (result > 0) {
    const int slot = g_curDefinitionSlot;
    const bool append = (!reEdit && g_definitionEditMode == kEditModeNew) || slot == g_machiningCount;
    if (append && g_machiningCount >= kMachiningSlotCount) {
      // No room for another definition: say so instead of losing it silently.
      ShowErrorCode(kErrorMachiningFull);
    } else if (slot < 0 || slot > g_machiningCount) {
      // A slot behind the packed definitions would leave a hole in the table.
      ShowErrorCode(kErrorMachiningFull);
    } else {
      if (g_curMachiningDef.kind == static_cast<std::int32_t>(MachiningKind::FourAxisWire) &&
          services.registerWireSurface) {
        services.registerWireSurface();
      }
      stored = PutMachiningDefinition(slots, slot);
      if (stored) {
        UpdateDefaultsFromDefinition(g_curMachiningDef);
        if (append) ++g_machiningCount;
        MachiningOrderValid = 0;
      }
    }
  }

  if (services.resetFigureAndSurface) services.resetFigureAndSurface();
  ResetMachiningRecord(atc);
  if (g_machiningCount >= 0 && g_machiningCount < kMachiningSlotCount) {
    DefinitionIndexRecord& next = g_machiningIndexTable.records[g_machiningCount];
    next.key = 0;
    next.slot = 0;
    next.kindCode = 0;
    std::memset(next.name, 0, sizeof next.name);
  }
  if (services.saveDrawing) services.saveDrawing();
  return stored;
}

}  // namespace dorn
