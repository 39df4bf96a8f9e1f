#include "platform/record_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;

struct Sample {
  std::int32_t a;
  double b;
};

class RecordFile : public ::testing::Test {
 protected:
  testsupport::TempFolder dir;
  fs::path file() const { return dir.path() / "$SAMPLE.@@@"; }
};

TEST_F(RecordFile, MissingFileLeavesDefaults) {
  Sample s{7, 1.5};
  auto r = platform::ReadRecord(file(), s);
  EXPECT_TRUE(r.missing());
  EXPECT_EQ(s.a, 7);
}

TEST_F(RecordFile, RoundTripAndWrongSizesAreRefusedWithoutApplying) {
  Sample out[2] = {{1, 2.0}, {3, 4.0}};
  ASSERT_TRUE(platform::WriteRecords(file(), out, 2));
  EXPECT_EQ(fs::file_size(file()), sizeof out);

  Sample in[2] = {};
  ASSERT_TRUE(platform::ReadRecords(file(), in, 2));
  EXPECT_EQ(in[1].a, 3);
  EXPECT_EQ(in[1].b, 4.0);

  Sample one{9, 9.0};
  auto r = platform::ReadRecord(file(), one);  // a file of two records is not one record
  EXPECT_EQ(r.status, platform::FileStatus::WrongSize);
  EXPECT_NE(r.message.find("$SAMPLE.@@@"), std::string::npos);
  EXPECT_EQ(one.a, 9);

  fs::resize_file(file(), sizeof(Sample) + 3);  // truncated in the middle of a record
  Sample many[4] = {};
  std::size_t count = 99;
  EXPECT_EQ(platform::ReadRecordsUpTo(file(), many, 4, &count).status, platform::FileStatus::WrongSize);
  EXPECT_EQ(count, 0u);
}

TEST_F(RecordFile, ReadsUpToTheLimitOnly) {
  Sample out[3] = {{1, 0}, {2, 0}, {3, 0}};
  ASSERT_TRUE(platform::WriteRecords(file(), out, 3));
  Sample in[3] = {};
  std::size_t count = 0;
  ASSERT_TRUE(platform::ReadRecordsUpTo(file(), in, 3, &count));
  EXPECT_EQ(count, 3u);
  EXPECT_FALSE(platform::ReadRecordsUpTo(file(), in, 2, &count));  // more than the table holds
}

TEST_F(RecordFile, FailedWriteKeepsThePreviousFile) {
  Sample first{1, 1.0};
  ASSERT_TRUE(platform::WriteRecord(file(), first));
  if (geteuid() == 0) {
    // root ignores folder permissions: make the target unwritable another way,
    // by putting a folder where the temporary file's rename must land.
    fs::path blocked = dir.path() / "blocked.@@@";
    fs::create_directories(blocked / "inside");
    Sample s{2, 2.0};
    auto r = platform::WriteRecord(blocked, s);
    EXPECT_EQ(r.status, platform::FileStatus::WriteError);
    EXPECT_TRUE(fs::is_directory(blocked / "inside"));
  } else {
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    Sample s{2, 2.0};
    EXPECT_EQ(platform::WriteRecord(file(), s).status, platform::FileStatus::WriteError);
    fs::permissions(dir.path(), fs::perms::owner_all);
  }
  Sample back{};
  ASSERT_TRUE(platform::ReadRecord(file(), back));
  EXPECT_EQ(back.a, 1);
  // No temporary files are left behind.
  int entries = 0;
  for (auto& e : fs::directory_iterator(dir.path()))
    entries += e.path().filename().string().find(".tmp") != std::string::npos;
  EXPECT_EQ(entries, 0);
}

// Files written together replace their old files only all at once: one
// that cannot be written (a folder stands where it would go) leaves every
// other file as it was, and no temporary or kept copy behind.
TEST_F(RecordFile, FilesWrittenTogetherReplaceAllOrNone) {
  const fs::path a = dir.path() / "A.@@@";
  const fs::path b = dir.path() / "B.@@@";
  const fs::path blocked = dir.path() / "C.@@@";
  ASSERT_TRUE(platform::WriteRecord(a, Sample{1, 1.0}));
  const Sample next[2] = {{2, 2.0}, {3, 3.0}};
  const platform::FileWrite both[] = {{a, &next[0], sizeof next[0]}, {b, &next[1], sizeof next[1]}};
  ASSERT_TRUE(platform::WriteFilesTogether(both));
  Sample back{};
  ASSERT_TRUE(platform::ReadRecord(a, back));
  EXPECT_EQ(back.a, 2);
  ASSERT_TRUE(platform::ReadRecord(b, back));  // made where there was none
  EXPECT_EQ(back.a, 3);

  fs::create_directories(blocked / "inside");
  const Sample last[2] = {{4, 4.0}, {5, 5.0}};
  const platform::FileWrite spoiled[] = {{a, &last[0], sizeof last[0]}, {blocked, &last[1], sizeof last[1]}};
  const platform::FileResult r = platform::WriteFilesTogether(spoiled);
  EXPECT_EQ(r.status, platform::FileStatus::WriteError);
  EXPECT_NE(r.message.find("C.@@@"), std::string::npos) << r.message;
  EXPECT_NE(r.message.find("no file was replaced"), std::string::npos) << r.message;
  ASSERT_TRUE(platform::ReadRecord(a, back));
  EXPECT_EQ(back.a, 2);
  EXPECT_TRUE(fs::is_directory(blocked / "inside"));
  std::vector<std::string> names;
  for (auto& e : fs::directory_iterator(dir.path())) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"A.@@@", "B.@@@", "C.@@@"}));
}

TEST_F(RecordFile, WriteIntoAMissingFolderIsReported) {
  Sample s{1, 1.0};
  auto r = platform::WriteRecord(dir.path() / "no" / "such" / "x.@@@", s);
  EXPECT_EQ(r.status, platform::FileStatus::WriteError);
  EXPECT_FALSE(r.message.empty());
}

}  // namespace
