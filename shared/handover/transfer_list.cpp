#include "shared/handover/transfer_list.h"

#include <algorithm>
#include <cstring>

#include "shared/handover/record_io.h"

namespace handover {

platform::FileResult ReadTransferList(const std::filesystem::path& path, std::vector<std::string>& paths) {
  paths.clear();
  std::vector<std::uint8_t> bytes;
  std::size_t count = 0;
  platform::FileResult result = ReadRecordBytes(path, kTransferRecordBytes, kTransferListMax, bytes, &count);
  if (!result.ok()) return result;
  std::vector<std::string> read;
  for (std::size_t i = 0; i < count; ++i) {
    const auto* record = reinterpret_cast<const char*>(bytes.data() + i * kTransferRecordBytes);
    const std::size_t length = strnlen(record, kTransferRecordBytes);
    if (length == kTransferRecordBytes) return DamagedFile(path, "a path without its end (record " + std::to_string(i + 1) + ")");
    if (length == 0) return DamagedFile(path, "an empty path (record " + std::to_string(i + 1) + ")");
    read.emplace_back(record, length);
  }
  paths = std::move(read);
  return result;
}

platform::FileResult WriteTransferList(const std::filesystem::path& path, const std::vector<std::string>& paths) {
  std::vector<char> bytes(paths.size() * kTransferRecordBytes, '\0');
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const std::string& p = paths[i];
    if (p.empty() || p.size() >= kTransferRecordBytes || p.find('\0') != std::string::npos) {
      return RefusedWrite(path, "the path of file " + std::to_string(i + 1) + " does not fit its 256-byte record");
    }
    std::memcpy(bytes.data() + i * kTransferRecordBytes, p.data(), p.size());
  }
  return platform::WriteFileAtomic(path, bytes.data(), bytes.size());
}

}  // namespace handover
