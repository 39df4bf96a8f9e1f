// The test helper that writes hand-over files from the record layouts.
#include "tests/kelto_qup/support/handover_builder.h"

#include <cmath>
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

void HandoverBuilder::Point(int number, double x, double y, double zOffset) {
  handover::NcElement& e = Add(number, 0x1100);
  e.d4 = e.d6 = x;
  e.d5 = e.d7 = y;
  e.d8 = zOffset;
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

int HandoverBuilder::BeginProcess(int number, int tool, double x, double y, double startZ, double spindle,
                                  double diameter, double mCode) {
  handover::ToolMapRecord record;
  record.atcNumber = tool;
  record.spindleSpeed = static_cast<std::int32_t>(spindle);
  record.diameter = static_cast<float>(diameter);
  record.tipLength = 3.0f;
  record.feed = 100.0f;
  record.coolant = 1;
  record.machiningKind = 0xB400;
  record.postNumber = 1;
  platform::SetFieldText(record.secName, "DRILL");
  platform::SetFieldText(record.toolName, "TOOLS");
  toolMap.push_back(record);
  const int mapNumber = static_cast<int>(toolMap.size());

  handover::NcElement& data = Add(number, 0xBB00);
  data.flags = tool;
  data.d0 = diameter;
  if (mapNumber > 1) {
    handover::NcElement& change = Add(number, 0x9A00);
    change.flags = mapNumber;
    change.d4 = tool;
    change.d6 = spindle;
  }
  handover::NcElement& start = Add(number, 0x6110);
  start.flags = 0x8100 | (mCode != 0.0 ? 0x10 : 0);
  start.d0 = mCode;
  start.d3 = startZ;
  start.d4 = x;
  start.d5 = y;
  start.d6 = spindle;
  start.d7 = tool;
  start.int2 = tool;
  return mapNumber;
}

void HandoverBuilder::HoleCutIn(int number, bool returnToR) {
  handover::NcElement& e = Add(number, 0x7300);
  e.flags = returnToR ? 0x4900 : 0x4500;
}

void HandoverBuilder::Hole(int number, int firstPoint, int lastPoint, const HoleSpec& hole) {
  handover::NcElement& e = Add(number, hole.code);
  e.flags = 0x120 | hole.flags;
  e.d0 = hole.repeat;
  e.d1 = hole.bottom;
  if (hole.peck != 0.0) {
    e.flags |= 0x1;
    e.d2 = hole.peck;
  }
  if (hole.dwell != 0.0) {
    e.flags |= 0x2;
    e.d3 = hole.dwell;
  }
  e.d4 = RangeRef(firstPoint, lastPoint);
  e.d5 = hole.rLevel;
  e.d6 = hole.cycle;
  if (hole.feed > 0.0) {
    e.flags |= 0x9000;
    e.d7 = hole.feed;
  }
  e.d8 = hole.code == 0x6C00 ? hole.retract : hole.pitch;
}

void HandoverBuilder::TextLine(int number, const std::string& cp932Text) {
  if (codeLineCount >= codeLines.size()) throw std::length_error("code line table full");
  codeLines[codeLineCount].SetText(cp932Text);
  handover::NcElement& e = Add(number, 0x9900);
  e.flags = static_cast<std::int32_t>(codeLineCount++);
}

void HandoverBuilder::ProcessEnd(int number) { Add(number, 0x7200); }

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

}  // namespace testsupport
