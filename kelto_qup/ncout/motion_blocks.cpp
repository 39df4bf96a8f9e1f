// Motion blocks: every computed move and every fixed step of a program (start,
// head, templates, end) reaches EmitElement with a step kind. A motion block
// is composed in a fixed order: sequence word, plane, modal motion code,
// cutter compensation, axis words, arc words, feed word, offset word. The
// modal words decide what is repeated.
//
// The move is handed over in OutputState: TargetX/Y/Z (where the tool goes),
// PrevX/Y/Z (where it is), MotionMode (0 rapid, 1 feed, 2 clockwise, 3
// counter-clockwise; arcs are chosen from ArcRadius), ArcRadius (signed, 0
// for a line), CentreI/J/K (arc centre minus start point) and Feed.
#include <cmath>
#include <cstdio>

#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

// Output channels.
constexpr int kChannelNc = 0;
constexpr int kChannelDisplayA = 64;
constexpr int kChannelDisplayB = 128;
constexpr int kChannelPointData = 2048;
constexpr int kChannelNone = 0xFFFF;

// Step kinds.
enum StepKindValue : int {
  kStepProgramStart = 0,
  kStepProcessHead = 1,
  kStepSubprogramHead = 2,
  kStepMotion = 3,
  kStepReturnTemplate4 = 4,
  kStepProgramEnd = 5,
  kStepReturnTemplate3 = 6,
};

// A zero coordinate that must be written (prints as X0. or X0).
constexpr double kZeroPlaceholder = 0.00009999;
// CompensationCode: the request of the next block (0 none).
constexpr int kCompensationNone = 0;
constexpr int kCompensationCancel = 1;
constexpr int kCompensationLeft = 2;
constexpr int kCompensationRight = 3;

// Z moves below this (mm) are no move.
constexpr double kNoZMove = 0.0001;

bool IsArc(int motionMode) { return motionMode == 2 || motionMode == 3; }

}  // namespace

int RunContext::EmitElement() {
  int status = EmitOnChannel(output.OutputSuppress);
  if (output.SubModeOutput != 0 && status != kStopRun) {
    // The sub-mode's second pass: the NC output (0) or nothing (0xFFFF).
    const int saved = output.OutputSuppress;
    output.OutputSuppress = output.SubModeEndWord;
    status = EmitOnChannel(output.SubModeEndWord);
    output.OutputSuppress = saved;
  }
  if (status == kStopRun) return kStopRun;
  return YieldToUi();
}

int RunContext::EmitOnChannel(int channel) {
  const int step = output.StepKind;
  if (step == kStepMotion) {
    NcElement extents;
    UpdatePathExtents(extents);
  }
  if (channel == kChannelPointData) return EmitPointData(step == kStepMotion ? 5 : 0);
  if (channel == kChannelDisplayA || channel == kChannelDisplayB) {
    if (step == kStepMotion) {
      NcElement move;
      move.code = output.MotionMode;
      move.d1 = output.ArcRadius;
      move.d4 = output.TargetX;
      move.d5 = output.TargetY;
      move.d6 = output.PrevX;
      move.d7 = output.PrevY;
      move.d8 = output.TargetZ;
      host.DrawPathStep(channel, move);
      // A run of start mode 2 plots what it draws (arcs by their end point).
      if (channel == kChannelDisplayB && transfer.Plot.Active) {
        PlotDrawToCurrent(move.d4, move.d5, move.d8, move.code != 0);
      }
    }
    return 0;
  }
  if (channel != kChannelNc) return 0;  // kChannelNone and unknown channels write nothing
  const bool templatesOnly = output.TemplateOnly != 0;
  switch (step) {
    case kStepProgramStart:
      output.ListLineCount = 0;
      output.ToolChangeNumber = 300;
      return EmitProgramStart();
    case kStepProcessHead:
      output.LastFeed = 0.0;
      return output.SubprogramMode != 0 ? 0 : EmitProgramHead();
    case kStepSubprogramHead:
      output.LastFeed = 0.0;
      if (templatesOnly || output.SkipSubprogramHead != 0) return 0;
      if (output.SubprogramMode != 0 && EmitProgramHead() == kStopRun) return kStopRun;
      return ExpandBlockTemplate(2);
    case kStepMotion:
      return templatesOnly ? 0 : EmitMotionBlock();
    case kStepReturnTemplate4:
      return templatesOnly ? 0 : EmitReturnTemplate(4);
    case kStepProgramEnd:
      return EmitProgramEnd();
    case kStepReturnTemplate3:
      return templatesOnly ? 0 : EmitReturnTemplate(3);
  }
  return 0;
}

int RunContext::EmitReturnTemplate(int kind) {
  const int status = ExpandBlockTemplate(kind);
  // The template may leave any motion code in force: the next move writes
  // its own again.
  output.LastMotionMode = 0xFFFF;
  return status;
}

int RunContext::EmitMove(int flag) {
  output.StepKind = kStepMotion;
  PrepareMove();
  if (output.MotionMode == 0 && output.RapidRate > 0.0) {
    // Rapid moves are timed here at the rapid rate (mm/min) into the same
    // predicted time as the feed moves, which the engine times.
    const double length =
        std::sqrt(output.MoveX * output.MoveX + output.MoveY * output.MoveY + output.MoveZ * output.MoveZ);
    PredictedMachiningTime += length / output.RapidRate * 60.0;
  }
  output.MoveSkipped = 0;
  const int status = EmitElement();
  // A move the small-move rule wrote no block for stays part of the next
  // block's move, so incremental output loses nothing.
  if (flag == 0 && output.MoveSkipped == 0) {
    output.PrevX = output.TargetX;
    output.PrevY = output.TargetY;
    output.PrevZ = output.TargetZ;
  }
  return status;
}

int RunContext::EmitElementAt(double offset) {
  output.MotionMode = 1;
  output.OffsetWordA += offset;
  if (offset != 0.0) output.OffsetWordB += offset;
  const int status = EmitMove(0);
  output.OffsetWordA -= offset;
  if (offset != 0.0) output.OffsetWordB -= offset;
  return status;
}

int RunContext::EmitElementAtMode(double offset) {
  const int savedStep = output.CurrentStepCode;
  const int status = EmitElementAt(offset);
  output.CurrentStepCode = savedStep;
  return status;
}

void RunContext::PrepareMove() {
  OutputState& o = output;
  o.MoveX = o.TargetX - o.PrevX;
  o.MoveY = o.TargetY - o.PrevY;
  o.MoveZ = o.TargetZ - o.PrevZ;
  if (std::fabs(o.MoveZ) < kNoZMove) o.MoveZ = 0.0;
  if (o.CornerRequest != 0) {
    if (o.OutputSuppress == kChannelNc) PutCornerBlock();
    o.CornerRequest = 0;
  }
  if (o.ArcRadius == 0.0) {
    if (IsArc(o.MotionMode)) o.MotionMode = 1;  // a line after an arc is a feed move
    return;
  }
  o.MoveX = RoundTo3Decimals(o.MoveX);  // moves below 0.001 become 0
  o.MoveY = RoundTo3Decimals(o.MoveY);
  const bool reversedPlane = (o.PlaneBase & 0x1) != 0;
  o.MotionMode = ((o.ArcRadius >= 0.0) != reversedPlane) ? 3 : 2;
  if ((o.CodeFormat & 0x0004) != 0) o.RadiusWord = ArcRadiusWord();
  if (o.CommandType == 0x7180 && o.MoveX == 0.0 && o.MoveY == 0.0) {
    // A full circle keeps the previous motion mode and writes no centre.
    o.MotionMode = o.LastMotionMode == 0xFFFF ? o.MotionMode : o.LastMotionMode;
    o.CentreI = o.CentreJ = o.CentreK = 0.0;
  }
}

double RunContext::ArcRadiusWord() const {
  const OutputState& o = output;
  // Start and end angles about the centre, in the arc's own sense of travel.
  const double cx = o.PrevX + o.CentreI, cy = o.PrevY + o.CentreJ;
  const double start = Atan2Degrees360(o.PrevX - cx, o.PrevY - cy);
  const double end = Atan2Degrees360(o.TargetX - cx, o.TargetY - cy);
  const bool counterClockwise = o.MotionMode == 3;
  double sweep = counterClockwise ? end - start : start - end;
  if (sweep <= 0.0) sweep += 360.0;
  const double r = std::fabs(o.ArcRadius);
  // An arc of more than half a circle is written with a negative R.
  const bool overHalf = counterClockwise ? sweep > 180.000001 : sweep >= 180.0;
  return overHalf ? -r : r;
}

bool RunContext::MoveStartDirection(double& ux, double& uy) const {
  const OutputState& o = output;
  ux = o.MoveX;
  uy = o.MoveY;
  if (o.ArcRadius != 0.0) {
    // The tangent at the start: perpendicular to the radius vector.
    const double rx = -o.CentreI, ry = -o.CentreJ;
    ux = -ry;
    uy = rx;
    if (o.ArcRadius < 0.0) {
      ux = -ux;
      uy = -uy;
    }
  }
  const double length = std::sqrt(ux * ux + uy * uy);
  if (!(length > 0.0)) return false;
  ux /= length;
  uy /= length;
  return true;
}

void RunContext::PutCornerBlock() {
  const OutputState& o = output;
  double ux = 0.0, uy = 0.0;
  MoveStartDirection(ux, uy);
  if (o.CornerRapid != 0) {
    WriteBlock("G00");
    output.LastMotionMode = 0;  // G00 is now modal: the move writes its own code again
    return;
  }
  const double scale = (o.WordFormat & 0xC000) == 0x4000 ? 1000.0 : 100.0;
  PutBlockText("G39");
  PutWordValue('I', ux * scale);
  PutWordValue('J', uy * scale);
  EndBlock();
}

void RunContext::PutMotionWord() {
  if (output.TemplateOnly != 0 || output.MotionMode == output.LastMotionMode) return;
  PutBlockChar('G');
  if ((output.BlockFormat & 0x0004) == 0) PutBlockChar('0');
  PutBlockChar(static_cast<char>('0' + output.MotionMode));
  output.LastMotionMode = output.MotionMode;
}

void RunContext::PutPlaneAndCompensation() {
  OutputState& o = output;
  const int code = o.CompensationCode;
  if ((o.BlockFormat & 0x4000) == 0 && o.PlaneCode != o.LastPlaneCode) {
    static constexpr const char* kPlaneWords[] = {"G17", "G17", "G18", "G19"};
    PutBlockText(kPlaneWords[o.PlaneCode & 0x3]);
    o.LastPlaneCode = o.PlaneCode;
    if (code == kCompensationCancel && (o.CompensationState & 0x1) != 0) EndBlock();
  }
  PutMotionWord();
  // The code is consumed by the block that writes it: 0 asks for nothing.
  if (code == kCompensationCancel) {
    if ((o.CompensationState & 0x1) != 0) {
      // A scaling still in force in a quoted subprogram ends before the
      // compensation does.
      if (o.SubprogramMode != 0 && o.QuotedBlockMode != 0 && o.ScalingValue != 0.0) PutBlockText("G50");
      PutBlockText("G40");
      o.CompensationState &= ~0x1;
    }
  } else if ((code == kCompensationLeft || code == kCompensationRight) && (o.CompensationState & 0x1) == 0) {
    PutBlockText(code == kCompensationLeft ? "G41" : "G42");
    o.CompensationState |= 0x1 | 0x2;  // active, and the offset word is due
  }
  o.CompensationCode = kCompensationNone;
}

void RunContext::PutOffsetWord() {
  OutputState& o = output;
  if ((o.CompensationState & 0x2) == 0) return;
  PutBlockChar(static_cast<char>(o.OffsetWordLetter));
  PutPaddedInteger(o.OffsetNumber != 0 ? o.OffsetNumber : o.CurrentTool, 2);
  if ((o.BlockFormat & 0x0200) != 0) {
    // The direction the compensation starts along: that of the move, or the
    // last one when the move has no X/Y travel; reversed with the side.
    double ux = 0.0, uy = 0.0;
    if (MoveStartDirection(ux, uy)) {
      o.OffsetDirX = ux;
      o.OffsetDirY = uy;
    }
    const double sign = (R0.flags & kReversedSide) != 0 ? -1.0 : 1.0;
    PutWordValue('I', sign * o.OffsetDirX);
    PutWordValue('J', sign * o.OffsetDirY);
  }
  o.CompensationState &= ~0x2;
}

void RunContext::AddPendingSequence() { ++output.PendingSequenceWords; }

void RunContext::EmitSequenceWord() {
  if (output.PendingSequenceWords <= 0) return;
  --output.PendingSequenceWords;
  PutToolChangeNumber();
}

void RunContext::PutToolChangeNumber() {
  // Tool-change numbers run from 301; after 9999 they start at 301 again.
  if (++output.ToolChangeNumber > 9999) output.ToolChangeNumber = 301;
  PutBlockChar('N');
  PutPaddedInteger(output.ToolChangeNumber, 4);
}

void RunContext::PutAxisValue(char letter, double value) { PutWordValue(letter, value); }

int RunContext::EmitMotionBlock() {
  OutputState& o = output;
  const bool absolute = (o.CodeFormat & 0x0040) != 0;
  double x = o.MoveX, y = o.MoveY, z = o.MoveZ;
  if (absolute) {
    // An axis that moves takes its target value; a zero target must still print.
    auto target = [](double move, double value) {
      if (std::fabs(move) <= 0.0004) return 0.0;
      // A computed zero (1e-16 from a cosine) would be no word at all.
      return std::fabs(value) <= 0.000001 ? kZeroPlaceholder : value;
    };
    x = target(o.MoveX, o.TargetX);
    y = target(o.MoveY, o.TargetY);
    z = target(o.MoveZ, o.TargetZ);
  }
  const bool feedMove = o.MotionMode != 0;
  if ((o.BlockFormat & 0x0001) != 0 && feedMove) {
    // Small-move rule: in-plane axes are always written, the normal axis only
    // when it moves; a move of nothing writes no block. An axis that stays
    // is written as a zero step (incremental) or as where it stands
    // (absolute: its target, never 0, which would move it).
    const int plane = o.PlaneCode & 0x3;
    auto stays = [](double move) { return std::fabs(move) < 0.0001; };
    auto staying = [&](double target) { return absolute && std::fabs(target) > 0.000001 ? target : kZeroPlaceholder; };
    if (plane != 3 && stays(o.MoveX)) x = staying(o.TargetX);
    if (plane != 2 && stays(o.MoveY)) y = staying(o.TargetY);
    if ((plane == 2 || plane == 3) && stays(o.MoveZ)) z = staying(o.TargetZ);
    if (std::fabs(o.MoveX) < 0.001 && std::fabs(o.MoveY) < 0.001) {
      x = 0.0;
      y = 0.0;
      if (stays(o.MoveZ) && !IsArc(o.MotionMode) && o.SubprogramMode == 0) {
        o.MoveSkipped = 1;
        return 0;
      }
    }
  }
  if (GoesNowhere(x, y, z)) {
    // A linking or closing cut of length 0: no block, not even the sequence
    // word counted for it, so the numbers of the blocks written run on. The
    // motion code and feed stay unwritten too; the next move writes them
    // against what the program last wrote.
    if (o.PendingSequenceWords > 0) --o.PendingSequenceWords;
    o.MoveSkipped = 1;
    return 0;
  }
  PutListingPrefix();
  EmitSequenceWord();
  PutPlaneAndCompensation();
  if ((o.BlockFormat & 0x0002) != 0) PutOffsetWord();
  if ((o.CodeFormat & 0x4000) != 0) {
    // Diameter form: X carries twice the Y value and Z the X value.
    PutAxisValue('X', 2.0 * y);
    PutAxisValue('Z', x);
  } else if ((o.CodeFormat & 0x0080) != 0) {
    PutAxisValue('U', x);
    PutAxisValue('V', y);
    PutAxisValue('W', z);
  } else if (o.CommandType == 0x8210 || o.CommandType == 0x8220) {
    // The rotary commands: a turn about X (A) or about Y (B) with the move.
    const bool aboutX = o.CommandType == 0x8210;
    PutAxisValue(aboutX ? 'X' : 'Y', aboutX ? x : y);
    PutAxisValue('Z', z);
    PutWordValue(aboutX ? 'A' : 'B', o.RotaryValue);
    o.RotaryValue = 0.0;
  } else if (o.ScrewMode == 11) {
    PutRotaryAxisWords();
  } else if (o.SurfaceRangeOffset != 0) {
    PutUVWords(x, y, z);
  } else {
    PutAxisValue('X', x);
    PutAxisValue('Y', y);
    PutAxisValue('Z', z);
  }
  if (IsArc(o.MotionMode)) {
    if ((o.CodeFormat & 0x0004) != 0) {
      PutWordValue('R', o.RadiusWord);
    } else if ((o.CodeFormat & 0x4000) != 0) {
      PutWordValue('I', o.CentreJ);
      PutWordValue('K', o.CentreI);
    } else {
      PutWordValue('I', o.CentreI);
      PutWordValue('J', o.CentreJ);
      PutWordValue('K', o.CentreK);
    }
  }
  if (feedMove) PutFeedWord();
  PutOffsetWord();
  if (o.PendingSequenceWords > 0) return 0;
  return EndBlock();
}

bool RunContext::GoesNowhere(double x, double y, double z) const {
  const OutputState& o = output;
  // Only the plain axis forms: rotary, screw and U/V words move other axes.
  if (IsArc(o.MotionMode) || o.CommandType == 0x8210 || o.CommandType == 0x8220 || o.ScrewMode == 11 ||
      o.SurfaceRangeOffset != 0) {
    return false;
  }
  // A block that changes the plane or the compensation is written whatever it moves.
  const bool planeWord = (o.BlockFormat & 0x4000) == 0 && o.PlaneCode != o.LastPlaneCode;
  if (planeWord || o.CompensationCode != kCompensationNone || (o.CompensationState & 0x2) != 0) return false;
  // The values PutWordValue leaves out: from 0 up to a millionth (a small
  // negative one prints as a zero word).
  auto noWord = [](double v) { return v >= 0.0 && v <= 0.000001; };
  if ((o.CodeFormat & 0x4000) != 0) return noWord(2.0 * y) && noWord(x);
  return noWord(x) && noWord(y) && noWord(z);
}

void RunContext::PutFeedWord() {
  OutputState& o = output;
  if (o.Feed == o.LastFeed || !(o.Feed > 0.0)) return;
  PutBlockText(o.PostSwitchI != 0 ? "F=VC" : "F");
  if (o.PostSwitchD != 0) {
    PutValueThreeDecimals(o.Feed);
  } else {
    PutValueOneDecimal(o.Feed);
  }
  o.LastFeed = o.Feed;
}

int RunContext::EmitPointData(int code) {
  OutputState& o = output;
  if (o.OutputSuppress != kChannelPointData || o.StepKind != kStepMotion || o.MotionMode != 1) return 0;
  if ((o.PointDataForm & 0x8000) != 0) {
    o.PointReferenceX = o.TargetX;
    o.PointReferenceY = o.TargetY;
  }
  double a = 0.0, b = 0.0;
  switch (o.PointDataForm & 0x7FFF) {
    case 0:
      a = o.TargetX;
      b = o.TargetY;
      break;
    case 1:
      a = o.TargetX;
      b = o.TargetZ;
      break;
    case 2:
      a = o.TargetY;
      b = o.TargetZ;
      break;
    case 3:
      a = std::hypot(o.TargetX - o.PointReferenceX, o.TargetY - o.PointReferenceY);
      b = o.TargetZ;
      break;
    default:
      return StopWithError(kErrorPointData);
  }
  if (RefuseNotFinite(a) || RefuseNotFinite(b)) return EndBlock();
  char line[200];
  std::snprintf(line, sizeof line, "%d 0 %f %f %f %f 0 0 0 ;", code, a, b, a, b);
  WriteBlock(line);
  return AbortFlag == kStopRun ? kStopRun : 0;
}

void RunContext::EmitPlaneBlockOnce() {
  OutputState& o = output;
  if ((o.OnceMask & 0x30) != 0 || o.PlaneBlockWritten != 0) return;
  o.PlaneBlockWritten = 1;
  o.CompensationCode = kCompensationCancel;
  PutPlaneAndCompensation();
  EndBlock();
}

int RunContext::EmitArcByQuadrants(int flag) {
  OutputState& o = output;
  const double cx = o.PrevX + o.CentreI, cy = o.PrevY + o.CentreJ;
  const double r = std::fabs(o.ArcRadius);
  const bool ccw = o.ArcRadius >= 0.0;
  const double endX = o.TargetX, endY = o.TargetY, endZ = o.TargetZ;
  double angle = Atan2Degrees360(o.PrevX - cx, o.PrevY - cy);
  const double endAngle = Atan2Degrees360(endX - cx, endY - cy);
  double sweep = ccw ? endAngle - angle : angle - endAngle;
  if (sweep <= 0.0) sweep += 360.0;
  const double startZ = o.PrevZ;
  double done = 0.0;
  while (done < sweep) {
    // The next quadrant point in the arc's direction, or the end point.
    const double toQuadrant = ccw ? 90.0 - std::fmod(angle, 90.0) : std::fmod(angle, 90.0);
    double step = toQuadrant <= 1e-9 ? 90.0 : toQuadrant;
    const bool last = done + step >= sweep - 1e-9;
    if (last) step = sweep - done;
    angle += ccw ? step : -step;
    done += step;
    if (last) {
      o.TargetX = endX;
      o.TargetY = endY;
    } else {
      // Quadrant points exactly: along +X, +Y, -X or -Y from the centre.
      const int quadrant = static_cast<int>(std::lround(angle / 90.0)) % 4;
      static constexpr double kCos[4] = {1, 0, -1, 0};
      static constexpr double kSin[4] = {0, 1, 0, -1};
      const int q = (quadrant + 4) % 4;
      o.TargetX = cx + r * kCos[q];
      o.TargetY = cy + r * kSin[q];
    }
    o.TargetZ = startZ + (endZ - startZ) * (done / sweep);
    // Pieces shorter than 0.001 in both X and Y are skipped.
    if (std::fabs(o.TargetX - o.PrevX) < 0.001 && std::fabs(o.TargetY - o.PrevY) < 0.001) continue;
    o.CentreI = cx - o.PrevX;
    o.CentreJ = cy - o.PrevY;
    const int status = flag != 0 ? EmitMove(0) : EmitElementAt(0.0);
    if (status == kStopRun) return kStopRun;
  }
  return 0;
}

}  // namespace qup
