#include "shared/handover/machining_time_record.h"

#include <cmath>

#include "shared/handover/record_io.h"

namespace handover {

platform::FileResult ReadMachiningTimeTable(const std::filesystem::path& path, MachiningTimeTable& table) {
  MachiningTimeTable read;
  platform::FileResult result = platform::ReadRecord(path, read);
  if (!result.ok()) return result;
  for (const MachiningTimeRecord& r : read.records) {
    if (!std::isfinite(r.timeFactor)) return DamagedFile(path, "a time factor is not a number");
  }
  table = read;
  return result;
}

}  // namespace handover
