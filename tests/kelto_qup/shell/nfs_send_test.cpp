// The network-drive send: names taken from the end of a listed path (any
// data root), the target under a slot's mapped drive with its folders made,
// a whole copy, the automatic send of the DNC list, and a missing source
// said and never reported as sent; the folder list of a slot's drive and the
// drive slots dialog.
#include "kelto_qup/shell/nfs_send.h"

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/shell/nfs_folder_dialogs.h"
#include "platform/backend.h"
#include "platform/drives.h"
#include "platform/headless/headless_backend.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;
using qup::shell::CNfsSendDlg;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(NfsPathTest, NamesComeFromTheEndOfTheListedPathWhateverTheRoot) {
  for (const char* path : {"C:\\K\\UNIT1\\PGM\\DAT\\O100.NC", "\\srv\\share\\long\\data\\root\\UNIT1\\PGM\\DAT\\O100.NC"}) {
    handover::DrawingHeader h{};
    ASSERT_TRUE(qup::shell::SplitListedPath(path, h)) << path;
    EXPECT_EQ(platform::FieldText(h.unitName), "UNIT1") << path;
    EXPECT_EQ(platform::FieldText(h.secondName), "PGM") << path;
    EXPECT_EQ(platform::FieldText(h.drawingName), "O100") << path;
    EXPECT_EQ(platform::FieldText(h.dataExtension), "NC") << path;
  }
  handover::DrawingHeader h{};
  EXPECT_FALSE(qup::shell::SplitListedPath("O100.NC", h));
}

class NfsSendTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    backend_ = &platform::headless::InstallHeadlessBackend();
    fs::create_directories(home() / "cdrive");
    platform::SettingsStore store("Kelto_qup");
    store.SetString(platform::kDriveSection, "C", (home() / "cdrive").string());
    ASSERT_TRUE(store.Save());
    fs::create_directories(home() / "UNIT1" / "PGM" / "DAT");
  }
  void TearDown() override {
    platform::UninstallBackend();
    ProgramFolderTest::TearDown();
  }
  platform::headless::HeadlessBackend* backend_ = nullptr;
  qup::RecordingHost host;
  qup::RunContext run{host};
};

TEST_F(NfsSendTest, AFolderOnSlotCIsMadeLevelByLevelAndAFileOf4096BytesArrivesWhole) {
  qup::shell::NfsSendSettings s{};
  qup::shell::ApplyNfsDefaults(s);
  s.selection = 2;  // slot 2: C
  s.drive[0] = 'C';
  s.drive[1] = ':';
  platform::SetFieldText(s.folder, "NC\\JOB1\\");
  std::string why;
  const fs::path target = qup::shell::NfsTargetPath(s, "O100.NC", why);
  EXPECT_EQ(target, home() / "cdrive" / "NC" / "JOB1" / "O100.NC") << why;
  EXPECT_TRUE(fs::is_directory(home() / "cdrive" / "NC" / "JOB1"));
  const std::string block(4096, 'X');
  std::ofstream(home() / "S.NC", std::ios::binary) << block;
  EXPECT_EQ(qup::shell::CopyWhole(home() / "S.NC", target), 0);
  EXPECT_EQ(ReadFile(target), block);
  platform::SetFieldText(s.folder, "..\\..\\etc\\");
  EXPECT_TRUE(qup::shell::NfsTargetPath(s, "O100.NC", why).empty());
  platform::SetFieldText(s.folder, "NC\\");
  for (const char* name : {"JOB1\\O100.NC", "../O100.NC", "D:O100.NC", ""}) {
    why.clear();
    EXPECT_TRUE(qup::shell::NfsTargetPath(s, name, why).empty()) << name;
    EXPECT_FALSE(why.empty()) << name;
  }
  EXPECT_FALSE(qup::shell::NfsTargetPath(s, platform::Sjis("ソース.NC"), why).empty()) << "0x5C as a second byte";
}

TEST_F(NfsSendTest, TheDncListSendsByItselfAndAMissingSourceIsNotReportedAsSent) {
  std::ofstream(home() / "UNIT1" / "PGM" / "DAT" / "O100.NC", std::ios::binary) << "%\nM30\n%\n";
  qup::shell::NfsSendSettings s{};
  qup::shell::ApplyNfsDefaults(s);
  s.selection = 2;
  ASSERT_TRUE(qup::shell::WriteNfsSettings(s).ok());
  auto automatic = [](platform::headless::DialogDriver& d) {
    EXPECT_TRUE(d.dialog().HasTimer(CNfsSendDlg::kAutoTimer));
    d.TickTimer(CNfsSendDlg::kAutoTimer);
  };
  backend_->WhenDialogOpens(CNfsSendDlg::kTemplateId, automatic);
  run.transfer.Com.PathBuffer = "\\any\\root\\UNIT1\\PGM\\DAT\\O100.NC";
  EXPECT_EQ(qup::shell::RunNfsTransfer(run, 41), 1);
  EXPECT_EQ(ReadFile(home() / "cdrive" / "O100.NC"), "%\nM30\n%\n");

  backend_->WhenDialogOpens(CNfsSendDlg::kTemplateId, automatic);
  run.transfer.Com.PathBuffer = "\\any\\root\\UNIT1\\PGM\\DAT\\GONE.NC";
  EXPECT_EQ(qup::shell::RunNfsTransfer(run, 41), 0);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_NE(host.errorBoxes[0].find(platform::Sjis("コピー元ファイル::OPEN_ERROR")), std::string::npos);
  EXPECT_FALSE(fs::exists(home() / "cdrive" / "GONE.NC"));
}

using qup::shell::CSendDriveDlg;
using qup::shell::CUserDirListDlg;

std::vector<std::string> Items(platform::Dialog& d, int id) {
  std::vector<std::string> items;
  for (int i = 0; i < d.GetCount(id); ++i) items.push_back(d.GetItemText(id, i));
  return items;
}

TEST_F(NfsSendTest, TheFolderListShowsTheDriveRootAndItsFoldersAndSetsTheFolder) {
  fs::create_directories(home() / "cdrive" / "NC");
  fs::create_directories(home() / "cdrive" / "JOBS");
  fs::create_directories(home() / "cdrive" / ".trash");
  std::ofstream(home() / "cdrive" / "file.txt") << "x";
  struct Case {
    const char* name;
    int row;  // -1 none chosen
    bool doubleClick;
    const char* folder;
  } cases[] = {{"a folder by OK", 2, false, "NC"},
               {"a folder by a double click", 1, true, "JOBS"},
               {"the root entry", 0, false, ""},
               {"nothing chosen", -1, false, ""}};
  for (const Case& c : cases) {
    qup::shell::NfsSendSettings s{};
    qup::shell::ApplyNfsDefaults(s);
    s.slot1 = 2;  // C
    s.selection = qup::shell::kPickedFolder;
    platform::SetFieldText(s.folder, "/picked/");
    backend_->WhenDialogOpens(CUserDirListDlg::kTemplateId, [&](platform::headless::DialogDriver& d) {
      EXPECT_EQ(Items(d.dialog(), CUserDirListDlg::kList), (std::vector<std::string>{"C:\\", "[DIR]JOBS", "[DIR]NC"}));
      if (c.row >= 0 && !c.doubleClick) d.Select(CUserDirListDlg::kList, c.row);
      if (c.doubleClick) {
        d.DoubleClick(CUserDirListDlg::kList, c.row);
      } else {
        d.Click(platform::kIdOk);
      }
    });
    CUserDirListDlg list(s);
    EXPECT_EQ(list.DoModal(), platform::kIdOk) << c.name;
    EXPECT_EQ(platform::FieldText(s.folder), c.folder) << c.name;
    EXPECT_EQ(s.selection, 2) << c.name;
  }
  EXPECT_TRUE(backend_->MessageBoxes().empty());

  // A drive that is not mapped lists its root only and says so.
  qup::shell::NfsSendSettings s{};
  qup::shell::ApplyNfsDefaults(s);
  s.selection = 3;  // D
  backend_->WhenDialogOpens(CUserDirListDlg::kTemplateId, [&](platform::headless::DialogDriver& d) {
    EXPECT_EQ(Items(d.dialog(), CUserDirListDlg::kList), (std::vector<std::string>{"D:\\"}));
    d.Click(platform::kIdCancel);
  });
  CUserDirListDlg list(s);
  EXPECT_EQ(list.DoModal(), platform::kIdCancel);
  EXPECT_TRUE(backend_->WasShown("D:"));
}

TEST_F(NfsSendTest, TheDriveSlotsTakeTheChosenLettersAndLabelsOnlyWhenRegistered) {
  for (const bool registered : {true, false}) {
    qup::shell::NfsSendSettings s{};
    qup::shell::ApplyNfsDefaults(s);
    s.selection = qup::shell::kPickedFolder;
    platform::SetFieldText(s.folder, "/picked/");
    backend_->WhenDialogOpens(CSendDriveDlg::kTemplateId, [&](platform::headless::DialogDriver& d) {
      EXPECT_EQ(d.dialog().GetCount(CSendDriveDlg::kFirstDrive), 26);
      EXPECT_EQ(d.dialog().GetItemText(CSendDriveDlg::kFirstDrive + 4, 25), "[Z]");
      EXPECT_EQ(d.dialog().GetCurSel(CSendDriveDlg::kFirstDrive + 1), 2);  // slot 2: C
      EXPECT_EQ(d.dialog().GetText(CSendDriveDlg::kFirstLabel + 1), "[C] My_Drive");
      d.Select(CSendDriveDlg::kFirstDrive + 2, 3);  // slot 3: [D]
      d.Type(CSendDriveDlg::kFirstLabel + 2, "[D] Machine_1");
      d.Click(registered ? CSendDriveDlg::kRegister : platform::kIdCancel);
    });
    CSendDriveDlg drives(s);
    drives.DoModal();
    if (registered) {
      EXPECT_EQ(s.slot3, 3);
      EXPECT_EQ(platform::FieldText(s.letter3), "D");
      EXPECT_EQ(platform::FieldText(s.label3), "[D] Machine_1");
      EXPECT_EQ(platform::FieldText(s.folder), "");
      EXPECT_EQ(s.selection, s.slot1);
    } else {
      EXPECT_EQ(s.slot3, 3);  // the default number of slot 3 ...
      EXPECT_EQ(platform::FieldText(s.letter3), "I");  // ... with its default letter, untouched
      EXPECT_EQ(platform::FieldText(s.label3), "[I] My_Drive");
      EXPECT_EQ(s.selection, qup::shell::kPickedFolder);
    }
  }
}

TEST_F(NfsSendTest, APickedTargetFromDraveloSetsTheFolderAndANameThatIsNotAPattern) {
  std::ofstream(home() / "UNIT1" / "PGM" / "DAT" / "O100.NC", std::ios::binary) << "%\nM30\n%\n";
  fs::create_directories(home() / "shared");
  struct Case {
    const char* answer;  // the helper's picked path below home()/shared
    const char* arrives;
  } cases[] = {{"*.*", "O100.NC"}, {"NEW.NC", "NEW.NC"}};
  for (const Case& c : cases) {
    const fs::path helper = home() / "Dravelo";
    std::ofstream(helper) << "#!/bin/sh\nprintf '%s\\n' '" << (home() / "shared" / c.answer).string() << "' > Dravelo.@@@\n";
    fs::permissions(helper, fs::perms::owner_all);
    handover::DrawingHeader header{};
    platform::SetFieldText(header.unitName, "UNIT1");
    platform::SetFieldText(header.secondName, "PGM");
    platform::SetFieldText(header.drawingName, "O100");
    platform::SetFieldText(header.dataExtension, "NC");
    backend_->WhenDialogOpens(CNfsSendDlg::kTemplateId, [&](platform::headless::DialogDriver& d) {
      d.Click(CNfsSendDlg::kShared);
      EXPECT_EQ(d.dialog().GetText(CNfsSendDlg::kFolder), (home() / "shared").string() + "/") << c.answer;
      EXPECT_EQ(d.dialog().GetCheck(CNfsSendDlg::kShared), 1);
      d.Click(CNfsSendDlg::kSend);
    });
    CNfsSendDlg dialog(run, header, 0);
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_TRUE(dialog.Sent()) << c.answer;
    EXPECT_EQ(ReadFile(home() / "shared" / c.arrives), "%\nM30\n%\n") << c.answer;
    qup::shell::NfsSendSettings s{};
    ASSERT_TRUE(qup::shell::ReadNfsSettings(s).ok());
    EXPECT_EQ(s.selection, qup::shell::kPickedFolder);
  }
}

}  // namespace
