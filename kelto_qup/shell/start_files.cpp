// The work files that start-up reads: the system record, the colours, the
// centring table, the controller text, the machining defaults, the
// machining-time records and the drawing's tool comments. A missing file
// gives its defaults; a damaged one gives them too and is named in the
// message list, never half-read.
#include <fstream>

#include "kelto_qup/shell/qup_app.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "shared/handover/auto_centering_record.h"
#include "shared/handover/tool_comment_record.h"

namespace qup::shell {

namespace {

constexpr std::size_t kControllerLineBytes = 127;
constexpr std::size_t kControllerTextBytes = 512;
constexpr int kFirstWorkNumber = 54;

struct EditFileNames {
  char unitName[64];
  char secondName[64];
  char drawingName[64];
  char extension[4];
};
static_assert(sizeof(EditFileNames) == 196);

// The corner code and the half offsets from the side code (work width W,
// depth H): the work centre as seen from the origin corner.
void DeriveCorner(CentringRecord& r) {
  if (r.sideCode < 1 || r.sideCode > 4) r.sideCode = 3;
  const double w = r.x / 2, h = r.y / 2;
  switch (r.sideCode) {
    case 1:
      r.cycleKind = 3, r.offsetX = -w, r.offsetY = -h;
      break;
    case 2:
      r.cycleKind = 4, r.offsetX = w, r.offsetY = -h;
      break;
    case 3:
      r.cycleKind = 1, r.offsetX = w, r.offsetY = h;
      break;
    default:
      r.cycleKind = 2, r.offsetX = -w, r.offsetY = h;
      break;
  }
}

}  // namespace

void CQupApp::SetDefaultColors() {
  for (int i = 0; i < handover::ColorTable::kColorCount; ++i) colors.palette[i] = kBuiltInPalette[i];
}

void CQupApp::ReadStartFiles() {
  const platform::fs::path& folder = platform::ProgramFolder();
  handover::DrawingHeader& h = Header();
  const platform::FileResult header = handover::ReadDrawingHeader(folder / handover::kSystemRecordFileName, h);
  headerWasRead = header.ok();
  if (!header.ok()) {
    // Missing or damaged: nothing runs.
    Note(header);
    h = handover::DefaultDrawingHeader();
  }

  handover::ColorTable read = handover::DefaultColorTable(kBuiltInPalette);
  const platform::FileResult colours = handover::ReadColorTable(folder / handover::kColorFileName, read);
  Note(colours);
  colors = colours.ok() ? read : handover::DefaultColorTable(kBuiltInPalette);

  ReadCentringTable();
  ReadControllerText();
  // The post table is read by the job load, into the run's own table.
  ReadMachiningDefaults();
}

void CQupApp::ReadCentringTable() {
  const handover::DrawingHeader& h = Header();
  auto& table = run.output.Centring;
  for (CentringRecord& r : table) {
    r = CentringRecord{};
    r.macroCall = 1;
    r.sideCode = h.workOriginPosition;
    r.x = h.workSizeX, r.y = h.workSizeY, r.thickness = h.workSizeZ;
    DeriveCorner(r);
  }
  std::size_t count = 0;
  Note(handover::ReadAutoCenteringRecords(platform::ProgramFolder() / handover::kAutoCenteringFileName, table, &count));
  for (std::size_t i = 0; i < table.size(); ++i) {
    CentringRecord& r = table[i];
    // The work size of the system record wins over the file's.
    r.x = h.workSizeX, r.y = h.workSizeY, r.thickness = h.workSizeZ;
    DeriveCorner(r);
    r.workNumber = kFirstWorkNumber + static_cast<int>(i);
  }
}

void CQupApp::ReadControllerText() {
  std::string& text = run.output.CentringMacroText;
  text.clear();
  const int kind = run.output.Centring[0].centringKind;
  if (kind != 1 && kind != 2) return;
  const auto path = platform::ResolvePath(platform::ProgramFolder(), kind == 1 ? "TOSNUC.txt" : "FANUC.txt");
  std::ifstream in(path, std::ios::binary);
  // Lines of at most 127 bytes with their line ends, until the text is
  // longer than 512 bytes.
  std::string piece;
  char c = 0;
  while (text.size() <= kControllerTextBytes && in.get(c)) {
    piece += c;
    if (c == '\n' || piece.size() == kControllerLineBytes) {
      text += piece;
      piece.clear();
    }
  }
  if (text.size() <= kControllerTextBytes) text += piece;
}

void CQupApp::ReadMachiningDefaults() {
  const platform::FileResult r = handover::ReadMachiningDefaults(
      platform::ProgramFolder() / handover::kMachiningDefaultsFileName, machiningDefaults);
  Note(r);
  if (!r.ok()) machiningDefaults = handover::MachiningDefaults{};
  // A damaged file is reported above; the overrun then runs no further.
  run.job.OverrunLength = r.ok() ? machiningDefaults.overrun : 0.0f;
}

void CQupApp::ReadEditFile() {
  EditFileNames names;
  const platform::FileResult r = platform::ReadRecord(platform::ProgramFolder() / "$EDIT.@@@", names);
  Note(r);
  if (!r.ok()) return;
  handover::DrawingHeader& h = Header();
  platform::SetFieldText(h.unitName, platform::FieldText(names.unitName));
  platform::SetFieldText(h.secondName, platform::FieldText(names.secondName));
  platform::SetFieldText(h.drawingName, platform::FieldText(names.drawingName));
  platform::SetFieldText(h.dataExtension, platform::FieldText(names.extension));
}

void CQupApp::ReadMachiningTimeRecords() {
  const platform::FileResult r =
      handover::ReadMachiningTimeTable(platform::DataRoot() / handover::kMachiningTimeFileName, timeRecords);
  Note(r);
  if (r.ok()) {
    activeTimeRecord = timeRecords.Record(Header().MachiningTimeRecordNumber());
  } else {
    activeTimeRecord = handover::MachiningTimeRecord{};
    activeTimeRecord.machineNumber = 1;
    activeTimeRecord.rapidRate = 15000;
    activeTimeRecord.toolChangeTime = 10;
    activeTimeRecord.timeFactor = 1.0;
  }
  run.job.TimeFactor = activeTimeRecord.timeFactor;
  run.job.ToolChangeTime = activeTimeRecord.toolChangeTime;
}

void CQupApp::ReadToolComments(const std::string& drawingNameCp932) {
  run.output.ToolComments.clear();
  const std::string relative = run.DatFolderRelative(drawingNameCp932 + handover::kToolCommentExtension);
  Note(handover::ReadToolComments(platform::ResolvePath(platform::DataRoot(), relative), run.output.ToolComments));
}

}  // namespace qup::shell
