// The test helper that writes hand-over files from the record layouts.
#include "tests/kelto_qup/support/handover_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

#include "platform/paths.h"
#include "platform/text.h"

namespace testsupport {

namespace fs = std::filesystem;

HandoverBuilder::HandoverBuilder() : posts(DecimalPointPosts()), header(handover::DefaultDrawingHeader()) {
  platform::SetFieldText(header.drawingName, "HOLE");
  platform::SetFieldText(header.unitName, "UNIT");
  platform::SetFieldText(header.secondName, "PGM");
  platform::SetFieldText(header.dataExtension, "NC");
  header.startMode = 4;
  header.subMode = 6;
  header.programNumber = 1000;
  header.workSizeX = 100.0;
  header.workSizeY = 80.0;
  header.workSizeZ = 20.0;
}

void HandoverBuilder::Begin() {
  handover::NcElement& first = Add(0, 0x1200);
  first.d2 = 1.0;
}

handover::NcElement& HandoverBuilder::Add(int number, int code) {
  handover::NcElement& e = elements.emplace_back();
  e.number = number;
  e.code = code;
  return e;
}

void HandoverBuilder::Point(int number, double x, double y) {
  handover::NcElement& e = Add(number, 0x1100);
  e.d4 = e.d6 = x;
  e.d5 = e.d7 = y;
}

void HandoverBuilder::Line(int number, double x0, double y0, double x1, double y1) {
  handover::NcElement& e = Add(number, 0x1200);
  const double dx = x1 - x0, dy = y1 - y0;
  const double length = std::hypot(dx, dy);
  e.d2 = length > 0.0 ? dx / length : 1.0;
  e.d3 = length > 0.0 ? dy / length : 0.0;
  e.d4 = x1;
  e.d5 = y1;
  e.d6 = x0;
  e.d7 = y0;
}

void HandoverBuilder::Arc(int number, double radius, double sx, double sy, double ex, double ey, double cx, double cy) {
  handover::NcElement& e = Add(number, 0x1300);
  e.d1 = radius;
  e.d2 = sx;
  e.d3 = sy;
  e.d4 = ex;
  e.d5 = ey;
  e.d6 = cx;
  e.d7 = cy;
}

namespace {

constexpr double kDegreesToRadians = 0.017453292519943295;

// The item key as the builder packs it: the figures numbered key, key.
double KeyValue(int key) { return key + key * 0.000001; }

int MachiningKindOf(int holeCode) {
  switch (holeCode) {
    case 0x6B00:
      return 0xB800;
    case 0x6C00:
      return 0xBC00;
    default:
      return 0xB400;
  }
}

// The tool map record of a hole process: the step tool's ATC row with the
// run's replacements, then the values of the definition and the step.
handover::ToolMapRecord ToolMapRecordOf(const HoleProcess& p) {
  const StepTool& t = p.tool;
  const int compensation = p.step.compensation;
  handover::ToolMapRecord r;
  r.compensationWord = p.step.dNumber | ((compensation & 1) ? handover::ToolMapRecord::kCompensationLeft : 0) |
                       ((compensation & 2) ? handover::ToolMapRecord::kCompensationRight : 0);
  r.atcNumber = t.atcNumber;
  r.spindleSpeed = t.spindleSpeed;
  r.cannedCycle = t.cannedCycle;
  r.mCode = t.mCode;
  r.tapTwice = t.tapTwice;
  r.mark = 0;      // the machining order's mark replaces the K code
  r.stopFlag = 0;  // and its M00 mark the H code
  r.dCode = static_cast<std::int16_t>(t.dCode);
  r.stepWord = t.stepWord;
  r.diameter = static_cast<float>(t.diameter);
  r.cornerRadius = static_cast<float>(t.cornerRadius);
  r.flatRadius = static_cast<float>(t.flatRadius);
  r.tipAngle = static_cast<float>(t.tipAngle);
  r.tipLength = static_cast<float>(t.tipLength);
  r.feed = static_cast<float>(t.feed);
  r.peckDepth = static_cast<float>(t.peckDepth);
  r.pCode = static_cast<float>(t.pCode);
  r.fluteLength = static_cast<float>(t.fluteLength);
  r.outputTNumber = t.outputTNumber;
  r.coolant = static_cast<std::int16_t>(t.coolant);
  platform::SetFieldText(r.secName, t.secName);
  platform::SetFieldText(r.toolName, t.toolName);
  r.machiningKind = MachiningKindOf(p.code);
  r.workCoordinate = p.definition.workCoordinate;
  r.postNumber = p.definition.postNumber;
  r.kCode = t.kCode;
  r.compensationSide = (compensation & 1) ? 1 : (compensation & 2) ? 2 : 0;
  r.hCode = static_cast<std::int16_t>(t.hCode);
  r.originZ = p.definition.atcZ;
  r.holeIPointZ = p.definition.iPoint;
  r.holeRPointZ = p.definition.rPoint;
  r.holeThroughAmount = p.definition.through;
  r.stepDepth = p.step.surfaceZ;
  r.stepValue48 = p.step.depth;
  return r;
}

}  // namespace

int HandoverBuilder::AddToolRecords(int number, const handover::ToolMapRecord& record, bool holeTool,
                                    int compensationBits) {
  toolMap.push_back(record);
  const int mapNumber = static_cast<int>(toolMap.size());
  handover::NcElement& data = Add(number, 0xBB00);
  data.flags = record.atcNumber;
  data.int1 = record.mCode;
  data.int2 = record.outputTNumber;
  data.int3 = record.postMCode;
  data.d0 = std::max(static_cast<double>(record.diameter), 0.0001);
  data.d1 = record.cornerRadius;
  data.d2 = record.tipLength;
  // A hole process's tool data carries the tap-twice word, a process start
  // its compensation bits.
  data.d3 = holeTool ? record.tapTwice : compensationBits;
  data.d4 = record.hCode;
  data.d5 = record.peckDepth;
  data.d6 = record.pCode;
  data.d7 = record.cannedCycle;
  data.d8 = record.feed;
  if (mapNumber > 1) {
    handover::NcElement& change = Add(number, 0x9A00);
    change.flags = mapNumber;
    change.d1 = record.cornerRadius;
    change.d2 = record.flatRadius;
    change.d4 = record.atcNumber;
    change.d6 = record.spindleSpeed;
  }
  return mapNumber;
}

handover::NcElement& HandoverBuilder::AddProcessStart(int number, const handover::ToolMapRecord& record, double x,
                                                      double y, double z) {
  handover::NcElement& start = Add(number, 0x6110);
  start.flags = 0x8100;
  if (record.cannedCycle == 84 || record.cannedCycle == 74) {
    start.flags |= 0x10;
    start.d0 = record.mCode;
  }
  start.d1 = record.cornerRadius;
  start.d2 = record.flatRadius;
  start.d3 = z;
  start.d4 = x;
  start.d5 = y;
  start.d6 = record.spindleSpeed;
  start.d7 = record.atcNumber;
  start.int2 = record.outputTNumber;
  return start;
}

int HandoverBuilder::BeginProcess(int number, int tool, double x, double y, double startZ, double spindle,
                                  double diameter, double mCode) {
  HoleProcess p;
  p.tool.atcNumber = tool;
  p.tool.spindleSpeed = static_cast<int>(spindle);
  p.tool.diameter = diameter;
  if (mCode != 0.0) {
    p.tool.cannedCycle = 84;
    p.tool.mCode = static_cast<int>(mCode);
  }
  p.definition.atcX = x;
  p.definition.atcY = y;
  p.definition.atcZ = startZ;
  const handover::ToolMapRecord record = ToolMapRecordOf(p);
  const int mapNumber = AddToolRecords(number, record, false, 0);
  AddProcessStart(number, record, x, y, startZ);
  return mapNumber;
}

void HandoverBuilder::BeginDefinition(int number, const HoleProcess& p) {
  Add(number, 0xEC54).flags = p.definition.workCoordinate;
}

int HandoverBuilder::BeginHoleProcess(int number, const HoleProcess& p) {
  const handover::ToolMapRecord record = ToolMapRecordOf(p);
  const int mapNumber = AddToolRecords(number, record, true, 0);
  // The data format switch belongs to drilling; helical and deep holes have none.
  if (p.code == 0x6800) Add(number, 0x9F00).flags = p.definition.dataFormat;
  AddProcessStart(number, record, p.definition.atcX, p.definition.atcY, p.definition.atcZ);
  // The process parameters: the hole definition has no values for them but
  // its post.
  Add(number, 0x6500);
  Add(number, 0x6400);
  if (p.definition.postNumber > 0) Add(number, 0x9700).d4 = p.definition.postNumber;
  if (p.code == 0x6B00) {
    // The helix values of the step: the taper as a unit vector, the tool's
    // corner measured along it.
    handover::NcElement& helix = Add(number, 0x7B00);
    const double taper = p.step.taperAngle * kDegreesToRadians;
    helix.d2 = std::cos(taper);
    helix.d3 = std::sin(taper);
    helix.d1 = p.tool.cornerRadius / helix.d2 + p.tool.flatRadius;
    helix.d6 = p.step.holeDiameter;
    helix.d0 = helix.d6 - 2.0 * helix.d1;
    helix.d5 = p.step.depth + p.step.value80;
    helix.d8 = p.step.referenceZ;
  }
  return mapNumber;
}

void HandoverBuilder::HoleCutIn(int number, const HoleProcess& p) {
  Add(number, 0x6400);
  handover::NcElement& e = Add(number, 0x7300);
  e.flags = p.definition.returnLevel != 0 ? 0x4900 : 0x4500;
  e.d5 = p.definition.iPoint;
  e.d6 = p.tool.hCode;
}

void HandoverBuilder::Hole(int number, int itemKey, const HoleProcess& p) {
  const StepTool& t = p.tool;
  handover::NcElement& e = Add(number, p.code);
  e.flags = 0x120;
  e.d1 = p.definition.rPoint;
  e.d4 = KeyValue(itemKey);
  if (t.feed > 0.0) {
    e.flags |= 0x9000;
    e.d7 = t.feed;
  }
  if (p.code == 0x6B00) {
    if (p.step.compensation == 1) e.flags |= 0x1;
    e.int1 = 1;  // the step number
    e.d0 = p.step.holeDiameter;
    e.d2 = p.step.value88;
    e.d3 = p.step.surfaceZ;
    e.d5 = p.step.depth + p.step.value80;
    e.d6 = t.pCode;
    return;
  }
  e.int1 = t.atcNumber;
  e.int2 = t.outputTNumber;
  e.d0 = t.kCode;
  e.d5 = p.step.depth;
  e.d6 = t.cannedCycle;
  if (t.pCode > 0.0) {
    e.flags |= 0x2;
    e.d3 = t.pCode;
  }
  if (t.peckDepth > 0.0) {
    e.flags |= 0x1;
    e.d2 = t.peckDepth;
  }
  if (t.tipAngle == 90.0 && p.step.holeDiameter > 0.0) {
    // A chamfer milled round the hole: its diameter and two feeds.
    e.flags = (e.flags & ~0x3) | 0x8;
    e.d2 = p.step.downFeed;
    e.d3 = p.step.approachFeed;
    e.d8 = p.step.holeDiameter;
  }
}

void HandoverBuilder::TextLine(int number, const std::string& cp932Text) {
  if (codeLineCount >= codeLines.size()) throw std::length_error("code line table full");
  codeLines[codeLineCount].SetText(cp932Text);
  handover::NcElement& e = Add(number, 0x9900);
  e.flags = static_cast<std::int32_t>(codeLineCount++);
}

void HandoverBuilder::ProcessEnd(int number) { Add(number, 0x7200); }

void HandoverBuilder::HoleProcessItem(int number, int itemKey, const HoleProcess& process) {
  BeginHoleProcess(number, process);
  HoleCutIn(number + 1, process);
  Hole(number + 2, itemKey, process);
  ProcessEnd(number + 100);
}

void HandoverBuilder::End() {
  Add(handover::kEndOfMachiningNumber, 0x6900);
  Add(handover::kEndOfStreamNumber, 0xFF00);
}

handover::PostTable HandoverBuilder::DecimalPointPosts() {
  handover::PostTable table;
  handover::SetDefaultPostTable(table);
  handover::PostDefinition& post = table[1];
  post.decimalPointOutput = 0;  // values with a decimal point
  post.numberUnit = 0;          // 0.001
  post.dataMode = 1;            // absolute
  post.Block(handover::BlockKind::Init).SetText("G90G40G80");
  post.Block(handover::BlockKind::Atc).SetText("T?M06");
  post.Block(handover::BlockKind::Set).SetText("");
  post.Block(handover::BlockKind::Back00).SetText("M05");
  post.Block(handover::BlockKind::Back99).SetText("M09");
  post.Block(handover::BlockKind::End).SetText("M30");
  post.SetName("TESTPOST");
  return table;
}

void HandoverBuilder::Write(const fs::path& programFolder) const {
  auto check = [](const platform::FileResult& result) {
    if (!result.ok()) throw std::runtime_error(result.message);
  };
  check(handover::WriteElementFile(programFolder / handover::kElementFileName, elements));
  check(handover::WriteToolMapFile(programFolder / handover::kToolMapFileName, toolMap));
  check(handover::WriteCodeLineFile(programFolder / handover::kCodeLineFileName, codeLines, codeLineCount));
  if (!pitIn.empty()) check(handover::WritePitInMap(programFolder / handover::kPitInMapFileName, pitIn));
  if (writePosts) check(handover::WritePostTable(programFolder / handover::kPostFileName, posts));
  check(handover::WriteDrawingHeader(programFolder / handover::kSystemRecordFileName, header));
  fs::create_directories(DatFolder(programFolder));
}

fs::path DatFolder(const fs::path& dataRoot) { return dataRoot / "UNIT" / "PGM" / "DAT"; }

fs::path FreshProgramFolder(const std::string& name) {
  const fs::path home = fs::temp_directory_path() / name;
  fs::remove_all(home);
  fs::create_directories(home);
  setenv("KELTO_HOME", home.c_str(), 1);
  platform::ResetProgramFolder();
  platform::ResetDataRoot();
  return home;
}

}  // namespace testsupport

namespace testsupport {

handover::NcElement& AddCallOn(HandoverBuilder& job, int number, const CallSpec& call) {
  handover::NcElement& e = job.Add(number, 0x7800);
  e.flags = call.kind;
  e.int1 = call.option;
  e.d1 = call.start;
  e.d2 = call.step;
  e.d3 = call.end;
  if (call.groupNumber != 0) e.d4 = RangeRef(call.groupNumber, call.groupNumber);
  if (call.rangeNumber != 0) e.d7 = RangeRef(call.rangeNumber, call.rangeNumber);
  return e;
}

handover::NcElement& AddPositioning(HandoverBuilder& job, int number, double x, double y, double z) {
  handover::NcElement& e = job.Add(number, 0x7000);
  e.flags = 0x100;  // the Z is the element's own
  e.d3 = z;
  e.d4 = x;
  e.d5 = y;
  return e;
}

void AddContour(HandoverBuilder& job, int number, const ContourOptions& options) {
  constexpr int kPointGiven = 0x60;
  constexpr int kValue5Present = 0x100;
  // The CAM data writer marks a contour command's tool offset in d1 with flags 3.
  constexpr int kOffsetGiven = 3;
  constexpr int kFeedGiven = 0x9000;
  handover::NcElement& cutIn = job.Add(number, 0x7300);
  cutIn.flags = kPointGiven | kValue5Present;
  cutIn.d2 = options.toX;
  cutIn.d3 = options.toY;
  cutIn.d5 = options.z;
  if (options.down != 0.0) {
    handover::NcElement& down = job.Add(number, 0x6200);
    down.d4 = options.down;
  }
  handover::NcElement& contour = job.Add(number, 0x7100);
  contour.flags = kFeedGiven;
  if (options.offset != 0.0) contour.flags |= kOffsetGiven;
  contour.d1 = options.offset;
  contour.d4 = RangeRef(options.figureNumber, options.figureNumber);
  contour.d5 = options.z;
  contour.d7 = options.feed;
  if (options.overrunCommand) {
    handover::NcElement& overrun = job.Add(number, 0x7400);
    overrun.flags = kPointGiven;
    overrun.d2 = options.toX;
    overrun.d3 = options.toY;
  }
  if (options.up != 0.0) {
    handover::NcElement& up = job.Add(number, 0x6300);
    up.d4 = options.up;
  }
}

}  // namespace testsupport
