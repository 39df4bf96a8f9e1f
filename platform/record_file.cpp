#include "platform/record_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

namespace platform {
namespace {

namespace fs = std::filesystem;

FileResult Fail(FileStatus status, const fs::path& path, const std::string& what) {
  return {status, path.string() + ": " + what};
}

std::string ErrnoText() { return std::strerror(errno); }

}  // namespace

FileResult ReadWholeFile(const fs::path& path, std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return {FileStatus::Missing, path.string() + ": no such file"};
    return Fail(FileStatus::ReadError, path, "cannot open: " + ErrnoText());
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return Fail(FileStatus::ReadError, path, "not a regular file");
  }
  bytes.resize(static_cast<std::size_t>(st.st_size));
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      std::string why = n < 0 ? ErrnoText() : "file shorter than its size";
      ::close(fd);
      bytes.clear();
      return Fail(FileStatus::ReadError, path, "read failed: " + why);
    }
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  return {};
}

FileResult WriteFileAtomic(const fs::path& path, const void* data, std::size_t size) {
  // The temporary file lives beside the target so that rename() is atomic.
  std::random_device rd;
  fs::path temp = path;
  temp += ".tmp" + std::to_string(rd() % 1000000);
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return Fail(FileStatus::WriteError, path, "cannot create: " + ErrnoText());
  const auto* p = static_cast<const std::uint8_t*>(data);
  std::size_t done = 0;
  while (done < size) {
    ssize_t n = ::write(fd, p + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      std::string why = n < 0 ? ErrnoText() : "nothing written";
      ::close(fd);
      ::unlink(temp.c_str());
      return Fail(FileStatus::WriteError, path, "write failed: " + why);
    }
    done += static_cast<std::size_t>(n);
  }
  // No fsync: errors of the write itself (disk full) are caught above and by
  // close(); the rename is what keeps the old file whole until the new one is.
  if (::close(fd) != 0) {
    std::string why = ErrnoText();
    ::unlink(temp.c_str());
    return Fail(FileStatus::WriteError, path, "close failed: " + why);
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    std::string why = ErrnoText();
    ::unlink(temp.c_str());
    return Fail(FileStatus::WriteError, path, "cannot replace: " + why);
  }
  return {};
}

FileResult ReadExact(const fs::path& path, void* out, std::size_t size) {
  std::vector<std::uint8_t> bytes;
  FileResult r = ReadWholeFile(path, bytes);
  if (!r) return r;
  if (bytes.size() != size) {
    return Fail(FileStatus::WrongSize, path,
                "size " + std::to_string(bytes.size()) + " bytes, expected " + std::to_string(size));
  }
  if (size) std::memcpy(out, bytes.data(), size);
  return {};
}

FileResult ReadRecordsUpTo(const fs::path& path, void* out, std::size_t recordSize, std::size_t maxCount,
                           std::size_t* count) {
  *count = 0;
  std::vector<std::uint8_t> bytes;
  FileResult r = ReadWholeFile(path, bytes);
  if (!r) return r;
  if (recordSize == 0 || bytes.size() % recordSize != 0 || bytes.size() / recordSize > maxCount) {
    return Fail(FileStatus::WrongSize, path,
                "size " + std::to_string(bytes.size()) + " bytes is not up to " + std::to_string(maxCount) +
                    " records of " + std::to_string(recordSize) + " bytes");
  }
  if (!bytes.empty()) std::memcpy(out, bytes.data(), bytes.size());
  *count = bytes.size() / recordSize;
  return {};
}

}  // namespace platform
