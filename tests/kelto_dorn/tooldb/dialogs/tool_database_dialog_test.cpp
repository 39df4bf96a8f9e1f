// The tool database editor, the calculator and the conversion dialog driven
// headless as a user would.
#include <cstring>

#include "kelto_dorn/files/rename_dialog.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/dialogs/tool_database_dialog.h"
#include "kelto_dorn/tooldb/dialogs/tool_info_convert_dialog.h"
#include "kelto_dorn/tooldb/dialogs/tool_setup_dialog.h"
#include "kelto_dorn/tooldb/tool_record_edit.h"
#include "platform/headless/dialog_driver.h"
#include "platform/text.h"
#include "tests/kelto_dorn/tooldb/database_fixture.h"

namespace dorn::test {
namespace {

using platform::headless::DialogDriver;
namespace id = tool_db;

int Field(int field) { return id::kFieldBase + field; }

class ToolDatabaseDialogTest : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    InstallRenameDialog();
  }
  void AnswerName(const std::string& name) {
    backend().WhenDialogOpens(kRenameDialogId, [name](DialogDriver& d) {
      d.Type(rename_dialog::kName, name);
      d.Click(rename_dialog::kOk);
    });
  }
  // A selection file naming BASE1\END, whose folder holds `tools`.
  void Prepare(const std::vector<ToolRecord>& tools) {
    WriteToolFolder("BASE1", "END", tools);
    SetBaseName("BASE1");
    SetToolName("END");
    ASSERT_TRUE(WriteDbSelection().ok());
  }
  // Types one record field by field, Enter after each.
  static void TypeRecord(DialogDriver& d, const std::vector<std::pair<int, std::string>>& values) {
    for (const auto& [field, text] : values) {
      ASSERT_TRUE(d.Type(Field(field), text));
      ASSERT_TRUE(d.PressEnter());
    }
  }
  static std::vector<std::pair<int, std::string>> Record(const std::string& sec, const std::string& diameter) {
    std::vector<std::pair<int, std::string>> v = {{tool_field::kSecName, sec}, {tool_field::kDiameter, diameter}};
    for (int f = tool_field::kCornerRadius; f <= tool_field::kLast; ++f) v.push_back({f, ""});
    return v;
  }
  std::vector<ToolRecord> FileRecords(const std::string& base, const std::string& tool) {
    const std::string bytes = ReadFileBytes(ToolFile(base, tool));
    std::vector<ToolRecord> records(bytes.size() / sizeof(ToolRecord));
    if (!records.empty()) std::memcpy(records.data(), bytes.data(), records.size() * sizeof(ToolRecord));
    return records;
  }
};

TEST_F(ToolDatabaseDialogTest, AFirstOpeningAsksForABaseAndAToolFolder) {
  AnswerName("FIRST");
  AnswerName("END10");
  CToolDatabaseDlg dialog(tools_);
  ASSERT_TRUE(dialog.CreateModeless());
  EXPECT_TRUE(fs::is_directory(home() / "_DBS" / "FIRST" / "END10"));
  EXPECT_EQ(dialog.GetText(id::kBaseCombo), "FIRST");
  EXPECT_EQ(dialog.GetText(id::kToolCombo), "END10");
  DialogDriver d(dialog);
  d.Click(id::kRegister);
  EXPECT_TRUE(dialog.HasEnded());
  EXPECT_TRUE(fs::exists(home() / "$DBS_NAME.@@@"));
  EXPECT_FALSE(tools_.IsAllocated());
}

TEST_F(ToolDatabaseDialogTest, RecordsAreTypedEditedSortedAndDeleted) {
  Prepare({});
  CToolDatabaseDlg dialog(tools_);
  ASSERT_TRUE(dialog.CreateModeless());
  DialogDriver d(dialog);
  TypeRecord(d, Record("EM", "10"));
  TypeRecord(d, Record("DR", "8"));
  EXPECT_EQ(dialog.RecordCount(), 2);
  EXPECT_EQ(dialog.GetCount(id::kList), 2);

  // The corner radius above half the diameter: the field shows D / 2.
  d.DoubleClick(id::kList, 0);
  EXPECT_EQ(dialog.EditMode(), kEditOne);
  d.Type(Field(tool_field::kCornerRadius), "7");
  d.Focus(Field(tool_field::kTipAngle));
  EXPECT_EQ(dialog.GetText(Field(tool_field::kCornerRadius)), "5.000");
  EXPECT_EQ(dialog.GetText(Field(tool_field::kFlatRadius)), "0.000");
  d.Type(Field(tool_field::kTipAngle), "118");
  d.PressEnter();
  EXPECT_EQ(dialog.GetText(Field(tool_field::kTipLength)), "3.004");

  d.Click(id::kSort);
  EXPECT_NE(dialog.GetItemText(id::kList, 0).find("DR"), std::string::npos);
  d.Click(id::kDelete);
  d.DoubleClick(id::kList, 0);
  EXPECT_EQ(dialog.RecordCount(), 1);
  d.Click(id::kRegister);
  const auto saved = FileRecords("BASE1", "END");
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(platform::FieldText(saved[0].secName), "EM");
  EXPECT_FLOAT_EQ(saved[0].tipLength, 3.004f);
}

TEST_F(ToolDatabaseDialogTest, TheCalculatorCountsTheEditorsRecords) {
  Prepare({});
  CToolDatabaseDlg dialog(tools_);
  ASSERT_TRUE(dialog.CreateModeless());
  DialogDriver d(dialog);
  TypeRecord(d, Record("EM", "10"));  // the input slot now holds a copy of it
  backend().WhenDialogOpens(kToolSetupDialogId, [](DialogDriver& s) {
    s.Select(tool_setup::kMaterials, 0);
    s.Select(tool_setup::kToolKinds, 0);
    s.Click(tool_setup::kEdit);
    s.Type(tool_setup::kTestDiameter, "10");
    s.PressEnter();
    EXPECT_EQ(s.dialog().GetText(tool_setup::kTestSpeed), " 1120");
    EXPECT_EQ(s.dialog().GetText(tool_setup::kTestFeed), " 198");
    s.Click(tool_setup::kSetup);
  });
  d.Click(id::kSetup);
  EXPECT_EQ(dialog.RecordCount(), 1);
  // Then a new series of 6, 8 and 10 mm.
  backend().WhenDialogOpens(kToolSetupDialogId, [](DialogDriver& s) {
    s.Click(tool_setup::kNewSeries);
    s.Type(tool_setup::kFrom, "6");
    s.Type(tool_setup::kTo, "10");
    s.Type(tool_setup::kPitch, "2");
    s.Click(tool_setup::kSetup);
  });
  d.Click(id::kSetup);
  EXPECT_EQ(dialog.RecordCount(), 4);
  d.Click(id::kRegister);
  const auto saved = FileRecords("BASE1", "END");
  ASSERT_EQ(saved.size(), 4u);
  EXPECT_EQ(saved[0].spindleSpeed, 1120);
  EXPECT_FLOAT_EQ(saved[3].diameter, 10.0f);
  // The settings are kept for the next opening.
  EXPECT_EQ(fs::file_size(home() / "$DB_Vmin.@@@"), 128u);
}

TEST_F(ToolDatabaseDialogTest, EnterInTheConversionDialogAppliesWhatWasTyped) {
  ToolRecord r = SampleTool("EM", 10.0f);
  r.feed = 100.0f;
  r.spindleSpeed = 1000;
  Prepare({r});
  CToolDatabaseDlg dialog(tools_);
  ASSERT_TRUE(dialog.CreateModeless());
  DialogDriver d(dialog);
  backend().WhenDialogOpens(kToolInfoConvertDialogId, [](DialogDriver& c) {
    c.Type(tool_convert::kFeed, "1.2");
    c.PressEnter();
  });
  d.Click(id::kConvert);
  // A cancelled one leaves the records alone.
  backend().WhenDialogOpens(kToolInfoConvertDialogId, [](DialogDriver& c) {
    c.Type(tool_convert::kSpindle, "3");
    c.PressEscape();
  });
  d.Click(id::kConvert);
  d.Click(id::kRegister);
  const auto saved = FileRecords("BASE1", "END");
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_FLOAT_EQ(saved[0].feed, 120.0f);
  EXPECT_EQ(saved[0].spindleSpeed, 1000);
}

TEST_F(ToolDatabaseDialogTest, ANewBaseCopiesEveryToolFolderAnEmptyOneToo) {
  Prepare({SampleTool("EM", 10.0f)});
  fs::create_directories(home() / "_DBS" / "BASE1" / "EMPTY");
  CToolDatabaseDlg dialog(tools_);
  ASSERT_TRUE(dialog.CreateModeless());
  DialogDriver d(dialog);
  AnswerName("BASE2");
  backend().AnswerMessageBox(platform::kIdYes);  // copy the tool folders
  d.Click(id::kNewBase);
  EXPECT_EQ(ReadFileBytes(ToolFile("BASE2", "END")), ReadFileBytes(ToolFile("BASE1", "END")));
  EXPECT_TRUE(fs::is_directory(home() / "_DBS" / "BASE2" / "EMPTY"));
  EXPECT_FALSE(dialog.State().copyError);
  EXPECT_EQ(dialog.GetText(id::kBaseCombo), "BASE2");
  // A rename onto an existing base keeps the old name.
  AnswerName("BASE1");
  d.Click(id::kRenameBase);
  EXPECT_EQ(dialog.GetText(id::kBaseCombo), "BASE2");
  EXPECT_TRUE(fs::is_directory(home() / "_DBS" / "BASE2"));
  // A cancelled name dialog changes nothing.
  backend().WhenDialogOpens(kRenameDialogId, [](DialogDriver& n) { n.PressEscape(); });
  d.Click(id::kNewTool);
  EXPECT_EQ(dialog.GetText(id::kToolCombo), "END");
  EXPECT_EQ(fs::directory_iterator(home() / "_DBS" / "BASE2") != fs::directory_iterator(), true);
  d.PressEscape();
  EXPECT_TRUE(dialog.HasEnded());
}

TEST_F(ToolDatabaseDialogTest, AToolFileThatCannotBeReadIsNamedAndNeverWrittenOver) {
  Prepare({});
  fs::remove(ToolFile("BASE1", "END"));
  fs::create_directories(ToolFile("BASE1", "END") / "inside");  // there, but not a file to read
  CToolDatabaseDlg dialog(tools_);
  ASSERT_TRUE(dialog.CreateModeless());
  EXPECT_TRUE(WasShown("ファイルＯｐｅｎエラー"));
  DialogDriver d(dialog);
  TypeRecord(d, Record("EM", "10"));
  d.Click(id::kRegister);
  EXPECT_TRUE(WasShown("保存しません"));
  EXPECT_TRUE(fs::is_directory(ToolFile("BASE1", "END") / "inside"));
}

}  // namespace
}  // namespace dorn::test
