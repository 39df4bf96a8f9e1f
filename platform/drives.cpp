// Drive letters over mapped folders: statvfs for the free space, the mount
// table for the kind of file system that holds the folder.
#include "platform/drives.h"

#include <sys/statvfs.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/paths.h"
#include "platform/settings_store.h"

namespace platform {
namespace fs = std::filesystem;
namespace {

char UpperLetter(char letter) { return letter >= 'a' && letter <= 'z' ? char(letter - 'a' + 'A') : letter; }

// Mount points in mountinfo escape blanks, tabs, line ends and backslashes as
// three octal digits (\040).
std::string Unescape(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      auto octal = [](char c) { return c >= '0' && c <= '7'; };
      if (octal(field[i + 1]) && octal(field[i + 2]) && octal(field[i + 3])) {
        out += char((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
        i += 3;
        continue;
      }
    }
    out += field[i];
  }
  return out;
}

std::vector<std::string_view> SplitBlanks(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    std::size_t start = i;
    while (i < line.size() && line[i] != ' ') ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

// True when `folder` is `mountPoint` or lies below it.
bool Holds(const fs::path& mountPoint, const fs::path& folder) {
  auto m = mountPoint.begin();
  auto f = folder.begin();
  for (; m != mountPoint.end(); ++m, ++f) {
    if (m->empty()) continue;  // a trailing separator
    if (f == folder.end() || *m != *f) return false;
  }
  return true;
}

bool IsOneOf(std::string_view value, std::initializer_list<std::string_view> names) {
  for (std::string_view n : names) {
    if (value == n) return true;
  }
  return false;
}

// The "removable" flag of a block device in sysfs; a partition's flag is its disk's.
bool BlockDeviceIsRemovable(std::string_view source) {
  constexpr std::string_view kDev = "/dev/";
  if (source.substr(0, kDev.size()) != kDev) return false;
  std::error_code ec;
  fs::path device = fs::canonical(fs::path("/sys/class/block") / std::string(source.substr(kDev.size())), ec);
  if (ec) return false;
  for (const fs::path& folder : {device, device.parent_path()}) {
    std::ifstream in(folder / "removable");
    int flag = 0;
    if (in >> flag) return flag == 1;
  }
  return false;
}

}  // namespace

bool FindMount(std::string_view mountInfoText, const fs::path& folder, MountEntry& out) {
  bool found = false;
  std::size_t bestLength = 0;
  std::size_t pos = 0;
  while (pos < mountInfoText.size()) {
    std::size_t end = mountInfoText.find('\n', pos);
    if (end == std::string_view::npos) end = mountInfoText.size();
    std::string_view line = mountInfoText.substr(pos, end - pos);
    pos = end + 1;
    // id parent major:minor root mount-point options [optional...] - type source super-options
    std::vector<std::string_view> fields = SplitBlanks(line);
    std::size_t dash = 6;
    while (dash < fields.size() && fields[dash] != "-") ++dash;
    if (fields.size() < 5 || dash + 2 >= fields.size()) continue;  // a damaged line
    fs::path mountPoint = Unescape(fields[4]);
    std::size_t length = mountPoint.native().size();
    // The later of two equal mount points is the one on top.
    if (!Holds(mountPoint, folder) || (found && length < bestLength)) continue;
    out = {mountPoint, std::string(fields[dash + 1]), Unescape(fields[dash + 2])};
    bestLength = length;
    found = true;
  }
  return found;
}

DriveKind DriveKindOfMount(std::string_view type, std::string_view source, const fs::path& mountPoint) {
  if (IsOneOf(type, {"nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "ceph", "glusterfs", "fuse.sshfs",
                     "fuse.davfs2", "davfs", "fuse.rclone", "fuse.s3fs"}))
    return DriveKind::kNetwork;
  if (IsOneOf(type, {"iso9660", "udf"})) return DriveKind::kCdRom;
  // The desktop mounts sticks and cards under /media or /run/media.
  const std::string& mp = mountPoint.native();
  if (mp.rfind("/media/", 0) == 0 || mp.rfind("/run/media/", 0) == 0) return DriveKind::kRemovable;
  if (BlockDeviceIsRemovable(source)) return DriveKind::kRemovable;
  return DriveKind::kFixed;
}

fs::path DriveFolder(const SettingsStore& settings, char letter) {
  letter = UpperLetter(letter);
  if (letter < kFirstDriveLetter || letter > kLastMappedLetter) return {};
  return fs::path(settings.GetString(kDriveSection, std::string(1, letter)));
}

std::optional<fs::path> ResolveDrivePath(const SettingsStore& settings, std::string_view cp932Path) {
  if (cp932Path.size() < 2 || cp932Path[1] != ':') return std::nullopt;
  fs::path folder = DriveFolder(settings, cp932Path[0]);
  if (folder.empty()) return std::nullopt;
  std::vector<fs::path> parts;
  for (const fs::path& part : NativePath(cp932Path.substr(2)).relative_path()) {
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
  }
  for (const fs::path& part : parts) folder /= part;
  return folder;
}

DriveInfo DescribeDrive(const SettingsStore& settings, char letter) {
  DriveInfo info;
  info.letter = UpperLetter(letter);
  info.folder = DriveFolder(settings, letter);
  if (info.folder.empty()) {
    info.message = std::string(1, info.letter) + ": no folder is set for this drive";
    return info;
  }
  std::error_code ec;
  fs::path canonical = fs::canonical(info.folder, ec);
  if (ec || !fs::is_directory(canonical, ec)) {
    info.message = info.folder.string() + ": " + (ec ? ec.message() : std::string("not a folder"));
    return info;
  }
  struct statvfs vfs {};
  if (::statvfs(canonical.c_str(), &vfs) != 0) {
    info.message = info.folder.string() + ": " + std::strerror(errno);
    return info;
  }
  info.freeBytes = std::uint64_t(vfs.f_bavail) * std::uint64_t(vfs.f_frsize);

  std::ifstream in("/proc/self/mountinfo");
  std::stringstream text;
  text << in.rdbuf();
  MountEntry mount;
  // Without a mount table (an unusual sandbox) the folder is taken as fixed.
  info.kind = FindMount(text.str(), canonical, mount) ? DriveKindOfMount(mount.type, mount.source, mount.mountPoint)
                                                      : DriveKind::kFixed;
  return info;
}

}  // namespace platform
