#pragma once
// The names of the drawing file list: the name filter of typed names, the
// header of a drawing read from its definition file, and the deletion of a
// second-name folder.
#include <filesystem>
#include <string>
#include <string_view>

namespace dorn {

// A typed name up to `limit` bytes: it ends at a NUL, two blanks or one of
// "*", ".", "/", ":", "\" (such a byte that is the second byte of a
// two-byte Shift-JIS character belongs to that character).
std::string FilterDrawingName(std::string_view text, std::size_t limit);

// With unit, second name and drawing name set: the first 616 bytes of the
// drawing's ".KWD" (else ".KWQ", else ".KSE") become the system record, its
// three names kept; FileListKind 0. False when a name is missing.
bool ReadDrawingHeaderOfFile();

// Deletes every file of SEG and DAT, then DAT, SEG and the folder itself;
// each failure is shown and the deletion goes on. No backup copies.
void DeleteDrawingFolder(const std::filesystem::path& folder);

}  // namespace dorn
