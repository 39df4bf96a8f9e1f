#pragma once
// ToolCommentRecord: one record of the drawing's T-code comment file
// "<data root>\<unit>\<second name>\DAT\<drawing name>.tcm", 264 bytes; the
// file is a sequence of records without a header, at most 256.
//
// Written by Kelto_Dorn's T-code comment dialog (the tools of the current
// machining order); read by Kelto_qup at start-up, whose program head writes
// the two comments beside the tool call. Texts CP932, NUL-terminated.
//
// | off | type      | field      | meaning                                       |
// |-----|-----------|------------|-----------------------------------------------|
// |   0 | int32     | toolNumber | T number (0: empty record)                    |
// |   4 | int32     | used       | 1 when the tool is in the machining order     |
// |   8 | char[128] | comment1   | first comment line (80 characters typed)      |
// | 136 | char[128] | comment2   | second comment line                           |
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/record_file.h"

namespace handover {

struct ToolCommentRecord {
  std::int32_t toolNumber = 0;
  std::int32_t used = 0;
  char comment1[128] = {};
  char comment2[128] = {};
};
static_assert(sizeof(ToolCommentRecord) == 264);
static_assert(offsetof(ToolCommentRecord, toolNumber) == 0);
static_assert(offsetof(ToolCommentRecord, used) == 4);
static_assert(offsetof(ToolCommentRecord, comment1) == 8);
static_assert(offsetof(ToolCommentRecord, comment2) == 136);
static_assert(platform::FileRecord<ToolCommentRecord>);

inline constexpr char kToolCommentExtension[] = ".tcm";
inline constexpr std::size_t kMaxToolComments = 256;

// Reads the whole records, at most 256 (further records are not read), each
// comment terminated. Missing: status Missing, `records` unchanged. A length
// that is not whole records: damaged, `records` unchanged.
platform::FileResult ReadToolComments(const std::filesystem::path& path, std::vector<ToolCommentRecord>& records);

}  // namespace handover
