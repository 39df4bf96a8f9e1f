// The fixed blocks around the motion: the program start and end lines, the
// process head with its coordinate-setting and tool-length blocks, the
// work-offset word or centring macro, the automatic-centring macro calls and
// the approach after a tool change.
#include <algorithm>
#include <string>

#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"

namespace qup {

namespace {

// A zero coordinate that must be written (prints as X0. or X0).
constexpr double kZeroPlaceholder = 0.00009999;
// WordFormat switches of the program's frame.
constexpr int kLeaderLines = 0x0400;
constexpr int kNoStartPercent = 0x0100;
constexpr int kNoEndPercent = 0x0080;
constexpr int kListingColumn = 38;
// The work coordinate systems G54 .. G59; automatic centring has records for
// the first four only.
constexpr int kWorkOffsets = 6;
constexpr int kCentringRecords = 4;

double ZeroAsPlaceholder(double value) { return value == 0.0 ? kZeroPlaceholder : value; }

}  // namespace

void RunContext::PutLeaderLines() {
  for (int i = 0; i < 2; ++i) {
    output.Block.Position = 0;
    PutBlockText(std::string(64, ' '));
    EndBlock();
  }
}

void RunContext::PutPercentLine() {
  output.Block.Position = 0;  // the open block is discarded
  if (output.EffectiveMode == 1) {
    while (output.Block.Position < kListingColumn) PutBlockChar(' ');
  }
  if (output.QuotedBlockMode != 0) PutBlockChar('"');
  PutBlockChar(output.ScrewSwitch != 0 ? ';' : '%');
  EndBlock();
}

int RunContext::EmitProgramStart() {
  if (!HeadOutputAllowed()) return 0;
  if ((output.WordFormat & kLeaderLines) != 0) PutLeaderLines();
  if ((output.WordFormat & kNoStartPercent) == 0) PutPercentLine();
  return AbortFlag == kStopRun ? kStopRun : 0;
}

int RunContext::EmitProgramEnd() {
  if (!HeadOutputAllowed()) return 0;
  if (ExpandBlockTemplate(5) == kStopRun) return kStopRun;
  if ((output.WordFormat & kNoEndPercent) == 0 && (R2.flags & 0x80) == 0) PutPercentLine();
  if ((output.WordFormat & kLeaderLines) != 0) PutLeaderLines();
  return AbortFlag == kStopRun ? kStopRun : 0;
}

void RunContext::PutWorkCoordinateWord() {
  if (output.PostSwitchA == 0) {
    PutBlockText("G92");
  } else if (output.PostSwitchF != 0) {
    PutBlockText("G15H1");
  } else {
    EmitWorkOffsetWord();
  }
}

void RunContext::PutToolLengthBlock() {
  PutBlockText(output.PostSwitchF != 0 ? "G56" : "G43");
  PutWordValue('Z', ZeroAsPlaceholder(output.ToolLengthZ));
  PutBlockChar('H');
  PutPaddedInteger(output.HNumber, 2);
  EndBlock();
  output.PrevZ = output.ToolLengthZ;  // the block moved the tool there
  output.StartZPending = 0;
}

int RunContext::EmitProgramHead() {
  OutputState& o = output;
  if (!HeadOutputAllowed()) return 0;
  if (o.TemplateOnly != 0) return ExpandBlockTemplate(1);
  OpenBlock();
  const bool toolStayed = o.LastHeadTool != 0 && o.LastHeadTool == o.CurrentTCode;
  // Taken before LastHeadTool follows the new tool: the work-offset word
  // asks whether the tool stayed.
  o.HeadToolStayed = toolStayed ? 1 : 0;
  if (o.SubprogramMode == 0) {
    if (!toolStayed || o.PendingCommandCode == 16) {
      if (ExpandBlockTemplate(1) == kStopRun) return kStopRun;
    }
    o.LastHeadTool = o.CurrentTCode;
  }
  // The view's head suppression moves the process's "N" block from the head
  // to the first hole of the process (when the post writes it at all).
  job.ProcessNBlockPending = (o.HeadSuppressSetting != 0 && o.PostValueA == 0) ? 1 : 0;
  if (o.HeadSuppressSetting == 0 && o.PostValueA == 0) {
    EndBlock();
    const std::string atc = platform::FieldText(o.Post.blocks[1].text);
    if (toolStayed && o.OptionalStopSetting != 0 && atc.find("[M01]") != std::string::npos) WriteBlock("M00");
    PutBlockChar('N');
    PutPaddedInteger(o.ProcessToolIndex, 4);
    EndBlock();
  }
  if (o.HNumber == 0) o.HNumber = o.CurrentTool;
  if (o.CentringMode == 1 && o.CentringHeadFlag == 1) return 0;  // the centring sequence writes it
  if ((o.BlockFormat & 0x0080) != 0) EmitCoordinateSetting();
  if (o.SubprogramMode != 0) {
    if (ExpandBlockTemplate(1) == kStopRun) return kStopRun;
    EndBlock();
  }
  if ((o.CodeFormat & 0x0040) != 0) {
    WriteBlock("G90");
  } else if (!(o.ScrewMode == 11 && o.ScrewSwitch != 0)) {
    WriteBlock("G91");
  }
  return AbortFlag == kStopRun ? kStopRun : 0;
}

void RunContext::EmitCoordinateSetting() {
  OutputState& o = output;
  const double x = ZeroAsPlaceholder(o.HeadX), y = ZeroAsPlaceholder(o.HeadY);
  const bool toolLength = o.PostSwitchB != 0;
  if (o.ScrewMode == 11) {
    if (o.ScrewSwitch != 0) {
      PutBlockText("G0");
      PutWordValue('W', -o.HeadX);
      PutWordValue('U', 2.0 * o.HeadZ);
      PutWordValue('H', kZeroPlaceholder);
      EndBlock();
      return;
    }
    PutWorkCoordinateWord();
    PutWordValue('X', x);
    PutWordValue('A', kZeroPlaceholder);
    EndBlock();
  } else if ((o.CodeFormat & 0x4000) != 0) {
    PutWorkCoordinateWord();
    PutWordValue('X', ZeroAsPlaceholder(2.0 * o.HeadY));
    EndBlock();
  } else {
    PutWorkCoordinateWord();
    const int index = o.WorkOffsetIndex;
    const bool centringKind = index >= 0 && index < kCentringRecords && o.Centring[index].centringKind != 0;
    if (o.CentringMode == 1) {
      EndBlock();
      PutBlockText("G65P7902X0Y0");
    } else if (!centringKind) {
      PutWordValue('X', x);
      PutWordValue('Y', y);
      if (o.SurfaceRangeOffset != 0) {
        PutWordValue('U', kZeroPlaceholder);
        PutWordValue('V', kZeroPlaceholder);
      }
    }
    EndBlock();
    if (o.SurfaceRangeOffset != 0) return;
  }
  if (toolLength) {
    // A local origin shift only with a value: a bare G52 is no block a
    // control takes.
    if (o.ToolMapLoaded != 0 && (o.LocalOriginX != 0.0 || o.LocalOriginY != 0.0)) {
      PutBlockText("G52");
      PutWordValue('X', o.LocalOriginX);
      PutWordValue('Y', o.LocalOriginY);
      EndBlock();
    }
    PutToolLengthBlock();
  } else if (o.ScrewMode == 11 || (o.CodeFormat & 0x4000) != 0) {
    PutWordValue('Z', ZeroAsPlaceholder(o.ToolLengthZ));
    EndBlock();
    o.PrevZ = o.ToolLengthZ;
    o.StartZPending = 0;
  }
}

void RunContext::EmitWorkOffsetWord() {
  OutputState& o = output;
  const int index = o.WorkOffsetIndex;
  // An index outside G54 .. G59 names no coordinate system: no word at all.
  if (index < 0 || index >= kWorkOffsets) return;
  if (o.LastWorkOffsetIndex >= 0 && o.LastWorkOffsetIndex != index && o.HeadToolStayed != 0) {
    // Another coordinate system with the same tool: back to the Z reference first.
    EndBlock();
    WriteBlock("G91G28Z0.");
    WriteBlock("G90");
  }
  o.LastWorkOffsetIndex = index;
  // G58 and G59 have no centring record: they are never centred.
  const bool hasRecord = index < kCentringRecords;
  const int kind = hasRecord ? o.Centring[index].centringKind : 0;
  if (hasRecord && o.Centring[index].active != 1 && (kind == 1 || kind == 2)) {
    PutCentringMacroText();
    return;
  }
  static constexpr const char* kWords[kWorkOffsets] = {"G54", "G55", "G56", "G57", "G58", "G59"};
  PutBlockText(kWords[index]);
}

void RunContext::PutCentringMacroText() {
  const std::string& text = output.CentringMacroText;
  const std::size_t end = std::min<std::size_t>(text.size(), 768);
  for (std::size_t i = 0; i < end; ++i) {
    const char ch = text[i];
    if (ch == '\0') break;
    if (ch == '\n' || ch == '\x1A') {
      EndBlock();
      continue;
    }
    const char before = i > 0 ? text[i - 1] : '\0';
    if (ch == '_' && (before == 'X' || before == 'Y' || before == 'Z')) {
      PutValueThreeDecimals(before == 'X'   ? output.WorkOriginX
                            : before == 'Y' ? output.WorkOriginY
                                            : output.WorkOriginZ);
      continue;
    }
    if (ch != '\r') PutBlockChar(ch);
  }
}

void RunContext::EmitWorkOffsetMacro() {
  OutputState& o = output;
  for (int i = 0; i < kCentringRecords; ++i) {
    const CentringRecord& c = o.Centring[static_cast<std::size_t>(i)];
    if (c.active != 1) continue;
    o.CentringMode = 1;
    PutBlockText(o.PendingCommandCode == 16 ? "/G65P7901" : "G65P7901");
    PutBlockText("W5" + std::to_string(4 + i));
    if (c.cycleKind >= 1 && c.cycleKind <= 4) PutBlockText("C" + std::to_string(c.cycleKind));
    PutWordValue('X', c.x);
    PutWordValue('Y', c.y);
    PutWordValue('B', c.b);
    PutWordValue('E', c.e);
    PutWordValue('I', c.i == 0.0 ? 0.00001 : c.i);
    PutWordValue('J', c.j == 0.0 ? 0.00001 : c.j);
    PutWordValue('K', c.k == 0.0 ? -10.0 : c.k);
    EndBlock();
  }
}

int RunContext::EmitToolChange() {
  OutputState& o = output;
  if (!HeadOutputAllowed()) return 0;
  if (o.ToolChangeNumberDue != 0) {
    EndBlock();
    PutToolChangeNumber();
    EndBlock();
  }
  if (o.CentringMode == 1 && o.CentringSetting != 0) return EmitCentringApproach();
  // Rapid moves from the tool-change position to the start point: upward Z
  // first, downward Z last, X and Y together or one after the other.
  const double startX = o.TargetX, startY = o.TargetY, startZ = o.TargetZ;
  o.MotionMode = 0;
  o.ArcRadius = 0.0;
  auto moveTo = [&](double x, double y, double z) {
    o.TargetX = x;
    o.TargetY = y;
    o.TargetZ = z;
    o.MotionMode = 0;
    return EmitMove(0);
  };
  if (o.StartZPending != 0) {
    // The tool's Z is not known to the program yet: it goes to the
    // process's start Z (the tool change level) before anything else.
    o.StartZPending = 0;
    if (o.PrevZ != o.HeadZ && moveTo(o.PrevX, o.PrevY, o.HeadZ) == kStopRun) return kStopRun;
  }
  const double fromZ = o.PrevZ;
  if (startZ > fromZ && moveTo(o.PrevX, o.PrevY, startZ) == kStopRun) return kStopRun;
  const bool xMoves = startX != o.PrevX, yMoves = startY != o.PrevY;
  if (xMoves && yMoves && o.ApproachOrder == 1) {
    if (moveTo(startX, o.PrevY, o.PrevZ) == kStopRun) return kStopRun;
  } else if (xMoves && yMoves && o.ApproachOrder == 2) {
    if (moveTo(o.PrevX, startY, o.PrevZ) == kStopRun) return kStopRun;
  }
  if (moveTo(startX, startY, o.PrevZ) == kStopRun) return kStopRun;
  if (startZ < fromZ && moveTo(startX, startY, startZ) == kStopRun) return kStopRun;
  return 0;
}

int RunContext::EmitCentringApproach() {
  OutputState& o = output;
  EndBlock();
  WriteBlock("Z2.");
  WriteBlock("M01");
  WriteBlock("Z100.");
  if (o.PostSwitchA == 0) {
    PutBlockText("G92");
  } else {
    EmitWorkOffsetWord();
  }
  EndBlock();
  WriteBlock("G65P7902X0Y0");
  PutToolLengthBlock();
  WriteBlock((o.CodeFormat & 0x0040) != 0 ? "G90" : "G91");
  PutBlockChar('S');
  PutValueOneDecimal(o.SpindleSpeed);
  EndBlock();
  WriteBlock("M03");
  const int index = o.WorkOffsetIndex;
  if (index >= 0 && index < kCentringRecords && o.Centring[static_cast<std::size_t>(index)].macroCall == 1) {
    WriteBlock("G65P7903Q1");
    if (o.StoredMacroValue > 0.0) {
      PutBlockText("/#5203=");
      PutValueThreeDecimals(o.StoredMacroValue);
      EndBlock();
      o.StoredMacroValue = -1.0;
    }
  }
  if ((o.BlockFormat & 0x4000) == 0) PutBlockText("G17");
  PutBlockText("G00");
  PutWordValue('X', ZeroAsPlaceholder(o.TargetX));
  PutWordValue('Y', ZeroAsPlaceholder(o.TargetY));
  EndBlock();
  o.LastMotionMode = 0;
  o.PrevX = o.TargetX;
  o.PrevY = o.TargetY;
  return AbortFlag == kStopRun ? kStopRun : 0;
}

}  // namespace qup
