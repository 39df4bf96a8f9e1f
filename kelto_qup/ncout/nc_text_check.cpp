// The NC text check (start modes 11 and 12) and the DNC drip feed (start
// mode 22): an NC program is read line by line, each line sent to the
// machine with the port's line end when feeding, and read back as a machine
// would (drawn in the panes, shown in the monitor, plotted when asked).
#include <cstdio>
#include <string>

#include "kelto_qup/engine/run_context.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace qup {

namespace {

constexpr int kBusyWord = 0xFFFF;
constexpr std::size_t kMaxLineBytes = 191;
constexpr int kPortDraw = 0x10;
constexpr int kPortList = 0x20;
constexpr int kMonitorHidden = 0x8000;
constexpr int kStepMode = 0x1;
constexpr int kListHead = 101;
constexpr int kListMax = 207;
constexpr int kListRollingLine = 106;
constexpr char kEndOfFile = 0x1A;

// One line of at most 191 bytes with its line feed; false at the end.
bool ReadCheckLine(std::FILE* file, std::string& line) {
  line.clear();
  int c = 0;
  while (line.size() < kMaxLineBytes && (c = std::fgetc(file)) != EOF) {
    line += static_cast<char>(c);
    if (c == '\n') break;
  }
  return !line.empty();
}

std::string LineEndBytes(handover::LineEnd end) {
  switch (end) {
    case handover::LineEnd::Cr: return "\r";
    case handover::LineEnd::Lf: return "\n";
    case handover::LineEnd::None: return "";
    case handover::LineEnd::LfCrCr: return "\n\r\r";
    case handover::LineEnd::CrLf: break;
  }
  return "\r\n";
}

}  // namespace

std::string RunContext::DripFeedText(std::string_view line, bool& last) {
  const ComPortState& com = transfer.Com;
  NcCheckState& k = transfer.Check;
  std::string text;
  for (const char c : line) {
    if (c == '\r' || c == '\n') {
      if (com.PortIndex >= 0) text += LineEndBytes(com.Settings.LineEndOf(com.PortIndex));
      return text;
    }
    text += c;
    if (c == '%' && ++k.PercentCount == 2) {
      last = true;  // the program ends with its second "%"
      return text;
    }
  }
  return text;
}

void RunContext::ListSentLine(std::string_view text) {
  int& count = output.ListLineCount;
  if (count == kListHead) {
    for (int i = 0; i < 5; ++i) host.AddListLine("");
    count += 5;
  }
  int last = host.AddListLine(text);
  if (++count > kListMax) {
    host.DeleteListLine(kListRollingLine);
    --count;
    --last;
  }
  host.SelectListLine(last);
}

int RunContext::SendCheckLine(std::string_view line, bool& last) {
  const std::string text = DripFeedText(line, last);
  Block.Text.fill('\0');
  const std::size_t size = std::min(text.size(), Block.Text.size() - 1);
  std::copy_n(text.begin(), size, Block.Text.begin());
  if (ComWriteLine() == kStopRun) return kStopRun;
  if ((job.Header.portByte & kPortList) != 0) {
    std::string shown(line);
    while (!shown.empty() && (shown.back() == '\n' || shown.back() == '\r')) shown.pop_back();
    ListSentLine(shown);
  }
  return 0;
}

// The native path of the file to check or send, by start mode; empty when
// none is named.
static platform::fs::path CheckSourcePath(RunContext& run, int startMode) {
  const handover::DrawingHeader& h = run.job.Header;
  if (startMode == 11) {
    std::string name = platform::FieldText(h.drawingName);
    const std::string extension = platform::FieldText(h.dataExtension);
    if (!extension.empty()) name += "." + extension;
    return platform::ResolvePath(platform::DataRoot(), run.DatFolderRelative(name));
  }
  if (startMode == 12) run.ReadComDat();
  const std::string& named = run.transfer.Com.PathBuffer;
  return named.empty() ? platform::fs::path() : platform::NativePath(named);
}

static void ShowCheckMonitor(RunContext& run) {
  const bool stepMode = (run.output.RunExecutionMode & kStepMode) != 0;
  const bool hidden = (run.job.Header.ncDisplayFlags & kMonitorHidden) != 0;
  const bool shown = stepMode || !hidden;
  if (shown != run.transfer.Check.MonitorShown) {
    run.transfer.Check.MonitorShown = shown;
    run.host.ShowMonitor(shown);
  }
}

// Reads, sends and draws the lines: 0 at the end of the file, kStopRun on a
// stop or a failed send.
static int CheckLines(RunContext& run, std::FILE* file, bool sending) {
  NcCheckState& k = run.transfer.Check;
  const bool drawing = !sending || (run.job.Header.portByte & kPortDraw) != 0;
  bool last = false;
  std::string line;
  while (!last && ReadCheckLine(file, line)) {
    if (sending && run.SendCheckLine(line, last) == kStopRun) return kStopRun;
    if (!drawing) {
      if (run.YieldToUi() == kStopRun) return kStopRun;
      continue;
    }
    const bool comment = !line.empty() && line[0] == '(';
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (run.AbortFlag != 0) return kStopRun;
      run.ScanCheckChar(line, i);
    }
    run.CloseCheckWord();
    k.InComment = false;
    if (run.YieldToUi() == kStopRun) return kStopRun;
    ShowCheckMonitor(run);
    ++k.LineCounter;
    if (comment) {
      k.WordCount = 0;
    } else {
      run.InterpretCheckBlock();
      run.ShowMonitorValues();
    }
  }
  const ComPortState& com = run.transfer.Com;
  if (sending && com.PortIndex >= 0 && (com.Settings.parity[com.PortIndex] & handover::ComSettings::kSendEndOfFile)) {
    if (run.ComWriteBytes(std::string_view(&kEndOfFile, 1)) == kStopRun) return kStopRun;
  }
  return run.AbortFlag != 0 ? kStopRun : 0;
}

int RunContext::RunNcTextCheck() {
  WriteNcExeFlag(kBusyWord);
  AbortFlag = 0;
  const int startMode = job.Header.startMode;
  const bool sending = startMode == 22;
  job.Modes.StartMode = job.Header.subMode == 2 ? 2 : 0;
  job.Modes.SubMode = 0;
  if (sending) OpenComPort();
  const platform::fs::path source = AbortFlag == 0 ? CheckSourcePath(*this, startMode) : platform::fs::path();
  std::FILE* file = AbortFlag == 0 && !source.empty() ? std::fopen(source.c_str(), "rb") : nullptr;
  if (file == nullptr) {
    // The port is never left open for the next file, whatever failed.
    CloseComPort();
    if (AbortFlag == 0) {
      ErrorPath = source.string();
      StopWithError(kErrorFileOpen);
    }
    WriteNcExeFlag(0);
    return kStopRun;
  }
  ResetCheckState();
  output.RunExecutionMode = job.Header.executionMode;
  ShowCheckMonitor(*this);
  int result = job.Modes.StartMode == 2 ? PlotBegin() : 0;
  if (result == 0) result = CheckLines(*this, file, sending);
  std::fclose(file);
  if (transfer.Plot.Active) PlotEnd();
  host.RedrawView();
  if (sending) CloseComPort();
  if (startMode == 11 && result == 0) host.ShowExclamationBox(platform::Sjis("作画終了しました"));
  host.CloseMonitor();
  transfer.Check.MonitorShown = false;
  WriteNcExeFlag(0);
  WriteCgWindow(0x10, job.DisplayColourOffset);
  return result;
}

}  // namespace qup
