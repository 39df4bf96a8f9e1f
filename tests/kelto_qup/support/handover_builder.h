#pragma once
// HandoverBuilder: writes the hand-over files of one NC creation job from the
// record layouts, so that tests describe a job element by element instead of
// in hex: "$DORN_DAT.@@@", "$DORN_CDE.@@@", "$P_MAP.@@@", "$oikomi_map.@@@",
// "$POST.@@@" and the system record "$@@@.@@@".
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "shared/handover/code_line_record.h"
#include "shared/handover/drawing_header.h"
#include "shared/handover/nc_element.h"
#include "shared/handover/pit_in_map_record.h"
#include "shared/handover/post_definition.h"
#include "shared/handover/tool_map_record.h"

namespace testsupport {

// A range reference of element numbers as the stream packs it.
inline double RangeRef(int first, int last) { return first + last * 0.000001; }

// A hole process as the CAM data builder sees it: the hole definition, the
// step's condition and the step's tool, named after the fields the builder
// copies into the elements (the byte offsets in brackets are those of the
// definition record, the step condition and the tool's ATC row). The hole
// elements are made from these exactly as the builder makes them; the
// meaning of every hole field is described with NcElement
// (shared/handover/nc_element.h).
struct HoleDefinition {
  int postNumber = 1;      // [+8] post record, 1-based
  int workCoordinate = 0;  // [+12] 0..5 = G54..G59
  int dataFormat = 0;      // [+16] 0 main program, 10 subprogram (0x9F00)
  int returnLevel = 0;     // [+20] 0 G98 (start level), 1 G99 (R level)
  double atcX = 0.0;       // [+64] the process start point X
  double atcY = 0.0;       // [+72] the process start point Y
  double atcZ = 50.0;      // [+80] the process start Z (tool change level)
  double iPoint = 0.0;     // [+88] start level of the holes; 0 the process start Z
  double rPoint = 2.0;     // [+96] R level
  double through = 0.0;    // [+104] through amount
};

struct HoleStepCondition {
  double surfaceZ = 0.0;      // [+40] machining surface Z
  double depth = -10.0;       // [+48] hole bottom Z (tool tip)
  double referenceZ = 0.0;    // [+56] helical: Z of the nominal diameter
  double value80 = 0.0;       // [+80] chamfer offset x cos 45; helical/deep: added to the depth
  double value88 = 0.0;       // [+88] helical: descent per turn
  double taperAngle = 0.0;    // [+96] helical: section taper, degrees
  double holeDiameter = 0.0;  // [+112] helical hole diameter; chamfer: the hole it goes round
  double downFeed = 0.0;      // [+128] chamfer down feed
  double approachFeed = 0.0;  // [+256] chamfer approach feed
  int compensation = 0;       // [+248] bit 0 left (G41), bit 1 right
  int dNumber = 0;            // [+252] D number
};

// The step tool, the fields of the ATC row.
struct StepTool {
  int atcNumber = 5;        // [+4]
  int spindleSpeed = 1200;  // [+8]
  int cannedCycle = 81;     // [+12] deep hole: the high-speed spindle speed
  int mCode = 0;            // [+16] deep hole: the high-speed feed
  int tapTwice = 0;         // [+20]
  int kCode = 0;            // [+24] repeat count K
  int hCode = 0;            // [+28] tool-length offset number
  int dCode = 0;            // [+30]
  int stepWord = 1;         // [+32] hole subprogram number offset
  double diameter = 10.0;   // [+36]
  double cornerRadius = 0;  // [+40]
  double flatRadius = 0;    // [+44]
  double tipAngle = 118.0;  // [+48] 90 marks a chamfer tool
  double tipLength = 3.0;   // [+52]
  double feed = 100.0;      // [+56]
  double peckDepth = 0.0;   // [+60] Q; deep hole: the top cut
  double pCode = 0.0;       // [+64] P; deep hole: the high-speed cut; helical: inclination
  double fluteLength = 0;   // [+68]
  int outputTNumber = 0;    // [+72]
  int coolant = 1;          // [+78]
  std::string secName = "DRILL";
  std::string toolName = "TOOLS";
};

struct HoleProcess {
  int code = 0x6800;  // the definition's hole kind: 0x6800, 0x6B00 helical, 0x6C00 deep
  HoleDefinition definition;
  HoleStepCondition step;
  StepTool tool;
};

class HandoverBuilder {
 public:
  HandoverBuilder();

  // The stream's first record (number 0, a line along X).
  void Begin();
  handover::NcElement& Add(int number, int code);
  void Point(int number, double x, double y);
  void Line(int number, double x0, double y0, double x1, double y1);
  // An arc from (sx, sy) to (ex, ey) about (cx, cy); radius > 0 counter-clockwise.
  void Arc(int number, double radius, double sx, double sy, double ex, double ey, double cx, double cy);

  // A process with its tool map record (returns the record's number from 1):
  // tool data, the tool change (not for the first), the process start at
  // (x, y, startZ) with the spindle speed; a non-zero mCode makes it a
  // tapping process (canned cycle 84) that starts its spindle with that M code.
  int BeginProcess(int number, int tool, double x, double y, double startZ, double spindle, double diameter = 10.0,
                   double mCode = 0.0);
  // The start of a definition (0xEC54): its work coordinate system.
  void BeginDefinition(int number, const HoleProcess& process);
  // The process change of a hole definition, as the builder writes it: tool
  // data, the tool change with its tool map record (not for the first), the
  // hole-output switch (drilling only), the process start, the process parameters and, for
  // a helical process, its helix values. Returns the tool map record's number.
  int BeginHoleProcess(int number, const HoleProcess& process);
  // The cut-in of a hole definition (its start level and return mode).
  void HoleCutIn(int number, const HoleProcess& process);
  // One hole item: a hole command of the process's kind over the figures
  // numbered itemKey.
  void Hole(int number, int itemKey, const HoleProcess& process);
  // A whole hole process of one item: its process change (numbered
  // `number`), cut-in (number + 1), holes over the figures numbered itemKey
  // (number + 2) and process end (number + 100).
  void HoleProcessItem(int number, int itemKey, const HoleProcess& process);
  void TextLine(int number, const std::string& cp932Text);
  void ProcessEnd(int number);
  // The closing records 0x6900 (990000) and 0xFF00 (999999).
  void End();

  // A post that writes decimal points, with rs274-readable templates.
  static handover::PostTable DecimalPointPosts();

  // Writes every hand-over file into the program folder; the post table and
  // the system record also go to the data root (here the same folder).
  void Write(const std::filesystem::path& programFolder) const;

  std::vector<handover::NcElement> elements;
  std::vector<handover::ToolMapRecord> toolMap;
  handover::CodeLineTable codeLines{};
  std::size_t codeLineCount = 0;
  std::vector<handover::PitInMapRecord> pitIn;
  handover::PostTable posts;
  handover::DrawingHeader header;
  bool writePosts = true;

 private:
  // Tool data, the tool map record and (from the second record on) its tool
  // change; returns the record's number.
  int AddToolRecords(int number, const handover::ToolMapRecord& record, bool holeTool, int compensationBits);
  handover::NcElement& AddProcessStart(int number, const handover::ToolMapRecord& record, double x, double y, double z);
};

// The run's drawing folder "<data root>/UNIT/PGM/DAT" (created by Write).
std::filesystem::path DatFolder(const std::filesystem::path& dataRoot);

// For runs outside a test fixture (the benchmarks): the folder "<temp>/<name>",
// emptied, made the program folder and the data root.
std::filesystem::path FreshProgramFolder(const std::string& name);

}  // namespace testsupport

namespace testsupport {

// "CALL_ON" (0x7800) as the CAM writer writes a joint: the call kind in the
// flags, d1 the start value, d2 the step (0 a plain call), d3 the final
// value, d4 the group's element numbers (0: the elements that follow the
// command, up to its closing 0x7400), d7 the range of an intersection call,
// int1 the option word.
struct CallSpec {
  int kind = 0;
  double start = 0.0;
  double step = 0.0;
  double end = 0.0;
  int groupNumber = 0;  // the number of the group's elements; 0 the following ones
  int rangeNumber = 0;  // the number of the intersected elements (kinds 17 and 18)
  int option = 0;
};
handover::NcElement& AddCallOn(HandoverBuilder& job, int number, const CallSpec& call);

// A positioning with tool change (0x7000) to (x, y) at z.
handover::NcElement& AddPositioning(HandoverBuilder& job, int number, double x, double y, double z);

// One contour of a process, as the CAM builder writes a plane contour step.
struct ContourOptions {
  int figureNumber = 100;  // the number the contour's figures carry
  double offset = 0.0;     // tool offset, positive to the left of travel
  double z = -5.0;         // the contour's depth
  double feed = 300.0;     // cutting feed
  double toX = 0.0;        // the tool-offset point the lead lines run through
  double toY = 0.0;
  double down = 10.0;      // the approach comes down this far onto the contour (0: none)
  double up = 10.0;        // the escape goes up this far (0: none)
  // The overrun command (0x7400 through the tool-offset point) after the
  // contour command: the walk leaves the contour there. Left out only where
  // a further pass of the same cut-in follows and brings its own.
  bool overrunCommand = true;
};

// Writes the cut-in (0x7300 with the tool-offset point), the approach down
// (0x6200), the contour command (0x7100 over the figures numbered
// figureNumber; the offset in d1 marked with flags 3 as the CAM data writer
// marks it, depth in d5, feed in d7), the overrun (0x7400 through the same
// point) and the escape up (0x6300), all numbered `number`.
void AddContour(HandoverBuilder& job, int number, const ContourOptions& options);

}  // namespace testsupport
