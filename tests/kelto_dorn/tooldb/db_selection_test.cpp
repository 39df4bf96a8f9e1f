#include "kelto_dorn/tooldb/db_selection.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/tooldb/folder_names.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "tests/support/test_support.h"

namespace dorn {
namespace {

namespace fs = std::filesystem;

std::string Base() { return platform::FieldText(g_dbSelection.baseName); }
std::string Tool() { return platform::FieldText(g_dbSelection.toolName); }
std::string Machine() { return platform::FieldText(g_dbSelection.machineName); }

class DbSelectionTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    ResetDbSelection();
  }
  void TearDown() override {
    ResetDbSelection();
    ProgramFolderTest::TearDown();
  }
  void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
};

TEST_F(DbSelectionTest, FirstRunGivesAnEmptySelection) {
  SetBaseName("OLD");
  SetMachineName("OLDMC");
  g_dbSelection.chosenFlags = 17;
  platform::FileResult result;
  EXPECT_EQ(ReadDbSelection(&result), 1);
  EXPECT_TRUE(result.missing());
  EXPECT_EQ(g_dbSelection.chosenFlags, 0);
  EXPECT_EQ(Base(), "");
  EXPECT_EQ(Tool(), "");
  EXPECT_EQ(Machine(), "");
  EXPECT_FALSE(fs::exists(home() / "$DBS_NAME.@@@"));
}

TEST_F(DbSelectionTest, ReadsTheStoredSelection) {
  fs::copy_file(testsupport::FixturePath("tooldb/DBS_NAME_sample.@@@"), home() / "$DBS_NAME.@@@");
  EXPECT_EQ(ReadDbSelection(), 0);
  EXPECT_EQ(g_dbSelection.chosenFlags, kBaseChosen | kToolFolderChosen);
  EXPECT_EQ(Base(), "BASE1");
  EXPECT_EQ(Tool(), "END10");
  EXPECT_EQ(Machine(), "MC1");
}

TEST_F(DbSelectionTest, StoredSelectionIsWrittenBackByteForByte) {
  const fs::path file = home() / "$DBS_NAME.@@@";
  fs::copy_file(testsupport::FixturePath("tooldb/DBS_NAME_sample.@@@"), file);
  ASSERT_EQ(ReadDbSelection(), 0);
  fs::remove(file);
  ASSERT_TRUE(WriteDbSelection().ok());
  std::ifstream written(file, std::ios::binary),
      fixture(testsupport::FixturePath("tooldb/DBS_NAME_sample.@@@"), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}),
            std::string(std::istreambuf_iterator<char>(fixture), {}));
}

TEST_F(DbSelectionTest, WriteAndReadBackGiveTheSameRecord) {
  SetBaseName(platform::Sjis("アルミ材"));
  SetToolName("END10");
  SetMachineName(platform::Sjis("立形ＭＣ"));
  g_dbSelection.chosenFlags = 17;
  ASSERT_TRUE(WriteDbSelection().ok());
  const DbSelectionRecord written = g_dbSelection;
  ResetDbSelection();
  ASSERT_EQ(ReadDbSelection(), 0);
  EXPECT_EQ(std::memcmp(&written, &g_dbSelection, sizeof written), 0);
  EXPECT_EQ(fs::file_size(home() / "$DBS_NAME.@@@"), 200u);
}

TEST_F(DbSelectionTest, ShortFileIsReportedAndLeftAlone) {
  WriteBytes(home() / "$DBS_NAME.@@@", std::string(120, 'A'));
  platform::FileResult result;
  EXPECT_EQ(ReadDbSelection(&result), 1);
  EXPECT_EQ(result.status, platform::FileStatus::WrongSize);
  EXPECT_EQ(Base(), "");
  EXPECT_EQ(fs::file_size(home() / "$DBS_NAME.@@@"), 120u);
}

TEST_F(DbSelectionTest, UnterminatedNamesAreCutWithinTheirFields) {
  // Names of 64 bytes without a terminator; the base ends in a lead byte at
  // the cut, which must not be kept without its second byte.
  std::string record(8, '\0');
  std::string base(62, 'B');
  base += "\x88\xA0";  // one double-byte character in bytes 62-63
  record += base + std::string(64, 'T') + std::string(64, 'M');
  WriteBytes(home() / "$DBS_NAME.@@@", record);
  ASSERT_EQ(ReadDbSelection(), 0);
  EXPECT_EQ(Base(), std::string(62, 'B'));
  EXPECT_EQ(Tool(), std::string(63, 'T'));
  EXPECT_EQ(Machine(), std::string(63, 'M'));
}

struct NameCase {
  const char* name;
  std::string text;
  int result;
  std::string stored;
};

class SetBaseNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(SetBaseNameTest, TakesTheFirstWord) {
  ResetDbSelection();
  SetBaseName("PREVIOUS");
  EXPECT_EQ(SetBaseName(GetParam().text), GetParam().result);
  EXPECT_EQ(Base(), GetParam().stored);
}

const std::string kFortySix(46, 'x');

INSTANTIATE_TEST_SUITE_P(
    Cases, SetBaseNameTest,
    ::testing::Values(NameCase{"WordAfterBlanksUpToDot", "  ALU.extra", 0, "ALU"},
                      NameCase{"StopsAtBlank", "ALU 6061", 0, "ALU"}, NameCase{"BlanksOnlyClear", "   ", 2, ""},
                      NameCase{"EmptyClears", "", 2, ""}, NameCase{"DotFirstGivesNoName", ".hidden", 2, ""},
                      NameCase{"NothingFromPosition47On", std::string(50, 'a'), 0, std::string(47, 'a')},
                      NameCase{"BlanksCountTowardThe47", "  " + std::string(50, 'a'), 0, std::string(45, 'a')},
                      // A double-byte character at positions 46-47 would be cut in half.
                      NameCase{"DoubleByteCharacterAtTheCutIsLeftOut", kFortySix + "\x88\xA0" + "z", 0, kFortySix},
                      NameCase{"ShiftJisNameWithBackslashSecondByte",
                               "\x95\x5C"
                               "1",
                               0,
                               "\x95\x5C"
                               "1"}),
    [](const ::testing::TestParamInfo<NameCase>& info) { return std::string(info.param.name); });

TEST(SetMachineName, KeepsTheFirstWordOfAtMost56Bytes) {
  ResetDbSelection();
  EXPECT_EQ(SetMachineName("  MC1.old"), 0);
  EXPECT_EQ(Machine(), "MC1");
  EXPECT_EQ(SetMachineName(std::string(60, 'm')), 0);
  EXPECT_EQ(Machine(), std::string(56, 'm'));
  EXPECT_EQ(SetMachineName("    "), 4);
  EXPECT_EQ(Machine(), "");
  EXPECT_EQ(SetToolName(" "), 4);
}

struct FolderNameCase {
  const char* name;
  std::string text;
  bool safe;
};

class FolderNameTest : public ::testing::TestWithParam<FolderNameCase> {};

TEST_P(FolderNameTest, RefusesNamesThatLeaveTheirFolder) {
  EXPECT_EQ(IsSafeFolderName(GetParam().text), GetParam().safe);
}

INSTANTIATE_TEST_SUITE_P(Cases, FolderNameTest,
                         ::testing::Values(FolderNameCase{"Plain", "MC1", true}, FolderNameCase{"Empty", "", false},
                                           FolderNameCase{"Dot", ".", false}, FolderNameCase{"DotDot", "..", false},
                                           FolderNameCase{"Slash", "a/b", false},
                                           FolderNameCase{"Backslash", "..\\x", false},
                                           FolderNameCase{"TrailingBackslash", "abc\\", false},
                                           // 0x5C as the second byte of a character is part of the name.
                                           FolderNameCase{"ShiftJisSecondByte5C", "\x95\x5C\x83\x5C", true},
                                           FolderNameCase{"SingleByteKatakanaThenBackslash", "\xB1\\", false}),
                         [](const ::testing::TestParamInfo<FolderNameCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(DbSelectionTest, RefusedNamesGiveNoPath) {
  EXPECT_FALSE(ToolFilePath("..", "x").has_value());
  EXPECT_FALSE(ToolFilePath("BASE", "").has_value());
  EXPECT_FALSE(AtcFilePath("a\\..\\..").has_value());
  const auto path = AtcFilePath("MC1");
  ASSERT_TRUE(path.has_value());
  EXPECT_EQ(*path, platform::DataRoot() / "_ATC" / "MC1" / "$ATC_DBS.@@@");
}

}  // namespace
}  // namespace dorn
