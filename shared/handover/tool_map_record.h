#pragma once
// ToolMapRecord: one 240-byte record of the tool map "$P_MAP.@@@", one per
// process (a new tool or new cutting values). Records are numbered from 1 in
// file order; a 0x9A00 tool-change element names the record by that number.
//
// Written by Kelto_Dorn's CAM data builder: the first 168 bytes are a copy of
// the step's tool record (the ATC row layout of the tool databases) with four
// fields replaced for the run, then values of the definition and the step.
// Read by Kelto_qup's job load (at most 768 records), its tool change and
// program head (T number, diameter, coolant, names) and its reports.
//
// | off | type     | field              | unit / meaning                            |
// |-----|----------|--------------------|-------------------------------------------|
// |   0 | int32    | compensationWord   | bit 0x1000 left (G41), 0x2000 right (G42), |
// |     |          |                    | low 12 bits the D number (0: T number);   |
// |     |          |                    | the tool row's in-use word before copying |
// |   4 | int32    | atcNumber          | T number; alias tNumber()                 |
// |   8 | int32    | spindleSpeed       | S word, rev/min; 0 none                   |
// |  12 | int32    | cannedCycle        | G code of the drilling cycle; >= 1 a hole |
// |  16 | int32    | mCode              | 0 none                                    |
// |  20 | int32    | tapTwice           | 1 on                                      |
// |  24 | int32    | mark               | the machining order's mark (was K code)   |
// |  28 | int16    | stopFlag           | M00 mark: non-zero stops before the       |
// |     |          |                    | process; D code valid when >= 1           |
// |     |          |                    | (was the H code, kept at 188)             |
// |  30 | int16    | dCode              | radius offset number                      |
// |  32 | int32    | stepWord           | step tools' own word                      |
// |  36 | float    | diameter           | mm                                        |
// |  40 | float    | cornerRadius       | mm                                        |
// |  44 | float    | flatRadius         | mm                                        |
// |  48 | float    | tipAngle           | degrees                                   |
// |  52 | float    | tipLength          | mm                                        |
// |  56 | float    | feed               | F word, mm/min                            |
// |  60 | float    | peckDepth          | cut-in Q, mm                              |
// |  64 | float    | pCode              | P word                                    |
// |  68 | float    | fluteLength        | mm                                        |
// |  72 | int32    | outputTNumber      | 0 none                                    |
// |  76 | int16    | postMCode          | 0 none                                    |
// |  78 | int16    | coolant            | 0 none, 1 oil, 2 air, 3 S-oil, 4 S-air;   |
// |     |          |                    | also the machine M-code kind              |
// |  80 | char[24] | secName            | the tool record's name                    |
// | 104 | char[64] | toolName           | the tool folder's name, printed first     |
// |     |          |                    | ("name prefix", "(DIA%3.2f %s)" comment)  |
// | 168 | int32    | machiningKind      | MachiningKind of the definition           |
// | 172 | int32    | workCoordinate     | 0..5 = G54..G59 (definition int at 12)    |
// | 176 | int32    | postNumber         | post record index (definition int at 8)   |
// | 180 | int32    | kCode              | the tool row's own int at 24 (K code)     |
// | 184 | int32    | compensationSide   | 1 left, 2 right, else the tool's value    |
// | 188 | int16    | hCode              | the tool row's own H code                 |
// | 190 | int16    | reserved190        | written as 0                              |
// | 192 | double   | originZ            | Z origin, mm                              |
// | 200 | double   | holeIPointZ        | hole I point, mm; alias travelZ()         |
// | 208 | double   | holeRPointZ        | hole R point, mm                          |
// | 216 | double   | holeThroughAmount  | mm                                        |
// | 224 | double   | stepDepth          | the step condition's depth, mm            |
// | 232 | double   | stepValue48        | the step condition's double at 48         |
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "platform/record_file.h"

namespace handover {

struct ToolMapRecord {
  // The copied tool row (168 bytes).
  std::int32_t compensationWord = 0;
  std::int32_t atcNumber = 0;
  std::int32_t spindleSpeed = 0;
  std::int32_t cannedCycle = 0;
  std::int32_t mCode = 0;
  std::int32_t tapTwice = 0;
  std::int32_t mark = 0;
  std::int16_t stopFlag = 0;
  std::int16_t dCode = 0;
  std::int32_t stepWord = 0;
  float diameter = 0.0f;
  float cornerRadius = 0.0f;
  float flatRadius = 0.0f;
  float tipAngle = 0.0f;
  float tipLength = 0.0f;
  float feed = 0.0f;
  float peckDepth = 0.0f;
  float pCode = 0.0f;
  float fluteLength = 0.0f;
  std::int32_t outputTNumber = 0;
  std::int16_t postMCode = 0;
  std::int16_t coolant = 0;
  char secName[24] = {};
  char toolName[64] = {};
  // Values of the definition and the step.
  std::int32_t machiningKind = 0;
  std::int32_t workCoordinate = 0;
  std::int32_t postNumber = 0;
  std::int32_t kCode = 0;
  std::int32_t compensationSide = 0;
  std::int16_t hCode = 0;
  std::int16_t reserved190 = 0;
  double originZ = 0.0;
  double holeIPointZ = 0.0;
  double holeRPointZ = 0.0;
  double holeThroughAmount = 0.0;
  double stepDepth = 0.0;
  double stepValue48 = 0.0;

  // The reports and the tool change know these bytes by other names.
  std::int32_t& tNumber() { return atcNumber; }
  std::int32_t tNumber() const { return atcNumber; }
  double& travelZ() { return holeIPointZ; }
  double travelZ() const { return holeIPointZ; }

  // Compensation word bits.
  static constexpr std::int32_t kCompensationLeft = 0x1000;
  static constexpr std::int32_t kCompensationRight = 0x2000;
  static constexpr std::int32_t kDNumberMask = 0x0FFF;
};

// The copied tool row ends here; the CAM data builder copies its 168-byte
// tool record over the first kToolRowBytes bytes.
inline constexpr std::size_t kToolRowBytes = 168;

static_assert(sizeof(ToolMapRecord) == 240);
static_assert(offsetof(ToolMapRecord, compensationWord) == 0);
static_assert(offsetof(ToolMapRecord, atcNumber) == 4);
static_assert(offsetof(ToolMapRecord, spindleSpeed) == 8);
static_assert(offsetof(ToolMapRecord, cannedCycle) == 12);
static_assert(offsetof(ToolMapRecord, mCode) == 16);
static_assert(offsetof(ToolMapRecord, tapTwice) == 20);
static_assert(offsetof(ToolMapRecord, mark) == 24);
static_assert(offsetof(ToolMapRecord, stopFlag) == 28);
static_assert(offsetof(ToolMapRecord, dCode) == 30);
static_assert(offsetof(ToolMapRecord, stepWord) == 32);
static_assert(offsetof(ToolMapRecord, diameter) == 36);
static_assert(offsetof(ToolMapRecord, cornerRadius) == 40);
static_assert(offsetof(ToolMapRecord, flatRadius) == 44);
static_assert(offsetof(ToolMapRecord, tipAngle) == 48);
static_assert(offsetof(ToolMapRecord, tipLength) == 52);
static_assert(offsetof(ToolMapRecord, feed) == 56);
static_assert(offsetof(ToolMapRecord, peckDepth) == 60);
static_assert(offsetof(ToolMapRecord, pCode) == 64);
static_assert(offsetof(ToolMapRecord, fluteLength) == 68);
static_assert(offsetof(ToolMapRecord, outputTNumber) == 72);
static_assert(offsetof(ToolMapRecord, postMCode) == 76);
static_assert(offsetof(ToolMapRecord, coolant) == 78);
static_assert(offsetof(ToolMapRecord, secName) == 80);
static_assert(offsetof(ToolMapRecord, toolName) == 104);
static_assert(offsetof(ToolMapRecord, machiningKind) == kToolRowBytes);
static_assert(offsetof(ToolMapRecord, workCoordinate) == 172);
static_assert(offsetof(ToolMapRecord, postNumber) == 176);
static_assert(offsetof(ToolMapRecord, kCode) == 180);
static_assert(offsetof(ToolMapRecord, compensationSide) == 184);
static_assert(offsetof(ToolMapRecord, hCode) == 188);
static_assert(offsetof(ToolMapRecord, reserved190) == 190);
static_assert(offsetof(ToolMapRecord, originZ) == 192);
static_assert(offsetof(ToolMapRecord, holeIPointZ) == 200);
static_assert(offsetof(ToolMapRecord, holeRPointZ) == 208);
static_assert(offsetof(ToolMapRecord, holeThroughAmount) == 216);
static_assert(offsetof(ToolMapRecord, stepDepth) == 224);
static_assert(offsetof(ToolMapRecord, stepValue48) == 232);
static_assert(platform::FileRecord<ToolMapRecord>);

inline constexpr char kToolMapFileName[] = "$P_MAP.@@@";
// The companion's tool map holds at most this many records.
inline constexpr std::size_t kMaxToolMapRecords = 768;

// Reads the whole tool map. Missing: status Missing, `records` left as it
// was. A size that is not a whole number of records, more than maxRecords,
// or a float or double that is not finite is a damaged file: an error and
// `records` is left as it was. Both names are terminated after reading.
platform::FileResult ReadToolMapFile(const std::filesystem::path& path, std::vector<ToolMapRecord>& records,
                                     std::size_t maxRecords = kMaxToolMapRecords);

// Writes the map whole and atomically; a record with a value that is not
// finite is refused and nothing is written.
platform::FileResult WriteToolMapFile(const std::filesystem::path& path, std::span<const ToolMapRecord> records);

// The same map as one file of a set written together
// (platform::WriteFilesTogether): the same refusal, nothing written; on
// success `file` names path and points into `records`.
platform::FileResult PrepareToolMapFile(const std::filesystem::path& path, std::span<const ToolMapRecord> records,
                                        platform::FileWrite& file);

// True when every float and double of the record is finite.
bool ToolMapValuesFinite(const ToolMapRecord& record);

}  // namespace handover
