#include "kelto_dorn/tooldb/hole_process_file.h"

#include <string>

#include "platform/text.h"
#include "shared/handover/record_io.h"

namespace dorn {

platform::FileResult ReadHoleProcessFile(const std::filesystem::path& path, HoleProcessRecord& process) {
  HoleProcessRecord read{};
  platform::FileResult result = platform::ReadRecord(path, read);
  if (!result.ok()) return result;
  for (int r = 0; r < HoleProcessRecord::kRowCount; ++r) {
    AtcRecord& row = read.rows[r];
    const float values[] = {row.diameter, row.cornerRadius, row.flatRadius, row.tipAngle,   row.tipLength,
                            row.feed,     row.peckDepth,    row.pCode,      row.fluteLength};
    if (!handover::AllFinite(values)) {
      return handover::DamagedFile(path, "step row " + std::to_string(r + 1) + " holds a value that is not a number");
    }
    platform::TerminateField(row.secName);
    platform::TerminateField(row.toolName);
  }
  platform::TerminateField(read.name);
  process = read;
  return result;
}

}  // namespace dorn
