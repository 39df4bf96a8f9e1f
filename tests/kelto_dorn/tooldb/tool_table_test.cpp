#include "kelto_dorn/tooldb/tool_table.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/field_texts.h"
#include "platform/headless/headless_backend.h"
#include "platform/text.h"
#include "tests/support/test_support.h"

namespace dorn {
namespace {

namespace fs = std::filesystem;

ToolRecord NumberedTool(int i) {
  ToolRecord r{};
  r.spindleSpeed = 1000 + i;
  r.hCode = static_cast<std::int16_t>(i % 100);
  r.diameter = 0.5f + static_cast<float>(i) * 0.25f;
  r.feed = 100.0f + static_cast<float>(i);
  r.coolant = static_cast<std::int16_t>(i % 5);
  platform::SetFieldText(r.secName, "T" + std::to_string(i));
  return r;
}

class ToolTableTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    backend_ = &platform::headless::InstallHeadlessBackend();
    ResetDbSelection();
    g_curToolIndex = 0;
    ASSERT_TRUE(table_.Allocate());
  }
  void TearDown() override {
    platform::UninstallBackend();
    table_.Release();
    ResetDbSelection();
    ProgramFolderTest::TearDown();
  }
  fs::path ToolFolder(const std::string& base, const std::string& tool) {
    fs::path folder = home() / "_DBS" / base / tool;
    fs::create_directories(folder);
    return folder;
  }
  void WriteTools(const fs::path& file, int count, std::size_t extraBytes = 0) {
    std::string bytes = testsupport::RecordBytes(count, NumberedTool);
    bytes.append(extraBytes, '\x7F');
    testsupport::WriteFileBytes(file, bytes);
  }
  void Select(const std::string& base, const std::string& tool) {
    SetBaseName(base);
    SetToolName(tool);
  }
  // How often "too many tools" (message 102) was shown.
  int TooManyToolsShown() const {
    int n = 0;
    for (const auto& box : backend_->MessageBoxes()) {
      if (platform::Cp932ToUtf8(box.request.text) == "▲ 工具データが多すぎます!!") ++n;
    }
    return n;
  }
  platform::headless::HeadlessBackend* backend_ = nullptr;
  DocToolTable table_;
};

TEST_F(ToolTableTest, SmallFixtureLoadsFieldByField) {
  fs::copy_file(testsupport::FixturePath("tooldb/DBS_GEN_three_tools.@@@"),
                ToolFolder("BASE1", "END10") / "$DBS_GEN.@@@");
  Select("BASE1", "END10");
  EXPECT_EQ(LoadToolRecords(table_), 3);
  EXPECT_EQ(g_curToolIndex, 3);
  const ToolRecord& drill = table_.Record(1);
  EXPECT_EQ(drill.spindleSpeed, 800);
  EXPECT_EQ(drill.fixedCycle, 81);
  EXPECT_EQ(drill.mCode, 8);
  EXPECT_EQ(drill.g84Twice, 1);
  EXPECT_EQ(drill.hCode, 2);
  EXPECT_FLOAT_EQ(drill.diameter, 6.8f);
  EXPECT_FLOAT_EQ(drill.tipAngle, 118.0f);
  EXPECT_FLOAT_EQ(drill.qValue, 1.5f);
  EXPECT_EQ(drill.tNumber, 5);
  EXPECT_EQ(drill.coolant, 2);
  EXPECT_EQ(platform::Cp932ToUtf8(platform::FieldText(drill.secName)), "ドリル6.8");
  // A 24-byte name without terminator is cut to 23 bytes.
  EXPECT_EQ(platform::FieldText(table_.Record(2).secName), "BALL-R1-LONG-NAME-NO-EN");
  // Slots behind the records are empty.
  ToolRecord empty{};
  EXPECT_EQ(std::memcmp(&table_.Record(3), &empty, sizeof empty), 0);
}

TEST_F(ToolTableTest, FormatsTheDisplayTexts) {
  fs::copy_file(testsupport::FixturePath("tooldb/DBS_GEN_three_tools.@@@"),
                ToolFolder("BASE1", "END10") / "$DBS_GEN.@@@");
  Select("BASE1", "END10");
  ASSERT_EQ(LoadToolRecords(table_), 3);
  ToolFieldTexts drill = FormatToolRecord(table_, 1);
  EXPECT_EQ(drill.diameter, "6.8");
  EXPECT_EQ(drill.cornerRadius, "  -----");
  EXPECT_EQ(drill.tipAngle, "118.0");
  EXPECT_EQ(drill.spindleSpeed, "800");
  EXPECT_EQ(drill.dCode, "  -----");
  EXPECT_EQ(drill.g84Twice, "  ON");
  EXPECT_EQ(drill.tNumber, "5");
  EXPECT_EQ(platform::Cp932ToUtf8(drill.coolant), "エア");

  ToolFieldTexts ball = FormatToolRecord(table_, 2);
  EXPECT_EQ(ball.g84Twice, "  --");
  EXPECT_EQ(ball.tNumber, "  --");
  // Coolant 7 is no coolant: shown as "  --" and 0 from then on.
  EXPECT_EQ(ball.coolant, "  --");
  EXPECT_EQ(table_.Record(2).coolant, 0);
}

TEST_F(ToolTableTest, FullToolFolderLoadsFormatsAndSavesUnchanged) {
  const fs::path source = ToolFolder("BIG", "T765") / "$DBS_GEN.@@@";
  WriteTools(source, DocToolTable::kMaxLoadedRecords);
  Select("BIG", "T765");
  platform::FileResult result;
  ASSERT_EQ(LoadToolRecords(table_, &result), 765);
  EXPECT_TRUE(result.ok());
  // A full tool folder still says that it is full.
  EXPECT_EQ(TooManyToolsShown(), 1);
  for (int i = 0; i < 765; ++i) {
    ToolFieldTexts t = FormatToolFields(table_.Record(i));
    ASSERT_EQ(t.secName, "T" + std::to_string(i));
    ASSERT_EQ(t.spindleSpeed, std::to_string(1000 + i));
  }
  EXPECT_EQ(FormatToolFields(table_.Record(764)).diameter, "191.5");

  ToolFolder("BIG", "COPY");
  ASSERT_TRUE(WriteToolFile(table_, 765, "BIG", "COPY").ok());
  EXPECT_EQ(testsupport::ReadFileBytes(home() / "_DBS" / "BIG" / "COPY" / "$DBS_GEN.@@@"), testsupport::ReadFileBytes(source));
}

TEST_F(ToolTableTest, MoreThan765RecordsKeepTheFirst765) {
  WriteTools(ToolFolder("BIG", "T800") / "$DBS_GEN.@@@", 800);
  Select("BIG", "T800");
  EXPECT_EQ(LoadToolRecords(table_), 765);
  EXPECT_EQ(TooManyToolsShown(), 1);
  EXPECT_EQ(platform::FieldText(table_.Record(764).secName), "T764");
  EXPECT_EQ(table_.Record(765).spindleSpeed, 0);
}

TEST_F(ToolTableTest, OneRecordLessThanFullLoadsWithoutAMessage) {
  WriteTools(ToolFolder("BIG", "T764") / "$DBS_GEN.@@@", 764);
  Select("BIG", "T764");
  EXPECT_EQ(LoadToolRecords(table_), 764);
  EXPECT_EQ(TooManyToolsShown(), 0);
}

TEST_F(ToolTableTest, TailShorterThanARecordIsIgnored) {
  WriteTools(ToolFolder("B", "T") / "$DBS_GEN.@@@", 3, 50);
  Select("B", "T");
  EXPECT_EQ(LoadToolRecords(table_), 3);
  EXPECT_EQ(table_.Record(3).spindleSpeed, 0);
}

TEST_F(ToolTableTest, MissingFileOrNoFolderChosenGivesNoRecords) {
  Select("B", "NOFILE");
  platform::FileResult result;
  EXPECT_EQ(LoadToolRecords(table_, &result), 0);
  EXPECT_TRUE(result.missing());
  ResetDbSelection();
  EXPECT_EQ(LoadToolRecords(table_), 0);
}

TEST_F(ToolTableTest, ValuesThatAreNoNumbersLoadAsZero) {
  ToolRecord r = NumberedTool(1);
  r.diameter = std::numeric_limits<float>::quiet_NaN();
  r.feed = std::numeric_limits<float>::infinity();
  std::ofstream(ToolFolder("B", "NAN") / "$DBS_GEN.@@@", std::ios::binary)
      .write(reinterpret_cast<const char*>(&r), sizeof r);
  Select("B", "NAN");
  ASSERT_EQ(LoadToolRecords(table_), 1);
  EXPECT_EQ(table_.Record(0).diameter, 0.0f);
  EXPECT_EQ(table_.Record(0).feed, 0.0f);
}

TEST_F(ToolTableTest, WriteRefusesWhatWouldDamageTheFile) {
  const fs::path file = ToolFolder("B", "KEEP") / "$DBS_GEN.@@@";
  WriteTools(file, 2);
  const std::string before = testsupport::ReadFileBytes(file);
  table_.Record(0).diameter = std::numeric_limits<float>::quiet_NaN();
  EXPECT_FALSE(WriteToolFile(table_, 1, "B", "KEEP").ok());
  EXPECT_FALSE(WriteToolFile(table_, 766, "B", "KEEP").ok());
  EXPECT_FALSE(WriteToolFile(table_, -1, "B", "KEEP").ok());
  EXPECT_FALSE(WriteToolFile(table_, 0, "..", "KEEP").ok());
  EXPECT_EQ(testsupport::ReadFileBytes(file), before);
  // An empty tool folder is a valid file of no records.
  EXPECT_TRUE(WriteToolFile(table_, 0, "B", "KEEP").ok());
  EXPECT_EQ(fs::file_size(file), 0u);
}

TEST_F(ToolTableTest, TableWithoutBuffersReadsNothing) {
  WriteTools(ToolFolder("B", "T") / "$DBS_GEN.@@@", 3);
  Select("B", "T");
  table_.Release();
  platform::FileResult result;
  EXPECT_EQ(LoadToolRecords(table_, &result), 0);
  EXPECT_FALSE(result.ok());
  EXPECT_THROW(table_.Record(0), std::out_of_range);
  ASSERT_TRUE(table_.Allocate());
  EXPECT_THROW(table_.Record(768), std::out_of_range);
  EXPECT_THROW(table_.Record(-1), std::out_of_range);
}

}  // namespace
}  // namespace dorn
