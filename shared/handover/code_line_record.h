#pragma once
// Code lines: the text lines that 0x9900 elements of the element stream name
// by index (program numbers " O%d", " O%d (' %s)", " (' %s)", the macro
// reset "/#5203=0").
//
// Kelto_Dorn's CAM data builder keeps them in a CodeLineTable of 384 slots
// of 86 bytes, cleared before each build, and writes "$DORN_CDE.@@@" in the
// program folder: for each used slot in index order its first 80 bytes, and
// nothing else (no count). Kelto_qup's job load reads the file back, one
// 80-byte CodeLineRecord into the first 80 bytes of each cleared slot.
//
// CodeLineRecord | off 0 | char[80] | text, CP932; NUL-terminated when shorter
// CodeLineSlot   | off 0 | char[86] | text, CP932, always NUL-terminated
#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/record_file.h"

namespace handover {

struct CodeLineRecord {
  static constexpr std::size_t kSize = 80;
  char text[kSize] = {};
};
static_assert(sizeof(CodeLineRecord) == 80);
static_assert(platform::FileRecord<CodeLineRecord>);

struct CodeLineSlot {
  static constexpr std::size_t kSize = 86;
  char text[kSize] = {};

  std::string Text() const;
  // Stores text cut to the 80 bytes that the file keeps (on a character
  // boundary), so that what is written is what the builder stored.
  void SetText(std::string_view cp932);
};
static_assert(sizeof(CodeLineSlot) == 86);

inline constexpr std::size_t kCodeLineCount = 384;
using CodeLineTable = std::array<CodeLineSlot, kCodeLineCount>;

inline constexpr char kCodeLineFileName[] = "$DORN_CDE.@@@";

// Reads the file into the table: every slot cleared, then one line per
// 80-byte record. *count gets the number of lines. Missing: status Missing,
// the table cleared and *count 0. Lines after the 384th cannot be named by
// an element and are left out (the result's message says how many). A size
// that is not a whole number of lines: damaged, table and count left as
// they were.
platform::FileResult ReadCodeLineFile(const std::filesystem::path& path, CodeLineTable& table, std::size_t* count);

// Writes the first 80 bytes of slots 0 to count - 1 atomically. A count
// above 384 is refused and nothing is written.
platform::FileResult WriteCodeLineFile(const std::filesystem::path& path, const CodeLineTable& table,
                                       std::size_t count);

// The same lines as one file of a set written together
// (platform::WriteFilesTogether): the same refusal, nothing written; on
// success `lines` holds the records and `file` names path and points into
// `lines`, which must outlive the write.
platform::FileResult PrepareCodeLineFile(const std::filesystem::path& path, const CodeLineTable& table,
                                         std::size_t count, std::vector<CodeLineRecord>& lines,
                                         platform::FileWrite& file);

}  // namespace handover
