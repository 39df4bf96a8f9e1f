#include "shared/handover/auto_centering_record.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "shared/handover/record_io.h"

namespace handover {

namespace {

bool ValuesFinite(const AutoCenteringRecord& r) {
  const double values[] = {r.b, r.e, r.k, r.i, r.j, r.x, r.y, r.thickness, r.offsetX, r.offsetY, r.reserved120};
  return AllFinite(values);
}

}  // namespace

platform::FileResult ReadAutoCenteringRecords(const std::filesystem::path& path,
                                              std::array<AutoCenteringRecord, kAutoCenteringRecordCount>& records,
                                              std::size_t* count) {
  *count = 0;
  std::vector<std::uint8_t> bytes;
  platform::FileResult result = platform::ReadWholeFile(path, bytes);
  if (!result.ok()) return result;
  if (bytes.size() % sizeof(AutoCenteringRecord) != 0) {
    return DamagedFile(path, std::to_string(bytes.size()) + " bytes is not a whole number of 152-byte records");
  }
  const std::size_t n = std::min(bytes.size() / sizeof(AutoCenteringRecord), kAutoCenteringRecordCount);
  std::array<AutoCenteringRecord, kAutoCenteringRecordCount> read = records;
  if (n != 0) std::memcpy(static_cast<void*>(read.data()), bytes.data(), n * sizeof(AutoCenteringRecord));
  for (std::size_t i = 0; i < n; ++i) {
    if (!ValuesFinite(read[i]))
      return DamagedFile(path, "record " + std::to_string(i) + " holds a value that is not a number");
  }
  records = read;
  *count = n;
  return result;
}

}  // namespace handover
