#include "shared/handover/drawing_header.h"

#include <cmath>
#include <cstddef>
#include <iterator>
#include <vector>

#include "platform/text.h"
#include "shared/handover/record_io.h"

namespace handover {

int DrawingHeader::SerialPortIndex() const {
  const int index = portByte & kPortIndexMask;
  return index <= 8 ? index : -1;  // COM1..COM9
}

int DrawingHeader::MachiningTimeRecordNumber() const {
  return machiningTimeRecord >= 1 && machiningTimeRecord <= 4 ? machiningTimeRecord : 1;
}

DrawingHeader DefaultDrawingHeader() {
  DrawingHeader h;
  h.version = DrawingHeader::kVersionWord;
  platform::SetFieldText(h.drawingName, "TEST");
  platform::SetFieldText(h.unitName, "SAMPLE");
  platform::SetFieldText(h.secondName, "PGM");
  platform::SetFieldText(h.dataExtension, "DAT");
  h.showFigures = 1;
  h.portByte = 17;  // COM2, moves drawn while sending
  h.startMode = DrawingHeader::kNoStartMode;
  h.subMode = DrawingHeader::kNoStartMode;
  h.slowFeed = 75;  // mm/s
  h.word404 = 2;
  return h;
}

namespace {

void TerminateTexts(DrawingHeader& h) {
  platform::TerminateField(h.drawingName);
  platform::TerminateField(h.unitName);
  platform::TerminateField(h.secondName);
  platform::TerminateField(h.designerName);
  platform::TerminateField(h.name2);
  platform::TerminateField(h.name3);
  platform::TerminateField(h.dataExtension);
  platform::TerminateField(h.programComment);
}

// The value fields of the record by name; each must be a number.
struct NamedValue {
  const char* name;
  double DrawingHeader::*field;
};
constexpr NamedValue kDoubleFields[] = {
    {"origin offset X (+456)", &DrawingHeader::originOffsetX},
    {"origin offset Y (+464)", &DrawingHeader::originOffsetY},
    {"work size X (+472)", &DrawingHeader::workSizeX},
    {"work size Y (+480)", &DrawingHeader::workSizeY},
    {"work size Z (+488)", &DrawingHeader::workSizeZ},
};

std::string FloatName(std::size_t i) { return "value +" + std::to_string(offsetof(DrawingHeader, floats504) + 4 * i); }

std::string CheckValues(const DrawingHeader& h) {
  const std::vector<std::string> faults = DrawingHeaderValueFaults(h);
  return faults.empty() ? std::string() : faults.front();
}

bool OriginIndexInRange(const DrawingHeader& h) {
  return h.curOriginIndex >= 0 && h.curOriginIndex < DrawingHeader::kOriginsPerLayer;
}

}  // namespace

std::vector<std::string> DrawingHeaderValueFaults(const DrawingHeader& h) {
  std::vector<std::string> faults;
  for (const NamedValue& v : kDoubleFields) {
    if (!std::isfinite(h.*v.field)) faults.push_back(std::string(v.name) + " is not a number");
  }
  for (std::size_t i = 0; i < std::size(h.floats504); ++i) {
    if (!std::isfinite(h.floats504[i])) faults.push_back(FloatName(i) + " is not a number");
  }
  return faults;
}

std::vector<std::string> RepairDrawingHeader(DrawingHeader& h) {
  TerminateTexts(h);
  std::vector<std::string> repaired;
  for (const NamedValue& v : kDoubleFields) {
    if (std::isfinite(h.*v.field)) continue;
    repaired.push_back(std::string(v.name) + " was not a number and became 0");
    h.*v.field = 0.0;
  }
  for (std::size_t i = 0; i < std::size(h.floats504); ++i) {
    if (std::isfinite(h.floats504[i])) continue;
    repaired.push_back(FloatName(i) + " was not a number and became 0");
    h.floats504[i] = 0.0f;
  }
  if (!OriginIndexInRange(h)) {
    repaired.push_back("current origin index " + std::to_string(h.curOriginIndex) + " was outside 0..63 and became 0");
    h.curOriginIndex = 0;
  }
  return repaired;
}

std::string CheckDrawingHeader(DrawingHeader& h) {
  TerminateTexts(h);
  if (!OriginIndexInRange(h)) {
    return "current origin index " + std::to_string(h.curOriginIndex) + " is outside 0..63";
  }
  return CheckValues(h);
}

platform::FileResult ReadDrawingHeader(const std::filesystem::path& path, DrawingHeader& header) {
  DrawingHeader read;
  platform::FileResult result = platform::ReadRecord(path, read);
  if (result.missing()) {
    header = DefaultDrawingHeader();
    return result;
  }
  if (!result.ok()) return result;
  if (std::string fault = CheckDrawingHeader(read); !fault.empty()) return DamagedFile(path, fault);
  header = read;
  return result;
}

platform::FileResult WriteDrawingHeader(const std::filesystem::path& path, const DrawingHeader& header) {
  if (std::string fault = CheckValues(header); !fault.empty()) return RefusedWrite(path, fault);
  return platform::WriteRecord(path, header);
}

}  // namespace handover
