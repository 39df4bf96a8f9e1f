// The tool database's file work without a window: the CSV export and import,
// saving the open tool folder, copying a base.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>

#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/tool_csv.h"
#include "kelto_dorn/tooldb/tool_folders.h"
#include "platform/text.h"
#include "tests/kelto_dorn/tooldb/database_fixture.h"

namespace dorn::test {
namespace {

std::string RunCommand(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return out;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
  ::pclose(pipe);
  return out;
}

class ToolExchangeTest : public DatabaseTest {
 protected:
  // Two bases with two tool folders of three records each, and one more
  // folder only in the second base.
  void MakeSampleDatabase() {
    int seed = 0;
    for (const char* base : {"BASE1", "BASE2"}) {
      for (const char* tool : {"END", "DRILL"}) {
        WriteToolFolder(base, tool,
                        {SampleTool("ドリル" + std::to_string(seed), 6.8f, seed), SampleTool("EM10", 10.0f, seed + 1),
                         SampleTool("BALL", 4.0f, seed + 2)});
        seed += 3;
      }
    }
    WriteToolFolder("BASE2", "TAP", {SampleTool("TAP-M6", 5.0f, 7), SampleTool("TAP-M8", 6.8f, 8),
                                     SampleTool("TAP-M10", 8.5f, 9)});
    SetBaseName("BASE1");
    SetToolName("END");
  }
  std::map<std::string, std::string> ToolFiles() {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(home() / "_DBS")) {
      if (entry.is_regular_file()) files[fs::relative(entry.path(), home()).string()] = ReadFileBytes(entry.path());
    }
    return files;
  }
  void WriteCsv(const std::string& utf8Body) {
    fs::create_directories(home() / "ExPort");
    std::ofstream(home() / "ExPort" / "DBS_Export.csv", std::ios::binary) << platform::Utf8ToCp932(utf8Body);
  }
  static std::string Header() {
    return "基本ベース名,工具名,SEC名,工具φ,Ｒ径,Ｆ径,先端角,先端長,回転Ｓ,送りＦ,固定Ｇ,切込Ｑ,P_CODE,M_CODE,刃長,"
           "G84_2回,outＴ番号,H_CODE,D_CODE,油仕様\n";
  }
  ToolFolderState state_;
};

TEST_F(ToolExchangeTest, ExportReadsBackByteForByteAfterTheTreeIsGone) {
  MakeSampleDatabase();
  ASSERT_TRUE(ExportToolDatabase(tools_));
  const fs::path csv = home() / "ExPort" / "DBS_Export.csv";
  EXPECT_TRUE(WasShown("出力しました"));

  // An independent reader: Python's csv module over CP932.
  const std::string check = RunCommand(
      "python3 -c \"import csv,sys\n"
      "rows=list(csv.reader(open(sys.argv[1],encoding='cp932',newline='')))\n"
      "print(rows[0][0], rows[0][19], len(rows)-1)\n"
      "print(sorted(set(len(r) for r in rows)))\n"
      "print(sorted(set(r[0]+'/'+r[1] for r in rows[1:])))\n"
      "print(rows[1][2], rows[1][3], rows[1][19])\" '" +
      csv.string() + "'");
  EXPECT_NE(check.find("基本ベース名 油仕様 15"), std::string::npos) << check;
  EXPECT_NE(check.find("[20]"), std::string::npos) << check;
  EXPECT_NE(check.find("['BASE1/DRILL', 'BASE1/END', 'BASE2/DRILL', 'BASE2/END', 'BASE2/TAP']"), std::string::npos)
      << check;

  const auto before = ToolFiles();
  fs::remove_all(home() / "_DBS");
  ASSERT_TRUE(ImportToolDatabase(tools_, state_));
  EXPECT_EQ(ToolFiles(), before);
  // The last group is the current tool folder.
  EXPECT_EQ(platform::FieldText(g_dbSelection.baseName), "BASE2");
  EXPECT_EQ(platform::FieldText(g_dbSelection.toolName), "TAP");
  EXPECT_FALSE(state_.modified);
}

TEST_F(ToolExchangeTest, AnImportWithoutItsFileTouchesNothing) {
  MakeSampleDatabase();
  const auto before = ToolFiles();
  state_.modified = true;
  state_.count = 0;
  EXPECT_FALSE(ImportToolDatabase(tools_, state_));
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_NE(Shown()[0].find("ファイルＯｐｅｎエラー"), std::string::npos);
  EXPECT_NE(Shown()[0].find("DBS_Export.csv"), std::string::npos);
  EXPECT_EQ(ToolFiles(), before);
  EXPECT_FALSE(fs::exists(home() / "退避"));
}

TEST_F(ToolExchangeTest, AHeaderAloneAsksBeforeAnEmptyToolFolderIsSaved) {
  MakeSampleDatabase();
  WriteCsv(Header());
  const auto before = ToolFiles();
  backend().AnswerMessageBox(platform::kIdNo);
  ASSERT_TRUE(ImportToolDatabase(tools_, state_));
  EXPECT_TRUE(WasShown("空の工具情報を保存しますか"));
  EXPECT_EQ(ToolFiles(), before);
}

TEST_F(ToolExchangeTest, AGroupOfMoreThan765LinesKeeps765AndTheNextGroupStillComes) {
  std::string body = Header();
  for (int i = 0; i < 800; ++i) body += "B,BIG,T" + std::to_string(i) + ",10.0,0.0,5.0,0.0,0.0,1000,100,0,0,0,0,20,,0,1,1,\n";
  body += "B,SMALL,X,3.0,0.0,1.5,0.0,0.0,2000,50,0,0,0,0,10,ON,0,2,2,油\n";
  WriteCsv(body);
  ASSERT_TRUE(ImportToolDatabase(tools_, state_));
  EXPECT_EQ(fs::file_size(ToolFile("B", "BIG")), 765u * sizeof(ToolRecord));
  int tooMany = 0;
  for (const std::string& text : Shown()) tooMany += text.find("工具データが多すぎます") != std::string::npos;
  EXPECT_EQ(tooMany, 1);
  ASSERT_EQ(fs::file_size(ToolFile("B", "SMALL")), sizeof(ToolRecord));
  const std::string small = ReadFileBytes(ToolFile("B", "SMALL"));
  ToolRecord r;
  std::memcpy(&r, small.data(), sizeof r);
  EXPECT_EQ(r.g84Twice, 1);
  EXPECT_EQ(r.coolant, 1);
  EXPECT_FLOAT_EQ(r.diameter, 3.0f);
}

TEST_F(ToolExchangeTest, NamesThatCannotBeFoldersAreLeftOutAndNamed) {
  WriteCsv(Header() + "..\\x,EVIL,T1,1.0\nB\\C,T,T1,1.0\nGOOD,T,T1,2.0\n");
  ASSERT_TRUE(ImportToolDatabase(tools_, state_));
  EXPECT_FALSE(fs::exists(home() / "x"));
  EXPECT_FALSE(fs::exists(home() / "_DBS" / "B"));
  EXPECT_EQ(fs::file_size(ToolFile("GOOD", "T")), sizeof(ToolRecord));
  EXPECT_TRUE(WasShown("2 行目"));
  EXPECT_TRUE(WasShown("3 行目"));
}

TEST_F(ToolExchangeTest, AnImportSavesTheEditsOfTheOpenFolderFirst) {
  MakeSampleDatabase();
  WriteCsv(Header() + "OTHER,T,X,1.0\n");
  tools_.Record(0) = SampleTool("EDITED", 12.0f);
  state_.count = 1;
  state_.modified = true;
  ASSERT_TRUE(ImportToolDatabase(tools_, state_));
  EXPECT_EQ(fs::file_size(ToolFile("BASE1", "END")), sizeof(ToolRecord));
  EXPECT_NE(ReadFileBytes(ToolFile("BASE1", "END")).find("EDITED"), std::string::npos);
  // The backup holds the folder as the edits left it.
  EXPECT_NE(ReadFileBytes(home() / "退避" / "_DBS" / "BASE1" / "END" / "$DBS_GEN.@@@").find("EDITED"), std::string::npos);
}

TEST_F(ToolExchangeTest, AFailedSaveKeepsTheEditsMarked) {
  SetBaseName("B");
  SetToolName("T");
  fs::create_directories(ToolFile("B", "T"));  // a folder where the file goes: the write fails
  tools_.Record(0) = SampleTool("T1", 1.0f);
  state_.count = 1;
  state_.modified = true;
  EXPECT_EQ(SaveToolFile(tools_, state_), SaveOutcome::Failed);
  EXPECT_TRUE(state_.modified);
  EXPECT_TRUE(WasShown("工具情報のファイル"));
  fs::remove(ToolFile("B", "T"));
  EXPECT_EQ(SaveToolFile(tools_, state_), SaveOutcome::Saved);
  EXPECT_FALSE(state_.modified);
  EXPECT_EQ(fs::file_size(ToolFile("B", "T")), sizeof(ToolRecord));
}

TEST_F(ToolExchangeTest, ABaseCopyTakesAFolderWithoutRecordsAsEmpty) {
  WriteToolFolder("OLD", "FULL", {SampleTool("T1", 1.0f)});
  fs::create_directories(home() / "_DBS" / "OLD" / "EMPTY");
  EXPECT_TRUE(CopyBaseToolFolders("OLD", "NEW", state_));
  EXPECT_FALSE(state_.copyError);
  EXPECT_TRUE(fs::is_directory(home() / "_DBS" / "NEW" / "EMPTY"));
  EXPECT_EQ(ReadFileBytes(ToolFile("NEW", "FULL")), ReadFileBytes(ToolFile("OLD", "FULL")));
  // Saving goes on afterwards.
  SetBaseName("NEW");
  SetToolName("EMPTY");
  tools_.Record(0) = SampleTool("T2", 2.0f);
  state_.count = 1;
  state_.modified = true;
  EXPECT_EQ(SaveToolFile(tools_, state_), SaveOutcome::Saved);
}

TEST_F(ToolExchangeTest, AnExportThatCannotBeWrittenSaysSo) {
  MakeSampleDatabase();
  std::ofstream(home() / "ExPort") << "a file where the folder goes";
  EXPECT_FALSE(ExportToolDatabase(tools_));
  EXPECT_TRUE(WasShown("ファイルＯｐｅｎエラー"));
  EXPECT_FALSE(WasShown("出力しました"));
}

TEST_F(ToolExchangeTest, ARenameOntoAnExistingFolderKeepsTheOldName) {
  MakeSampleDatabase();
  EXPECT_FALSE(RenameDatabaseFolder(home() / "_DBS" / "BASE1", "END", "drill"));  // DRILL, another case
  EXPECT_TRUE(fs::exists(ToolFile("BASE1", "END")));
  EXPECT_TRUE(RenameDatabaseFolder(home() / "_DBS" / "BASE1", "END", "END2"));
  EXPECT_TRUE(fs::exists(ToolFile("BASE1", "END2")));
  EXPECT_EQ(ChooseListedName({"ALPHA", "BETA"}, "beta"), "BETA");
  EXPECT_EQ(ChooseListedName({"ALPHA", "BETA"}, "GAMMA"), "BETA");
  EXPECT_EQ(ChooseListedName({"ALPHA", "BETA"}, ""), "ALPHA");
}

}  // namespace
}  // namespace dorn::test
