#include "kelto_dorn/machining/hole_rules.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/hole_fields.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/tooldb/atc_table.h"
#include "kelto_dorn/tooldb/hole_process_record.h"
#include "platform/text.h"

namespace dorn {
namespace {

constexpr float kChamferTipAngle = 90.0f;
const double kCos45 = std::cos(std::numbers::pi / 4.0);

// A 90-degree tool chamfers the edge of the hole of diameter h.
void ApplyChamferRule(MachiningDefinition& d, StepCondition& c, AtcRecord& t, double h,
                      const handover::MachiningDefaults& defaults) {
  const double size = HoleChamferSize(d);
  if (t.diameter > 2.0 * size + h) {
    // The tool is wider than the chamfer: it plunges to the chamfer's width.
    c.endDepth = c.depth - (2.0 * size + h) / 2.0;
    c.contourStock = c.bottomZStock = c.chamferSize = 0.0;
    if (defaults.chamferSpindleSpeed > 0) t.spindleSpeed = defaults.chamferSpindleSpeed;
    if (defaults.chamferFeed > 0.0) t.feed = static_cast<float>(defaults.chamferFeed);
    return;
  }
  // Otherwise it goes round the hole at the cutting position offset.
  const double along = HoleChamferOffset(d) * kCos45;
  c.bottomZStock = 0.0;
  c.chamferSize = h;
  c.contourStock = along;
  c.downFeed = t.feed * HoleChamferDownRate(d);
  c.feedCode = t.feed * HoleChamferApproachRate(d);
  c.endDepth = c.depth - (along + size);
}

void CopyStepRow(MachiningDefinition& d, int to, int from) {
  CopyMachiningRecord(d.steps[to], d.steps[from]);
  CopyRecord168(d.stepTools[to], d.stepTools[from]);
}

}  // namespace

bool HoleStepHasTool(const MachiningDefinition& d, int step) { return d.stepTools[step].diameter != 0.0f; }

void ApplyHoleStepRules(MachiningDefinition& d, std::optional<double> selectedHoleDiameter,
                        const handover::MachiningDefaults& defaults) {
  double h = 0.0;
  const std::int32_t through = d.steps[0].switch8;
  for (int s = 0; s < kHoleStepRows; ++s) {
    AtcRecord& t = d.stepTools[s];
    StepCondition& c = d.steps[s];
    if (t.tipAngle != kChamferTipAngle) h = std::max(h, static_cast<double>(t.diameter));
    c.switch8 = through;
    // A blade length of 0 is a tool without a recorded blade: no limit.
    const double blade = t.fluteLength;
    if (blade > 0.0 && std::fabs(c.endDepth - c.depth) >= blade) {
      if (c.bottomFlag == 0) {
        c.endDepth = c.depth - blade;
        c.bottomZStock = 0.0;
      }
      c.bottomFlag = 1;
    }
    if (t.tipAngle == kChamferTipAngle) {
      if (s == 0 && selectedHoleDiameter) h = *selectedHoleDiameter;
      ApplyChamferRule(d, c, t, h, defaults);
    }
  }
}

double DeepestHoleDepth(const MachiningDefinition& d) {
  double deepest = d.steps[0].depth;
  for (int s = 0; s < kHoleStepRows; ++s) {
    if (d.stepTools[s].atcNumber != 0) deepest = std::min(deepest, d.steps[s].endDepth);
  }
  return deepest;
}

double HoleDepthFromTyped(const MachiningDefinition& d, double v) { return v > d.steps[0].depth ? -v : v; }

bool SelectHoleStep(DocAtcTable& atc) {
  int n = g_stepButtonNumber & 0xF;
  if (n > kHoleStepRows) n = 0;
  g_curStepIndex = n - 1;
  MachiningDefinition& d = g_curMachiningDef;
  if (n < 1) return false;
  if (g_stepDeleteMode != 0) {
    // The last row cannot be removed: there is no row behind it to move up
    // but the reserved ninth.
    if (n > kHoleStepRows - 1) return false;
    for (int k = n - 1; k < kHoleStepRows; ++k) CopyStepRow(d, k, k + 1);
    MachiningOrderValid = 0;
    return true;
  }
  if (g_stepInsertMode == 0) return false;
  for (int k = kHoleStepRows - 1; k >= n; --k) CopyStepRow(d, k, k - 1);
  ClearAtcRecord(atc, DocAtcTable::kBlankToolSlot);
  AtcRecord& blank = atc.Record(DocAtcTable::kBlankToolSlot);
  blank.atcNumber = 0;
  CopyRecord168(d.stepTools[n - 1], blank);
  d.stepTools[n - 1].diameter = -1.0f;
  d.steps[n - 1].endDepth = 0.0;
  MachiningOrderValid = 0;
  return true;
}

void ApplyHoleProcessToDefinition(MachiningDefinition& d, const HoleProcessRecord& process) {
  for (int s = 0; s < kHoleStepRows; ++s) {
    AtcRecord& t = d.stepTools[s];
    CopyRecord168(t, process.rows[s]);
    t.inUse = process.rows[s].diameter != 0.0f ? 1 : 0;
    StepCondition& c = d.steps[s];
    c.switch8 = c.bottomFlag = 0;
    c.endDepth = c.bottomZStock = 0.0;
  }
  // The process's fields are wider than the definition's: cut on a
  // character boundary so nothing runs into the words behind them.
  platform::SetFieldText(d.machineName, platform::FieldText(process.machineName));
  platform::SetFieldText(d.processName, platform::FieldText(process.name));
}

std::optional<double> HoleToolRadius(const MachiningDefinition& d) {
  int k = 0;
  while (k < kHoleStepRows && HoleStepHasTool(d, k)) ++k;
  // A blank inserted row (diameter -1) counts as a row but is no tool.
  for (int s = k - 1; s >= 0; --s) {
    if (d.stepTools[s].diameter > 0.0f) return d.stepTools[s].diameter * 0.5;
  }
  return std::nullopt;
}

void StampHoleCurves(const MachiningDefinition& d, std::int32_t kind, std::optional<double> radius) {
  const int figures = GetFigureCount(kTableCurves);
  for (int item = 0; item < kCurveItemCount && d.curves[item].key != 0; ++item) {
    const int index = FindCurveByKey(d.curves[item].key);
    if (index < 0 || index >= kCurveTableSize) continue;
    CurveRecord& curve = g_curveTable[static_cast<std::size_t>(index)];
    curve.flags = (curve.flags & 0xFF) | kind;
    if (curve.kind != kCurveKindHoleGroup || !radius) continue;
    if (curve.first < 0 || curve.end > figures || curve.first >= curve.end) continue;
    for (int i = curve.first; i < curve.end; ++i) {
      GetFigure(kTableCurvesAlias, i);
      g_curFigure.radius = *radius;
      PutFigure(kTableCurvesAlias, i);
    }
  }
}

double HelixDiameter(double holeDiameter, double toolDiameter, bool g41) {
  return g41 ? holeDiameter : holeDiameter - toolDiameter;
}

double CutPerRevolution(double angleDegrees, double helixDiameter) {
  return std::tan(angleDegrees * std::numbers::pi / 180.0) * std::numbers::pi * helixDiameter;
}

double SlopeAngleOfCut(double cut, double helixDiameter) {
  return VectorAngle(std::numbers::pi * helixDiameter, cut);
}

}  // namespace dorn
