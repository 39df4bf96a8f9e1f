#include "kelto_dorn/document/system_record.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/document/file_fault.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/app/palette.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/text.h"
#include "shared/handover/color_table.h"
#include "shared/handover/drawing_header.h"

namespace dorn {

QupSettings g_qupSettings;

QupSettings::QupSettings() {
  // The model box corners and the two further values.
  static constexpr double kDefaults[7] = {-100.0, -100.0, 100.0, 100.0, 100.0, 0.0, 0.0};
  std::memcpy(valueBytes, kDefaults, sizeof valueBytes);
}

double QupSettings::Value(int i) const {
  double v = 0.0;
  std::memcpy(&v, valueBytes + static_cast<std::size_t>(i) * sizeof v, sizeof v);
  return v;
}

void QupSettings::SetValue(int i, double v) {
  std::memcpy(valueBytes + static_cast<std::size_t>(i) * sizeof v, &v, sizeof v);
}

namespace {

namespace fs = std::filesystem;

fs::path InProgramFolder(const char* name) { return platform::ProgramFolder() / name; }

// The unit, its second name and their "SEG" and "DAT" folders of a first run.
void CreateFirstRunFolders() {
  const std::string unit = platform::FieldText(g_drawingHeader.unitName);
  const std::string second = platform::FieldText(g_drawingHeader.secondName);
  const std::string data = platform::FieldText(g_drawingHeader.dataExtension);
  std::error_code ec;
  const fs::path drawingFolder = platform::DataRoot() / platform::DiskName(unit) / platform::DiskName(second);
  fs::create_directories(drawingFolder / "SEG", ec);
  fs::create_directories(drawingFolder / platform::DiskName(data), ec);
}

void ReadColorSettings() {
  SetDefaultPalette(0);
  std::uint32_t palette[32];
  for (int i = 0; i < kPaletteSize; ++i) palette[i] = PaletteColors[static_cast<std::size_t>(i)];
  const platform::FileResult r = handover::ReadColorTable(InProgramFolder(handover::kColorFileName), g_colorTable);
  if (!r.ok()) {
    if (!r.missing()) ReportFileFault(r);
    g_colorTable = handover::DefaultColorTable(palette);
  }
  for (int i = 0; i < kPaletteSize; ++i) PaletteColors[static_cast<std::size_t>(i)] = g_colorTable.palette[i];
  RebuildPenTable();
}

}  // namespace

void ReadSystemSettings() {
  const fs::path path = InProgramFolder(handover::kSystemRecordFileName);
  const platform::FileResult r = handover::ReadDrawingHeader(path, g_drawingHeader);
  if (r.missing()) {
    g_drawingHeader = handover::DefaultDrawingHeader();
    CreateFirstRunFolders();
    const platform::FileResult w =
        handover::WriteDrawingHeader(InProgramFolder(kFirstRunRecordFileName), g_drawingHeader);
    if (!w.ok()) ReportFileFault(w);
  } else if (!r.ok()) {
    ReportFileFault(r);
    g_drawingHeader = handover::DefaultDrawingHeader();
  }
  g_drawingHeader.showAxes = 1;
  ReadColorSettings();
}

platform::FileResult WriteSystemSettings() {
  g_drawingHeader.fileListKind = 0;
  platform::FileResult r =
      handover::WriteDrawingHeader(InProgramFolder(handover::kSystemRecordFileName), g_drawingHeader);
  for (int i = 0; i < kPaletteSize; ++i) g_colorTable.palette[i] = PaletteColors[static_cast<std::size_t>(i)];
  const platform::FileResult c = handover::WriteColorTable(InProgramFolder(handover::kColorFileName), g_colorTable);
  return r.ok() ? c : r;
}

std::int32_t ReadNcExeFlag() {
  std::vector<std::uint8_t> bytes;
  const platform::FileResult r = platform::ReadWholeFile(InProgramFolder(kNcExeFileName), bytes);
  if (r.missing()) return 0;
  constexpr std::int32_t kBusy = 0xFFFF;
  if (!r.ok() || bytes.size() < sizeof(std::int32_t)) return kBusy;
  std::int32_t word = 0;
  std::memcpy(&word, bytes.data(), sizeof word);
  return word;
}

fs::path CompanionProgramPath() {
  std::error_code ec;
  const fs::path beside = platform::ExecutableFolder() / kCompanionProgramName;
  if (fs::is_regular_file(beside, ec)) return beside;
  return platform::ProgramFolder() / kCompanionProgramName;
}

int StartCompanionProgram(int mode, int subMode) {
  if (ReadNcExeFlag() != 0) {
    platform::ShowMessageBox(platform::Sjis("QUP_Win::只今実行出来ません"), std::string_view(), 0);
    return kCompanionBusy;
  }
  g_drawingHeader.version = handover::DrawingHeader::kVersionWord;
  g_drawingHeader.startMode = mode;
  g_drawingHeader.subMode = subMode;
  const platform::FileResult w = WriteSystemSettings();
  if (!w.ok()) {
    // The companion would run the start mode of an older record.
    ReportFileFault(w);
    return kCompanionNotWritten;
  }
  std::error_code ec;
  fs::path folder = fs::absolute(platform::ProgramFolder(), ec);
  if (ec) folder = platform::ProgramFolder();
  const platform::ProcessResult p =
      platform::StartDetached(CompanionProgramPath(), {}, folder, {"KELTO_HOME=" + folder.string()});
  if (!p.started) {
    ReportFileFault(std::string(kCompanionProgramName) + ": " + p.message);
    return kCompanionStartFailed;
  }
  g_companionProcessId = p.processId;
  // Give the companion a moment to take the record over before the next write.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  return kCompanionStarted;
}

// --- "$QUP.@@@" --------------------------------------------------------------

std::int32_t DefaultModelStepColour(int row) {
  if (row == 0) return 2;
  int c = row;
  if (c >= 16) c -= 15;
  if (c > 15) c -= 15;
  switch (c) {
    case 4:
      return 12;
    case 9:
      return 11;
    case 11:
      return 1;
    case 12:
      return 2;
    case 13:
      return 4;
    case 14:
      return 13;
    case 15:
      return 6;
    default:
      return c;
  }
}

void DefaultQupSettings(int keep) {
  QupSettings fresh;
  for (int i = 0; i < 32; ++i) {
    ModelStepRecord& row = fresh.rows[i];
    const ModelStepRecord& old = g_qupSettings.rows[i];
    row.colour = keep != 0 ? old.colour : DefaultModelStepColour(i);
    if (keep != 0) row.resolution = old.resolution;
  }
  fresh.rows[0].colour = 2;
  g_qupSettings = fresh;
}

platform::FileResult ReadQupSettings() {
  const fs::path path = InProgramFolder(kQupFileName);
  std::vector<std::uint8_t> bytes;
  platform::FileResult r = platform::ReadWholeFile(path, bytes);
  if (r.missing()) {
    DefaultQupSettings(0);
    return r;
  }
  if (!r.ok()) return r;
  // Whole fields only: the head (word and seven values), then whole rows.
  QupSettings read = g_qupSettings;
  constexpr std::size_t kHead = offsetof(QupSettings, rows);
  std::size_t n = bytes.size() < sizeof read ? bytes.size() : sizeof read;
  if (n >= kHead) {
    n = kHead + (n - kHead) / sizeof(ModelStepRecord) * sizeof(ModelStepRecord);
  } else {
    n = n < sizeof(std::int32_t) ? 0
                                 : sizeof(std::int32_t) + (n - sizeof(std::int32_t)) / sizeof(double) * sizeof(double);
  }
  std::memcpy(&read, bytes.data(), n);
  for (int i = 0; i < 7; ++i) {
    if (!std::isfinite(read.Value(i))) {
      r.status = platform::FileStatus::ReadError;
      r.message = path.string() + ": a model value is not a number";
      return r;
    }
  }
  g_qupSettings = read;
  return r;
}

platform::FileResult WriteQupSettings() {
  for (ModelStepRecord& row : g_qupSettings.rows) row.flag = 0;
  for (int i = 0; i < 7; ++i) {
    if (!std::isfinite(g_qupSettings.Value(i)))
      return {platform::FileStatus::WriteError, "$QUP.@@@: a model value is not a number"};
  }
  return platform::WriteFileAtomic(InProgramFolder(kQupFileName), &g_qupSettings, sizeof g_qupSettings);
}

}  // namespace dorn
