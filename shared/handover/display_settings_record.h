#pragma once
// DisplaySettingsRecord: "$CGM.@@@" in the program folder, 496 bytes: the
// step sizes of Kelto_qup's view keys and buttons and the colour shift of
// the tool colours.
//
// Written and read by Kelto_qup only (its display settings dialog edits the
// values; the program writes the file when it closes, reads it at start-up).
// The axis display, its grid spacing and its plane height are words of the
// graphic record of "$LIB.@@@" (the other program's drawing-state dialog
// edits them too), so they are not repeated here.
//
// | off | type      | field        | meaning                                    |
// |-----|-----------|--------------|--------------------------------------------|
// |   0 | int32     | colorOffset  | colour shift 0-31 when the program closed; |
// |     |           |              | start-up begins again at 0                 |
// |   4 | int32     | reserved4    | 0                                          |
// |   8 | double    | rotationStep | degrees per rotation command               |
// |  16 | double    | panStep      | pan per key or button, in 4-pixel units    |
// |  24 | double    | zoomStep     | zoom per key or button, percent            |
// |  32 | char[464] | reserved32   | 0                                          |
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "platform/record_file.h"

namespace handover {

struct DisplaySettingsRecord {
  std::int32_t colorOffset = 0;
  std::int32_t reserved4 = 0;
  double rotationStep = 10.0;
  double panStep = 20.0;
  double zoomStep = 20.0;
  char reserved32[464] = {};
};
static_assert(sizeof(DisplaySettingsRecord) == 496);
static_assert(offsetof(DisplaySettingsRecord, colorOffset) == 0);
static_assert(offsetof(DisplaySettingsRecord, reserved4) == 4);
static_assert(offsetof(DisplaySettingsRecord, rotationStep) == 8);
static_assert(offsetof(DisplaySettingsRecord, panStep) == 16);
static_assert(offsetof(DisplaySettingsRecord, zoomStep) == 24);
static_assert(offsetof(DisplaySettingsRecord, reserved32) == 32);
static_assert(platform::FileRecord<DisplaySettingsRecord>);

inline constexpr char kDisplaySettingsFileName[] = "$CGM.@@@";

// Reads the record. Missing: status Missing, `record` unchanged. Any size
// but 496 bytes, or a step that is not a number: damaged, `record` unchanged.
platform::FileResult ReadDisplaySettings(const std::filesystem::path& path, DisplaySettingsRecord& record);

// Writes the record atomically; a step that is not a number is refused.
platform::FileResult WriteDisplaySettings(const std::filesystem::path& path, const DisplaySettingsRecord& record);

}  // namespace handover
