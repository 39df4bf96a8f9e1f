// The ATC editor's row operations and the ATC CSV, without a window.
#include <cstring>
#include <fstream>

#include "kelto_dorn/tooldb/atc_csv.h"
#include "kelto_dorn/tooldb/atc_rows.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "platform/text.h"
#include "tests/kelto_dorn/tooldb/database_fixture.h"

namespace dorn::test {
namespace {

AtcRecord Row(const std::string& sec, float diameter) {
  AtcRecord r{};
  r.inUse = 1;
  ToolRecordToAtc(SampleTool(sec, diameter), "END", r);
  return r;
}

class AtcExchangeTest : public DatabaseTest {
 protected:
  void WriteCsv(const std::string& utf8Body) {
    fs::create_directories(home() / "ExPort");
    std::ofstream(home() / "ExPort" / "ATC_Export.csv", std::ios::binary)
        << platform::Utf8ToCp932("機械名,ATC番号,工具名\n" + utf8Body);
  }
  int RowsOf(const std::string& machine) {
    return static_cast<int>(fs::file_size(AtcFile(machine)) / sizeof(AtcRecord));
  }
  std::string SecOf(const std::string& machine, int row) {
    const std::string bytes = ReadFileBytes(AtcFile(machine));
    AtcRecord r;
    std::memcpy(&r, bytes.data() + row * sizeof(AtcRecord), sizeof r);
    return platform::FieldText(r.secName);
  }
};

TEST_F(AtcExchangeTest, InsertAndDeleteKeepNumbersAndNoDuplicate) {
  for (int i = 0; i < 5; ++i) atc_.Record(i) = Row("T" + std::to_string(i), 1.0f + i);
  ASSERT_TRUE(InsertAtcRow(atc_, 2));  // row 3
  EXPECT_EQ(atc_.Record(2).inUse, 1);
  EXPECT_EQ(platform::FieldText(atc_.Record(2).secName), "");
  EXPECT_EQ(platform::FieldText(atc_.Record(3).secName), "T2");
  for (int i = 0; i < DocAtcTable::kRowCount; ++i) ASSERT_EQ(atc_.Record(i).atcNumber, i + 1);

  // A tool in the last row would be pushed out: the insertion is refused.
  atc_.Record(1015) = Row("LAST", 9.0f);
  EXPECT_FALSE(InsertAtcRow(atc_, 0));
  EXPECT_EQ(platform::FieldText(atc_.Record(0).secName), "T0");

  // Deleting moves the rows up and empties the last one.
  DeleteAtcRow(atc_, 0);
  EXPECT_EQ(platform::FieldText(atc_.Record(0).secName), "T1");
  EXPECT_EQ(platform::FieldText(atc_.Record(1014).secName), "LAST");
  EXPECT_EQ(atc_.Record(1015).inUse, 0);
  EXPECT_EQ(platform::FieldText(atc_.Record(1015).secName), "");
  EXPECT_EQ(atc_.Record(1015).atcNumber, 1016);
}

TEST_F(AtcExchangeTest, LinesOfAMachineSplitInTwoKeepTheLastGroup) {
  // Lines ending in CR LF, as older files have them, read the same.
  WriteCsv("A,1,END,A1,10.0\r\nA,2,END,A2,10.0\r\nB,1,END,B1,8.0\r\nA,1,END,A3,6.0\r\n");
  SetMachineName("A");
  ASSERT_TRUE(ImportAtcTables(atc_));
  EXPECT_EQ(RowsOf("A"), 1);
  EXPECT_EQ(SecOf("A", 0), "A3");
  EXPECT_EQ(RowsOf("B"), 1);
  EXPECT_EQ(platform::FieldText(g_dbSelection.machineName), "A");
  EXPECT_EQ(platform::FieldText(atc_.Record(0).secName), "A3");
}

TEST_F(AtcExchangeTest, AMachineKeeps1016RowsAndTheRestIsNamed) {
  std::string body;
  for (int i = 1; i <= 1300; ++i) body += "BIG," + std::to_string(i) + ",END,T" + std::to_string(i) + ",5.0\n";
  WriteCsv(body);
  ASSERT_TRUE(ImportAtcTables(atc_));
  EXPECT_EQ(RowsOf("BIG"), 1016);
  EXPECT_EQ(SecOf("BIG", 1015), "T1016");
  EXPECT_TRUE(WasShown("284"));
}

TEST_F(AtcExchangeTest, AnImportWithoutItsFileOrWithABadNameChangesNothing) {
  WriteMachine("M1", {Row("KEEP", 3.0f)});
  SetMachineName("M1");
  LoadAtcTable(atc_);
  const std::string before = ReadFileBytes(AtcFile("M1"));
  EXPECT_FALSE(ImportAtcTables(atc_));
  EXPECT_TRUE(WasShown("ATC_Export.csv"));
  EXPECT_EQ(ReadFileBytes(AtcFile("M1")), before);

  WriteCsv("..\\x,1,END,T1,1.0\nOK,1,END,T1,1.0\n");
  ASSERT_TRUE(ImportAtcTables(atc_));
  EXPECT_FALSE(fs::exists(home() / "x"));
  EXPECT_EQ(RowsOf("OK"), 1);
  EXPECT_TRUE(WasShown("2 行目"));
}

TEST_F(AtcExchangeTest, ExportWritesEveryMachineAndLeavesOutAnUnreadableOne) {
  WriteMachine("M1", {Row("T1", 1.0f), Row("T2", 2.0f), Row("T3", 3.0f)});
  fs::create_directories(home() / "_ATC" / "M2");
  fs::create_directories(AtcFile("M3"));  // there, but no file that can be read
  SetMachineName("M1");
  ASSERT_TRUE(ExportAtcTables(atc_, {"M1", "M2", "M3"}));
  const std::string csv = platform::Cp932ToUtf8(ReadFileBytes(home() / "ExPort" / "ATC_Export.csv"));
  EXPECT_NE(csv.find("M1,3,END,T3,3.0"), std::string::npos) << csv;
  EXPECT_NE(csv.find("M2,1,,,0.0,0.0,0.0,0.0,0.0,0,0,0,0.0,0,0,0.0,,0,0,0,\n"), std::string::npos) << csv;
  EXPECT_EQ(csv.find("M3,"), std::string::npos);
  EXPECT_TRUE(WasShown("M3 : ATCファイルが読めない"));
  // The current machine's table is loaded again.
  EXPECT_EQ(platform::FieldText(atc_.Record(2).secName), "T3");
}

TEST_F(AtcExchangeTest, CopyConvertRefreshesFromTheToolDatabase) {
  WriteToolFolder("BASE", "END", {SampleTool("T1", 1.0f, 4), SampleTool("T2", 2.0f)});
  SetBaseName("BASE");
  WriteMachine("SRC", {Row("T1", 1.0f), Row("GONE", 7.0f)});
  WriteMachine("DST", {Row("X", 1.0f)});
  SetMachineName("DST");
  LoadAtcTable(atc_);
  ASSERT_TRUE(CopyConvertAtcTable(atc_, tools_, "SRC"));
  EXPECT_EQ(platform::FieldText(g_dbSelection.machineName), "DST");
  EXPECT_EQ(RowsOf("DST"), 1);  // the unmatched row was cleared, so not written
  EXPECT_EQ(SecOf("DST", 0), "T1");
  EXPECT_EQ(atc_.Record(0).spindleSpeed, SampleTool("T1", 1.0f, 4).spindleSpeed);

  // A current table whose file could not be read is not written over.
  atc_.SetReadFailed(true);
  const std::string before = ReadFileBytes(AtcFile("DST"));
  EXPECT_FALSE(CopyConvertAtcTable(atc_, tools_, "SRC"));
  EXPECT_EQ(ReadFileBytes(AtcFile("DST")), before);
}

}  // namespace
}  // namespace dorn::test
