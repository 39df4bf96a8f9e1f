// The element writers that every generator shares: the work record, the
// process framing (tool data, tool change with its tool map record, process
// start, process end), the program number lines and the figure references.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/camdata/cam_builder.h"
#include "kelto_dorn/camdata/post_table.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/text.h"

namespace dorn {

namespace {

using handover::NcElement;
namespace code = handover::element_code;

// Values that force a new process by making the previous cutting float
// differ from any tool's.
constexpr double kForcedAfterHole = -1.0;
// The previous ATC number at the start of a build and of a finishing pass.
constexpr std::int32_t kNoPreviousAtc = -7891;
constexpr double kForcedPostChanged = -7.0;
constexpr double kForcedFlagsChanged = -5467.123;
constexpr double kForcedSplitPost = -8965.785;

// Process start flags: always set, and the order item's marks.
constexpr std::int32_t kProcessStartFlags = 0x0100 | 0x8000;
constexpr std::int32_t kStartStarMark = 0x0001;
constexpr std::int32_t kStartM00Mark = 0x0002;
// A process end written by a process change or a step.
constexpr std::int32_t kProcessEndByChange = 0x100;
// Below this the tool move Z of a step is no value: the Z origin is used.
constexpr double kNoToolMoveZ = -999.0;
// The smallest diameter the tool data carries (mm).
constexpr double kMinToolDiameter = 0.0001;
// Tool map compensation bits (first word).
constexpr std::int32_t kMapLeft = 0x1000;
constexpr std::int32_t kMapRight = 0x2000;
// The longest code line the file keeps, with room for its terminator.
constexpr std::size_t kMaxCodeLineBytes = handover::CodeLineRecord::kSize - 1;

bool AllFinite(const NcElement& e) {
  // A sum of finite values is finite unless it overflows: the common case in
  // one test (two independent halves keep the additions short).
  const double sum = (e.d0 + e.d1 + e.d2 + e.d3) + (e.d4 + e.d5 + e.d6 + e.d7 + e.d8);
  if (std::isfinite(sum)) return true;
  for (double v : {e.d0, e.d1, e.d2, e.d3, e.d4, e.d5, e.d6, e.d7, e.d8}) {
    if (!std::isfinite(v)) return false;
  }
  return true;  // finite values whose sum overflowed
}

double KeyValue(std::int32_t key) { return key + key * 0.000001; }

}  // namespace

void CCamDataBuilder::ClearCamRecord() { work_ = NcElement{}; }

void CCamDataBuilder::WriteCamRecord() {
  if (!failure_.empty()) {
    ClearCamRecord();
    return;
  }
  if (!AllFinite(work_)) {
    // The companion stops on such a record; the definition is left out.
    definitionFault_ = true;
    ClearCamRecord();
    return;
  }
  if (elements_.size() >= handover::kMaxElements) {
    Fail(platform::Sjis("要素数が上限 (98560) を超えました。ＮＣデータは作成されません"));
    ClearCamRecord();
    return;
  }
  elements_.push_back(work_);
  ClearCamRecord();
}

// ---- process framing -------------------------------------------------------

void CCamDataBuilder::ForceProcessChange(bool afterHole) {
  const MachiningDefinition& d = g_curMachiningDef;
  if (afterHole) s_.prevCut40 = kForcedAfterHole;
  if (d.generalA != s_.prevPostNumber) s_.prevCut40 = kForcedPostChanged;
  if (d.generalB != s_.prevFlags) s_.prevCut40 = kForcedFlagsChanged;
  if (PostForDefinition(d.generalA).splitMachining == 1) s_.prevCut40 = kForcedSplitPost;
  s_.prevPostNumber = d.generalA;
  s_.prevFlags = d.generalB;
}

bool CCamDataBuilder::ProcessChanged(int step) {
  const AtcRecord& tool = g_curMachiningDef.stepTools[step];
  const bool changed = tool.atcNumber != s_.prevAtc || static_cast<double>(tool.cornerRadius) != s_.prevCut40 ||
                       static_cast<double>(tool.flatRadius) != s_.prevCut44;
  s_.prevAtc = tool.atcNumber;
  s_.prevCut40 = tool.cornerRadius;
  s_.prevCut44 = tool.flatRadius;
  return changed;
}

void CCamDataBuilder::BeginProcess(int step, int counter) {
  s_.step = step;
  ForceProcessChange(s_.prevKind == static_cast<std::int32_t>(MachiningKind::Hole));
  const std::int32_t previousAtc = s_.prevAtc;
  const bool changed = ProcessChanged(step);
  if (changed) {
    const bool toolInPass = previousAtc != kNoPreviousAtc;
    if (s_.pitInState == 9 && toolInPass && previousAtc != g_curMachiningDef.stepTools[step].atcNumber) {
      // A new tool inside a finishing pass is a program of its own.
      work_.number = s_.endNumber + 1;
      work_.code = code::kPitInItemEnd;
      WriteCamRecord();
      work_.number = s_.currentNumber + 1;
      work_.code = code::kPitInItemStart;
      WriteCamRecord();
      if (s_.currentPass >= 0) ++s_.passCounters[static_cast<std::size_t>(s_.currentPass)];
    }
    if (s_.toolWritten) {
      work_.number = s_.currentNumber;
      work_.code = code::kProcessEnd;
      WriteCamRecord();
    }
    WriteToolData(0);
    if (s_.pitInState != 9 || previousAtc != g_curMachiningDef.stepTools[step].atcNumber) WriteProgramNumber(counter);
    WriteToolRecord(step);
    WriteProcessStartRecord(step, false);
    return;
  }
  // The same tool goes on: the process ends where it is, without returning
  // to its start (unless an escaped item ended it already).
  const bool endWritten = !elements_.empty() && elements_.back().Kind() == code::kProcessEnd;
  if (!endWritten) WriteProcessEnd();
  work_.number = s_.currentNumber;
  work_.code = code::kProcessRepeat;
  WriteCamRecord();
  WriteToolData(0);
  WriteToolRecord(step);
}

void CCamDataBuilder::WriteToolData(int argument) {
  const MachiningDefinition& d = g_curMachiningDef;
  const AtcRecord& tool = d.stepTools[s_.step];
  work_.number = s_.currentNumber;
  work_.code = code::kToolData;
  work_.flags = tool.atcNumber;
  work_.int1 = tool.mCode;
  work_.int2 = tool.outputTNumber;
  work_.int3 = tool.postMCode;  // sign-extended from its 16 bits
  work_.d0 = std::max(static_cast<double>(tool.diameter), kMinToolDiameter);
  work_.d1 = tool.cornerRadius;
  work_.d2 = tool.tipLength;
  if (argument == 0) {
    work_.d3 = d.steps[s_.step].compensationOn & 0xF;
  } else if (argument == 8) {
    work_.d3 = tool.tapTwice;
  }
  work_.d4 = tool.hCode;
  work_.d5 = tool.peckDepth;
  work_.d6 = tool.pCode;
  work_.d7 = tool.cannedCycle;
  work_.d8 = tool.feed;
  WriteCamRecord();
}

handover::ToolMapRecord CCamDataBuilder::MakeToolMapRecord(int step) const {
  const MachiningDefinition& d = g_curMachiningDef;
  const AtcRecord& tool = d.stepTools[step];
  const StepCondition& c = d.steps[step];
  handover::ToolMapRecord r;
  static_assert(sizeof(AtcRecord) == 168);
  std::memcpy(&r, &tool, sizeof tool);
  const std::int32_t bits = c.compensationOn;
  r.compensationWord = c.compensationD | ((bits & 1) ? kMapLeft : 0) | ((bits & 2) ? kMapRight : 0);
  r.mark = static_cast<std::uint16_t>(s_.curMark);
  r.stopFlag = s_.curM00;
  r.machiningKind = d.kind;
  r.workCoordinate = d.generalB;
  r.postNumber = d.generalA;
  r.kCode = tool.kCode;
  r.compensationSide = (bits & 1) ? 1 : (bits & 2) ? 2 : 0;
  r.hCode = tool.hCode;
  r.reserved190 = 0;
  r.originZ = d.zOrigin;
  r.holeIPointZ = d.holeIPoint;
  r.holeRPointZ = d.holeRPoint;
  r.holeThroughAmount = d.holeThroughAmount;
  r.stepDepth = c.depth;
  r.stepValue48 = c.endDepth;
  return r;
}

void CCamDataBuilder::WriteToolRecord(int step) {
  if (!failure_.empty()) return;
  const MachiningDefinition& d = g_curMachiningDef;
  const AtcRecord& tool = d.stepTools[step];
  const handover::ToolMapRecord record = MakeToolMapRecord(step);
  if (!handover::ToolMapValuesFinite(record)) {
    definitionFault_ = true;
    return;
  }
  const std::int32_t number = static_cast<std::int32_t>(toolMap_.size()) + 1;
  if (number > 1) {
    work_.number = s_.currentNumber;
    work_.code = code::kToolChange;
    work_.flags = number;
    work_.d4 = tool.atcNumber;
    work_.d6 = tool.spindleSpeed;
    if (d.general16[4] == 0) {  // the definition's integer at 32
      work_.d1 = tool.cornerRadius;
      work_.d2 = tool.flatRadius;
    }
    WriteCamRecord();
  }
  if (toolMap_.size() >= handover::kMaxToolMapRecords) {
    Fail(platform::Sjis("工程数が上限 (768) を超えました。ＮＣデータは作成されません"));
    return;
  }
  toolMap_.push_back(record);
  s_.toolWritten = true;
}

void CCamDataBuilder::WriteProcessStartRecord(int step, bool hole) {
  (void)hole;
  const MachiningDefinition& d = g_curMachiningDef;
  const AtcRecord& tool = d.stepTools[step];
  work_.number = s_.currentNumber;
  work_.code = tool.atcNumber != 0 ? code::kProcessStartAtc : code::kProcessStart;
  if (tool.atcNumber != 0) {
    work_.d7 = tool.atcNumber;
    work_.int2 = tool.outputTNumber;
  }
  work_.flags = kProcessStartFlags | (s_.curMark != 0 ? kStartStarMark : 0) | (s_.curM00 != 0 ? kStartM00Mark : 0);
  work_.d0 = d.steps[step].word160;
  work_.d1 = tool.cornerRadius;
  work_.d2 = tool.flatRadius;
  work_.d3 = d.zOrigin;
  work_.d4 = d.value[3];
  work_.d5 = d.value[4];
  work_.d6 = tool.spindleSpeed;
  work_.int1 = d.steps[0].colour;
  WriteCamRecord();
}

void CCamDataBuilder::WriteProcessEnd() {
  const StepCondition& c = g_curMachiningDef.steps[s_.step];
  work_.number = s_.currentNumber;
  work_.code = code::kProcessEnd;
  work_.flags = kProcessEndByChange;
  work_.d5 = c.toolMoveZ < kNoToolMoveZ ? g_curMachiningDef.zOrigin : c.toolMoveZ;
  WriteCamRecord();
}

// ---- code lines ----------------------------------------------------------

void CCamDataBuilder::WriteProgramLine(const std::string& text, std::int32_t number) {
  if (!failure_.empty()) return;
  if (codeLineCount_ >= static_cast<int>(handover::kCodeLineCount)) {
    Fail(platform::Sjis("コード行が上限 (384) を超えました。ＮＣデータは作成されません"));
    return;
  }
  codeLines_[static_cast<std::size_t>(codeLineCount_)].SetText(
      text.substr(0, platform::Cp932PrefixLength(text, kMaxCodeLineBytes)));
  work_.number = number;
  work_.code = code::kTextLine;
  work_.flags = codeLineCount_++;
  WriteCamRecord();
}

void CCamDataBuilder::WriteMacroResetLine() { WriteProgramLine("/#5203=0", s_.currentNumber); }

std::string CCamDataBuilder::ProgramNumberText(int number) const {
  char text[32];
  std::snprintf(text, sizeof text, " O%d", number);
  return text;
}

// The comment line of `format` (" O%d (' %s)" or " (' %s)"): the comment is
// shortened on a character boundary so that the closing ")" stays within
// the 80 bytes the file keeps.
std::string CCamDataBuilder::CommentText(const char* format, int number) const {
  const std::string comment = platform::FieldText(g_drawingHeader.programComment);
  const bool withNumber = std::strstr(format, "%d") != nullptr;
  char head[32];
  if (withNumber) {
    std::snprintf(head, sizeof head, " O%d (' ", number);
  } else {
    std::snprintf(head, sizeof head, " (' ");
  }
  const std::string prefix = head;
  const std::size_t room = kMaxCodeLineBytes - prefix.size() - 1;
  return prefix + comment.substr(0, platform::Cp932PrefixLength(comment, room)) + ")";
}

void CCamDataBuilder::WriteProgramNumber(int counter) {
  const MachiningDefinition& d = g_curMachiningDef;
  const handover::PostDefinition& post = PostForDefinition(d.generalA);
  const int base = g_drawingHeader.programNumber;
  const bool hasComment = g_drawingHeader.programComment[0] != '\0';
  const bool ordinary = s_.pitInState == 1;
  const std::int32_t number = s_.currentNumber + 1;
  if (base != 0) {
    if (counter > 0 && ordinary && post.renumberPrograms == 0) return;
    if (counter == 0 || post.splitMachining == 1 || s_.listMode) {
      const int o = base + counter;
      if (!hasComment || s_.pitInState != 1 || (counter > 0 && !s_.listMode)) {
        WriteProgramLine(ProgramNumberText(o), number);
        const int range = counter / 1000 - 1;
        if (s_.pitInState == 2 && range >= 0 && range < 4) ++s_.passCounters[static_cast<std::size_t>(range)];
      } else {
        switch (g_drawingHeader.programNumberForm) {
          case 1:
            WriteProgramLine(CommentText(" (' %s)", o), number);
            WriteProgramLine(ProgramNumberText(o), number);
            break;
          case 2:
            WriteProgramLine(ProgramNumberText(o), number);
            WriteProgramLine(CommentText(" (' %s)", o), number);
            break;
          default:
            WriteProgramLine(CommentText(" O%d (' %s)", o), number);
            break;
        }
      }
    }
  } else if ((counter == 0 || s_.listMode) && hasComment) {
    WriteProgramLine(CommentText(" (' %s)", 0), number);
  }
  if (s_.pitInState == 1) WriteFigureReferences();
}

// The DRAW figures of the definition: one reference per used slot.
void CCamDataBuilder::WriteFigureReferences() {
  if (s_.figureReferencesOff) return;
  constexpr int kFirstDrawSlot = 131;
  const MachiningDefinition& d = g_curMachiningDef;
  for (int i = kFirstDrawSlot; i < kFigureEntryCount; ++i) {
    const MachiningFigureEntry& e = d.figures[i];
    if (e.figureKey == 0) continue;
    work_.number = s_.currentNumber;
    work_.code = code::kFigureReference;
    work_.d4 = KeyValue(e.figureKey);
    if (e.word16 != 0) {
      work_.flags = 0x10;
      work_.d5 = KeyValue(e.word16);
    } else {
      work_.d5 = e.value;
    }
    WriteCamRecord();
  }
}

}  // namespace dorn
