// The tool database editor and the machine ATC editor built by the desktop
// backend over a small database; each is saved as a PNG picture in the build
// folder (looked at, not compared).
#include <QApplication>
#include <QDialog>
#include <QPixmap>
#include <cstdlib>

#include <gtest/gtest.h>

#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/dialogs/machine_atc_dialog.h"
#include "kelto_dorn/tooldb/dialogs/tool_database_dialog.h"
#include "platform/backend.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_dialog_host.h"
#include "tests/kelto_dorn/tooldb/database_fixture.h"

// Font look-ups keep a cache that the font library frees only at exit: that
// is the library's own memory, not a leak of this program.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace dorn::test {
namespace {

class DatabasePictureTest : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    platform::UninstallBackend();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "dorn_tooldb_dialogs_picture_test";
    static char* argv[] = {name, nullptr};
    platform::qt::InstallQtBackend(argc, argv);
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

  void Picture(platform::Dialog& dialog, const char* file) {
    ASSERT_TRUE(dialog.CreateModeless());
    QDialog* window = platform::qt::DialogWindow(dialog);
    ASSERT_NE(window, nullptr);
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    const QPixmap picture = window->grab();
    EXPECT_GT(picture.width(), 300);
    EXPECT_GT(picture.height(), 200);
    const fs::path out = testsupport::BinaryFolder() / "artefacts" / file;
    fs::create_directories(out.parent_path());
    EXPECT_TRUE(picture.save(QString::fromStdString(out.string()), "PNG"));
    dialog.DestroyWindow();
  }
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
