// The generators of the contour family (plane contour, 2.5-axis, taper,
// 3-axis surface), the character contour, the model and fillet kinds, the
// wire kinds and the A-axis screw. Each walks the steps of the loaded
// definition and, per figure item, writes the item's command elements with
// the shared writers of contour_writers.cpp.
#include <cmath>
#include <cstdio>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/camdata/cam_builder.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/text.h"

namespace dorn {

namespace {

namespace code = handover::element_code;

constexpr std::int32_t kFeedGiven = 0x9000;
// After each figure item the numbers move on by this much.
constexpr std::int32_t kItemNumberGap = 100;
// Hole-point curves are point groups: their points go into the stream and
// the item has no contour commands.
constexpr std::int32_t kPointGroupCurveKind = 1;
// The 2.5-axis items are renumbered from current + 2 in steps of 5.
constexpr std::int32_t kTwoAndHalfFirst = 2;
constexpr std::int32_t kTwoAndHalfStep = 5;
// The screw generator's forms.
constexpr std::int32_t kScrewMarker = code::kScrewMarker;
constexpr std::int32_t kScrewSecondForm = 1;

double KeyValue(std::int32_t key) { return key + key * 0.000001; }

int CurveItemCount(const MachiningDefinition& d) {
  int n = 0;
  while (n < kCurveItemCount && d.curves[n].key != 0) ++n;
  return n;
}

bool StepInUse(const MachiningDefinition& d, int step) { return d.stepTools[step].inUse != 0; }

}  // namespace

void CCamDataBuilder::GenerateContour(int counter) {
  int generated = 0;
  for (int step = 0; step < kStepCount && StepInUse(g_curMachiningDef, step); ++step) {
    GenerateContourStep(step, counter + generated++, false);
  }
}

void CCamDataBuilder::GenerateCharacter(int counter) {
  int generated = 0;
  for (int step = 0; step < kStepCount && StepInUse(g_curMachiningDef, step); ++step) {
    GenerateContourStep(step, counter + generated++, true);
  }
}

void CCamDataBuilder::GenerateContourStep(int step, int counter, bool character) {
  MachiningDefinition& d = g_curMachiningDef;
  s_.step = step;
  if (d.kind == static_cast<std::int32_t>(MachiningKind::TwoAndHalfAxis)) PrepareTwoAndHalfAxis(step);
  BeginProcess(step, counter);
  WriteProcessParameters();
  WriteConditionBlocks();
  const bool taper = d.kind == static_cast<std::int32_t>(MachiningKind::Taper);
  const bool twoPass = d.curves[0].type == 2;
  int items = CurveItemCount(d);
  if (twoPass && !taper && items > 1) items = 1;  // the two-pass writer takes the first item alone
  for (int i = 0; i < items; ++i) {
    const CurveListItem item = d.curves[i];
    // A 3-axis surface item names a surface, the others a curve.
    const CurveRecord* curve = nullptr;
    if (d.kind == static_cast<std::int32_t>(MachiningKind::ThreeAxisSurface)) {
      if (FindSurfaceByKey(item.key) == kNone) {
        Skip(DefinitionName() + platform::Sjis(": 曲面が見つかりません (") + std::to_string(item.key) + ")");
        continue;
      }
    } else if ((curve = FindItemCurve(item)) == nullptr) {
      continue;
    }
    s_.increment = ItemIncrement(i);
    s_.currentNumber += s_.increment;
    s_.increment = 0;
    if (curve != nullptr && !character && curve->kind == kPointGroupCurveKind) {
      WritePointGroup(*curve);
    } else {
      if (character && curve != nullptr) WriteCharacterGeometry(*curve);
      if (taper) WriteTaperGroup(item);
      WriteContourItem(step, item, i == items - 1);
    }
    s_.currentNumber += kItemNumberGap;
  }
}

void CCamDataBuilder::WriteContourItem(int step, const CurveListItem& item, bool last) {
  const MachiningDefinition& d = g_curMachiningDef;
  const StepCondition& c = d.steps[step];
  s_.escaped = false;
  const bool suppressed = WriteCutIn(step);
  WriteApproach(step);
  WriteJoint(step, suppressed);
  WriteContourCommand(step, item, 0);
  if (c.stepMode == 0 && c.word208 == 1) {
    WriteOverrun(step, true);
    WriteContourCommand(step, item, 0x50000);
  }
  WriteOverrun(step, false);
  const bool escaped = WriteEscape(step);
  if (escaped || JointTest(step)) WriteProcessEnd();
  WriteItemEnd(last && !escaped ? 10 : 0);
}

// A point-group curve: its points and arcs, numbered with the item.
void CCamDataBuilder::WritePointGroup(const CurveRecord& curve) {
  const int end = std::min(curve.end, GetFigureCount(kTableCurves));
  for (int i = std::max(curve.first, 0); i < end; ++i) WriteCurveFigure(i, s_.currentNumber);
}

// The figures of a character curve, with a point at the start of each run of
// one figure number and one at its end, carrying the tangents there. They
// are numbered with the curve's key, which the contour command names.
void CCamDataBuilder::WriteCharacterGeometry(const CurveRecord& curve) {
  const int end = std::min(curve.end, GetFigureCount(kTableCurves));
  const int first = std::max(curve.first, 0);
  auto startTangent = [](const FigureRecord& f, double& x, double& y) {
    if ((f.kind & 0xFF) == kKindArc) {
      const double rx = f.start.x - f.centre.x, ry = f.start.y - f.centre.y;
      const double r = std::hypot(rx, ry);
      const double sense = f.radius >= 0.0 ? 1.0 : -1.0;  // counter-clockwise for a positive radius
      x = r > 0.0 ? -sense * ry / r : 1.0;
      y = r > 0.0 ? sense * rx / r : 0.0;
    } else {
      x = f.dir.x;
      y = f.dir.y;
    }
  };
  auto endTangent = [](const FigureRecord& f, double& x, double& y) {
    if ((f.kind & 0xFF) == kKindArc) {
      const double rx = f.end.x - f.centre.x, ry = f.end.y - f.centre.y;
      const double r = std::hypot(rx, ry);
      const double sense = f.radius >= 0.0 ? 1.0 : -1.0;
      x = r > 0.0 ? -sense * ry / r : 1.0;
      y = r > 0.0 ? sense * rx / r : 0.0;
    } else {
      x = f.dir.x;
      y = f.dir.y;
    }
  };
  for (int i = first; i < end; ++i) {
    GetFigure(kTableCurves, i);
    const FigureRecord f = g_curFigure;
    const bool runStart = i == first || [&] {
      GetFigure(kTableCurves, i - 1);
      return g_curFigure.number != f.number;
    }();
    double tx = 0.0, ty = 0.0;
    if (runStart) {
      startTangent(f, tx, ty);
      WritePointRecord(f.start.x, f.start.y, tx, ty, curve.key);
    }
    WriteCurveFigure(i, curve.key);
    const bool runEnd = i + 1 == end || [&] {
      GetFigure(kTableCurves, i + 1);
      return g_curFigure.number != f.number;
    }();
    if (runEnd) {
      endTangent(f, tx, ty);
      WritePointRecord(f.end.x, f.end.y, tx, ty, curve.key);
    }
  }
}

// A taper item: its figure group, naming the item's curve and, when given,
// its second figure.
void CCamDataBuilder::WriteTaperGroup(const CurveListItem& item) {
  work_.number = s_.currentNumber + 1;
  work_.code = 0x3100;
  work_.d4 = KeyValue(item.key);
  if (item.secondKey != 0) {
    work_.flags = 0x8;
    work_.d1 = KeyValue(item.secondKey);
  }
  work_.d5 = item.value[0];
  WriteCamRecord();
}

// Before each step of a 2.5-axis definition: the items are renumbered from
// current + 2 in steps of 5, and each writes its base line and a figure
// group one above it. The tool's cutting floats count as 0 meanwhile when
// the definition's integer at 32 is 0.
void CCamDataBuilder::PrepareTwoAndHalfAxis(int step) {
  MachiningDefinition& d = g_curMachiningDef;
  AtcRecord& tool = d.stepTools[step];
  const StepCondition& c = d.steps[step];
  const float saved40 = tool.cornerRadius, saved44 = tool.flatRadius;
  if (d.general16[4] == 0) {
    tool.cornerRadius = 0.0f;
    if (c.compensationOn != 0) tool.flatRadius = 0.0f;
  }
  std::int32_t number = s_.currentNumber + kTwoAndHalfFirst;
  const int items = CurveItemCount(d);
  for (int i = 0; i < items; ++i, number += kTwoAndHalfStep) {
    const CurveListItem& item = d.curves[i];
    const int index = FindCurveByKey(item.key);
    if (index == kNone) continue;
    const CurveRecord& curve = g_curveTable[static_cast<std::size_t>(index)];
    if (curve.first < curve.end && curve.first < GetFigureCount(kTableCurves)) {
      GetFigure(kTableCurves, curve.first);
      if (item.word8 != 0) {
        // The item's line turned by its angle about its start.
        const double a = item.value[0] * kRadiansPerDegree;
        FigureRecord& f = g_curFigure;
        const double ca = std::cos(a), sa = std::sin(a);
        const double ex = f.end.x - f.start.x, ey = f.end.y - f.start.y;
        f.end = {f.start.x + ex * ca - ey * sa, f.start.y + ex * sa + ey * ca};
        f.dir = {f.dir.x * ca - f.dir.y * sa, f.dir.x * sa + f.dir.y * ca};
      }
      work_.number = number;
      WriteGeometryRecord();
    }
    work_.number = number + 1;
    work_.code = 0x3100;
    work_.flags = item.word8 + 1;
    work_.d1 = KeyValue(item.key);
    work_.d4 = KeyValue(item.type);
    if (c.surfaceKey != 0) {
      work_.d5 = KeyValue(c.surfaceKey);
      work_.flags |= 0x110;
    } else {
      work_.d5 = c.endDepth;
      work_.flags |= 0x100;
    }
    WriteCamRecord();
  }
  tool.cornerRadius = saved40;
  tool.flatRadius = saved44;
}

void CCamDataBuilder::GenerateModel(int counter) {
  MachiningDefinition& d = g_curMachiningDef;
  int generated = 0;
  for (int step = 0; step < kStepCount && StepInUse(d, step); ++step) {
    s_.step = step;
    BeginProcess(step, counter + generated++);
    WriteProcessParameters();
    WriteConditionBlocks();
    const StepCondition& c = d.steps[step];
    const int items = CurveItemCount(d);
    for (int i = 0; i < items; ++i) {
      const CurveListItem item = d.curves[i];
      if (FindSurfaceByKey(item.key) == kNone) {
        Skip(DefinitionName() + platform::Sjis(": 曲面が見つかりません (") + std::to_string(item.key) + ")");
        continue;
      }
      s_.currentNumber += ItemIncrement(i);
      s_.increment = 0;
      s_.escaped = false;
      for (int pass = 0; pass < (c.word208 == 1 ? 2 : 1); ++pass) {
        if (pass == 1) WriteOverrun(step, true);
        WriteCutIn(step);
        work_.number = s_.currentNumber;
        work_.code = 0x6400;
        work_.d4 = d.value[0];
        WriteCamRecord();
        WriteApproach(step);
        if (pass == 0) WriteJoint(step, false);
        WriteContourCommand(step, item, 0);
      }
      WriteOverrun(step, false);
      WriteEscape(step);
      WriteProcessEnd();
      WriteItemEnd(i == items - 1 && !s_.escaped ? 10 : 0);
      s_.currentNumber += kItemNumberGap;
    }
  }
}

// The wire kinds: their start record naming the wire surface, then the one
// step; a second cut runs over the same contour again.
void CCamDataBuilder::GenerateWire(int counter) {
  MachiningDefinition& d = g_curMachiningDef;
  if (!StepInUse(d, 0)) return;
  const StepCondition& c = d.steps[0];
  work_.number = s_.currentNumber;
  work_.code = 0x3100;
  if (d.curves[0].key != 0) work_.d4 = KeyValue(d.curves[0].key);
  WriteCamRecord();
  s_.step = 0;
  BeginProcess(0, counter);
  WriteProcessParameters();
  const CurveListItem item = d.curves[0];
  s_.currentNumber += 1;
  s_.increment = 0;
  WriteCutIn(0);
  WriteApproach(0);
  WriteContourCommand(0, item, 0);
  if (c.zone2Key != 0 || c.zone2X != 0.0 || c.zone2Y != 0.0) WriteOverrun(0, false);
  WriteEscape(0);
  if (c.word208 == 1) {
    WriteCutIn(0);
    WriteApproach(0);
    work_.number = s_.currentNumber;
    work_.code = 0x7100;
    work_.flags = 0x59000;
    work_.d4 = KeyValue(item.key);
    work_.d7 = d.stepTools[0].feed;
    WriteCamRecord();
    WriteOverrun(0, false);
    WriteApproach(0);
    WriteContourCommand(0, item, 0);
    WriteOverrun(0, false);
    WriteEscape(0);
  }
  s_.currentNumber += kItemNumberGap;
}

void CCamDataBuilder::GenerateScrew(int counter) {
  MachiningDefinition& d = g_curMachiningDef;
  const CurveListItem first = d.curves[0];
  const bool secondForm = first.word8 == kScrewSecondForm;
  work_.number = s_.currentNumber;
  work_.code = kScrewMarker;
  if (secondForm) work_.flags = 1;
  WriteCamRecord();
  work_.number = s_.currentNumber + 1;
  work_.code = 0x3900;
  work_.flags = 0x110;
  work_.d5 = first.type + first.key * 0.000001;
  WriteCamRecord();
  char line[96];
  std::snprintf(line, sizeof line, "%s %4.3f%s)", secondForm ? "( SCREW_YAMAZAKI [W.U.H]" : "( SCREW_FANUC [X.Z.A]",
                d.value[0], platform::Sjis("φ").c_str());
  WriteProgramLine(line, s_.currentNumber + 2);
  int generated = 0;
  for (int step = 0; step < kStepCount && StepInUse(d, step); ++step) {
    s_.step = step;
    StepCondition& c = d.steps[step];
    BeginProcess(step, counter + generated++);
    WriteProcessParameters();
    work_.number = s_.currentNumber;
    work_.code = 0x7300;
    work_.flags = c.word152 == 4 ? 0x130 : 0x110;
    work_.d4 = c.zone1X;
    work_.d5 = c.toolMoveZ;
    WriteCamRecord();
    const bool secondPassBefore = c.word208 != 0;
    c.switch8 = 0;
    c.word208 = 1;
    c.repeat[0].inUse = 1;
    c.repeat[0].kind = 10;
    c.repeat[1].inUse = 0;
    s_.increment = 0;
    WriteJoint(step, false);
    WriteApproach(step);
    work_.number = s_.currentNumber;
    work_.code = 0x7F00;
    work_.flags = d.general36 != 0 ? 0x59110 : 0x9110;
    work_.int1 = c.colour;
    work_.d0 = c.bottomZStock;
    work_.d5 = KeyValue(first.key);
    work_.d6 = c.chamferSize * 0.5;
    work_.d7 = d.stepTools[step].feed;
    WriteCamRecord();
    work_.number = s_.currentNumber;
    work_.code = secondPassBefore ? 0x7410 : 0x7400;
    work_.flags = 0x9010;
    work_.d4 = c.zone2X;
    work_.d7 = c.value216;
    WriteCamRecord();
    s_.currentNumber += kItemNumberGap;
  }
  s_.screwWritten = true;
}

}  // namespace dorn
