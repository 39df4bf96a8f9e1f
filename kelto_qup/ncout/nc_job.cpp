// Job start-up, run modes and the NC file: InitNcJob prepares the output
// words for the start mode and sub-mode, StartNcCreation reads the side
// files, opens the NC file (with "$NC_EXE.@@@" busy while it is written),
// walks the whole element list through the interpreter and ends the run;
// FinishNcCreation writes the program end, closes the file and writes the
// reports. A run that stopped on an error gets no program end, so its NC
// file never passes for a finished one.
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "kelto_qup/engine/run_context.h"
#include "platform/csv.h"
#include "platform/paths.h"
#include "platform/record_file.h"
#include "platform/text.h"
#include "shared/handover/tool_map_record.h"

namespace qup {

namespace {

constexpr int kNoNcFile = 241;
constexpr int kOpenFailed = 0xFFFF;
constexpr char kNcExeFileName[] = "$NC_EXE.@@@";
// The longest path the NC file may have (bytes of its native form); a
// longer one is refused with the file-open error.
constexpr std::size_t kMaxNcPathBytes = 4095;
constexpr std::size_t kMaxNameBytes = 255;
// The machine M-code table: rows, name and code lengths.
constexpr std::size_t kMcodeRows = 32;
constexpr std::size_t kMcodeLineBytes = 511;

std::string HeaderText(const char* field, std::size_t width) { return platform::FieldText(field, width); }

double NowSeconds() { return static_cast<double>(std::time(nullptr)); }

}  // namespace

void RunContext::InitNcJob() {
  handover::DrawingHeader& header = job.Header;
  output.Block.Position = 0;
  output.BlockOpenCount = 0;
  output.HeldTextLine = 0;
  output.HeldTextLinePending = 0;
  output.NcByteCount = 0;
  output.Extents = PathExtents{};
  job.ToolExtentProcess.fill(0);
  job.NcPath.clear();
  job.NcOpenResult = kNoNcFile;
  job.NcOutputMask = 0;
  job.Modes.StartMode = header.startMode;
  job.Modes.SubMode = header.subMode;
  output.MonitorFlags = header.ncDisplayFlags;
  output.LastHeadTool = 0;
  output.CentringMode = 0;
  output.MotionMode = 0;
  output.LastMotionMode = 0xFFFF;
  output.PlaneCode = 1;
  output.LastPlaneCode = 0;
  output.CompensationState = 0;
  output.LastFeed = 0.0;
  output.LastUvX = output.LastUvY = 0.0;
  output.OffsetDirX = output.OffsetDirY = 0.0;
  output.ScalingValue = 0.0;
  output.SkipSubprogramHead = 0;
  output.DownwardRestoreSeen = 0;
  output.RotaryAxial = output.RotaryRadius = output.RotaryAngle = 0.0;
  engine.core.PathLength = 0.0;
  engine.core.TimedLength = 0.0;
  engine.core.MachiningTime = 0.0;
  ResetRunWords();

  const int mode = job.Modes.StartMode;
  output.EffectiveMode = (mode == 5 || mode == 53 || mode == 54 || mode == 55) ? 4 : mode;
  // What the mode writes (the output kind) and what it keeps back.
  auto setOutput = [this](int kind, int suppress) {
    output.ModeOutputKind = kind;
    output.OutputSuppress = suppress;
  };
  // Modes that only show or edit what a run left: no display list reload,
  // no stepping.
  auto runWithoutStepping = [this, &header] {
    header.displayListReload = 0;
    header.executionMode = 0;
    output.RunExecutionMode = 0;
    output.StepPause = 0;
  };
  switch (mode) {
    case 0:
    case 1:
      setOutput(0, 0);
      header.ncDisplayFlags = 0;
      output.MonitorFlags = 0;
      if (mode == 1) {
        // Step mode, starting paused.
        output.OutputSuppress = 0x40;
        header.executionMode = 1;
        output.RunExecutionMode = 1;
        output.StepPause = 1;
      }
      break;
    case 2:
      setOutput(0x80, 0x80);
      break;
    case 3:
      setOutput(0x100, 0);
      break;
    case 4:
    case 5:
    case 11:
    case 12:
    case 22:
    case 40:
      setOutput(0x40, 0x40);
      break;
    case 7:
      setOutput(0x100, 0x800);
      output.DataFileWord = header.ncSetting328 | 0x8000;
      output.WordFormat |= 0x2000;
      break;
    case 33:
      runWithoutStepping();
      output.MonitorFlags = 0;
      break;
    case 53:
    case 54:
    case 55:
      if (mode == 53) {
        job.Modes.SubMode = 6;
        output.MonitorFlags = 0x8000;
      }
      runWithoutStepping();
      setOutput(0x40, 0x40);
      break;
    default:
      break;
  }

  auto setSubModeOutput = [this](int kind, int endWord) {
    output.SubModeOutput = kind;
    output.SubModeEndWord = endWord;
  };
  switch (job.Modes.SubMode) {
    case 2:
      setOutput(0x80, 0x80);
      break;
    case 3:
      setSubModeOutput(0x20, 0);
      break;
    case 6:
    case 53:
      // Effective mode 1 keeps the end word it had.
      output.SubModeOutput = 0x100;
      if (output.EffectiveMode == 4) {
        output.SubModeEndWord = 0;
      } else if (output.EffectiveMode != 1) {
        output.SubModeEndWord = 0xFFFF;
      }
      break;
    case 9:
      if (mode == 4) {
        job.Modes.SubMode = 6;
        setSubModeOutput(0x100, 0);
      } else {
        setSubModeOutput(0, 0);
      }
      break;
    default:
      setSubModeOutput(0, 0);
      break;
  }

  if (output.EffectiveMode == 1) {
    output.OutputLevel = 2;
    output.WordFormat |= 0x18;
  } else {
    output.OutputLevel = output.EffectiveMode > 1 ? 1 : 0;
  }
}

void RunContext::ResetRunWords() {
  job.CallDepth = 0;
  job.CallStack = {};
  job.CurrentCommandNumber = 0;
  job.PreviousCommandNumber = 0;
  job.CommandModeWord = 0;
  job.CommandModeValues = {0.0, 0.0};
  job.CallOnActive = 0;
  engine.EndOfDataFlag = 0;
  job.ProgramHeadFlag = 0;
  job.HoleOutputSwitch = 0;
  job.HoleGroupState = kHoleGroupOpenNone;
  job.SubprogramHeaderWritten = 0;
  job.PendingReturns = 0;
  job.QueueCount = 0;
  job.QueueSnapshotCount = 0;
  job.SavedWordList.clear();
  job.MoveStack.clear();
  job.MarkList.fill(0);
  job.MarkFlag = 0;
  job.ProcessCounter = 0;
  job.ToolChangeCount = 0;
  job.UncountedRepeatJumps = 0;
  job.ProgramEndWritten = 0;
  job.RunIncomplete = 0;
  job.MacroValue = -1.0;
  job.FeatureBits = 0;
  job.WorkOffsetCounter = 0;
  job.WorkOffsetRequest = 0;
  job.CutInFlags = 0;
  job.SpindleCheckFlag = 0;
}

int RunContext::ReadJobFiles() {
  const platform::fs::path programFolder = platform::ProgramFolder();
  const platform::fs::path dataRoot = platform::DataRoot();
  {
    std::ifstream wire(platform::ResolvePath(dataRoot, "$WIRE_AT.@@@"), std::ios::binary);
    char letter = 'A';
    job.WireAxisLetter = (wire && wire.get(letter)) ? letter : 'A';
  }
  job.DbSelection.fill(0);
  {
    std::ifstream selection(platform::ResolvePath(dataRoot, "$DBS_NAME.@@@"), std::ios::binary);
    if (selection) selection.read(job.DbSelection.data(), static_cast<std::streamsize>(job.DbSelection.size()));
    job.DbSelection.back() = '\0';
  }
  // The machine name at offset 136 (64 bytes).
  output.JobMachineName = platform::FieldText(job.DbSelection.data() + 136, 64);

  std::vector<handover::ToolMapRecord> toolMap;
  const platform::FileResult map =
      handover::ReadToolMapFile(platform::ResolvePath(programFolder, handover::kToolMapFileName), toolMap);
  if (map.ok()) {
    output.ToolMap.swap(toolMap);
    output.ToolMapLoaded = 1;
  } else if (!map.missing()) {
    host.AddListLine(platform::Utf8ToCp932(map.message));
    return ReportJobError(2);
  }

  job.CommentFilePresent = platform::FindExistingIgnoreCase(programFolder / "$COMMENT.@@@") ? 7890 : 0;
  job.McodeFilePresent = platform::FindExistingIgnoreCase(programFolder / "$MCODE.@@@") ? 1234 : 0;
  ReadMachineMcodeTable();
  return 1;
}

void RunContext::ReadMachineMcodeTable() {
  output.MachineMCodes.clear();
  output.MachineMCodesLoaded = 0;
  // The table is used only where "$MCODE.@@@" switches it on: without the
  // switch it is not read at all.
  if (job.McodeFilePresent == 0) return;
  const platform::fs::path path =
      platform::ResolvePath(platform::ProgramFolder(), platform::Sjis("各機械Ｍコード.csv"));
  std::ifstream in(path, std::ios::binary);
  if (!in) return;
  std::string line;
  bool header = true;
  while (std::getline(in, line)) {
    if (line.size() > kMcodeLineBytes) line.resize(kMcodeLineBytes);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (header) {
      header = false;
      continue;
    }
    if (output.MachineMCodes.size() >= kMcodeRows) break;  // further lines are ignored
    std::vector<std::string> fields;
    platform::SplitCsvLine(line, ",", fields);
    MachineMCodeEntry row{};
    for (std::size_t f = 0; f < fields.size() && f < 9; ++f) {
      if (fields[f].empty()) break;  // an empty field ends the row
      if (f == 0) {
        platform::SetFieldText(row.machineName, fields[f]);
      } else {
        const std::size_t kind = (f - 1) / 2;
        char* code = (f - 1) % 2 == 0 ? row.kinds[kind].start : row.kinds[kind].end;
        platform::SetFieldText(code, 8, fields[f]);
      }
    }
    output.MachineMCodes.push_back(row);
  }
  output.MachineMCodesLoaded = (job.McodeFilePresent != 0 && !output.MachineMCodes.empty()) ? 1 : 0;
}

std::string RunContext::DatFolderRelative(std::string_view fileName) const {
  // "<unit>\<second>\DAT\<file>" in CP932, as the records spell it.
  const handover::DrawingHeader& h = job.Header;
  std::string relative = HeaderText(h.unitName, sizeof h.unitName);
  relative += '\\';
  relative += HeaderText(h.secondName, sizeof h.secondName);
  relative += "\\DAT\\";
  relative += fileName;
  return relative;
}

bool RunContext::BuildNcPath() {
  const handover::DrawingHeader& h = job.Header;
  const int mode = job.Modes.StartMode;
  if (mode >= 53) return !job.NcPath.empty();
  std::string name = HeaderText(h.drawingName, sizeof h.drawingName);
  const std::string extension = HeaderText(h.dataExtension, sizeof h.dataExtension);
  std::string subName = name + "S";
  if (mode == 7) {
    name += ".DRN";
  } else if (!extension.empty()) {
    name += "." + extension;
    subName += "." + extension;
  }
  const platform::fs::path path = platform::ResolvePath(platform::DataRoot(), DatFolderRelative(name));
  job.NcPath = path.string();
  // The hole subprogram file is opened only when the header asks for it.
  job.HoleSubprogramPath.clear();
  if (h.holeSubprogram == 1) {
    job.HoleSubprogramPath = platform::ResolvePath(platform::DataRoot(), DatFolderRelative(subName)).string();
  }
  // A path the file system cannot take is refused before anything is opened.
  if (job.NcPath.size() > kMaxNcPathBytes || job.HoleSubprogramPath.size() > kMaxNcPathBytes) return false;
  for (const auto& part : path) {
    if (part.string().size() > kMaxNameBytes) return false;
  }
  return true;
}

int RunContext::WriteNcExeFlag(int value) {
  const std::int32_t word = value;
  const platform::FileResult result = platform::WriteRecord(platform::ProgramFolder() / kNcExeFileName, word);
  if (!result.ok()) {
    job.NcExeWriteFailed = 1;
    host.AddListLine(platform::Utf8ToCp932(result.message));
    return 1;
  }
  return 0;
}

int RunContext::OpenJobNcFile() {
  job.NcOpenResult = kNoNcFile;
  if (job.Modes.StartMode == 1) return kNoNcFile;
  if (output.EffectiveMode != 3 && job.Modes.SubMode != 6) return kNoNcFile;
  ErrorPath = job.NcPath;
  if (OpenNcOutput(job.NcPath) != 0 || !output.NcFile.IsOpen()) {
    AbortFlag = kStopRun;
    job.NcOpenResult = kOpenFailed;
    return kOpenFailed;
  }
  if (job.Header.holeSubprogram == 1) {
    job.HoleSubprogramFile = std::fopen(job.HoleSubprogramPath.c_str(), "w");
    if (job.HoleSubprogramFile == nullptr) {
      CloseNcOutput();
      ErrorPath = job.HoleSubprogramPath;
      AbortFlag = kStopRun;
      job.NcOpenResult = kOpenFailed;
      return kOpenFailed;
    }
    job.HoleSubprogramNumberBase = job.Header.programNumber;
  }
  job.NcOpenResult = 0;
  WriteNcExeFlag(0xFFFF);
  return 0;
}

void RunContext::CloseJobNcFile() {
  if (job.NcOpenResult != 0) return;
  if (output.NcFile.IsOpen()) CloseNcOutput();
  if (job.HoleSubprogramFile != nullptr) {
    if (std::fclose(job.HoleSubprogramFile) != 0 && AbortFlag == 0) {
      ErrorPath = job.HoleSubprogramPath;
      ShowErrorCode(kErrorFileWrite);
    }
    job.HoleSubprogramFile = nullptr;
  }
  WriteNcExeFlag(0);
  job.NcOpenResult = kNoNcFile;
  // The list says where the program went, so that it can be found and sent.
  host.AddListLine(platform::Utf8ToCp932("ＮＣデータ : " + job.NcPath));
  if (job.Header.holeSubprogram == 1) host.AddListLine(platform::Utf8ToCp932("穴サブプログラム : " + job.HoleSubprogramPath));
  // A finished program also goes to the network drive when the header asks.
  if (AbortFlag == 0 && job.Header.startMode < 52 && job.Header.nfsSwitch != 0) host.RunNfsTransfer(0);
}

int RunContext::StartNcCreation() {
  if (job.LoadFailed != 0) {
    // The job did not load: nothing is run and no NC file is written.
    host.AddListLine(platform::Sjis("＊＊＊ ジョブが読めないため実行しません ＊＊＊"));
    return kStopRun;
  }
  AbortFlag = 0;
  if (ReadJobFiles() == kStopRun) return kStopRun;
  job.RunStartSeconds = NowSeconds();
  job.RunningMaxima = {-999999999999.0, -999999999999.0};

  if (!BuildNcPath()) {
    ErrorPath = job.NcPath;
    return StopWithError(kErrorFileOpen);
  }
  if (OpenJobNcFile() == kOpenFailed) {
    AbortFlag = 0;  // the box of the stop below is the one shown
    ErrorPath = job.NcPath;
    return StopWithError(kErrorFileOpen);
  }
  if (job.Modes.StartMode == 2) {
    // Start mode 2 plots the run; a plotter that cannot be reached stops it.
    if (PlotBegin() != 0) {
      FinishNcCreation();
      return kStopRun;
    }
    transfer.Plot.PenFollowsTool = transfer.Plot.FixedPenSwitch == 0;
  }
  for (int i = 0; i < elements.ElementCount; ++i) {
    if (elements[i].code == handover::element_code::kScrewMarker) {
      output.ScrewMode = 11;
      output.ScrewSwitch = elements[i].flags == 1 ? 0xFFFF : 0;
      break;
    }
  }
  output.StepKind = 0;
  EmitElement();

  output.RunExecutionMode = job.Header.executionMode;
  job.ProcessCounter = 0;
  registers.RegisterStackDepth = 0;
  job.CallDepth = 0;
  if (AbortFlag == 0 && elements.ElementCount > 0) {
    RangeStart = 0;
    RangeEnd = elements.ElementCount - 1;
    try {
      RunElementRange();
    } catch (const EngineInvariantError& fault) {
      // Never a crash half-way through an NC file: the run ends as an error
      // stop, so the file is closed and marked incomplete below.
      StopWithFault(fault.what());
    }
  }
  if (AbortFlag == kStopSeen) {
    // A stop by the user: the program still gets its process end and its
    // machining end, written as on a normal end.
    AbortFlag = 0;
    R2 = NcElement{};
    R2.code = handover::element_code::kProcessEnd;
    RunElementCommand();
    R2 = NcElement{};
    R2.code = handover::element_code::kEndOfMachining;
    RunElementCommand();
  }
  FinishNcCreation();
  registers.RegisterStackDepth = 0;
  return 0;
}

void RunContext::FinishNcCreation() {
  if (AbortFlag != kStopRun && job.ProgramEndWritten == 0) {
    output.StepKind = 5;
    EmitElement();
  }
  // The close writes the last buffered lines: a failure there is a failed
  // run too, so the stop word is read only after it.
  const bool hadNcFile = job.NcOpenResult == 0;
  CloseJobNcFile();
  if (AbortFlag == kStopRun) {
    // No program end after an error stop, or a file the disk did not take:
    // what was written is a cut program.
    job.RunIncomplete = 1;
    if (hadNcFile) {
      host.AddListLine(platform::Sjis("＊＊＊ エラー停止：ＮＣデータは未完成です ＊＊＊"));
    }
  }
  job.ReportWritten = 1;
  if (job.RunIncomplete == 0) {
    WriteToolInfoReport();
  } else {
    WriteCgWindow(0x11, job.DisplayColourOffset);
  }
  if (transfer.Plot.Active) PlotEnd();  // after a stop too
  AbortFlag = 0;
}

}  // namespace qup
