// The tool database editor and the machine ATC editor built by the desktop
// backend over a small database; each is saved as a PNG picture in the build
// folder (looked at, not compared).

#include <gtest/gtest.h>

#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/dialogs/machine_atc_dialog.h"
#include "kelto_dorn/tooldb/dialogs/tool_database_dialog.h"
#include "tests/kelto_dorn/tooldb/database_fixture.h"
#include "tests/support/dialog_picture_qt.h"

namespace dorn::test {
namespace {

class DatabasePictureTest : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    testsupport::InstallOffscreenQtBackend("dorn_tooldb_dialogs_picture_test");
    WriteToolFolder("BASE1", "END", {SampleTool("EM6", 6.0f, 1), SampleTool("ドリル5", 5.0f, 2)});
    SetBaseName("BASE1");
    SetToolName("END");
    AtcRecord row{};
    row.inUse = 1;
    ToolRecordToAtc(SampleTool("EM6", 6.0f, 1), "END", row);
    WriteMachine("MC1", {row});
    SetMachineName("MC1");
    ASSERT_TRUE(WriteDbSelection().ok());
  }

  void Picture(platform::Dialog& dialog, const char* file) { testsupport::SaveDialogPicture(dialog, file, 300, 200); }
};

TEST_F(DatabasePictureTest, ToolDatabaseEditor) {
  CToolDatabaseDlg dialog(tools_);
  Picture(dialog, "idd297_tool_database.png");
}

TEST_F(DatabasePictureTest, MachineAtcEditor) {
  CMachineAtcDbDlg dialog(atc_, tools_);
  Picture(dialog, "idd143_machine_atc.png");
}

}  // namespace
}  // namespace dorn::test
