#pragma once
// PitInMapRecord: one 56-byte item of the pit-in map "$oikomi_map.@@@" in the
// program folder (finishing passes that take the last depth off in sections).
//
// Written by Kelto_Dorn's CAM data builder after the element stream, only
// when pit-in items exist: the items from the first while their kind is
// non-zero, at most 108. Read by Kelto_qup's job report, which prints each
// item under the process whose tool map number it carries.
//
// | off | type     | field          | meaning                                    |
// |-----|----------|----------------|--------------------------------------------|
// |   0 | int32    | kind           | 1 bottom finish, 2 contour finish; 0 ends  |
// |     |          |                | the table and is never written (valid)     |
// |   4 | int32    | toolMapNumber  | number of the next ToolMapRecord when the  |
// |     |          |                | item was taken (the report's process no.)  |
// |   8 | int32[4] | sectionNumbers | element numbers of the four passes (bases  |
// |     |          |                | 1000..4000); the report's program numbers  |
// |  24 | double[4]| depths         | finishing depth of each pass, mm           |
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "platform/record_file.h"

namespace handover {

struct PitInMapRecord {
  std::int32_t kind = 0;
  std::int32_t toolMapNumber = 0;
  std::int32_t sectionNumbers[4] = {};
  double depths[4] = {};

  // The report's names for the same bytes.
  std::int32_t valid() const { return kind; }
  std::int32_t processNumber() const { return toolMapNumber; }
  const std::int32_t (&programNumbers() const)[4] { return sectionNumbers; }

  static constexpr std::int32_t kEndOfTable = 0;
  static constexpr std::int32_t kBottomFinish = 1;
  static constexpr std::int32_t kContourFinish = 2;
};

static_assert(sizeof(PitInMapRecord) == 56);
static_assert(offsetof(PitInMapRecord, kind) == 0);
static_assert(offsetof(PitInMapRecord, toolMapNumber) == 4);
static_assert(offsetof(PitInMapRecord, sectionNumbers) == 8);
static_assert(offsetof(PitInMapRecord, depths) == 24);
static_assert(offsetof(PitInMapRecord, depths) + 8 == 32);
static_assert(offsetof(PitInMapRecord, depths) + 16 == 40);
static_assert(offsetof(PitInMapRecord, depths) + 24 == 48);
static_assert(platform::FileRecord<PitInMapRecord>);

inline constexpr char kPitInMapFileName[] = "$oikomi_map.@@@";
// The builder writes at most this many items.
inline constexpr std::size_t kMaxPitInItems = 108;
// The report's table holds this many; a longer file is damaged.
inline constexpr std::size_t kMaxPitInItemsRead = 128;

// Reads the map: whole records, at most kMaxPitInItemsRead. Reading ends at
// the first item of kind 0 (the rest is not taken). Missing: status
// Missing, `items` left as it was. A size that is not a whole number of
// records, too many records, a kind other than 0, 1 or 2, or a depth that
// is not finite: damaged, `items` left as it was.
platform::FileResult ReadPitInMap(const std::filesystem::path& path, std::vector<PitInMapRecord>& items);

// Writes the items up to the first of kind 0, at most kMaxPitInItems.
// More items, a kind outside 0..2 or a depth that is not finite is refused
// and nothing is written.
platform::FileResult WritePitInMap(const std::filesystem::path& path, std::span<const PitInMapRecord> items);

// The same map as one file of a set written together
// (platform::WriteFilesTogether): the same refusal, nothing written; on
// success `file` names path and points into `items`.
platform::FileResult PreparePitInMap(const std::filesystem::path& path, std::span<const PitInMapRecord> items,
                                     platform::FileWrite& file);

}  // namespace handover
