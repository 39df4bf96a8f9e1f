// NC data copy: comment lines dropped by whole lines (a long line is one
// line), the copy written whole or not at all, the source never written, a
// drive letter through its mapped folder, typed names kept to file names.
#include "kelto_qup/shell/nc_copy.h"

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "kelto_qup/engine/recording_host.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/drives.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class NcCopyTest : public testsupport::ProgramFolderTest {};

TEST_F(NcCopyTest, CommentLinesAreDroppedWholeAndLongLinesStay) {
  const std::string longLine = "G01X1.Y1.(" + std::string(200, 'A') + "@*)";
  const std::string source = "%\n@COMMENT\n*NOTE\n(KEEP)\n" + longLine + "\nM30\n%";
  std::ofstream(home() / "S.NC", std::ios::binary) << source;
  ASSERT_EQ(qup::shell::CopyNcProgram(home() / "S.NC", home() / "T.NC"), 0);
  EXPECT_EQ(ReadFile(home() / "T.NC"), "%\n(KEEP)\n" + longLine + "\nM30\n%");
  EXPECT_EQ(ReadFile(home() / "S.NC"), source);
}

TEST_F(NcCopyTest, FailuresLeaveNoCutTargetAndNameTheirSide) {
  std::ofstream(home() / "T.NC", std::ios::binary) << "OLD";
  EXPECT_EQ(qup::shell::CopyNcProgram(home() / "GONE.NC", home() / "T.NC"), qup::shell::kErrorCopySource);
  EXPECT_EQ(ReadFile(home() / "T.NC"), "OLD");
  std::ofstream(home() / "S.NC", std::ios::binary) << "%\n";
  EXPECT_EQ(qup::shell::CopyNcProgram(home() / "S.NC", home() / "NO" / "T.NC"), qup::shell::kErrorCopyTarget);
  EXPECT_FALSE(fs::exists(home() / "NO"));
}

TEST(PlainFileNameTest, TypedNamesStayFileNames) {
  struct Case {
    const char* typed;
    const char* plain;
  } cases[] = {{"O1000.NC", "O1000.NC"}, {"..\\X", ""}, {"A/B", ""}, {"C:X", ""}, {"..", ""}, {"", ""}};
  for (const Case& c : cases) EXPECT_EQ(qup::shell::PlainFileName(c.typed), c.plain) << c.typed;
}

class NcCopyDialogTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    backend_ = &platform::headless::InstallHeadlessBackend();
    handover::DrawingHeader& h = run.job.Header;
    platform::SetFieldText(h.unitName, "UNIT");
    platform::SetFieldText(h.secondName, "PGM");
    platform::SetFieldText(h.drawingName, "T1");
    platform::SetFieldText(h.dataExtension, "NC");
    fs::create_directories(home() / "UNIT" / "PGM" / "DAT");
    std::ofstream(home() / "UNIT" / "PGM" / "DAT" / "T1.NC", std::ios::binary) << "%\n@X\nM30\n%\n";
    fs::create_directories(home() / "stick");
    platform::SettingsStore store("Kelto_qup");
    store.SetString(platform::kDriveSection, "B", (home() / "stick").string());
    ASSERT_TRUE(store.Save());
  }
  void TearDown() override {
    platform::UninstallBackend();
    ProgramFolderTest::TearDown();
  }
  platform::headless::HeadlessBackend* backend_ = nullptr;
  qup::RecordingHost host;
  qup::RunContext run{host};
};

TEST_F(NcCopyDialogTest, ACopyGoesToTheMappedDriveAndTheOverwriteQuestionCanKeepTheOld) {
  using D = qup::shell::CNcCopyDlg;
  backend_->WhenDialogOpens(D::kTemplateId, [](platform::headless::DialogDriver& d) {
    d.Type(D::kTarget, "O1000.NC  second word");
    d.PressEnter();
    EXPECT_EQ(d.dialog().GetText(D::kTarget), "O1000.NC");
    d.Select(D::kDrive, 1);  // "B:\"
    d.Click(D::kExecute);
  });
  EXPECT_EQ(qup::shell::RunNcCopy(run), 1);
  EXPECT_EQ(ReadFile(home() / "stick" / "O1000.NC"), "%\nM30\n%\n");

  backend_->WhenDialogOpens(D::kTemplateId, [](platform::headless::DialogDriver& d) {
    d.Type(D::kTarget, "O1000.NC");
    d.Select(D::kDrive, 1);
    d.Click(D::kExecute);  // answered No: back in the dialog
    EXPECT_FALSE(d.dialog().HasEnded());
    d.PressEscape();
  });
  std::ofstream(home() / "stick" / "O1000.NC", std::ios::binary) << "KEEP";
  backend_->AnswerMessageBox(platform::kIdNo);
  qup::shell::RunNcCopy(run);
  EXPECT_EQ(ReadFile(home() / "stick" / "O1000.NC"), "KEEP");
}

}  // namespace
