// The element writers of the contour, character, model and wire
// generators: process parameters and definition condition blocks at the
// start of a step, and per figure item the cut-in, approach, joint, contour
// command, overrun, escape and item end. Field numbers are those of the
// 96-byte record (d0 at offset 24); a reference to an element, curve or
// surface is written as its key value.
#include <cmath>
#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/camdata/cam_builder.h"
#include "kelto_dorn/machining/machining_state.h"

namespace dorn {

namespace {

namespace code = handover::element_code;

constexpr std::int32_t kNoFigure = 0xFFFF;
// Flags shared by several records.
constexpr std::int32_t kFeedGiven = 0x9000;
constexpr std::int32_t kReversedSide = 0x50000;
constexpr std::int32_t kPointGiven = 0x60;
// The cut-in's Z value that asks for the escape level instead.
constexpr double kEscapeLevel = -99999.0;
// Styles (step condition +4) and their contour codes.
constexpr std::int32_t kContour = 0x7100;
constexpr std::int32_t kContourOneWay = 0x7180;
constexpr std::int32_t kContourArea = 0x7140;
constexpr std::int32_t kSurfacePass = 0x8000;
constexpr std::int32_t kSurfacePassB = 0x8040;
// Kinds that program the contour's Z and offset in the contour command.
bool ZInContour(std::int32_t kind) { return kind == 0x8000 || kind == 0xA000 || kind == 0xC100; }
bool PlanarContourKind(std::int32_t kind) { return kind == 0x8000 || kind == 0xA000; }
bool WireKind(std::int32_t kind) { return kind == 0xC000 || kind == 0xC100; }
bool SurfaceKindMachining(std::int32_t kind) { return kind == 0xE300 || kind == 0xF300 || kind == 0xF400; }

double KeyValue(std::int32_t key) { return key + key * 0.000001; }

}  // namespace

bool CCamDataBuilder::IsReversed(int step) const { return g_curMachiningDef.steps[step].word32 == 1; }

// A repeat in Z (joint block 0 of kind 2 or 7) closes each item with a
// repeat end and a process end.
bool CCamDataBuilder::JointTest(int step) const {
  const RepeatBlock& b = g_curMachiningDef.steps[step].repeat[0];
  return b.inUse != 0 && (b.kind == 2 || b.kind == 7);
}

void CCamDataBuilder::WriteProcessParameters() {
  const MachiningDefinition& d = g_curMachiningDef;
  work_.number = s_.currentNumber;
  work_.code = 0x6500;
  work_.d4 = d.value[1];
  work_.d1 = d.value[2];
  WriteCamRecord();
  work_.number = s_.currentNumber;
  work_.code = 0x6400;
  work_.d4 = d.value[0];
  if (d.general36 != 0) work_.flags = 0x40;
  WriteCamRecord();
  if (d.generalA > 0) {
    work_.number = s_.currentNumber;
    work_.code = code::kPostMarker;
    work_.d4 = d.generalA;
    WriteCamRecord();
  }
  if (d.cornerSwitch & 0x1000) {
    work_.number = 0;
    work_.code = 0xE700;
    work_.d0 = d.cornerDistance;
    work_.d1 = d.cornerRate;
    WriteCamRecord();
  }
  const std::int32_t zMode = d.general16[3];  // the integer at 28
  if (zMode >= 1 && zMode <= 3) {
    work_.number = s_.currentNumber;
    work_.code = 0x5100 + (zMode - 1) * 0x100;
    WriteCamRecord();
  }
}

// One record per check surface row: CHECK rows as 0x8200, MODEL and FILLET
// rows as 0x8300; the side (GT, LT, ZT) in the low flag bits.
void CCamDataBuilder::WriteCheckSurfaces() {
  for (const CheckSurfaceRow& row : g_curMachiningDef.checkSurfaces) {
    if (row.surfaceKey == 0) continue;
    work_.number = s_.currentNumber;
    work_.code = (row.typeWord & 0xFF) == 1 ? 0x8200 : 0x8300;
    const int side = row.side >= 1 && row.side <= 3 ? row.side - 1 : 0;
    work_.flags = 0x110 + side;
    work_.d4 = KeyValue(row.surfaceKey);
    WriteCamRecord();
  }
}

void CCamDataBuilder::WriteConditionBlocks() {
  const MachiningDefinition& d = g_curMachiningDef;
  if (d.general16[2] != 0) {  // the integer at 24: a curve picked for the definition
    work_.number = s_.currentNumber;
    work_.code = 0x4100;
    work_.flags = 1;
    work_.d4 = KeyValue(d.general16[2]);
    WriteCamRecord();
  }
  for (const MoveEntry& m : d.moveEntries) {
    if (m.word0 == 0) continue;
    work_.number = s_.currentNumber;
    work_.code = 0x7600;
    work_.flags = m.word4;
    if (m.figureKey != 0) {
      work_.flags |= 0x400;
      work_.d1 = KeyValue(m.figureKey);
    }
    work_.d5 = m.value[0];
    work_.d6 = m.value[1];
    work_.d7 = m.value[2];
    WriteCamRecord();
  }
  // One rotation record per active entry, 0x8600 / 0x8610 / 0x8620 by the
  // axis Z / X / Y; the option (ALL, BSR, CSR) in the flags.
  for (const RotationEntry& r : d.rotations) {
    if (r.active == 0 || r.axis < 1 || r.axis > 3) continue;
    work_.number = s_.currentNumber;
    work_.code = 0x8600 + (r.axis - 1) * 0x10;
    work_.flags = r.option;
    work_.d1 = r.angle;
    work_.d2 = r.centre[0];
    work_.d3 = r.centre[1];
    WriteCamRecord();
  }
  WriteCheckSurfaces();
  if (d.figures[0].word0 != 0) {
    work_.number = s_.currentNumber;
    work_.code = 0x8C00;
    WriteCamRecord();
    constexpr int kOmitRows = 128;
    for (int i = 0; i < kOmitRows; ++i) {
      if (d.figures[i].figureKey == 0) continue;
      work_.number = s_.currentNumber;
      work_.code = 0x8700;
      work_.d4 = KeyValue(d.figures[i].figureKey);
      WriteCamRecord();
    }
  }
}

// Tool compensation of an approach or a cut-in: the side in the low flag
// bits, the compensation number in d6.
void CCamDataBuilder::WriteCompensation(int step, std::int32_t switchedOnFlag, std::int32_t otherFlag) {
  const MachiningDefinition& d = g_curMachiningDef;
  const StepCondition& c = d.steps[step];
  const std::int32_t bits = c.compensationOn;
  if (bits == 0) return;
  if (bits == 1 || bits == 2) work_.flags |= bits;
  work_.d6 = c.compensationD != 0 ? c.compensationD : d.stepTools[step].atcNumber;
  // The drawing's own compensation switch is not kept by this system: the
  // step's compensation is always taken as the step's.
  (void)switchedOnFlag;
  work_.flags |= otherFlag;
}

bool CCamDataBuilder::WriteCutIn(int step) {
  const MachiningDefinition& d = g_curMachiningDef;
  const StepCondition& c = d.steps[step];
  const bool twoPassReversed = d.curves[0].type == 2 && IsReversed(step);
  work_.number = s_.currentNumber + s_.increment;
  work_.code = c.word152 == 3 ? 0x7301 : 0x7300;
  if (c.zone1Key != kNoFigure) {
    const std::int32_t key = twoPassReversed ? c.zone2Key : c.zone1Key;
    if (key >= 1 && key != kNoFigure) work_.d4 = KeyValue(key);
    if (c.word144 < 0) work_.flags |= kReversedSide;
  } else {
    work_.d2 = twoPassReversed ? c.zone2X : c.zone1X;
    work_.d3 = twoPassReversed ? c.zone2Y : c.zone1Y;
    work_.flags |= kPointGiven;
  }
  work_.d5 = c.toolMoveZ;
  const bool escapeLevel = c.toolMoveZ > 0.0 && (c.escapeOn != 0 || JointTest(step));
  if (escapeLevel && !(c.word208 == 0 && c.switch8 == 1)) work_.d5 = kEscapeLevel;
  work_.flags |= 0x100;
  if (d.general16[4] != 0) work_.flags |= 0x900;
  if (PlanarContourKind(d.kind)) work_.flags |= 0x400;
  if (c.approachOn == 0) WriteCompensation(step, 0x4000, 0x2000);
  if (c.value176 != 0.0) {
    work_.d7 = c.value176;
  } else if (c.escapeOn != 0 && c.value216 != 0.0) {
    work_.d7 = c.value216;
  }
  if (SurfaceKindMachining(d.kind)) work_.d0 = c.bottomZStock;
  // A cut-in at the escape level leaves the joint out, except when the
  // step's Z repeat is what sent it there: that repeat (0x7800) is then the
  // only thing that takes the tool down to the cutting depths.
  const bool suppressesJoint = work_.d5 == kEscapeLevel && !JointTest(step);
  WriteCamRecord();
  return suppressesJoint;
}

// The kinds an approach and an escape share, in the record being built: the
// code of the kind, the distance, and the two values of the kind (the centre
// point of kind 5 and the IP point of 41, the two angles in degrees of the
// vector kind 6). Normal (2), arc (4) and arc from the IP point (41) lie on
// one side of the contour: a reversed step turns their distance over. A
// vector escape carries its distance like every other escape: the companion
// moves the tool away by it. False for a kind without a record.
bool CCamDataBuilder::PutWayKind(int kind, bool escape, double distance, double first, double second, int step) {
  const double reversedSign = IsReversed(step) ? -1.0 : 1.0;
  auto unit = [](double degrees, double& x, double& y) {
    x = std::cos(degrees * kRadiansPerDegree);
    y = std::sin(degrees * kRadiansPerDegree);
  };
  work_.d4 = distance;
  switch (kind) {
    case 2:
      work_.code = escape ? 0x7520 : 0x7510;
      work_.d4 = distance * reversedSign;
      return true;
    case 3:
      work_.code = escape ? 0x7570 : 0x7560;
      return true;
    case 4:
      work_.code = escape ? 0x7590 : 0x7580;
      work_.d4 = distance * reversedSign;
      return true;
    case 5:
      work_.code = escape ? 0x75B0 : 0x75A0;
      work_.d4 = first;
      work_.d5 = second;
      return true;
    case 6:
      work_.code = escape ? 0x75D0 : 0x75C0;
      unit(first, work_.d2, work_.d3);
      unit(second, work_.d0, work_.d1);
      return true;
    case 41:
      work_.code = escape ? 0x7591 : 0x7581;
      work_.d2 = first;
      work_.d3 = second;
      work_.d4 = distance * reversedSign;
      return true;
    default:
      return false;
  }
}

void CCamDataBuilder::WriteApproach(int step) {
  const MachiningDefinition& d = g_curMachiningDef;
  const StepCondition& c = d.steps[step];
  const std::int32_t number = s_.currentNumber + s_.increment;
  if (!WireKind(d.kind)) {
    const double down = c.toolDownAmount;
    if (down < 0.0) {
      work_.number = number;
      work_.code = 0x6200;
      work_.d4 = -2.0 * down;
      if (c.downFeed != 0.0) {
        work_.d7 = 10.0 * c.downFeed;
        work_.flags = kFeedGiven;
      }
      WriteCamRecord();
    }
    work_.number = number;
    work_.code = 0x6200;
    work_.d4 = down < 0.0 ? -down : down;
    if (c.downFeed != 0.0) {
      work_.d7 = c.downFeed;
      work_.flags = kFeedGiven;
    }
    WriteCamRecord();
  }
  const double distance = c.value264;
  if (c.approachOn == 0 || (c.approachKind != 5 && distance == 0.0)) return;
  work_.number = number;
  if (c.approachKind == 7) {
    // The helical approach: its helix first, then the approach of kind 5.
    work_.code = 0x75F0;
    work_.flags = kFeedGiven;
    work_.d1 = c.chamferSize - d.stepTools[step].diameter;
    work_.d2 = c.chamferTipDiameter;
    work_.d3 = distance;
    work_.d4 = c.value272;
    work_.d5 = c.value280;
    work_.d7 = c.feedCode;
    WriteCamRecord();
    work_.number = number;
    PutWayKind(5, false, distance, c.value272, c.value280, step);
  } else if (!PutWayKind(c.approachKind, false, distance, c.value272, c.value280, step)) {
    ClearCamRecord();
    return;
  }
  WriteCompensation(step, 0x200, 0x100);
  if (c.feedCode != 0.0) {
    work_.d7 = c.feedCode;
    work_.flags |= kFeedGiven;
  }
  WriteCamRecord();
}

void CCamDataBuilder::WriteJoint(int step, bool cutInSuppressed) {
  const MachiningDefinition& d = g_curMachiningDef;
  const StepCondition& c = d.steps[step];
  const bool reversed = IsReversed(step);
  static constexpr std::int32_t kFlagsByKind[11] = {0, 1, 2, 3, 4, 0x1001, 0x11, 0x12, 0x101, 0x102, 0x110};
  for (int b = 0; b < 2; ++b) {
    const RepeatBlock& block = c.repeat[b];
    const bool reversedPlane = b == 0 && reversed && d.kind == 0xA000;
    if (block.inUse == 0 && !reversedPlane) continue;
    if (cutInSuppressed && b == 0 && !reversedPlane) continue;
    work_.number = s_.currentNumber + s_.increment;
    work_.code = 0x7800;
    if (block.inUse & 0x8000) work_.int1 = 1;
    work_.d1 = block.first;
    work_.d2 = block.second == 0.0 && reversed ? 0.001 : block.second;
    work_.d3 = block.third;
    const int kind = block.kind >= 0 && block.kind <= 10 ? block.kind : 0;
    work_.flags = kFlagsByKind[kind];
    if (kind == 0 && c.float136 != 0.0f) work_.flags = 1;
    if ((kind == 2 || kind == 7) && (block.inUse & 0x8000)) {
      work_.d3 += c.bottomZStock;
      if (kind == 7 || !PlanarContourKind(d.kind)) work_.d1 += c.bottomZStock;
    }
    if ((kind == 6 || kind == 7) && block.figureKey > 0) {
      if (s_.firstJointKey == 0.0) s_.firstJointKey = KeyValue(block.figureKey);
      work_.d7 = s_.firstJointKey;
    }
    WriteCamRecord();
  }
  if (JointTest(step)) {
    work_.number = s_.currentNumber + s_.increment;
    work_.code = 0x7700;
    work_.d4 = KeyValue(s_.currentNumber + s_.increment);
    WriteCamRecord();
  }
}

void CCamDataBuilder::WriteContourCommand(int step, const CurveListItem& item, std::int32_t extraFlags) {
  MachiningDefinition& d = g_curMachiningDef;
  const StepCondition& c = d.steps[step];
  const AtcRecord& tool = d.stepTools[step];
  work_.number = s_.currentNumber + s_.increment;
  work_.int1 = c.colour;
  work_.d4 = KeyValue(item.key);
  work_.flags = extraFlags;
  switch (c.stepMode) {
    case 1:
      work_.code = item.word20 != 0 ? kContourOneWay + 1 : kContourOneWay;
      break;
    case 2:
      work_.code = kContourArea;
      break;
    case 4:
    case 20:
      work_.code = kSurfacePass;
      if (c.stepMode == 20) work_.flags |= kReversedSide;
      break;
    case 5:
    case 21:
      work_.code = kSurfacePassB;
      if (c.stepMode == 21) work_.flags |= kReversedSide;
      break;
    default:
      work_.code = kContour;
      break;
  }
  const int option1 = c.repeat[0].kind, option2 = c.repeat[1].kind;
  if (ZInContour(d.kind)) {
    if (c.surfaceKey != 0) {
      work_.d5 = KeyValue(c.surfaceKey);
      work_.flags |= 0x110;
    } else {
      const bool addStock =
          c.stepMode == 10 || ((c.repeat[0].inUse == 0 || option1 != 2) && (c.repeat[1].inUse == 0 || option2 != 2));
      work_.d5 = c.endDepth + (addStock ? c.bottomZStock : 0.0);
      work_.flags |= 0x1;
      const double repeatDepth = option1 == 2 ? c.repeat[0].third : option2 == 2 ? c.repeat[1].third : 0.0;
      work_.d8 = c.endDepth + repeatDepth + c.bottomZStock;
    }
  }
  if (option1 == 4 || option1 == 5 || option2 == 4 || option2 == 5) {
    work_.d2 = c.value64;
    work_.d3 = c.value72;
    work_.flags |= 0x20;
  } else if (option1 == 3 || option2 == 3) {
    work_.d2 = std::cos(c.chamferToolPosition * kRadiansPerDegree);
    work_.d3 = std::sin(c.chamferToolPosition * kRadiansPerDegree);
    work_.flags |= 0x200;
  }
  if (c.stepMode == 0 || c.stepMode == 1 || c.stepMode == 10) {
    double offset = c.contourStock;
    if (PlanarContourKind(d.kind) && c.stepMode != 10 && c.compensationOn == 0 && c.contourCentreFlag != 1) {
      offset += tool.diameter * 0.5;
    }
    work_.d1 = offset;
    if (offset != 0.0) work_.flags |= 3;
  }
  const double feed = item.type == 2 && item.value[2] != 0.0f ? item.value[2] : tool.feed;
  if (feed != 0.0) {
    work_.d7 = feed;
    work_.flags |= kFeedGiven;
  }
  WriteCamRecord();
  if (c.stepMode == 1 && item.word20 != 0) {
    // The one-way start of the item is used once.
    for (CurveListItem& i : d.curves) {
      if (&i == &item) i.word20 = 0;
    }
  }
}

void CCamDataBuilder::WriteOverrun(int step, bool beforeSecondPass) {
  const MachiningDefinition& d = g_curMachiningDef;
  const StepCondition& c = d.steps[step];
  const bool useEntry =
      !beforeSecondPass && ((d.curves[0].type == 2 && IsReversed(step)) || (c.stepMode == 0 && c.word208 == 1));
  const std::int32_t key = useEntry ? c.zone1Key : c.zone2Key;
  const std::int32_t side = useEntry ? c.word144 : c.word200;
  work_.number = s_.currentNumber + s_.increment;
  work_.code = beforeSecondPass ? 0x7410 : 0x7400;
  if (key != kNoFigure) {
    if (key >= 1) work_.d4 = KeyValue(key);
    if (side < 0) work_.flags |= kReversedSide;
  } else {
    work_.d2 = useEntry ? c.zone1X : c.zone2X;
    work_.d3 = useEntry ? c.zone1Y : c.zone2Y;
    work_.flags |= kPointGiven;
  }
  if (c.value216 != 0.0) {
    work_.d7 = c.value216;
    work_.flags |= kFeedGiven;
  }
  if (!beforeSecondPass && c.overrun == 1.0f) work_.d0 = g_machiningDefaults.overrun;
  WriteCamRecord();
}

bool CCamDataBuilder::WriteEscape(int step) {
  const StepCondition& c = g_curMachiningDef.steps[step];
  if (c.escapeOn == 0) return false;
  work_.number = s_.currentNumber + s_.increment;
  if (c.escapeKind == 1) {
    work_.code = 0x6300;
    work_.d4 = c.value304;
  } else if (!PutWayKind(c.escapeKind, true, c.value304, c.value312, c.value320, step)) {
    ClearCamRecord();
    return false;
  }
  if (c.secondFeedCode != 0.0) {
    work_.d7 = c.secondFeedCode;
    work_.flags |= kFeedGiven;
  }
  WriteCamRecord();
  s_.escaped = true;
  return true;
}

// The multi-piece entries of the definition close each item: one move group
// per entry in use (argument 10 marks the last item of a step that was not
// escaped).
void CCamDataBuilder::WriteItemEnd(int argument) {
  for (const MultiPieceEntry& m : g_curMachiningDef.multiPieceEntries) {
    if (m.word[0] == 0) continue;
    work_.number = s_.currentNumber + s_.increment;
    work_.code = 0x9800;
    work_.flags = m.word[0];
    work_.int1 = argument;
    work_.d1 = m.value[0];
    work_.d2 = m.value[1];
    work_.d3 = m.value[2];
    WriteCamRecord();
  }
}

}  // namespace dorn
