#pragma once
// The folders of the current drawing (data root, unit and second name of
// the system record) and the names the file lists take from their lines.
#include <filesystem>
#include <string>
#include <string_view>

namespace dorn {

// <data root>\<unit>\<second name> and its "SEG" and "DAT" folders.
std::filesystem::path DrawingFolder();
std::filesystem::path SegFolder();
std::filesystem::path DatFolder();
// The same as the system writes it (CP932, backslashes), for list patterns
// and the shared path buffer.
std::string DrawingFolderText();

// The name at the start of `text`, kept to `limit` bytes without splitting a
// two-byte character: it ends at two consecutive blanks or at any byte of
// `stops` (such a byte that is the second byte of a two-byte character
// belongs to that character).
std::string TakeName(std::string_view text, std::size_t limit, std::string_view stops);

// A name taken from a list or typed: cut at two consecutive blanks or "."
// (a "." that is the second byte of a two-byte character is kept) and kept to
// `limit` bytes.
std::string CutListName(std::string_view text, std::size_t limit);

// Writes the unit and second name (cut as above, at most 52 bytes) into the
// system record.
void SetDrawingFolderNames(std::string_view unit, std::string_view second);

}  // namespace dorn
