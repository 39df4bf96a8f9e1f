// The NC text editor: the file's bytes and CR LF ends through a load and a
// save, an unwritable file named with the edits kept, find (an empty text
// finds nothing) and replace without confirmation from the caret on.
#include "kelto_qup/shell/nc_editor.h"

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/text.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;
using qup::shell::CNcEditDlg;
using qup::shell::CReplaceTextDlg;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class NcEditorTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    backend_ = &platform::headless::InstallHeadlessBackend();
    file_ = home() / "O100.NC";
  }
  void TearDown() override {
    platform::UninstallBackend();
    ProgramFolderTest::TearDown();
  }
  platform::headless::HeadlessBackend* backend_ = nullptr;
  fs::path file_;
};

TEST_F(NcEditorTest, ALoadAndASaveKeepTheBytesAndTheLineEnds) {
  const std::string text = "%\r\nO0100(" + platform::Sjis("穴") + ")\r\nG00X1.\r\n%\r\n";
  std::ofstream(file_, std::ios::binary) << text;
  backend_->WhenDialogOpens(CNcEditDlg::kTemplateId, [](platform::headless::DialogDriver& d) {
    d.MenuCommand(CNcEditDlg::kSave);
    d.PressEscape();  // unmodified: no question
  });
  CNcEditDlg editor(file_, "O100.NC");
  EXPECT_EQ(editor.DoModal(), 2);
  EXPECT_EQ(ReadFile(file_), text);
  EXPECT_TRUE(backend_->MessageBoxes().empty());
}

TEST_F(NcEditorTest, AnUnwritableFileIsNamedAndTheEditsAreKept) {
  std::ofstream(file_, std::ios::binary) << "%\r\n";
  bool stillModified = false, stillOpen = false;
  backend_->WhenDialogOpens(CNcEditDlg::kTemplateId, [&](platform::headless::DialogDriver& d) {
    d.Type(CNcEditDlg::kEdit, "G01X5.\r\n");
    fs::remove(file_);
    fs::create_directories(file_);  // a folder where the file belongs
    d.PressEscape();                // Yes: save, which fails
    stillModified = d.dialog().IsModified(CNcEditDlg::kEdit);
    stillOpen = !d.dialog().HasEnded();
    fs::remove(file_);
    d.PressEscape();  // Yes again: saved now
  });
  backend_->AnswerMessageBox(platform::kIdYes);
  backend_->AnswerMessageBox(platform::kIdOk);
  backend_->AnswerMessageBox(platform::kIdYes);
  CNcEditDlg editor(file_, "O100.NC");
  editor.DoModal();
  EXPECT_TRUE(stillModified);
  EXPECT_TRUE(stillOpen);
  EXPECT_NE(ReadFile(file_).find("G01X5."), std::string::npos);
}

TEST_F(NcEditorTest, ReplaceWithoutConfirmationReplacesEveryMatchAfterTheCaret) {
  std::ofstream(file_, std::ios::binary) << "X1.\r\nX1.\r\nX1.\r\n";
  backend_->WhenDialogOpens(CNcEditDlg::kTemplateId, [](platform::headless::DialogDriver& d) {
    d.SelectText(CNcEditDlg::kEdit, 4, 4);  // after the first line
    EXPECT_EQ(static_cast<CNcEditDlg&>(d.dialog()).FindNext(""), -1);
    d.MenuCommand(CNcEditDlg::kReplace);
    d.MenuCommand(CNcEditDlg::kSave);
    d.PressEscape();
  });
  backend_->WhenDialogOpens(CReplaceTextDlg::kTemplateId, [](platform::headless::DialogDriver& d) {
    d.Type(CReplaceTextDlg::kOld, "X1.");
    d.Type(CReplaceTextDlg::kNew, "X2.");
    d.Click(CReplaceTextDlg::kReplace);
  });
  CNcEditDlg editor(file_, "O100.NC");
  editor.DoModal();
  EXPECT_EQ(ReadFile(file_), "X1.\r\nX2.\r\nX2.\r\n");
}

}  // namespace
