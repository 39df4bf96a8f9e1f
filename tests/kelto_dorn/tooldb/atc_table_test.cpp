#include "kelto_dorn/tooldb/atc_table.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/tool_table.h"
#include "platform/text.h"
#include "tests/support/test_support.h"

namespace dorn {
namespace {

namespace fs = std::filesystem;

AtcRecord Row(int i) {
  AtcRecord r{};
  r.inUse = 1;
  r.atcNumber = i + 1;
  r.spindleSpeed = 100 + i;
  r.diameter = 1.0f + static_cast<float>(i);
  platform::SetFieldText(r.toolName, "R" + std::to_string(i));
  return r;
}

class AtcTableTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    ResetDbSelection();
    table_ = std::make_unique<DocAtcTable>();
  }
  void TearDown() override {
    table_.reset();
    ResetDbSelection();
    ProgramFolderTest::TearDown();
  }
  fs::path Machine(const std::string& name) {
    fs::path folder = home() / "_ATC" / name;
    fs::create_directories(folder);
    SetMachineName(name);
    return folder / "$ATC_DBS.@@@";
  }
  void WriteRows(const fs::path& file, int count) { testsupport::WriteFileBytes(file, testsupport::RecordBytes(count, Row)); }
  std::unique_ptr<DocAtcTable> table_;
};

TEST_F(AtcTableTest, SmallFixtureLoadsAndEveryRowIsInUseAndNumbered) {
  fs::copy_file(testsupport::FixturePath("tooldb/ATC_DBS_three_rows.@@@"), Machine("MC1"));
  ASSERT_EQ(LoadAtcTable(*table_), 3);
  EXPECT_EQ(table_->LoadedCount(), 3);
  const AtcRecord& drill = table_->Record(1);
  EXPECT_EQ(drill.spindleSpeed, 800);
  EXPECT_EQ(drill.cannedCycle, 81);
  EXPECT_EQ(drill.mCode, 8);
  EXPECT_EQ(drill.hCode, 1);
  EXPECT_EQ(drill.dCode, 2);
  EXPECT_FLOAT_EQ(drill.tipAngle, 118.0f);
  EXPECT_FLOAT_EQ(drill.fluteLength, 30.0f);
  EXPECT_EQ(drill.outputTNumber, 12);
  EXPECT_EQ(platform::Cp932ToUtf8(platform::FieldText(drill.toolName)), "ドリル");
  // The third row was stored with in-use 0 and ATC number 77.
  EXPECT_EQ(table_->Record(2).inUse, 1);
  EXPECT_EQ(table_->Record(2).atcNumber, 3);
  // Slots behind the rows are cleared and numbered.
  EXPECT_EQ(table_->Record(3).inUse, 0);
  EXPECT_EQ(table_->Record(3).atcNumber, 4);
}

TEST_F(AtcTableTest, NewDocumentLoadsTheSelectedMachine) {
  fs::copy_file(testsupport::FixturePath("tooldb/ATC_DBS_three_rows.@@@"), Machine("MC1"));
  ResetDbSelection();
  EXPECT_EQ(LoadSelectionAndAtcTable(*table_), 0);  // first run: no selection, no machine
  fs::copy_file(testsupport::FixturePath("tooldb/DBS_NAME_sample.@@@"), home() / "$DBS_NAME.@@@");
  EXPECT_EQ(LoadSelectionAndAtcTable(*table_), 3);
  EXPECT_EQ(platform::FieldText(g_dbSelection.machineName), "MC1");
  EXPECT_EQ(table_->Record(0).spindleSpeed, 1200);
}

TEST_F(AtcTableTest, RowsBeyondThe1016thDoNotReachTheScratchSlots) {
  WriteRows(Machine("BIG"), 1300);
  ASSERT_EQ(LoadAtcTable(*table_), 1016);
  EXPECT_EQ(table_->Record(1015).spindleSpeed, 100 + 1015);
  for (int slot : {1016, DocAtcTable::kScratchSlot, DocAtcTable::kBlankToolSlot, 1194, 1199}) {
    SCOPED_TRACE(slot);
    EXPECT_EQ(table_->Record(slot).inUse, 0);
    EXPECT_EQ(table_->Record(slot).diameter, 0.0f);
    EXPECT_EQ(table_->Record(slot).atcNumber, slot + 1);
  }
}

TEST_F(AtcTableTest, MissingFileOrNoMachineGivesAnEmptyTable) {
  Machine("EMPTY");
  EXPECT_EQ(LoadAtcTable(*table_), 0);
  ResetDbSelection();
  EXPECT_EQ(LoadAtcTable(*table_), 0);
  EXPECT_EQ(table_->LoadedCount(), 0);
}

// A machine's file that exists but cannot be read (here a link to itself,
// which a write would simply replace) leaves the table empty and marked: no
// write may put the empty table over the machine's tools. A later good read
// clears the mark.
TEST_F(AtcTableTest, UnreadableFileIsMarkedAndNeverWrittenOver) {
  const fs::path file = Machine("MC1");
  fs::create_symlink(file.filename(), file);
  platform::FileResult read;
  EXPECT_EQ(LoadAtcTable(*table_, &read), 0);
  EXPECT_EQ(read.status, platform::FileStatus::ReadError);
  EXPECT_TRUE(table_->ReadFailed());
  table_->Record(0) = Row(0);
  EXPECT_FALSE(WriteAtcTable(*table_, "MC1").ok());
  EXPECT_TRUE(fs::is_symlink(file));

  fs::remove(file);
  WriteRows(file, 2);
  EXPECT_EQ(LoadAtcTable(*table_), 2);
  EXPECT_FALSE(table_->ReadFailed());
  EXPECT_TRUE(WriteAtcTable(*table_, "MC1").ok());
  // A machine without a file yet is not a failed read: its first table is
  // written.
  Machine("NEW");
  EXPECT_EQ(LoadAtcTable(*table_), 0);
  EXPECT_FALSE(table_->ReadFailed());
  table_->Record(0) = Row(0);
  EXPECT_TRUE(WriteAtcTable(*table_, "NEW").ok());
}

TEST_F(AtcTableTest, WritesUpToTheLastRowInUse) {
  const fs::path file = Machine("MC1");
  struct Case {
    const char* name;
    std::vector<int> inUseSlots;
    std::size_t records;
  };
  for (const Case& c :
       {Case{"none", {}, 1}, Case{"slot0", {0}, 1}, Case{"slot4", {0, 4}, 5}, Case{"last row", {1015}, 1016}}) {
    SCOPED_TRACE(c.name);
    for (int i = 0; i < DocAtcTable::kSlotCount; ++i) ClearAtcRecord(*table_, i);
    for (int slot : c.inUseSlots) table_->Record(slot) = Row(slot);
    // Rows beyond the machine's rows are never written.
    table_->Record(DocAtcTable::kScratchSlot) = Row(5);
    ASSERT_TRUE(WriteAtcTable(*table_, "MC1").ok());
    EXPECT_EQ(fs::file_size(file), c.records * sizeof(AtcRecord));
  }
}

TEST_F(AtcTableTest, ClearedRowsInTheMiddleComeBackAsEmptyRowsInUse) {
  Machine("MC1");
  for (int i = 0; i < 3; ++i) table_->Record(i) = Row(i);
  ClearAtcRecord(*table_, 1);
  ASSERT_TRUE(WriteAtcTable(*table_, "MC1").ok());
  ASSERT_EQ(LoadAtcTable(*table_), 3);
  EXPECT_EQ(table_->Record(1).inUse, 1);
  EXPECT_EQ(table_->Record(1).atcNumber, 2);
  EXPECT_EQ(table_->Record(1).diameter, 0.0f);
  EXPECT_EQ(table_->Record(2).spindleSpeed, 102);
}

TEST_F(AtcTableTest, RoundTripKeepsEveryByteOfTheRows) {
  const fs::path file = Machine("MC1");
  fs::copy_file(testsupport::FixturePath("tooldb/ATC_DBS_three_rows.@@@"), file, fs::copy_options::overwrite_existing);
  ASSERT_EQ(LoadAtcTable(*table_), 3);
  ASSERT_TRUE(WriteAtcTable(*table_, "MC1").ok());
  std::string expected = testsupport::ReadFileBytes(testsupport::FixturePath("tooldb/ATC_DBS_three_rows.@@@"));
  // The loader marks the third row in use with its position as ATC number.
  const std::int32_t inUse = 1, number = 3;
  std::memcpy(&expected[2 * 168], &inUse, 4);
  std::memcpy(&expected[2 * 168 + 4], &number, 4);
  EXPECT_EQ(testsupport::ReadFileBytes(file), expected);
}

TEST_F(AtcTableTest, WriteWithoutAUsableMachineWritesNothing) {
  table_->Record(0) = Row(0);
  EXPECT_FALSE(WriteAtcTable(*table_, "MC1").ok());  // no current machine
  Machine("MC1");
  EXPECT_FALSE(WriteAtcTable(*table_, "..").ok());
  EXPECT_FALSE(WriteAtcTable(*table_, "").ok());
  EXPECT_FALSE(WriteAtcTable(*table_, "NOFOLDER").ok());
  EXPECT_FALSE(fs::exists(home() / "_ATC" / "NOFOLDER"));
}

TEST_F(AtcTableTest, DisplayAndCsvTexts) {
  AtcRecord& r = table_->Record(0);
  r = Row(0);
  r.diameter = 10.0f;
  r.cornerRadius = 0.0f;
  r.feed = 0.0f;
  r.hCode = 0;
  r.dCode = 2;
  r.tapTwice = 1;
  r.outputTNumber = 0;
  r.coolant = 3;
  const std::string name30 = std::string(30, 'N');
  platform::SetFieldText(r.toolName, name30);
  platform::SetFieldText(r.secName, "EM10 LONG");

  AtcFieldTexts shown = FormatAtcRecord(*table_, 0);
  EXPECT_EQ(shown.toolName, std::string(24, 'N'));
  EXPECT_EQ(shown.secName, "EM10");
  EXPECT_EQ(shown.diameter, "10.0");
  EXPECT_EQ(shown.cornerRadius, "  -----");
  EXPECT_EQ(shown.feed, "  -----");
  EXPECT_EQ(shown.hCode, "  -----");
  EXPECT_EQ(shown.dCode, "2");
  EXPECT_EQ(platform::Cp932ToUtf8(shown.coolant), "Ｓ油");

  AtcFieldTexts csv = FormatAtcRecordCsv(*table_, 0);
  EXPECT_EQ(csv.toolName, name30);
  EXPECT_EQ(csv.secName, "EM10 LONG");
  EXPECT_EQ(csv.cornerRadius, "0.0");
  EXPECT_EQ(csv.feed, "0");
  EXPECT_EQ(csv.pCode, "0");
  EXPECT_EQ(csv.hCode, "0");
  EXPECT_EQ(csv.dCode, "2");
  EXPECT_EQ(csv.tapTwice, "ON");
  EXPECT_EQ(csv.outputTNumber, "0");

  r.coolant = 7;
  r.tapTwice = 2;
  EXPECT_EQ(FormatAtcRecordCsv(*table_, 0).coolant, "");
  EXPECT_EQ(r.coolant, 0);
  EXPECT_EQ(FormatAtcRecordCsv(*table_, 0).tapTwice, "");
  r.coolant = 7;
  EXPECT_EQ(FormatAtcRecord(*table_, 0).coolant, "  --");
  EXPECT_EQ(r.coolant, 0);
}

TEST_F(AtcTableTest, ToolNameCutsNeverSplitACharacter) {
  // 23 single bytes then a double-byte character across bytes 23-24.
  platform::SetFieldText(table_->Record(0).toolName, std::string(23, 'a') + "\x88\xA0" + "b");
  EXPECT_EQ(FormatAtcRecord(*table_, 0).toolName, std::string(23, 'a'));
}

TEST_F(AtcTableTest, RecordsThatAreNoRowsAreFormattedThroughAScratchSlot) {
  table_->Record(5) = Row(5);
  AtcRecord stepTool = Row(0);
  stepTool.coolant = 9;
  AtcFieldTexts texts = FormatThroughScratch(*table_, stepTool, DocAtcTable::kBlankToolSlot);
  EXPECT_EQ(texts.toolName, "R0");
  EXPECT_EQ(stepTool.coolant, 0);
  EXPECT_EQ(platform::FieldText(table_->Record(DocAtcTable::kBlankToolSlot).toolName), "R0");
  EXPECT_EQ(table_->Record(5).spindleSpeed, 105);
  EXPECT_THROW(FormatThroughScratch(*table_, stepTool, 5), std::out_of_range);
}

class AtcRefreshTest : public AtcTableTest {
 protected:
  void SetUp() override {
    AtcTableTest::SetUp();
    ASSERT_TRUE(tools_.Allocate());
    SetBaseName("BASE1");
    fs::create_directories(home() / "_DBS" / "BASE1" / "END10");
    fs::copy_file(testsupport::FixturePath("tooldb/DBS_GEN_three_tools.@@@"),
                  home() / "_DBS" / "BASE1" / "END10" / "$DBS_GEN.@@@");
    ToolRecord first{};
    std::ifstream(home() / "_DBS" / "BASE1" / "END10" / "$DBS_GEN.@@@", std::ios::binary)
        .read(reinterpret_cast<char*>(&first), sizeof first);
    // A row made from tool record 0 with stale cutting data.
    AtcRecord& row = table_->Record(0);
    row.inUse = 1;
    ToolRecordToAtc(first, "END10", row);
    row.spindleSpeed = 1;
    row.feed = 1.0f;
    row.kCode = 4;
  }
  DocToolTable tools_;
};

TEST_F(AtcRefreshTest, MatchingRowTakesTheToolDatabaseValues) {
  table_->Record(1) = Row(1);
  platform::SetFieldText(table_->Record(1).toolName, "NOSUCHFOLDER");
  RefreshAtcFromToolDb(*table_, tools_);
  const AtcRecord& row = table_->Record(0);
  EXPECT_EQ(row.spindleSpeed, 1200);
  EXPECT_FLOAT_EQ(row.feed, 500.0f);
  EXPECT_EQ(row.kCode, 0);
  EXPECT_EQ(row.atcNumber, 1);
  EXPECT_EQ(platform::FieldText(row.toolName), "END10");
  EXPECT_EQ(platform::FieldText(row.secName), "EM10");
  // A tool folder that cannot be read leaves its row as it was.
  EXPECT_EQ(table_->Record(1).spindleSpeed, 101);
}

TEST_F(AtcRefreshTest, TipAngleOffByAThousandthDoesNotMatchAndTheRowIsCleared) {
  table_->Record(0).tipAngle += 0.001f;
  ASSERT_TRUE(LoadToolRecordsFrom(tools_, "BASE1", "END10") == 3);
  EXPECT_EQ(MatchAtcToToolRecord(*table_, 0, tools_, 0), 99);
  EXPECT_EQ(table_->Record(0).spindleSpeed, 1);
  RefreshAtcFromToolDb(*table_, tools_);
  EXPECT_EQ(table_->Record(0).inUse, 0);
  EXPECT_EQ(table_->Record(0).diameter, 0.0f);
  EXPECT_EQ(table_->Record(0).atcNumber, 1);
}

}  // namespace
}  // namespace dorn
