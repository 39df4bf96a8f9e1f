#pragma once
// NcElement: one 96-byte record of the element stream "$DORN_DAT.@@@".
//
// Written by Kelto_Dorn's CAM data builder, one record per element, in a
// cleared record (every field a code does not name is 0); read whole by
// Kelto_qup's job load into its element table, which holds the records
// unchanged. "$CG_WINDW.@@@" (the run's extents) reuses the same layout.
//
// | off | type   | field  | unit / meaning                                       |
// |-----|--------|--------|------------------------------------------------------|
// |   0 | int32  | number | element number: figure number, curve or surface key, |
// |     |        |        | or a number of a definition's range (not an index)   |
// |   4 | int32  | code   | ElementCode: high byte kind, low byte variant        |
// |   8 | int32  | flags  | code-specific bits, or an index (0x9900: code line   |
// |     |        |        | index; 0x9A00: tool map record number from 1)         |
// |  12 | int32  | int1   | code-specific                                        |
// |  16 | int32  | int2   | code-specific (0x6110: output T number)              |
// |  20 | int32  | int3   | code-specific                                        |
// |  24 | double | d0..d8 | nine code-specific doubles at 24, 32, ... 88;        |
// |     |        |        | lengths mm, angles degrees                           |
//
// Geometry as written: point 0x1100 d4/d5 the point (d6/d7 again);
// line 0x1200 d2/d3 unit direction, d4/d5 end, d6/d7 start;
// arc 0x1300 d1 signed radius (positive counter-clockwise), d2/d3 start or 0,
// d4/d5 end, d6/d7 centre; curve 0x1400 (ellipse) d0/d1 semi-axes, d2/d3 axis
// direction, d4/d5 centre. Element ranges are packed in one double as
// first + last x 0.000001 (see the engine's FixedPointPair).
//
// Hole processes, as the CAM data builder writes them and the companion
// reads them. "def +n" is the machining definition's field at byte n, "step
// +n" the step condition's, "tool +n" the step tool's (the ATC row layout);
// every length is a Z or a distance in mm. A field not listed is 0.
//
// 0x6110 process start of a hole process: flags 0x8100 (0x8110 with d0 = the
// tapping M code, tool +16, when the canned cycle tool +12 is 84 or 74; bit
// 0x1 order mark, bit 0x2 M00 mark); d1/d2 tool +40/+44; d3 the process
// start Z (def +80; a post may add the tool's corner radius or tip); d4/d5 the start point X/Y (def
// +64/+72); d6 spindle speed (tool +8); d7 ATC number; int2 output T number.
//
// 0x7300 hole cut-in (before the holes of a definition): flags 0x4500, or
// 0x4900 (bit 0x0800: holes return to the R level, G99) when the return
// level def +20 is 1; d5 the I point (def +88), the start level of the hole
// group (0: the process start Z); d6 the tool's H code (tool +28).
//
// 0x6800 drilled hole, one per hole item:
//   flags  0x120; | 0x1 with d2; | 0x2 with d3; | 0x9000 with d7; | 0x8 for a
//          chamfer milled round the hole (fields below)
//   int1   ATC number; int2 output T number
//   d0     repeat count K (tool +24)
//   d1     R level (def +96)
//   d2     peck depth Q (tool +60), flag 0x1
//   d3     dwell P (tool +64), flag 0x2
//   d4     the hole item: its curve key (+1 for a curve attribute above 4)
//          as a range key.key of figure numbers, points or lines and arcs
//   d5     hole bottom Z (step +48), the Z of the tool tip at the bottom
//   d6     canned-cycle code (tool +12): 81, 82, 83, 84 ...; 0 or 1 none
//   d7     feed (tool +56), flags 0x9000
//   d8     0 (no pitch is sent: holes along lines and arcs are spaced at
//          half the tool diameter)
//   With flag 0x8 (a 90-degree chamfer tool going round a hole): d8 the
//   diameter of the hole the chamfer goes round (step +112), the tool tip
//   runs on that circle; d2 the down feed (step +128) and d3 the approach
//   feed (step +256) in place of Q and P (flags 0x1 and 0x2 are then clear);
//   d7 the feed round the circle; d5 the chamfer depth.
//
// 0x6C00 deep hole (high speed): the fields of 0x6800 without flag 0x8,
// with d2 the top cut (tool +60) and d3 the high-speed cut (tool +64); d6
// holds tool +12, here the high-speed spindle speed, and the high-speed
// feed is tool +16 of the process's tool map record. No retract amount is
// sent: each peck backs off 1 mm.
//
// 0x7B00 helix values (once, before the helical holes): d0 = d6 - 2 x d1;
// d1 tool +40 / cos(taper) + tool +44; d2/d3 unit vector of the section
// taper angle (step +96); d5 bottom Z (step +48 + step +80); d6 helical
// hole diameter (step +112); d8 reference hole depth (step +56).
//
// 0x6B00 helical hole, one per hole item: flags 0x120, 0x121 (bit 0x1: the
// helix runs on the hole diameter itself with G41 compensation; otherwise
// the tool centre runs on the hole diameter minus the tool diameter),
// | 0x9000 with d7; int1 step number; d0 helical hole diameter (step +112);
// d1 R level (def +96); d2 descent per turn (step +88); d3 surface Z (step
// +40); d4 the hole item as 0x6800; d5 bottom Z (step +48 + step +80); d6
// helix inclination angle in degrees (tool +64); d7 feed (tool +56).
//
// 0xCC00 hole points as a subprogram (after a 0x6800 when the drawing asks
// for it): flags the subprogram number offset (tool +32, at least 1); int2
// the item index; int3 99 for the last item.
//
// The frame of every definition, as the CAM data builder writes it:
//
// 0xEC54 definition start: number = step index x 256 + definition number +
// 300, or the previous definition's end number (its last number + 100) when
// larger; the records of the definition count up from it; flags the
// work coordinate system (def +12, 0..5 = G54..G59).
// 0xBB00 tool data: flags ATC number; int1 M code (tool +16); int2 output T
// (tool +72); int3 post M code (tool +76); d0 diameter (at least 0.0001);
// d1 corner radius; d2 tip length; d3 the step's compensation bits (step
// +248, low 4 bits) at a process start, tool +20 (tapping twice) for holes;
// d4 H code; d5 peck Q; d6 P value; d7 canned cycle; d8 feed.
// 0x9A00 tool change (not before the first process): flags the number (from
// 1) of the tool map record written with it; d4 ATC number; d6 spindle
// speed; d1/d2 tool +40/+44 unless def +32 is set.
// 0x6100/0x6110 process start of the contour family: 0x6110 with d7 the ATC
// number and int2 the output T when the tool has an ATC number; flags 0x8100,
// | 0x1 order mark, | 0x2 M00 mark; d0 step +160; d1/d2 tool +40/+44; d3
// start Z (def +80); d4/d5 start X/Y (def +64/+72); d6 spindle speed; d8 0
// (the feed factor: 100 %); int1 step number (step +20).
// 0x9900 text line: flags the index of its code line ("$DORN_CDE.@@@").
// 0x9700 post marker: d4 the definition's post number (def +8).
// 0x7200 process end: before a new tool, flags 0 (the tool returns to the
// process start); flags 0x100 when the same tool goes on or an escaped item
// ends, then d5 the tool move Z (step +168, or def +80 when that is below
// -999).
// 0xA900 process repeat: the next process keeps the tool and cutting values.
// 0xFA00 figure reference: d4 a DRAW figure's key value; d5 a second key
// value (flags 0x10) or the slot's value.
// 0xBE00 finish-hole head; 0xD000 contour-finish head (d5 EXT_Z of the
// finishing-pass settings); 0x6900 end of machining (990000, flags 128 when
// the pit-in section follows); 0xD100 pit-in section (990001); 0xD200 pit-in
// program start (d5 EXT_Z for a contour finish); 0xD400 its end; 0xFF00 end
// of stream (999999).
// A curve, surface or element number named in a double is written as its key
// value (key + key x 0.000001), which the companion's pre-pass turns into a
// range of table indexes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "platform/record_file.h"

namespace handover {

struct NcElement {
  std::int32_t number = 0;
  std::int32_t code = 0;
  std::int32_t flags = 0;
  std::int32_t int1 = 0;  // the integer at offset 12
  std::int32_t int2 = 0;  // the integer at offset 16
  std::int32_t int3 = 0;  // the integer at offset 20
  double d0 = 0.0;
  double d1 = 0.0;
  double d2 = 0.0;
  double d3 = 0.0;
  double d4 = 0.0;
  double d5 = 0.0;
  double d6 = 0.0;
  double d7 = 0.0;
  double d8 = 0.0;

  // The kind that the companion's interpreter dispatches on.
  std::int32_t Kind() const { return code & 0xFF00; }
  // The doubles by number 0..8, for code that walks them. An index outside
  // 0..8 is a fault of the caller: std::out_of_range names it.
  double& DoubleAt(int i);
  double DoubleAt(int i) const { return const_cast<NcElement*>(this)->DoubleAt(i); }
  std::array<double, 9> DoubleValues() const;
};

static_assert(sizeof(NcElement) == 96);
static_assert(offsetof(NcElement, number) == 0);
static_assert(offsetof(NcElement, code) == 4);
static_assert(offsetof(NcElement, flags) == 8);
static_assert(offsetof(NcElement, int1) == 12);
static_assert(offsetof(NcElement, int2) == 16);
static_assert(offsetof(NcElement, int3) == 20);
static_assert(offsetof(NcElement, d0) == 24);
static_assert(offsetof(NcElement, d1) == 32);
static_assert(offsetof(NcElement, d2) == 40);
static_assert(offsetof(NcElement, d3) == 48);
static_assert(offsetof(NcElement, d4) == 56);
static_assert(offsetof(NcElement, d5) == 64);
static_assert(offsetof(NcElement, d6) == 72);
static_assert(offsetof(NcElement, d7) == 80);
static_assert(offsetof(NcElement, d8) == 88);
static_assert(platform::FileRecord<NcElement>);

// The fixed element codes of the stream's frame that both programs name.
// Generator codes (contours, approaches, hole cycles, surfaces) belong to
// their writers and handlers.
namespace element_code {
inline constexpr std::int32_t kPoint = 0x1100;
inline constexpr std::int32_t kLine = 0x1200;
inline constexpr std::int32_t kArc = 0x1300;
inline constexpr std::int32_t kEllipse = 0x1400;
inline constexpr std::int32_t kProcessStart = 0x6100;
inline constexpr std::int32_t kProcessStartAtc = 0x6110;
inline constexpr std::int32_t kEndOfMachining = 0x6900;
inline constexpr std::int32_t kProcessEnd = 0x7200;
inline constexpr std::int32_t kPostMarker = 0x9700;
inline constexpr std::int32_t kTextLine = 0x9900;
inline constexpr std::int32_t kToolChange = 0x9A00;
inline constexpr std::int32_t kProcessRepeat = 0xA900;
inline constexpr std::int32_t kToolData = 0xBB00;
inline constexpr std::int32_t kFinishHoleHead = 0xBE00;
inline constexpr std::int32_t kScrewMarker = 0xC4C4;
inline constexpr std::int32_t kContourFinishHead = 0xD000;
inline constexpr std::int32_t kPitInSectionStart = 0xD100;
inline constexpr std::int32_t kPitInItemStart = 0xD200;
inline constexpr std::int32_t kPitInItemEnd = 0xD400;
inline constexpr std::int32_t kDefinitionStart = 0xEC54;
inline constexpr std::int32_t kFigureReference = 0xFA00;
inline constexpr std::int32_t kEndOfStream = 0xFF00;
}  // namespace element_code

// Fixed numbers of the stream's closing records.
inline constexpr std::int32_t kEndOfMachiningNumber = 990000;
inline constexpr std::int32_t kPitInSectionNumber = 990001;
inline constexpr std::int32_t kEndOfStreamNumber = 999999;

inline constexpr char kElementFileName[] = "$DORN_DAT.@@@";
// The most elements a stream may hold (the companion's element capacity).
inline constexpr std::size_t kMaxElements = 98560;

// Reads a whole element stream. Missing: status Missing and `elements` left
// as it was. A size that is not a whole number of records, more than
// maxElements records, or a double that is not finite is a damaged file:
// an error, and `elements` is left as it was.
platform::FileResult ReadElementFile(const std::filesystem::path& path, std::vector<NcElement>& elements,
                                     std::size_t maxElements = kMaxElements);

// Writes the stream whole and atomically. An element with a double that is
// not finite is refused (nothing is written) and named in the message.
platform::FileResult WriteElementFile(const std::filesystem::path& path, std::span<const NcElement> elements);

}  // namespace handover
