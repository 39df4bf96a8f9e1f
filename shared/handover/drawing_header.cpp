#include "shared/handover/drawing_header.h"

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

std::string CheckValues(const DrawingHeader& h) {
  const double doubles[] = {h.originOffsetX, h.originOffsetY, h.workSizeX, h.workSizeY, h.workSizeZ};
  if (!AllFinite(doubles) || !AllFinite(h.floats504)) return "a work size or offset is not a number";
  return {};
}

}  // namespace

std::string CheckDrawingHeader(DrawingHeader& h) {
  TerminateTexts(h);
  if (h.curOriginIndex < 0 || h.curOriginIndex >= DrawingHeader::kOriginsPerLayer) {
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
