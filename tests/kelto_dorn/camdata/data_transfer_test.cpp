// The NC data transfer dialog: the port byte's option rules as a table, the
// list written in the order chosen (deselected lines dropped, folder lines
// skipped) and read back as the companion reads it, and a path the list's
// 256-byte record cannot hold refused.
#include "kelto_dorn/camdata/data_transfer_dialog.h"

#include <fstream>

#include <gtest/gtest.h>

#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "shared/handover/transfer_list.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;
namespace dt = dorn::data_transfer;

TEST(DataTransferOptionsTest, ThePortByteFollowsTheOptionButtons) {
  struct Case {
    const char* what;
    int before, after;
    int (*change)(int);
  } cases[] = {
      {"GRAPHIC on", 0x02, 0x12, dt::ToggleGraphic},
      {"GRAPHIC off", 0x32, 0x22, dt::ToggleGraphic},
      {"DATA表示 on", 0x12, 0x32, dt::ToggleDataList},
      {"NFS_OUT on clears the rest", 0x33, 0x40, dt::ToggleNfsOut},
      {"NFS_OUT off leaves COM2 with GRAPHIC", 0x40, 0x11, dt::ToggleNfsOut},
      {"GRAPHIC while NFS_OUT", 0x40, 0x40, dt::ToggleGraphic},
      {"port 5 keeps the options", 0x31, 0x34, [](int b) { return dt::ChoosePort(b, 4); }},
      {"a port while NFS_OUT", 0x40, 0x40, [](int b) { return dt::ChoosePort(b, 4); }},
  };
  for (const Case& c : cases) EXPECT_EQ(c.change(c.before), c.after) << c.what;
}

TEST(DataTransferLinesTest, NamesEndAtTheFirstDoubleBlank) {
  EXPECT_EQ(dt::NameOfLine(dt::FileLine("A B.NC", 120, 0)), "A B.NC");
  EXPECT_EQ(dt::NameOfLine("[DIR]OLD"), "");
  EXPECT_EQ(dt::FolderNameOf("UNIT1  x"), "UNIT1");
  EXPECT_EQ(dt::FolderNameOf("UNIT1.BAK"), "UNIT1");
}

class DataTransferDialogTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    backend_ = &platform::headless::InstallHeadlessBackend();
    header_ = handover::DrawingHeader{};
    platform::SetFieldText(header_.unitName, "UNIT");
    platform::SetFieldText(header_.secondName, "PGM");
    header_.portByte = 0x11;
    fs::create_directories(home() / "UNIT" / "PGM" / "DAT" / "OLD");
    for (const char* name : {"A.NC", "B B.NC", "C.NC"}) {
      std::ofstream(home() / "UNIT" / "PGM" / "DAT" / name) << "%\n";
    }
  }
  void TearDown() override {
    platform::UninstallBackend();
    ProgramFolderTest::TearDown();
  }
  int Row(platform::Dialog& d, const std::string& name) {
    for (int i = 0; i < d.GetCount(dt::kFiles); ++i) {
      if (dt::NameOfLine(d.GetItemText(dt::kFiles, i)) == name || d.GetItemText(dt::kFiles, i) == name) return i;
    }
    return -1;
  }
  platform::headless::HeadlessBackend* backend_ = nullptr;
  handover::DrawingHeader header_{};
};

TEST_F(DataTransferDialogTest, TheListHoldsTheChosenFilesInOrderAndTheCompanionFindsThem) {
  backend_->WhenDialogOpens(dt::kTemplateId, [this](platform::headless::DialogDriver& d) {
    d.ToggleSelection(dt::kFiles, Row(d.dialog(), "C.NC"));
    d.ToggleSelection(dt::kFiles, Row(d.dialog(), "[DIR]OLD"));
    d.ToggleSelection(dt::kFiles, Row(d.dialog(), "A.NC"));
    d.ToggleSelection(dt::kFiles, Row(d.dialog(), "B B.NC"));
    d.ToggleSelection(dt::kFiles, Row(d.dialog(), "A.NC"));  // deselected again: not sent
    d.Click(dt::kNfsOut);
    d.Click(dt::kNfsOut);
    d.Click(dt::kExecute);
  });
  EXPECT_EQ(dorn::RunDataTransferDialog({}, header_), 1);
  EXPECT_EQ(header_.portByte, 0x11);
  std::vector<std::string> paths;
  ASSERT_TRUE(handover::ReadTransferList(home() / "$TXD.@@@", paths).ok());
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_EQ(platform::NativePath(paths[0]), home() / "UNIT" / "PGM" / "DAT" / "C.NC");
  EXPECT_EQ(platform::NativePath(paths[1]), home() / "UNIT" / "PGM" / "DAT" / "B B.NC");
  EXPECT_NE(paths[0].find('\\'), std::string::npos) << "the list spells paths with backslashes";
}

TEST_F(DataTransferDialogTest, CopyAndDeleteOpenTheFileListInTheirMode) {
  dorn::CamServices services;
  std::vector<int> modes;
  services.fileListDialog = [&](int mode) { modes.push_back(mode); };
  int beepsBefore = 0;
  backend_->WhenDialogOpens(dt::kTemplateId, [&](platform::headless::DialogDriver& d) {
    EXPECT_TRUE(d.dialog().IsEnabled(dt::kCopy));
    EXPECT_TRUE(d.dialog().IsEnabled(dt::kDelete));
    beepsBefore = backend_->BeepCount();
    d.Click(dt::kCopy);
    d.Click(dt::kDelete);
    EXPECT_EQ(d.dialog().GetCheck(dt::kCopy), 0) << "released after the list";
    d.PressEscape();
  });
  dorn::RunDataTransferDialog(services, header_);
  EXPECT_EQ(modes, (std::vector<int>{1, 2}));
  EXPECT_EQ(backend_->BeepCount() - beepsBefore, 2);
}

TEST_F(DataTransferDialogTest, NothingChosenWritesAnEmptyListAndStartsNothing) {
  backend_->WhenDialogOpens(dt::kTemplateId, [](platform::headless::DialogDriver& d) { d.Click(dt::kExecute); });
  EXPECT_EQ(dorn::RunDataTransferDialog({}, header_), 2);
  EXPECT_EQ(fs::file_size(home() / "$TXD.@@@"), 0u);
}

TEST_F(DataTransferDialogTest, APathTooLongForItsRecordIsRefusedNotCut) {
  const std::string longName(240, 'N');
  std::ofstream(home() / "UNIT" / "PGM" / "DAT" / longName) << "%\n";
  bool stayedOpen = false;
  backend_->WhenDialogOpens(dt::kTemplateId, [&](platform::headless::DialogDriver& d) {
    d.ToggleSelection(dt::kFiles, Row(d.dialog(), longName));
    d.Click(dt::kExecute);
    stayedOpen = !d.dialog().HasEnded();
    d.PressEscape();
  });
  EXPECT_EQ(dorn::RunDataTransferDialog({}, header_), 2);
  EXPECT_TRUE(stayedOpen);
  EXPECT_TRUE(backend_->WasShown(platform::Sjis("パスが長すぎる")));
  EXPECT_FALSE(fs::exists(home() / "$TXD.@@@"));
}

}  // namespace
