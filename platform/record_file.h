#pragma once
// Whole-file record I/O. Settings, databases and hand-over data are files of
// fixed-size little-endian records, read and written whole.
//  - A missing file is not an error: the caller keeps its built-in defaults.
//  - A short, long or unreadable file is an error with a clear message, and
//    nothing is applied to the caller's records.
//  - A write goes to a temporary file that is renamed over the old one, so a
//    failed write never destroys the previous file; the failure is reported.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

namespace platform {

enum class FileStatus {
  Ok,
  Missing,     // the file does not exist: use defaults
  WrongSize,   // exists but its size does not fit the records
  ReadError,   // exists but could not be read
  WriteError,  // could not be written; the previous file is untouched
};

struct FileResult {
  FileStatus status = FileStatus::Ok;
  std::string message;  // UTF-8, names the file and what went wrong
  bool ok() const { return status == FileStatus::Ok; }
  bool missing() const { return status == FileStatus::Missing; }
  explicit operator bool() const { return ok(); }
};

// Reads the whole file. Missing gives status Missing and an empty buffer.
FileResult ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes);

// Writes bytes atomically: temporary file in the same folder, flush, rename.
FileResult WriteFileAtomic(const std::filesystem::path& path, const void* data, std::size_t size);

// One file of a set that is written together.
struct FileWrite {
  std::filesystem::path path;
  const void* data = nullptr;
  std::size_t size = 0;
};

// Writes files that belong together (the two files of a drawing) whole or
// not at all: each is written to a temporary file beside it first, and only
// when every one is complete are they renamed over the old files. A failure
// before that replaces none of them; should a rename fail after others were
// done, those are put back as they were (their previous versions are kept
// under a temporary name until the set is complete). The message names the
// file that failed.
FileResult WriteFilesTogether(std::span<const FileWrite> files);

// Reads exactly `size` bytes into out. Any other file size is WrongSize and
// out is left as it was.
FileResult ReadExact(const std::filesystem::path& path, void* out, std::size_t size);

template <class T>
concept FileRecord = std::is_trivially_copyable_v<T> && std::is_standard_layout_v<T>;

// A file that holds exactly `count` records of T.
template <FileRecord T>
FileResult ReadRecords(const std::filesystem::path& path, T* out, std::size_t count) {
  return ReadExact(path, out, sizeof(T) * count);
}
template <FileRecord T>
FileResult ReadRecord(const std::filesystem::path& path, T& out) {
  return ReadExact(path, &out, sizeof(T));
}

// A file of up to maxCount whole records of T. *count gets the number read.
// A size that is not a multiple of sizeof(T) or more than maxCount records is
// WrongSize and nothing is stored.
FileResult ReadRecordsUpTo(const std::filesystem::path& path, void* out, std::size_t recordSize, std::size_t maxCount,
                           std::size_t* count);
template <FileRecord T>
FileResult ReadRecordsUpTo(const std::filesystem::path& path, T* out, std::size_t maxCount, std::size_t* count) {
  return ReadRecordsUpTo(path, out, sizeof(T), maxCount, count);
}

template <FileRecord T>
FileResult WriteRecords(const std::filesystem::path& path, const T* records, std::size_t count) {
  return WriteFileAtomic(path, records, sizeof(T) * count);
}
template <FileRecord T>
FileResult WriteRecord(const std::filesystem::path& path, const T& record) {
  return WriteFileAtomic(path, &record, sizeof(T));
}

}  // namespace platform
