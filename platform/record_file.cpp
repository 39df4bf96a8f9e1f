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

namespace {

// Writes bytes to a new temporary file beside `path` and returns its name in
// `temp`; on failure nothing is left behind.
FileResult WriteTemporary(const fs::path& path, const void* data, std::size_t size, fs::path& temp) {
  std::random_device rd;
  temp = path;
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
  return {};
}

// Keeps the present version of `path` under a second name (a hard link, or
// a copy where the file system has none). `backup` stays empty when there is
// no such file.
FileResult KeepPreviousVersion(const fs::path& path, fs::path& backup) {
  backup.clear();
  std::error_code ec;
  if (!fs::exists(path, ec)) return {};
  std::random_device rd;
  fs::path name = path;
  name += ".old" + std::to_string(rd() % 1000000);
  if (::link(path.c_str(), name.c_str()) != 0 && !fs::copy_file(path, name, ec)) {
    return Fail(FileStatus::WriteError, path, "cannot keep the previous version: " + ec.message());
  }
  backup = name;
  return {};
}

}  // namespace

FileResult WriteFileAtomic(const fs::path& path, const void* data, std::size_t size) {
  // The temporary file lives beside the target so that rename() is atomic.
  fs::path temp;
  if (FileResult r = WriteTemporary(path, data, size, temp); !r) return r;
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    std::string why = ErrnoText();
    ::unlink(temp.c_str());
    return Fail(FileStatus::WriteError, path, "cannot replace: " + why);
  }
  return {};
}

FileResult WriteFilesTogether(std::span<const FileWrite> files) {
  std::vector<fs::path> temps(files.size());
  std::vector<fs::path> backups(files.size());
  auto removeAll = [](const std::vector<fs::path>& paths) {
    for (const fs::path& p : paths) {
      if (!p.empty()) ::unlink(p.c_str());
    }
  };
  // Every new file complete, and every old one kept, before any is replaced.
  for (std::size_t i = 0; i < files.size(); ++i) {
    FileResult r = WriteTemporary(files[i].path, files[i].data, files[i].size, temps[i]);
    if (r) {
      r = KeepPreviousVersion(files[i].path, backups[i]);
    } else {
      temps[i].clear();  // nothing was left behind
    }
    if (!r) {
      removeAll(temps);
      removeAll(backups);
      r.message += "; no file was replaced";
      return r;
    }
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (::rename(temps[i].c_str(), files[i].path.c_str()) == 0) {
      temps[i].clear();
      continue;
    }
    FileResult failed = Fail(FileStatus::WriteError, files[i].path, "cannot replace: " + ErrnoText());
    // Put the files already replaced back as they were. A previous version
    // that cannot be put back is never deleted: the message names it.
    std::string stranded;
    for (std::size_t j = 0; j < i; ++j) {
      if (backups[j].empty()) {
        ::unlink(files[j].path.c_str());
      } else if (::rename(backups[j].c_str(), files[j].path.c_str()) != 0) {
        stranded += "; the previous " + files[j].path.string() + " is kept as " + backups[j].string();
      }
      backups[j].clear();
    }
    removeAll(temps);
    removeAll(backups);
    failed.message += stranded.empty() ? "; no file was replaced" : stranded;
    return failed;
  }
  removeAll(backups);
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
