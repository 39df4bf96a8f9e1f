// Post selection: the post-marker search, the choice of one post record of
// the post table, and the output switch words derived from its options.
// Runs at the job load and again at each process head and post marker.
#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

// A post marker carries its post number as a double; anything that is not a
// small whole number names no post.
int PostNumberOf(double value) { return (value >= 0.0 && value < 1.0e6) ? static_cast<int>(value) : -1; }

}  // namespace

int RunContext::FindFirstMarker() {
  ElementIndex = 0;
  int processStarts = 0;
  for (int i = 0; i < elements.ElementCount; ++i) {
    const NcElement& e = elements[i];
    if ((e.code & 0xFF00) == 0x6100 && ++processStarts >= 2) break;
    if (e.code == handover::element_code::kPostMarker) {
      ElementIndex = PostNumberOf(e.d4);
      return 1;
    }
  }
  return 0;
}

int RunContext::FindNextMarker() {
  for (int i = CommandIndex() + 1; i < elements.ElementCount; ++i) {
    const NcElement& e = elements[i];
    if ((e.code & 0xFF00) == 0x6100) return 0;
    if (e.code == handover::element_code::kPostMarker) {
      ElementIndex = PostNumberOf(e.d4);
      return 1;
    }
  }
  return 0;
}

int RunContext::SelectPostDefinition() {
  const handover::PostDefinition& header = job.Posts[0];
  const int count = header.postCount;
  auto exists = [count](int n) { return n >= 0 && n < count && n < static_cast<int>(handover::kPostTableSize); };
  int n = ElementIndex;
  if (!exists(n)) return ReportJobError(31);
  if (n == 0) n = header.currentPost;
  // The final number must name a post record that exists (record 0 is the
  // table's header).
  if (n < 1 || !exists(n)) return ReportJobError(31);
  job.SelectedPost = n;
  output.Post = job.Posts[static_cast<std::size_t>(n)];
  DecodePostSwitches(output.Post);
  return 0;
}

void RunContext::DecodePostSwitches(const handover::PostDefinition& p) {
  OutputState& o = output;
  o.AxisOutputMode = 0;
  o.AxisOutputValue = 0;
  o.WordFormat = 0;
  o.BlockFormat = 0;
  o.CodeFormat = 0;
  o.CommentMode = 0;
  o.PostSwitchA = o.PostSwitchB = o.PostSwitchC = o.PostSwitchD = 0;
  o.PostSwitchE = o.PostSwitchF = o.PostSwitchG = o.PostSwitchH = 0;
  o.PostSwitchI = o.PostSwitchJ = o.PostSwitchK = o.PostSwitchL = 0;

  o.AxisOutputMode = p.originSetting != 0 ? 1 : 2;
  if (p.spindleCode != 0) {
    o.AxisOutputMode |= 0x400;
    o.AxisOutputValue = p.spindleCode;
  }
  if (p.ncDataMerge != 0) o.AxisOutputMode |= 0x800;
  if (p.originCode != 0) o.PostSwitchA = 1;
  if (p.toolLengthG43 == 0) o.PostSwitchB = 1;
  if (p.ncDataOrigin != 0) o.PostSwitchC = 1;
  o.CommentMode = p.compensationCancel != 0 ? 0x20 : 0;

  if (p.decimalPointOutput == 0) o.WordFormat |= 0x2000;
  o.WordFormat |= p.numberUnit == 0 ? 0x4000 : 0x8000;
  if (p.leadingPercent == 1) o.WordFormat |= 0x100;
  if (p.trailingPercent == 1) o.WordFormat |= 0x80;
  if (p.feedDecimalPoint == 0) o.PostSwitchD = 1;
  o.PostValueA = p.sequenceNumbers;
  o.PostValueB = p.lastTCode;

  if (p.g17Output == 1) o.BlockFormat = 0x4000;
  if (p.g18g19Output == 1) o.BlockFormat |= 0x2000;
  if (p.coordinateSetting == 0) o.BlockFormat |= 0x81;
  if (p.gCodeForm == 1) o.BlockFormat |= 0x4;
  if (p.rapidG00Output == 1) o.BlockFormat |= 0x100;
  if (p.g39Compensation == 0) o.BlockFormat |= 0x200;
  if (p.laserCompensation == 0) {
    o.BlockFormat |= 0x200;
    o.PostSwitchE = 1;
  }

  if (p.arcSize == 1) o.CodeFormat = 0x4000;
  if (p.arcOutput == 0) o.CodeFormat |= 0x4;
  if (p.axisAddress == 1) o.CodeFormat |= 0x80;
  if (p.dataMode == 1) o.CodeFormat |= 0x40;
  if (p.quadrantSplit == 0) o.CodeFormat |= 0x8;
  if (p.halfCircleSplit == 0) o.CodeFormat |= 0x1;

  if (p.holeCycleDialect != 0) o.PostSwitchF = 1;
  if (p.wireDialect == 0) o.PostSwitchG = 1;
  if (p.wireControlForm == 0) {
    o.PostSwitchH = 1;
    o.PostSwitchG = 1;
  }
  if (p.feedConversion == 0) o.PostSwitchI = 1;
  if (p.toolOrigin == 1) o.PostSwitchJ = 1;
  if (p.helicalMachining == 0) o.PostSwitchK = 1;
  if (p.splitMachining == 1) o.PostSwitchL = 1;
}

}  // namespace qup
