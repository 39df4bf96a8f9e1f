#pragma once
// TextRecord: one 96-byte text or dimension text; the same bytes in memory,
// in drawing files and in undo files. theApp holds 24800 of them and a second
// bank of the same size used by compaction.
//
// | off | type     | field   | meaning                                           |
// |-----|----------|---------|---------------------------------------------------|
// |   0 | int32    | layer   | 0-31; -1 free; a negative value ends the list;    |
// |     |          |         | 888 hidden                                        |
// |   4 | int32    | colour  | palette index                                     |
// |   8 | float    | size    | text height (mm)                                  |
// |  12 | float    | angle   | degrees                                           |
// |  16 | 2 float  | base    | base point X, Y (mm)                              |
// |  24 | 2 float  | origin  | layer origin current when the text was made       |
// |  32 | char[60] | text    | CP932, at most 59 bytes and a terminating NUL     |
// |  92 | int32    | group   | 0 none; links the parts of an extended dimension  |
//
// Records 0-2 are work records of the dimension commands (the work box's size
// texts); compaction starts at record 3.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

namespace dorn {

struct TextRecord {
  std::int32_t layer = 0;
  std::int32_t colour = 0;
  float size = 0.0f;
  float angle = 0.0f;
  float baseX = 0.0f;
  float baseY = 0.0f;
  float originX = 0.0f;
  float originY = 0.0f;
  char text[60] = {};
  std::int32_t group = 0;
};

static_assert(std::is_standard_layout_v<TextRecord>);
static_assert(sizeof(TextRecord) == 96);
static_assert(offsetof(TextRecord, colour) == 4);
static_assert(offsetof(TextRecord, size) == 8);
static_assert(offsetof(TextRecord, angle) == 12);
static_assert(offsetof(TextRecord, baseX) == 16);
static_assert(offsetof(TextRecord, baseY) == 20);
static_assert(offsetof(TextRecord, originX) == 24);
static_assert(offsetof(TextRecord, originY) == 28);
static_assert(offsetof(TextRecord, text) == 32);
static_assert(offsetof(TextRecord, group) == 92);

inline constexpr int kTextRecordCount = 24800;
// Texts occupy records 0 .. kTextRecordCapacity - 1. The last record stays
// free: a drawing file ends its text section with an end record in that
// place, so a full list still fits the section's 24800 records. Every append
// (texts, extra parts of a dimension value, copies to another layer) checks
// this one capacity.
inline constexpr int kTextRecordCapacity = kTextRecordCount - 1;
// The first record that compaction moves; 0-2 belong to the dimension commands.
inline constexpr int kFirstFreeTextRecord = 3;
inline constexpr std::int32_t kTextRecordFree = -1;
inline constexpr std::int32_t kTextLayerHidden = 888;

// Stores CP932 text into the record's 60-byte field: cut to 59 bytes on a
// character boundary and terminated. The group number behind the field is
// never touched, however long the text is.
void SetTextRecordText(TextRecord& record, std::string_view cp932Text);

}  // namespace dorn
