#include "shared/handover/display_record.h"

#include <cstring>
#include <string>

#include "shared/handover/record_io.h"

namespace handover {

namespace {

bool ValuesFinite(const CDisplayRecord& r) {
  const float values[] = {r.x, r.y, r.z, r.dir[0], r.dir[1], r.dir[2], r.radius};
  return AllFinite(values);
}

}  // namespace

std::uint16_t OffsetColorWord(std::uint16_t colorWord, int offset) {
  const int color = ((colorWord & CDisplayRecord::kColorMask) + offset) & CDisplayRecord::kColorMask;
  return static_cast<std::uint16_t>((colorWord & CDisplayRecord::kSideFlagsMask) | color);
}

platform::FileResult ReadDisplayList(const std::filesystem::path& path, std::vector<CDisplayRecord>& records) {
  std::vector<std::uint8_t> bytes;
  platform::FileResult result = platform::ReadWholeFile(path, bytes);
  if (!result.ok()) return result;
  const std::size_t count = bytes.size() / sizeof(CDisplayRecord);
  std::vector<CDisplayRecord> read(count);
  if (count != 0) std::memcpy(read.data(), bytes.data(), count * sizeof(CDisplayRecord));
  for (std::size_t i = 0; i < count; ++i) {
    if (!ValuesFinite(read[i])) {
      return DamagedFile(path, "display record " + std::to_string(i) + " holds a value that is not a number");
    }
  }
  if (const std::size_t tail = bytes.size() % sizeof(CDisplayRecord); tail != 0) {
    result.message = path.string() + ": " + std::to_string(tail) + " bytes after the last whole record were left out";
  }
  records.swap(read);
  return result;
}

platform::FileResult WriteDisplayList(const std::filesystem::path& path, std::span<const CDisplayRecord> records,
                                      int colorOffset) {
  std::vector<CDisplayRecord> stored(records.begin(), records.end());
  for (std::size_t i = 0; i < stored.size(); ++i) {
    if (!ValuesFinite(stored[i])) {
      return RefusedWrite(path, "display record " + std::to_string(i) + " holds a value that is not a number");
    }
    stored[i].colorWord = OffsetColorWord(stored[i].colorWord, colorOffset);
  }
  return platform::WriteRecords(path, stored.data(), stored.size());
}

}  // namespace handover
