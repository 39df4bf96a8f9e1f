#pragma once
// Helpers that every hand-over record file shares: whole files of fixed-size
// records read into a vector, and the checks that keep damaged values out of
// the records and out of the files this system writes.
#include <cmath>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/record_file.h"

namespace handover {

namespace fs = std::filesystem;

// A read that found the file but not what it should hold. The message names
// the file and the fault; the caller's records are left as they were.
platform::FileResult DamagedFile(const fs::path& path, std::string_view what);

// A write refused before anything reached the disk; the old file stays.
platform::FileResult RefusedWrite(const fs::path& path, std::string_view what);

// A whole file of up to maxCount records of recordSize bytes. A size that is
// not a whole number of records, or more than maxCount of them, is WrongSize.
// On success bytes holds the file and *count the number of records.
platform::FileResult ReadRecordBytes(const fs::path& path, std::size_t recordSize, std::size_t maxCount,
                                     std::vector<std::uint8_t>& bytes, std::size_t* count);

// The same as typed records. `out` is replaced only when the read succeeds.
template <platform::FileRecord T>
platform::FileResult ReadRecordVector(const fs::path& path, std::size_t maxCount, std::vector<T>& out) {
  std::vector<std::uint8_t> bytes;
  std::size_t count = 0;
  platform::FileResult result = ReadRecordBytes(path, sizeof(T), maxCount, bytes, &count);
  if (!result.ok()) return result;
  std::vector<T> records(count);
  if (count != 0) std::memcpy(records.data(), bytes.data(), count * sizeof(T));
  out.swap(records);
  return result;
}

inline bool AllFinite(std::span<const double> values) {
  for (double v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}
inline bool AllFinite(std::span<const float> values) {
  for (float v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

}  // namespace handover
