#pragma once
// MachiningTimeTable: "$KP_TIME.@@@" in the data root, four 56-byte records
// (one per machine setting 1 to 4), 224 bytes.
//
// Written by Kelto_Dorn's machining-time settings dialog; read by Kelto_Dorn
// and by Kelto_qup at start-up, which takes the record that the system
// record's machiningTimeRecord names (DrawingHeader::MachiningTimeRecordNumber)
// for the predicted machining time. Each program keeps its own defaults for a
// missing file.
//
// | off | type     | field          | meaning                                  |
// |-----|----------|----------------|------------------------------------------|
// |   0 | int32    | machineNumber  | machine setting number 1-4               |
// |   4 | int32    | rapidRate      | G00 rapid rate, mm/min                   |
// |   8 | int32    | toolChangeTime | ATC tool change time, seconds            |
// |  12 | char[12] | reserved12     |                                          |
// |  24 | double   | timeFactor     | factor on the whole predicted time       |
// |  32 | char[24] | reserved32     |                                          |
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "platform/record_file.h"

namespace handover {

struct MachiningTimeRecord {
  std::int32_t machineNumber = 0;
  std::int32_t rapidRate = 0;
  std::int32_t toolChangeTime = 0;
  char reserved12[12] = {};
  double timeFactor = 1.0;
  char reserved32[24] = {};
};
static_assert(sizeof(MachiningTimeRecord) == 56);
static_assert(offsetof(MachiningTimeRecord, machineNumber) == 0);
static_assert(offsetof(MachiningTimeRecord, rapidRate) == 4);
static_assert(offsetof(MachiningTimeRecord, toolChangeTime) == 8);
static_assert(offsetof(MachiningTimeRecord, reserved12) == 12);
static_assert(offsetof(MachiningTimeRecord, timeFactor) == 24);
static_assert(offsetof(MachiningTimeRecord, reserved32) == 32);

struct MachiningTimeTable {
  static constexpr int kRecordCount = 4;
  MachiningTimeRecord records[kRecordCount];
  // The record of machine setting 1..4 (DrawingHeader::MachiningTimeRecordNumber).
  const MachiningTimeRecord& Record(int number) const { return records[number - 1]; }
};
static_assert(sizeof(MachiningTimeTable) == 224);
static_assert(platform::FileRecord<MachiningTimeTable>);

inline constexpr char kMachiningTimeFileName[] = "$KP_TIME.@@@";

// Reads the four records whole. Missing: status Missing, `table` unchanged.
// Any size but 224 bytes, or a factor that is not a number: damaged, `table`
// unchanged.
platform::FileResult ReadMachiningTimeTable(const std::filesystem::path& path, MachiningTimeTable& table);

}  // namespace handover
