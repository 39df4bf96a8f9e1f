#include "shared/handover/code_line_record.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/text.h"
#include "shared/handover/record_io.h"

namespace handover {

std::string CodeLineSlot::Text() const { return platform::FieldText(text); }

void CodeLineSlot::SetText(std::string_view cp932) {
  std::memset(text, 0, sizeof text);
  const std::size_t n = platform::Cp932PrefixLength(cp932, CodeLineRecord::kSize);
  std::memcpy(text, cp932.data(), n);
}

platform::FileResult ReadCodeLineFile(const std::filesystem::path& path, CodeLineTable& table, std::size_t* count) {
  std::vector<std::uint8_t> bytes;
  std::size_t lines = 0;
  platform::FileResult result =
      ReadRecordBytes(path, CodeLineRecord::kSize, std::numeric_limits<std::size_t>::max(), bytes, &lines);
  if (!result.ok() && !result.missing()) return result;
  const std::size_t kept = std::min(lines, kCodeLineCount);
  table.fill(CodeLineSlot{});
  for (std::size_t i = 0; i < kept; ++i) {
    // Bytes 80..85 of the slot stay 0, so a full 80-byte line is terminated.
    std::memcpy(table[i].text, bytes.data() + i * CodeLineRecord::kSize, CodeLineRecord::kSize);
  }
  if (lines > kept) {
    result.message = path.string() + ": " + std::to_string(lines - kept) + " lines after the first " +
                     std::to_string(kCodeLineCount) + " were left out";
  }
  *count = kept;
  return result;
}

platform::FileResult PrepareCodeLineFile(const std::filesystem::path& path, const CodeLineTable& table,
                                         std::size_t count, std::vector<CodeLineRecord>& lines,
                                         platform::FileWrite& file) {
  if (count > kCodeLineCount) {
    return RefusedWrite(path, std::to_string(count) + " code lines are more than " + std::to_string(kCodeLineCount));
  }
  lines.assign(count, CodeLineRecord{});
  for (std::size_t i = 0; i < count; ++i) std::memcpy(lines[i].text, table[i].text, CodeLineRecord::kSize);
  file = {path, lines.data(), lines.size() * sizeof(CodeLineRecord)};
  return {};
}

platform::FileResult WriteCodeLineFile(const std::filesystem::path& path, const CodeLineTable& table,
                                       std::size_t count) {
  std::vector<CodeLineRecord> lines;
  platform::FileWrite file;
  if (platform::FileResult r = PrepareCodeLineFile(path, table, count, lines, file); !r.ok()) return r;
  return platform::WriteFileAtomic(file.path, file.data, file.size);
}

}  // namespace handover
