// Deleting drawing files through the backup ring and bringing them back,
// copies, joins and the unit backup, on a temporary program folder and data
// root (message boxes answer Yes).
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/files/backup_ring.h"
#include "kelto_dorn/files/file_copy.h"
#include "kelto_dorn/files/files_state.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "tests/kelto_dorn/files/files_fixture.h"

namespace dorn::test {
namespace {

namespace fs = std::filesystem;

using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

class FileManagementTest : public SampleFoldersTest {};

TEST_F(FileManagementTest, ADeletedDrawingComesBackByteForByteAndTheUndoFilesStay) {
  const std::string mzf("MZF\0\x1a\xff data", 11), kwd(700, '\x5c');
  WriteFileBytes(seg_ / "A.MZF", mzf);
  WriteFileBytes(seg_ / "A.KWD", kwd);
  WriteFileBytes(dat_ / "A.NC", "G0X0\n");
  WriteFileBytes(dat_ / "AB.NC", "keep\n");
  WriteFileBytes(BackupFolder() / "undo000001.udo", "undo");
  FileListKind = kFileListDrawings;
  BackupRing ring;
  EXPECT_EQ(DeleteDrawingFiles("A", ring), 3);
  ASSERT_TRUE(ring.WriteBackupIndex());
  EXPECT_FALSE(fs::exists(seg_ / "A.MZF"));
  EXPECT_FALSE(fs::exists(dat_ / "A.NC"));
  EXPECT_TRUE(fs::exists(dat_ / "AB.NC")) << "another drawing's data file";
  ASSERT_EQ(ring.Count(), 3);
  EXPECT_EQ(ring.Entries()[0].state, kBackupStateDrawing);
  EXPECT_EQ(ring.Entries()[2].state, kBackupStateData);
  EXPECT_EQ(fs::file_size(BackupIndexPath()), 3u * 260u);

  BackupRing reread;
  EXPECT_EQ(RestoreFromBackupRing(reread), 3);
  EXPECT_EQ(ReadFileBytes(seg_ / "A.MZF"), mzf);
  EXPECT_EQ(ReadFileBytes(seg_ / "A.KWD"), kwd);
  EXPECT_EQ(ReadFileBytes(dat_ / "A.NC"), "G0X0\n");
  EXPECT_FALSE(fs::exists(BackupIndexPath()));
  EXPECT_FALSE(fs::exists(BackupCopyPath(0)));
  EXPECT_EQ(ReadFileBytes(BackupFolder() / "undo000001.udo"), "undo") << "the purge leaves the undo snapshots";
}

TEST_F(FileManagementTest, RestoreKeepsWhatCouldNotBeRestoredAndRefusesADamagedIndex) {
  WriteFileBytes(dat_ / "X.NC", "x");
  WriteFileBytes(dat_ / "Y.NC", "y");
  FileListKind = kFileListData;
  BackupRing ring;
  DeleteDrawingFiles("X.NC", ring);
  DeleteDrawingFiles("Y.NC", ring);
  ASSERT_TRUE(ring.WriteBackupIndex());
  fs::remove(BackupCopyPath(0));  // X's copy is lost
  BackupRing reread;
  EXPECT_EQ(RestoreFromBackupRing(reread), 1);
  EXPECT_EQ(ReadFileBytes(dat_ / "Y.NC"), "y");
  BackupRing left;
  ASSERT_TRUE(left.ReadIndex());
  ASSERT_EQ(left.Count(), 1) << "X stays in the index";
  EXPECT_NE(std::string(left.Entries()[0].path).find("X.NC"), std::string::npos);

  WriteFileBytes(BackupIndexPath(), std::string(100, 'z'));
  WriteFileBytes(dat_ / "Y.NC", "changed");
  BackupRing damaged;
  EXPECT_EQ(RestoreFromBackupRing(damaged), -1);
  EXPECT_EQ(ReadFileBytes(dat_ / "Y.NC"), "changed");
}

TEST_F(FileManagementTest, AFullRingDeletesNothingMore) {
  FileListKind = kFileListData;
  BackupRing ring;
  for (int i = 0; i < kBackupRingCapacity + 2; ++i) WriteFileBytes(dat_ / ("F" + std::to_string(i)), "f");
  int removed = 0;
  for (int i = 0; i < kBackupRingCapacity + 2; ++i) removed += DeleteDrawingFiles("F" + std::to_string(i), ring);
  EXPECT_EQ(removed, kBackupRingCapacity);
  EXPECT_TRUE(fs::exists(dat_ / ("F" + std::to_string(kBackupRingCapacity))));
  EXPECT_TRUE(fs::exists(dat_ / ("F" + std::to_string(kBackupRingCapacity + 1))));
}

TEST_F(FileManagementTest, JoiningWritesOneEndMarkAndRefusesItsOwnSources) {
  WriteFileBytes(dat_ / "A.NC", std::string("AAA\n\x1a", 5));
  WriteFileBytes(dat_ / "B.NC", "BBB\n");
  WriteFileBytes(dat_ / "C.NC", std::string("CCC\n\x1a\x1a", 6));
  FileListKind = kFileListData;
  platform::SetFieldText(g_copyTarget, platform::SystemName(dat_) + "\\");
  g_renameMode = 1;
  const auto name = [](int, std::string& n) {
    n = "J.NC";
    return true;
  };
  CopyRunOutcome outcome = CopyDrawingFiles({"A.NC", "B.NC", "C.NC"}, {}, name);
  ASSERT_TRUE(outcome.completed) << platform::Cp932ToUtf8(outcome.message);
  EXPECT_EQ(ReadFileBytes(dat_ / "J.NC"), std::string("AAA\nBBB\nCCC\n\x1a", 13));

  g_renameMode = 1;
  const auto ontoB = [](int, std::string& n) {
    n = "B.NC";
    return true;
  };
  outcome = CopyDrawingFiles({"A.NC", "B.NC"}, {}, ontoB);
  EXPECT_FALSE(outcome.completed);
  EXPECT_EQ(ReadFileBytes(dat_ / "B.NC"), "BBB\n") << "a join onto one of its sources is refused";

  g_renameMode = 0;
  outcome = CopyDrawingFiles({"C.NC"}, {}, {});
  EXPECT_FALSE(outcome.completed) << "a copy onto itself";
  EXPECT_EQ(ReadFileBytes(dat_ / "C.NC").size(), 6u);
}

TEST_F(FileManagementTest, DrawingCopySkipsMissingFilesAndReportsAFailedTarget) {
  WriteFileBytes(seg_ / "D.MZF", "m");
  WriteFileBytes(seg_ / "D.KWD", "k");
  FileListKind = kFileListDrawings;
  const fs::path target = Home() / "OTHER" / "PGM" / "SEG";
  fs::create_directories(target);
  platform::SetFieldText(g_copyTarget, platform::SystemName(target) + "\\");
  CopyRunOutcome outcome = CopyDrawingFiles({"D"}, {}, {});
  EXPECT_TRUE(outcome.completed);
  EXPECT_EQ(outcome.copied, 2);
  EXPECT_EQ(ReadFileBytes(target / "D.KWD"), "k");
  platform::SetFieldText(g_copyTarget, platform::SystemName(Home() / "nowhere" / "deeper") + "\\");
  outcome = CopyDrawingFiles({"D"}, {}, {});
  EXPECT_FALSE(outcome.completed);
  EXPECT_NE(outcome.message.find(platform::Sjis("出力ファイルがＯＰＥＮ出来ません")), std::string::npos);
}

TEST_F(FileManagementTest, BackupThenUploadThroughADriveFolderGivesTheSameUnit) {
  WriteFileBytes(seg_ / "P.MZF", std::string(5000, '\x81'));
  WriteFileBytes(dat_ / "P.NC", "NC");
  WriteFileBytes(Home() / "SAMPLE" / "SUB" / "DAT" / "Q.NC", "Q");
  const fs::path drive = Home() / "usb";
  UnitCopy backup{Home() / "SAMPLE", drive / "KELTO_DORN" / "SAMPLE", true, true};
  std::string message;
  ASSERT_TRUE(CopyUnit(backup, {}, message)) << message;
  fs::remove_all(Home() / "SAMPLE");
  UnitCopy upload{drive / "KELTO_DORN" / "SAMPLE", Home() / "SAMPLE", true, true};
  ASSERT_TRUE(CopyUnit(upload, {}, message)) << message;
  EXPECT_EQ(ReadFileBytes(seg_ / "P.MZF"), std::string(5000, '\x81'));
  EXPECT_EQ(ReadFileBytes(dat_ / "P.NC"), "NC");
  EXPECT_EQ(ReadFileBytes(Home() / "SAMPLE" / "SUB" / "DAT" / "Q.NC"), "Q");
  EXPECT_TRUE(fs::is_directory(Home() / "SAMPLE" / "SUB" / "SEG"));
}

}  // namespace
}  // namespace dorn::test
