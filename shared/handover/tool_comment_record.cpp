#include "shared/handover/tool_comment_record.h"

#include <algorithm>
#include <cstring>

#include "platform/text.h"
#include "shared/handover/record_io.h"

namespace handover {

platform::FileResult ReadToolComments(const std::filesystem::path& path, std::vector<ToolCommentRecord>& records) {
  std::vector<std::uint8_t> bytes;
  platform::FileResult result = platform::ReadWholeFile(path, bytes);
  if (!result.ok()) return result;
  if (bytes.size() % sizeof(ToolCommentRecord) != 0) {
    return DamagedFile(path, std::to_string(bytes.size()) + " bytes is not a whole number of 264-byte records");
  }
  const std::size_t n = std::min(bytes.size() / sizeof(ToolCommentRecord), kMaxToolComments);
  std::vector<ToolCommentRecord> read(n);
  if (n != 0) std::memcpy(static_cast<void*>(read.data()), bytes.data(), n * sizeof(ToolCommentRecord));
  for (ToolCommentRecord& r : read) {
    platform::TerminateField(r.comment1);
    platform::TerminateField(r.comment2);
  }
  records.swap(read);
  return result;
}

}  // namespace handover
