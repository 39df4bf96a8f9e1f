#pragma once
// Drive letters for the backup list and the NC copy and send targets. The
// letters "A" to "Z" map to folders
// through the [Drives] section of the settings store (D=/media/usb, say); a
// letter without an entry is no drive. The kind and the free space of a mapped
// folder come from the file system that holds it.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class SettingsStore;

inline constexpr std::string_view kDriveSection = "Drives";
constexpr char kFirstDriveLetter = 'A';
constexpr char kLastDriveLetter = 'Y';  // the backup list looks at 25 letters
constexpr char kLastMappedLetter = 'Z';  // the send slots may name Z as well

enum class DriveKind {
  kNone,  // not mapped, missing, or its file system cannot be read
  kFixed,
  kRemovable,  // a removable disk or a stick
  kNetwork,
  kCdRom,
};

struct DriveInfo {
  char letter = 0;
  std::filesystem::path folder;  // empty when the letter is not mapped
  DriveKind kind = DriveKind::kNone;
  std::uint64_t freeBytes = 0;  // what an ordinary user may still write
  std::string message;          // why the kind is kNone (path and reason)
};

// The folder of a drive letter (either case), or an empty path.
std::filesystem::path DriveFolder(const SettingsStore& settings, char letter);

// A path the system spells with a drive letter ("D:\\KELTO_DORN\\UNIT1", "d:",
// CP932 with backslashes) as a native path under the letter's folder. Nothing
// when the text does not start with a letter and a colon, or the letter is
// not mapped. As on the drive itself, ".." never climbs above the drive's root.
std::optional<std::filesystem::path> ResolveDrivePath(const SettingsStore& settings, std::string_view cp932Path);

// The kind and free space of a drive letter's folder.
DriveInfo DescribeDrive(const SettingsStore& settings, char letter);

// The kind of the file system mounted at the mount entry that holds a folder,
// from its type and source as /proc/self/mountinfo states them. Apart for tests.
DriveKind DriveKindOfMount(std::string_view fileSystemType, std::string_view source,
                           const std::filesystem::path& mountPoint);

// The mount point, type and source of the longest mount entry of a
// mountinfo text that holds `folder` (an absolute, canonical path).
struct MountEntry {
  std::filesystem::path mountPoint;
  std::string type;
  std::string source;
};
bool FindMount(std::string_view mountInfoText, const std::filesystem::path& folder, MountEntry& out);

}  // namespace platform
