// The job load: the element stream and the code lines of the hand-over into
// the element table and the code-line table, the engine defaults, the two
// pre-passes (element_prepass.cpp), the post selection (post_selection.cpp)
// and the scan that sets the job-level switches. Runs once per program start,
// before the start mode is dispatched.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>

#include "kelto_qup/engine/run_context.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace qup {

namespace {

// Start modes that only show what an earlier run left: they read no job files.
bool IsDisplayOnlyMode(int startMode) { return startMode == 53 || startMode == 54; }

// The table's size at start-up, and the free slots kept ahead of the last
// record so that the contour routines can append their working elements.
constexpr int kInitialCapacity = 3800;
constexpr int kHeadroom = 300;
constexpr int kGrowthStep = 1000;

bool AllFinite(const NcElement& e) {
  for (double v : e.DoubleValues()) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

}  // namespace

int RunContext::ReportJobError(int code) {
  const char* message = nullptr;
  switch (code) {
    case 1:
      message = "ポスト設定ができていません";
      break;
    case 2:
      message = "ＮＣコードファイルが見つかりません";
      break;
    case 11:
      message = "曲線が見つかりません....";
      break;
    case 31:
      message = "> ERROR [POST_FILE id. ] ...";
      break;
    default:
      break;
  }
  // The heading, a line break and six blanks; the message replaces the tail
  // from the 23rd character on, so three blanks stay before it.
  char heading[40];
  std::snprintf(heading, sizeof heading, ">>> ERROR.%04d <<<\n      ", code + 1000);
  std::string text = heading;
  if (message != nullptr) {
    text.resize(22);
    text += platform::Sjis(message);
  }
  job.LoadFailed = 1;
  // Display-only start modes read no job files and want no box.
  if (AbortFlag == 0 && !IsDisplayOnlyMode(job.Modes.StartMode)) host.ShowErrorBox(text);
  AbortFlag = kStopRun;
  return kStopRun;
}

int RunContext::KeepElementHeadroom() {
  const int count = elements.ElementCount;
  if (count + kHeadroom > elements.Capacity()) {
    if (AllocElementTable(count, elements.Capacity() + kGrowthStep) != 0) {
      job.LoadFailed = 1;
      return kStopRun;
    }
  }
  // Growth is capped below the limit: a full table stops the load at once
  // instead of writing past the slots that exist.
  if (count >= elements.Capacity()) {
    if (AbortFlag == 0) host.ShowErrorBox(platform::Sjis("MEMORY_Over_ERROR... DORN_MAX98560 !"));
    AbortFlag = kStopRun;
    job.LoadFailed = 1;
    return kStopRun;
  }
  return 0;
}

void RunContext::SetEngineDefaults() {
  // The engine's order table: 22 entries, then 24..31, then the two values 2 and 8.
  constexpr int kOrder[22] = {2, 5, 12, 6, 3, 8, 11, 7, 13, 14, 10, 16, 4, 15, 9, 19, 18, 22, 23, 20, 17, 21};
  job.OrderTable.fill(0);
  for (int i = 0; i < 22; ++i) job.OrderTable[i] = kOrder[i];
  for (int i = 0; i < 8; ++i) job.OrderTable[22 + i] = 24 + i;
  job.OrderTableTail = {2, 8};
  for (auto& record : job.DefaultRecords32) record.fill(0);
  for (NcElement& element : job.DefaultElements) element = NcElement{};
  job.DefaultWords1115.fill(1115);
  job.DefaultNegativeWords = {-2, -12, -48};
  job.DefaultMinusOne = -1;
  for (int i = 0; i < 7; ++i) job.DefaultSequence[i] = i + 1;
  // 57.29577951308232 degrees per radian and 0.017453292519943295 radians
  // per degree, kept exactly: the engine's results depend on them.
  job.DefaultDoubles = {1.0, 1.0, 5.0, 100.0, 0.01, 0.0, 1.0, 57.29577951308232, 0.017453292519943295};
  job.DefaultWord16 = 16;
  job.DefaultWords31 = {31, 31};
  job.CommandQueue.fill(0);
  job.QueueCount = 0;
  job.QueueSnapshot.fill(0);
  job.QueueSnapshotCount = 0;
  job.WorkPath.clear();
  engine.core.PathLength = 0.0;
  engine.core.TimedLength = 0.0;
  engine.core.MachiningTime = 0.0;
  // The stepping, motion and offset-pass words and the call words start
  // afresh with every job (the section lists are empty, not in use).
  engine.stepping = SteppingWords{};
  engine.call = CallWords{};
  // The contour words start afresh too (no element, corner or pending move
  // is left over from a run before). A finished element's next step kind
  // is 5, which does nothing, so the element ends; arcs without corner
  // bits are not stepped by the corner path unless asked.
  engine.contour = ContourWords{};
  engine.contour.CornerNextState = 5;
  engine.contour.CornerStepOptions = 0;
  registers.RegisterStackDepth = 0;
}

int RunContext::LoadElementList() {
  elements.ElementCount = 0;
  if (elements.Capacity() < kInitialCapacity && !elements.Grow(kInitialCapacity)) return kStopRun;
  job.CodeLines = {};
  job.CodeLineCount = 0;
  if (IsDisplayOnlyMode(job.Modes.StartMode)) return 0;

  const platform::fs::path folder = platform::ProgramFolder();
  std::ifstream in(folder / handover::kElementFileName, std::ios::binary);
  if (!in) return ReportJobError(2);
  // The file's size tells how far the table will grow while it is read: the
  // room is taken once instead of moving every record at each growth step.
  std::error_code sizeError;
  const std::uintmax_t bytes = platform::fs::file_size(folder / handover::kElementFileName, sizeError);
  if (!sizeError) {
    const std::uintmax_t records = bytes / sizeof(NcElement);
    if (records < static_cast<std::uintmax_t>(ElementTable::kMaxCapacity)) {
      elements.ReserveRoom(static_cast<int>(records) + kHeadroom + kGrowthStep);
    }
  }
  for (;;) {
    NcElement record;
    in.read(reinterpret_cast<char*>(&record), sizeof record);
    const std::streamsize got = in.gcount();
    if (got == 0) break;
    if (got != static_cast<std::streamsize>(sizeof record) || !AllFinite(record)) {
      // A cut or damaged stream: the run must not go on with part of a job.
      host.AddListLine(platform::Sjis(got != static_cast<std::streamsize>(sizeof record)
                                          ? "$DORN_DAT.@@@ : 途中で切れています"
                                          : "$DORN_DAT.@@@ : 数値が不正です"));
      return ReportJobError(2);
    }
    if (KeepElementHeadroom() != 0) return kStopRun;
    elements[elements.ElementCount] = record;
    ++elements.ElementCount;
  }

  std::ifstream lines(folder / "$DORN_CDE.@@@", std::ios::binary);
  if (!lines) return 0;  // no code lines: no error
  while (job.CodeLineCount < kCodeLineCount) {
    handover::CodeLineSlot& slot = job.CodeLines[static_cast<std::size_t>(job.CodeLineCount)];
    constexpr std::streamsize kLineBytes = handover::CodeLineRecord::kSize;
    lines.read(slot.text, kLineBytes);
    const std::streamsize got = lines.gcount();
    if (got == 0) break;
    if (got != kLineBytes) {
      slot = handover::CodeLineSlot{};
      host.AddListLine(platform::Sjis("$DORN_CDE.@@@ : 途中で切れています"));
      return ReportJobError(2);
    }
    ++job.CodeLineCount;
  }
  return 0;
}

int RunContext::LoadJob() {
  SetEngineDefaults();
  job.SurfaceJob = 0;
  output.SurfaceRangeOffset = 0;
  job.FirstProcessValue = 0.0;
  job.FirstProcessNumber = 0;
  job.FirstProcessProgram = 0;
  job.LoadFailed = 0;

  if (LoadElementList() != 0) return kStopRun;
  job.JobElementCount = elements.ElementCount;
  if (PrepareElements() != 0) return kStopRun;
  if (ExpandSurfaceElements() != 0) return kStopRun;
  job.JobElementCount = elements.ElementCount;

  if (!job.PostsLoaded && !IsDisplayOnlyMode(job.Modes.StartMode)) {
    const platform::FileResult read =
        handover::ReadPostTable(platform::DataRoot() / handover::kPostFileName, job.Posts);
    // A missing post file means the built-in post; a damaged one stops the job.
    if (!read.ok() && !read.missing()) {
      host.AddListLine(platform::Utf8ToCp932(read.message));
      return ReportJobError(1);
    }
    job.PostsLoaded = 1;
  }
  if (!IsDisplayOnlyMode(job.Modes.StartMode)) {
    FindFirstMarker();
    if (SelectPostDefinition() != 0) return kStopRun;
  }
  return ScanJobElements();
}

int RunContext::ScanJobElements() {
  const int count = elements.ElementCount;
  for (int i = 0; i < count; ++i) {
    const NcElement& e = elements[i];
    if (e.code == handover::element_code::kProcessStartAtc) {
      job.FirstProcessValue = e.d7;
      // A process value is a tool number: far below the 32-bit range.
      job.FirstProcessNumber = (e.d7 >= 0.0 && e.d7 < 1.0e9) ? static_cast<int>(e.d7) : 0;
      job.FirstProcessProgram = e.int2 != 0 ? e.int2 : job.FirstProcessNumber;
      break;
    }
    if (e.code == 0x3100 && (e.flags & 0x2000) != 0) job.SurfaceJob = 1;
    if (((static_cast<unsigned>(e.code) >> 8) & 0xFF) == 0x71) {
      if (!(e.d4 >= 0.0 && e.d4 < static_cast<double>(count))) return ReportJobError(2);
      const NcElement& target = elements[static_cast<int>(e.d4)];
      if (target.code == 0x3100 && (target.flags & 0x2000) != 0) {
        job.SurfaceJob = 1;
        if (e.d4 != 0.0) output.SurfaceRangeOffset = 1;
      }
    }
  }
  return 0;
}

}  // namespace qup
