#include "shared/handover/tool_map_record.h"

#include <string>

#include "platform/text.h"
#include "shared/handover/record_io.h"

namespace handover {

bool ToolMapValuesFinite(const ToolMapRecord& r) {
  const float floats[] = {r.diameter, r.cornerRadius, r.flatRadius, r.tipAngle,   r.tipLength,
                          r.feed,     r.peckDepth,    r.pCode,      r.fluteLength};
  const double doubles[] = {r.originZ, r.holeIPointZ, r.holeRPointZ, r.holeThroughAmount, r.stepDepth, r.stepValue48};
  return AllFinite(floats) && AllFinite(doubles);
}

platform::FileResult ReadToolMapFile(const std::filesystem::path& path, std::vector<ToolMapRecord>& records,
                                     std::size_t maxRecords) {
  std::vector<ToolMapRecord> read;
  platform::FileResult result = ReadRecordVector(path, maxRecords, read);
  if (!result.ok()) return result;
  for (std::size_t i = 0; i < read.size(); ++i) {
    if (!ToolMapValuesFinite(read[i])) {
      return DamagedFile(path, "tool map record " + std::to_string(i + 1) + " holds a value that is not a number");
    }
    platform::TerminateField(read[i].secName);
    platform::TerminateField(read[i].toolName);
  }
  records.swap(read);
  return result;
}

platform::FileResult PrepareToolMapFile(const std::filesystem::path& path, std::span<const ToolMapRecord> records,
                                        platform::FileWrite& file) {
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (!ToolMapValuesFinite(records[i])) {
      return RefusedWrite(path, "tool map record " + std::to_string(i + 1) + " holds a value that is not a number");
    }
  }
  file = {path, records.data(), records.size_bytes()};
  return {};
}

platform::FileResult WriteToolMapFile(const std::filesystem::path& path, std::span<const ToolMapRecord> records) {
  platform::FileWrite file;
  if (platform::FileResult r = PrepareToolMapFile(path, records, file); !r.ok()) return r;
  return platform::WriteFileAtomic(file.path, file.data, file.size);
}

}  // namespace handover
