#include "kelto_dorn/machining/definition_resets.h"

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/machining/definition_slots.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/tooldb/atc_table.h"

namespace dorn {
namespace {

// The global-Z switch value that makes the work top the drawing's global Z.
constexpr std::int32_t kGlobalZTop = 9999;

void CheckIndex(int index, int count, const char* what) {
  if (index < 0 || index >= count) {
    throw std::out_of_range(std::string(what) + " " + std::to_string(index) + " outside 0.." +
                            std::to_string(count - 1));
  }
}

void ResetGeneralFields(MachiningDefinition& d, const handover::MachiningDefaults& defaults) {
  d.kind = 0;
  d.number = 0;
  d.generalA = defaults.generalA;
  d.generalB = defaults.generalB;
  for (std::int32_t& v : d.general16) v = 0;
  d.general36 = 0;
  d.value[0] = 1.0;
  d.value[1] = 0.01;
  d.value[2] = d.value[3] = d.value[4] = 0.0;
  d.zOrigin = defaults.originZ;
  d.holeIPoint = defaults.holeIPoint;
  d.holeRPoint = defaults.holeRPoint;
  d.holeThroughAmount = defaults.holeThroughAmount;
}

void ResetConditionBlocks(MachiningDefinition& d) {
  for (RotationEntry& r : d.rotations) {
    r.active = r.option = r.axis = 0;
    r.angle = r.centre[0] = r.centre[1] = 0.0;
  }
  for (MoveEntry& m : d.moveEntries) {
    m.word0 = m.word4 = m.figureKey = 0;
    m.value[0] = m.value[1] = m.value[2] = 0.0;
  }
  for (MultiPieceEntry& m : d.multiPieceEntries) {
    for (std::int32_t& w : m.word) w = 0;
    m.figureKey = 0;
    m.value[0] = m.value[1] = m.value[2] = 0.0;
  }
  d.cornerSwitch = 0;
  d.cornerDistance = g_lastCornerDistance;
  d.cornerRate = g_lastCornerRate;
  d.shrinkZ = 0.0;
}

// The blank tool record, cleared and unnumbered, copied into every step tool
// with the defaults' spindle speed and feed.
void ResetStepTools(MachiningDefinition& d, DocAtcTable& atc, const handover::MachiningDefaults& defaults) {
  ClearAtcRecord(atc, DocAtcTable::kBlankToolSlot);
  AtcRecord& blank = atc.Record(DocAtcTable::kBlankToolSlot);
  blank.atcNumber = 0;
  for (AtcRecord& tool : d.stepTools) {
    CopyRecord168(tool, blank);
    tool.feed = static_cast<float>(defaults.toolFeed);
    tool.spindleSpeed = defaults.spindleSpeed;
  }
}

}  // namespace

int ResetMachiningRecord(DocAtcTable& atc) {
  MachiningDefinition& d = g_curMachiningDef;
  const handover::MachiningDefaults& defaults = g_machiningDefaults;
  ResetGeneralFields(d, defaults);
  for (int row = 0; row < kCheckSurfaceRowCount; ++row) ClearFlagTriple(row);
  for (int entry = 0; entry < kFigureEntryCount; ++entry) ClearItemRecord(entry);
  ResetConditionBlocks(d);
  for (int item = 0; item < kCurveItemCount; ++item) ClearToolSlot(item);
  for (int step = 0; step < kStepCount; ++step) ClearStepCondition(step);
  ResetStepTools(d, atc, defaults);
  std::memset(d.processName, 0, sizeof d.processName);
  std::memset(d.machineName, 0, sizeof d.machineName);
  for (std::int32_t& v : d.general16068) v = 0;
  for (std::int32_t& v : d.reserved16080) v = 0;
  return 0;
}

void ClearStepCondition(int step) {
  CheckIndex(step, kStepCount, "step");
  StepCondition& s = g_curMachiningDef.steps[step];
  const handover::MachiningDefaults& defaults = g_machiningDefaults;
  // Two 4-byte gaps are not part of any field and keep what they hold.
  std::uint8_t gap36[4], gap164[4];
  std::memcpy(gap36, s.reserved36, 4);
  std::memcpy(gap164, s.reserved164, 4);
  s = StepCondition{};
  std::memcpy(s.reserved36, gap36, 4);
  std::memcpy(s.reserved164, gap164, 4);
  s.colour = 1;
  s.depth = g_globalZMode == kGlobalZTop ? g_globalZ : 0.0;
  s.toolDownAmount = defaults.toolDownAmount;
  s.downFeed = defaults.downFeed;
  s.toolMoveZ = defaults.moveZ;
  s.feedCode = defaults.feedCode;
  s.secondFeedCode = defaults.feedCode;
}

void ClearToolSlot(int item) {
  CheckIndex(item, kCurveItemCount, "curve-list item");
  g_curMachiningDef.curves[item] = CurveListItem{};
}

void ClearFlagTriple(int row) {
  CheckIndex(row, kCheckSurfaceRowCount, "check surface row");
  g_curMachiningDef.checkSurfaces[row] = CheckSurfaceRow{1, 1, 0};
}

void ClearItemRecord(int entry) {
  CheckIndex(entry, kFigureEntryCount, "figure entry");
  MachiningFigureEntry& e = g_curMachiningDef.figures[entry];
  e.word0 = e.figureKey = e.word8 = e.word12 = e.word16 = 0;
  e.value = 0.0;
}

void CopyMachiningRecord(StepCondition& destination, const StepCondition& source) {
  std::memcpy(&destination, &source, sizeof(StepCondition));
}

void ClearMachiningTable(DefinitionSlots& slots, DocAtcTable& atc) {
  ResetMachiningRecord(atc);
  ClearDefinitionIndexTable(g_machiningIndexTable);
  slots.FillAll(g_curMachiningDef);
  MachiningOrderValid = 0;
}

void ComputeRecordDepth(int step) {
  CheckIndex(step, kStepCount, "step");
  StepCondition& s = g_curMachiningDef.steps[step];
  const AtcRecord& tool = g_curMachiningDef.stepTools[step];
  double d = std::fabs(tool.cornerRadius) + std::fabs(g_curMachiningDef.holeThroughAmount) + std::fabs(g_globalZ) +
             tool.tipLength;
  if (g_globalZMode == kGlobalZTop) d -= std::fabs(g_globalZ);
  s.endDepth = -d;
  s.bottomZStock = 0.0;
  // The flute limits how deep the tool can cut below the start depth. A tool
  // without a flute length has no such limit (taking 0 as the limit would
  // leave the hole at its start depth).
  const double flute = tool.fluteLength;
  if (flute > 0.0 && std::fabs(s.endDepth - s.depth) >= flute) s.endDepth = s.depth - flute;
  s.bottomFlag = 1;
  s.endDepth = Round3(s.endDepth);
}

}  // namespace dorn
