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
