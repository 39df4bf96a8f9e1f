// The database editors as the File menu opens them: the tool database
// editor's list and the machine ATC editor's table printed into PDF files
// read back with the PDF tools.
#include <cstdio>
#include <fstream>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/tooldb/atc_table.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/dialogs/machine_atc_dialog.h"
#include "kelto_dorn/tooldb/dialogs/tool_database_dialog.h"
#include "kelto_dorn/window/command_ids.h"
#include "platform/headless/dialog_driver.h"
#include "platform/print_job.h"
#include "platform/qt/print_qt.h"
#include "platform/qt/qt_backend.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "tests/kelto_dorn/window/window_fixture.h"

namespace dorn::test {
namespace {

namespace fs = std::filesystem;
using platform::headless::DialogDriver;

std::string PdfText(const fs::path& pdf) {
  std::string out;
  FILE* pipe = ::popen(("pdftotext -layout '" + pdf.string() + "' -").c_str(), "r");
  if (!pipe) return out;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
  ::pclose(pipe);
  return out;
}

ToolRecord Tool(const char* name, float diameter) {
  ToolRecord r{};
  platform::SetFieldText(r.secName, name);
  r.diameter = diameter;
  r.flatRadius = diameter / 2.0f;
  r.spindleSpeed = 1200;
  r.feed = 150.0f;
  return r;
}

class DatabaseEditorsTest : public WindowTest {
 protected:
  // The desktop print service on the off-screen platform; false where the
  // system has a printer, whose dialog would wait for a user.
  bool UsePdfPrinting() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "dorn_window_tests";
    static char* argv[] = {name, nullptr};
    platform::qt::InstallQtBackend(argc, argv);
    WindowTest::TearDown();
    WindowTest::SetUp();
    platform::qt::InstallQtPrinting();
    return !platform::HasPrinter();
  }
  void MakeDatabase() {
    const fs::path folder = home() / "_DBS" / "BASEA" / "ENDMILLS";
    fs::create_directories(folder);
    const ToolRecord tools[] = {Tool("SQUARE", 10.0f), Tool("ROUGHER", 12.0f)};
    std::ofstream(folder / "$DBS_GEN.@@@", std::ios::binary).write(reinterpret_cast<const char*>(tools), sizeof tools);
    AtcRecord row{};
    row.inUse = 1;
    ToolRecordToAtc(tools[1], "ENDMILLS", row);
    fs::create_directories(home() / "_ATC" / "VERTICAL");
    std::ofstream(home() / "_ATC" / "VERTICAL" / "$ATC_DBS.@@@", std::ios::binary)
        .write(reinterpret_cast<const char*>(&row), sizeof row);
    SetBaseName("BASEA");
    SetToolName("ENDMILLS");
    SetMachineName("VERTICAL");
    ASSERT_TRUE(WriteDbSelection().ok());
  }
};

TEST_F(DatabaseEditorsTest, TheFileMenuOpensBothEditorsAndTheirListsPrint) {
  if (!UsePdfPrinting()) GTEST_SKIP() << "this system has a printer";
  MakeDatabase();
  StartWithFixtureDrawing();
  g_commandEngines.printListDialog = nullptr;  // the lists print without the scope choice
  int depthSeen = 0;
  backend().WhenDialogOpens(kToolDatabaseDialogId, [&depthSeen](DialogDriver& d) {
    depthSeen = ModalDepth;
    EXPECT_EQ(d.dialog().GetCount(tool_db::kList), 2);
    d.Click(tool_db::kPrint);
    d.Click(tool_db::kRegister);
  });
  const fs::path toolsPdf = home() / "tools.pdf";
  backend().AnswerFileChooser(platform::SystemName(toolsPdf));
  ASSERT_TRUE(frame().Invoke(cmd::kToolDatabase));
  EXPECT_EQ(depthSeen, 1);
  EXPECT_EQ(ModalDepth, 0);
  const std::string tools = PdfText(toolsPdf);
  EXPECT_NE(tools.find("SEC名"), std::string::npos) << tools;
  EXPECT_NE(tools.find("BASEA"), std::string::npos) << tools;
  EXPECT_NE(tools.find(" SQUARE "), std::string::npos) << tools;
  EXPECT_NE(tools.find(" ROUGHER "), std::string::npos) << tools;

  backend().WhenDialogOpens(kMachineAtcDialogId, [](DialogDriver& d) {
    d.Click(machine_atc::kPrint);
    d.Click(machine_atc::kClose);
  });
  const fs::path atcPdf = home() / "atc.pdf";
  backend().AnswerFileChooser(platform::SystemName(atcPdf));
  ASSERT_TRUE(frame().Invoke(cmd::kMachineAtc));
  const std::string atc = PdfText(atcPdf);
  EXPECT_NE(atc.find("VERTICAL"), std::string::npos) << atc;
  EXPECT_NE(atc.find("ROUGHER"), std::string::npos) << atc;
  EXPECT_NE(atc.find("ENDMILLS"), std::string::npos) << atc;
}

}  // namespace
}  // namespace dorn::test
