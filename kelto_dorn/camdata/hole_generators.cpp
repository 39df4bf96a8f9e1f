// The hole generators: drilling (0xB400) over up to eight steps, helical
// (0xB800) and high-speed deep holes (0xBC00) for their first step. Per
// step: the process change (tool data, program numbers, tool change and
// tool map record, hole process start, process parameters, check
// surfaces), the hole level record and the cut-in, then one hole cycle per
// hole figure of the curve list.
//
// The hole cycle's fields are listed where the record is declared
// (shared/handover/nc_element.h); the companion's hole output reads them.
#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/camdata/cam_builder.h"
#include "kelto_dorn/camdata/post_table.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/text.h"

namespace dorn {

namespace {

namespace code = handover::element_code;

constexpr std::int32_t kHoleCycle = 0x6800;
constexpr std::int32_t kHelicalCycle = 0x6B00;
constexpr std::int32_t kDeepHoleCycle = 0x6C00;
constexpr std::int32_t kHoleOutputSwitch = 0x9F00;
constexpr std::int32_t kHoleParameter = 0x6400;
constexpr std::int32_t kCutIn = 0x7300;
constexpr std::int32_t kHelix = 0x7B00;
constexpr std::int32_t kHoleSubprogram = 0xCC00;

// The drilling generator's steps: at most eight.
constexpr int kHoleSteps = 8;
// Forces a new process after a definition of another kind.
constexpr double kForcedAfterOtherKind = -780.0;
// Hole process start: flags, and the M code form for tapping cycles.
constexpr std::int32_t kHoleStartFlags = 0x8100;
constexpr std::int32_t kHoleStartWithMCode = 0x8110;
constexpr std::int32_t kTapCycle = 84;
constexpr std::int32_t kReverseTapCycle = 74;
// Hole cycle flags: the base, peck depth Q, dwell P, milled chamfer, feed.
constexpr std::int32_t kCycleFlags = 0x120;
constexpr std::int32_t kCyclePeck = 0x1;
constexpr std::int32_t kCycleDwell = 0x2;
constexpr std::int32_t kCycleMilled = 0x8;
constexpr std::int32_t kFeedGiven = 0x9000;
// Cut-in flags: return to the R level (G99) or to the start level (G98).
constexpr std::int32_t kCutInReturnToR = 0x4900;
constexpr std::int32_t kCutInReturnToStart = 0x4500;
// A chamfer tool has this point angle (degrees).
constexpr float kChamferPointAngle = 90.0f;
// The subprogram mark of the last hole item.
constexpr std::int32_t kLastHoleItem = 99;
// Curves of these kinds and above carry their hole at the curve's point,
// written after their figures under key + 1.
constexpr std::int32_t kLastFigureCurveKind = 4;
// After each step the numbers move on by this much.
constexpr std::int32_t kStepNumberGap = 100;

double KeyValue(std::int32_t key) { return key + key * 0.000001; }

bool ToolUsable(const AtcRecord& tool) {
  return tool.inUse != 0 && tool.atcNumber != 0 && tool.cannedCycle != 0 && tool.diameter >= 0.0f;
}

}  // namespace

const CurveRecord* CCamDataBuilder::FindItemCurve(const CurveListItem& item) {
  const int index = FindCurveByKey(item.key);
  if (index == kNone) {
    Skip(DefinitionName() + platform::Sjis(": 図面名が見つかりません (曲線 ") + std::to_string(item.key) + ")");
    return nullptr;
  }
  return &g_curveTable[static_cast<std::size_t>(index)];
}

void CCamDataBuilder::GenerateHole(int counter) {
  int generated = 0;
  for (int step = 0; step < kHoleSteps; ++step) {
    if (!ToolUsable(g_curMachiningDef.stepTools[step])) continue;
    GenerateHoleStep(step, counter + generated, kHoleCycle);
    ++generated;
  }
}

void CCamDataBuilder::GenerateHelicalOrDeepHole(int counter, std::int32_t cycleCode) {
  if (!ToolUsable(g_curMachiningDef.stepTools[0])) return;
  GenerateHoleStep(0, counter, cycleCode);
}

void CCamDataBuilder::GenerateHoleStep(int step, int counter, std::int32_t cycleCode) {
  const MachiningDefinition& d = g_curMachiningDef;
  s_.step = step;
  const bool changed = WriteHoleProcessChange(step, counter, cycleCode);
  if (cycleCode == kHelicalCycle) WriteHelixRecord(step);
  work_.number = s_.currentNumber;
  work_.code = kHoleParameter;
  work_.d4 = d.value[0];
  WriteCamRecord();
  WriteHoleCutIn(step, changed);

  int items = 0;
  while (items < kCurveItemCount && d.curves[items].key != 0) ++items;
  const bool subprogram = cycleCode == kHoleCycle && s_.pitInState == 1 && g_drawingHeader.holeSubprogram == 1;
  for (int i = 0; i < items; ++i) {
    const CurveRecord* curve = FindItemCurve(d.curves[i]);
    if (curve == nullptr) continue;
    if (cycleCode == kHelicalCycle) {
      WriteHelicalCycle(step, *curve);
    } else {
      WriteHoleCycle(step, cycleCode, *curve);
    }
    if (subprogram) WriteHoleSubprogramMark(step, i, i == items - 1);
  }
  WriteItemEnd(0);
  s_.currentNumber += kStepNumberGap;
}

bool CCamDataBuilder::WriteHoleProcessChange(int step, int counter, std::int32_t cycleCode) {
  const MachiningDefinition& d = g_curMachiningDef;
  ForceProcessChange(false);
  const bool holeBefore = s_.prevKind == static_cast<std::int32_t>(MachiningKind::Hole) ||
                          s_.prevKind == static_cast<std::int32_t>(MachiningKind::DeepHole);
  if (!holeBefore) s_.prevCut40 = kForcedAfterOtherKind;
  if (!ProcessChanged(step)) {
    WriteToolData(8);
    WriteToolRecord(step);
    return false;
  }
  if (s_.toolWritten) {
    work_.number = s_.currentNumber;
    work_.code = code::kProcessEnd;
    WriteCamRecord();
  }
  WriteToolData(8);
  WriteProgramNumber(counter);
  WriteToolRecord(step);
  if (cycleCode == kHoleCycle) {
    work_.number = s_.currentNumber;
    work_.code = kHoleOutputSwitch;
    work_.flags = d.general16[0];  // the data format: 0 main program, 10 subprogram
    WriteCamRecord();
  }
  WriteHoleProcessStart(step);
  WriteProcessParameters();
  WriteCheckSurfaces();
  return true;
}

void CCamDataBuilder::WriteHoleProcessStart(int step) {
  const MachiningDefinition& d = g_curMachiningDef;
  const AtcRecord& tool = d.stepTools[step];
  work_.number = s_.currentNumber;
  work_.code = code::kProcessStartAtc;
  work_.flags = kHoleStartFlags;
  if (tool.cannedCycle == kTapCycle || tool.cannedCycle == kReverseTapCycle) {
    work_.flags = kHoleStartWithMCode;
    work_.d0 = tool.mCode;
  }
  if (s_.curMark != 0) work_.flags |= 0x1;
  if (s_.curM00 != 0) work_.flags |= 0x2;
  work_.d1 = tool.cornerRadius;
  work_.d2 = tool.flatRadius;
  work_.d3 = d.zOrigin;
  // A post that programs the tool tip starts the hole from the tip: the
  // corner radius, or the tip length of a pointed tool, above the origin.
  if (PostForDefinition(d.generalA).toolOrigin == 1) {
    work_.d3 += tool.cornerRadius > 0.0f ? tool.cornerRadius : tool.tipLength;
  }
  work_.d4 = d.value[3];
  work_.d5 = d.value[4];
  work_.d6 = tool.spindleSpeed;
  work_.d7 = tool.atcNumber;
  work_.int2 = tool.outputTNumber;
  WriteCamRecord();
}

// The cut-in carries the return level and the I point; it is repeated only
// when one of them, or the tool's H code, differs from the last hole's.
void CCamDataBuilder::WriteHoleCutIn(int step, bool processChanged) {
  const MachiningDefinition& d = g_curMachiningDef;
  const std::int32_t returnLevel = d.general16[1];  // 0 G98, 1 G99
  const std::int32_t hCode = d.stepTools[step].hCode;
  const bool differs =
      d.holeIPoint != s_.prevHoleIPoint || returnLevel != s_.prevHoleReturn || hCode != s_.prevHoleHCode;
  s_.prevHoleIPoint = d.holeIPoint;
  s_.prevHoleReturn = returnLevel;
  s_.prevHoleHCode = hCode;
  if (!processChanged && !differs) return;
  work_.number = s_.currentNumber;
  work_.code = kCutIn;
  work_.flags = returnLevel != 0 ? kCutInReturnToR : kCutInReturnToStart;
  work_.d5 = d.holeIPoint;
  work_.d6 = hCode;
  WriteCamRecord();
}

void CCamDataBuilder::WriteHoleCycle(int step, std::int32_t cycleCode, const CurveRecord& curve) {
  const MachiningDefinition& d = g_curMachiningDef;
  const AtcRecord& tool = d.stepTools[step];
  const StepCondition& c = d.steps[step];
  work_.number = s_.currentNumber + 1;
  work_.code = cycleCode;
  work_.flags = kCycleFlags;
  if (tool.pCode > 0.0f) {
    work_.flags |= kCycleDwell;
    work_.d3 = tool.pCode;
  }
  if (tool.peckDepth > 0.0f) {
    work_.flags |= kCyclePeck;
    work_.d2 = tool.peckDepth;
  }
  if (tool.feed > 0.0f) {
    work_.flags |= kFeedGiven;
    work_.d7 = tool.feed;
  }
  if (tool.tipAngle == kChamferPointAngle && c.chamferSize > 0.0) {
    // A chamfer milled round the hole: the circle it goes round and its down
    // and approach feeds take the places of the peck and dwell.
    work_.flags = (work_.flags & ~(kCyclePeck | kCycleDwell)) | kCycleMilled;
    work_.d8 = c.chamferSize;
    work_.d2 = c.downFeed;
    work_.d3 = c.feedCode;
  }
  work_.int1 = tool.atcNumber;
  work_.int2 = tool.outputTNumber;
  work_.d0 = tool.kCode;
  work_.d1 = d.holeRPoint;
  work_.d4 = KeyValue(curve.key + (curve.kind > kLastFigureCurveKind ? 1 : 0));
  work_.d5 = c.endDepth;
  work_.d6 = tool.cannedCycle;
  WriteCamRecord();
}

void CCamDataBuilder::WriteHelicalCycle(int step, const CurveRecord& curve) {
  const MachiningDefinition& d = g_curMachiningDef;
  const AtcRecord& tool = d.stepTools[step];
  const StepCondition& c = d.steps[step];
  work_.number = s_.currentNumber + 1;
  work_.code = kHelicalCycle;
  work_.flags = kCycleFlags | ((c.compensationOn & 0xF) == 1 ? 0x1 : 0);
  work_.int1 = c.colour;
  work_.d0 = c.chamferSize;  // the helix diameter
  work_.d1 = d.holeRPoint;
  work_.d2 = c.bottomZStock;
  work_.d3 = c.depth;
  work_.d4 = KeyValue(curve.key + (curve.kind > kLastFigureCurveKind ? 1 : 0));
  work_.d5 = c.endDepth + c.contourStock;
  work_.d6 = tool.pCode;
  if (tool.feed > 0.0f) {
    work_.flags |= kFeedGiven;
    work_.d7 = tool.feed;
  }
  WriteCamRecord();
}

// The helix of a helical hole: its diameter, slope direction and depths.
void CCamDataBuilder::WriteHelixRecord(int step) {
  const MachiningDefinition& d = g_curMachiningDef;
  const AtcRecord& tool = d.stepTools[step];
  const StepCondition& c = d.steps[step];
  const double angle = c.chamferTipDiameter * kRadiansPerDegree;  // the slope angle at 96
  work_.number = s_.currentNumber;
  work_.code = kHelix;
  work_.d6 = c.chamferSize;
  work_.d2 = std::cos(angle);
  work_.d3 = std::sin(angle);
  work_.d1 = tool.cornerRadius / work_.d2 + tool.flatRadius;
  work_.d0 = c.chamferSize - 2.0 * work_.d1;
  work_.d5 = c.endDepth + c.contourStock;
  work_.d8 = c.areaCutValue;
  WriteCamRecord();
}

void CCamDataBuilder::WriteHoleSubprogramMark(int step, int itemIndex, bool last) {
  const AtcRecord& tool = g_curMachiningDef.stepTools[step];
  work_.number = s_.currentNumber + 1;
  work_.code = kHoleSubprogram;
  work_.flags = tool.stepWord >= 1 ? tool.stepWord : 1;
  work_.int2 = itemIndex;
  if (last) work_.int3 = kLastHoleItem;
  WriteCamRecord();
}

}  // namespace dorn
