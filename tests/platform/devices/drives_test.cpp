// Drive letters of the backup list over mapped folders.
#include "platform/drives.h"

#include <algorithm>
#include <fstream>

#include "platform/settings_store.h"
#include "platform/text.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;
using platform::DriveKind;

class DrivesTest : public testsupport::ProgramFolderTest {
 protected:
  platform::SettingsStore store_ = platform::SettingsStore::AtFile(fs::temp_directory_path() / "unused.ini");
  void SetUp() override {
    ProgramFolderTest::SetUp();
    store_ = platform::SettingsStore::AtFile(home() / "drives.ini");
  }
};

TEST_F(DrivesTest, LettersMapToFoldersThroughTheSettingsTable) {
  store_.SetString(platform::kDriveSection, "A", "/media/floppy");
  store_.SetString(platform::kDriveSection, "D", "/mnt/backup");
  store_.SetString(platform::kDriveSection, "Z", "/mnt/z");
  struct Case {
    char letter;
    const char* folder;
  } cases[] = {{'A', "/media/floppy"}, {'d', "/mnt/backup"}, {'D', "/mnt/backup"}, {'E', ""}, {'Z', "/mnt/z"}, {'1', ""}};
  for (const Case& c : cases) EXPECT_EQ(platform::DriveFolder(store_, c.letter), fs::path(c.folder)) << c.letter;
}

TEST_F(DrivesTest, DriveLetterPathsResolveUnderTheMappedFolder) {
  store_.SetString(platform::kDriveSection, "D", "/mnt/backup");
  struct Case {
    std::string path;
    std::optional<fs::path> expected;
  } cases[] = {
      {"D:\\KELTO_DORN\\UNIT1\\SEG", fs::path("/mnt/backup/KELTO_DORN/UNIT1/SEG")},
      {"d:\\KELTO_DORN", fs::path("/mnt/backup/KELTO_DORN")},
      {"D:", fs::path("/mnt/backup")},
      {"D:\\", fs::path("/mnt/backup")},
      {"D:\\..\\..\\etc\\passwd", fs::path("/mnt/backup/etc/passwd")},  // no climbing out
      {"D:\\A\\..\\B\\.\\C", fs::path("/mnt/backup/B/C")},
      {platform::Sjis("D:\\図面\\部品"), fs::path("/mnt/backup/図面/部品")},
      {"E:\\KELTO_DORN", std::nullopt},  // not mapped
      {"KELTO_DORN\\UNIT1", std::nullopt},
      {"1:\\x", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::ResolveDrivePath(store_, c.path), c.expected) << c.path;
}

TEST_F(DrivesTest, AMappedFolderReportsItsKindAndFreeSpace) {
  fs::create_directories(home() / "backup");
  store_.SetString(platform::kDriveSection, "E", (home() / "backup").string());
  // Other programs write meanwhile: the drive's reading lies between the
  // free space measured just before and just after it, within 64 MB.
  const std::uint64_t before = fs::space(home()).available;
  platform::DriveInfo info = platform::DescribeDrive(store_, 'e');
  const std::uint64_t after = fs::space(home()).available;
  EXPECT_EQ(info.letter, 'E');
  EXPECT_NE(info.kind, DriveKind::kNone) << info.message;
  const std::uint64_t slack = 64ull << 20;
  EXPECT_GT(info.freeBytes, 0u);
  EXPECT_LE(info.freeBytes, std::max(before, after) + slack);
  EXPECT_GE(info.freeBytes + slack, std::min(before, after));
}

TEST_F(DrivesTest, UnmappedMissingOrPlainFileLettersAreNoDrive) {
  std::ofstream(home() / "plain.txt") << "x";
  store_.SetString(platform::kDriveSection, "F", (home() / "gone").string());
  store_.SetString(platform::kDriveSection, "G", (home() / "plain.txt").string());
  struct Case {
    char letter;
    std::string inMessage;
  } cases[] = {{'H', "H:"}, {'F', (home() / "gone").string()}, {'G', (home() / "plain.txt").string()}};
  for (const Case& c : cases) {
    platform::DriveInfo info = platform::DescribeDrive(store_, c.letter);
    EXPECT_EQ(info.kind, DriveKind::kNone) << c.letter;
    EXPECT_EQ(info.freeBytes, 0u) << c.letter;
    EXPECT_NE(info.message.find(c.inMessage), std::string::npos) << info.message;
  }
}

TEST(MountTableTest, TheLongestMountThatHoldsTheFolderIsFound) {
  const std::string table =
      "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
      "30 22 0:40 / /mnt/data rw - nfs4 server:/export rw\n"
      "31 22 8:17 / /mnt/data2 rw shared:7 master:3 - vfat /dev/sdb1 rw\n"
      "32 22 0:41 / /mnt/my\\040disk rw - cifs //nas/share rw\n"
      "garbage line\n"
      "33 22 11:0 / /mnt/cd rw - iso9660 /dev/sr0 ro\n"
      "34 22 0:42 / /mnt/cd rw - tmpfs tmpfs rw\n";
  struct Case {
    const char* folder;
    const char* mountPoint;
    const char* type;
  } cases[] = {
      {"/home/user", "/", "ext4"},          {"/mnt/data/KELTO_DORN", "/mnt/data", "nfs4"},
      {"/mnt/data2", "/mnt/data2", "vfat"},  // not held by /mnt/data
      {"/mnt/datax", "/", "ext4"},          {"/mnt/my disk/unit", "/mnt/my disk", "cifs"},
      {"/mnt/cd", "/mnt/cd", "tmpfs"},  // the later mount lies on top
  };
  for (const Case& c : cases) {
    platform::MountEntry entry;
    ASSERT_TRUE(platform::FindMount(table, c.folder, entry)) << c.folder;
    EXPECT_EQ(entry.mountPoint, fs::path(c.mountPoint)) << c.folder;
    EXPECT_EQ(entry.type, c.type) << c.folder;
  }
  platform::MountEntry entry;
  EXPECT_FALSE(platform::FindMount("", "/x", entry));
}

TEST(MountTableTest, FileSystemTypesGiveDriveKinds) {
  struct Case {
    const char* type;
    const char* source;
    const char* mountPoint;
    DriveKind kind;
  } cases[] = {
      {"nfs", "server:/export", "/mnt/nfs", DriveKind::kNetwork},
      {"cifs", "//nas/share", "/mnt/share", DriveKind::kNetwork},
      {"fuse.sshfs", "user@host:", "/mnt/ssh", DriveKind::kNetwork},
      {"iso9660", "/dev/sr0", "/mnt/cd", DriveKind::kCdRom},
      {"vfat", "/dev/no-such-disk1", "/media/user/STICK", DriveKind::kRemovable},
      {"exfat", "/dev/no-such-disk1", "/run/media/user/CARD", DriveKind::kRemovable},
      {"ext4", "/dev/no-such-disk1", "/srv/backup", DriveKind::kFixed},
      {"tmpfs", "tmpfs", "/tmp", DriveKind::kFixed},
  };
  for (const Case& c : cases)
    EXPECT_EQ(platform::DriveKindOfMount(c.type, c.source, c.mountPoint), c.kind) << c.type << " " << c.mountPoint;
}

}  // namespace
