#include "shared/handover/record_io.h"

namespace handover {

platform::FileResult DamagedFile(const fs::path& path, std::string_view what) {
  platform::FileResult result;
  result.status = platform::FileStatus::ReadError;
  result.message = path.string() + ": damaged file (" + std::string(what) + "); nothing was taken from it";
  return result;
}

platform::FileResult RefusedWrite(const fs::path& path, std::string_view what) {
  platform::FileResult result;
  result.status = platform::FileStatus::WriteError;
  result.message = path.string() + ": not written (" + std::string(what) + "); the previous file is kept";
  return result;
}

platform::FileResult ReadRecordBytes(const fs::path& path, std::size_t recordSize, std::size_t maxCount,
                                     std::vector<std::uint8_t>& bytes, std::size_t* count) {
  *count = 0;
  platform::FileResult result = platform::ReadWholeFile(path, bytes);
  if (!result.ok()) return result;
  if (bytes.size() % recordSize != 0 || bytes.size() / recordSize > maxCount) {
    result.status = platform::FileStatus::WrongSize;
    result.message = path.string() + ": " + std::to_string(bytes.size()) + " bytes is not a whole number of " +
                     std::to_string(recordSize) + "-byte records (at most " + std::to_string(maxCount) +
                     "); nothing was taken from it";
    bytes.clear();
    return result;
  }
  *count = bytes.size() / recordSize;
  return result;
}

}  // namespace handover
