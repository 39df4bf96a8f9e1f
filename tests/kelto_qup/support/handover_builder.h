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

// The values of one hole command (0x6800 and its kin).
struct HoleSpec {
  int code = 0x6800;
  double cycle = 81.0;    // canned-cycle code; 1 explicit moves
  double bottom = -10.0;  // Z of the hole bottom
  double rLevel = 2.0;    // R level
  double feed = 100.0;    // 0: no feed word
  double peck = 0.0;      // Q (flags bit 0x1)
  double dwell = 0.0;     // P (flags bit 0x2)
  double repeat = 0.0;    // K
  double pitch = 0.0;     // holes along lines and arcs
  double retract = 0.0;   // 0x6C00: retract after each peck
  int flags = 0;          // further flag bits (0x0008 path milling)
};

class HandoverBuilder {
 public:
  HandoverBuilder();

  // The stream's first record (number 0, a line along X).
  void Begin();
  handover::NcElement& Add(int number, int code);
  void Point(int number, double x, double y, double zOffset = 0.0);
  void Line(int number, double x0, double y0, double x1, double y1);
  // An arc from (sx, sy) to (ex, ey) about (cx, cy); radius > 0 counter-clockwise.
  void Arc(int number, double radius, double sx, double sy, double ex, double ey, double cx, double cy);

  // A process with its tool map record (returns the record's number from 1):
  // tool data, the tool change (not for the first), the process start at
  // (x, y, startZ) with the spindle speed.
  int BeginProcess(int number, int tool, double x, double y, double startZ, double spindle, double diameter = 10.0,
                   double mCode = 0.0);
  // The cut-in of a hole process; returnToR sets the return-level bit.
  void HoleCutIn(int number, bool returnToR = false);
  void Hole(int number, int firstPoint, int lastPoint, const HoleSpec& hole);
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
};

// The run's drawing folder "<data root>/UNIT/PGM/DAT" (created by Write).
std::filesystem::path DatFolder(const std::filesystem::path& dataRoot);

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

}  // namespace testsupport
