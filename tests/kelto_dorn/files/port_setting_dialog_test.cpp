// The serial port settings: the word changes of each control as a table,
// the dialog over "$COM_DCB.@@@" (defaults shown, Cancel stores, an
// unwritable file keeps the dialog open), and a port index that names no
// port.
#include "kelto_dorn/files/port_setting_dialog.h"

#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/record_file.h"
#include "platform/text.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;
namespace ps = dorn::port_setting;

TEST(PortSettingWordsTest, EachChangeKeepsTheBitsItDoesNotOwn) {
  const struct {
    const char* what;
    int word;
    std::int32_t before, after;
    void (*change)(handover::ComSettings&, int);
  } cases[] = {
      {"baud 7 keeps XOFF", 0, 0x8003, 0x8007, [](handover::ComSettings& s, int p) { ps::SetBaud(s, p, 7); }},
      {"data bits", 1, 1, 0, [](handover::ComSettings& s, int p) { ps::SetDataBits(s, p, 0); }},
      {"parity keeps EOF", 2, 0x8000, 0x8002, [](handover::ComSettings& s, int p) { ps::SetParity(s, p, 2); }},
      {"flow", 3, 1, 3, [](handover::ComSettings& s, int p) { ps::SetFlow(s, p, 3); }},
      {"stop keeps the line end", 4, 0x8000, 0x8002, [](handover::ComSettings& s, int p) { ps::SetStopBits(s, p, 2); }},
      {"LF after CR", 4, 0x8001, 0x4001,
       [](handover::ComSettings& s, int p) { ps::SetLineEnd(s, p, handover::ComSettings::kLineEndLf); }},
      {"CR/LF clears the line end", 4, 0x1002, 0x0002, [](handover::ComSettings& s, int p) { ps::SetLineEnd(s, p, 0); }},
      {"EOF on", 2, 0x0001, 0x8001, [](handover::ComSettings& s, int p) { ps::ToggleEndOfFile(s, p); }},
      {"XOFF on", 0, 0x0003, 0x8003, [](handover::ComSettings& s, int p) { ps::ToggleXoff(s, p); }},
      {"XOFF off clears bits 12-15", 0, 0xF003, 0x0003, [](handover::ComSettings& s, int p) { ps::ToggleXoff(s, p); }},
  };
  for (const auto& c : cases) {
    handover::ComSettings s = handover::DefaultComSettings();
    std::int32_t* words[] = {s.baud, s.dataBits, s.parity, s.flow, s.stop};
    words[c.word][3] = c.before;
    c.change(s, 3);
    EXPECT_EQ(words[c.word][3], c.after) << c.what;
    handover::ComSettings others = handover::DefaultComSettings();
    std::int32_t* otherWords[] = {others.baud, others.dataBits, others.parity, others.flow, others.stop};
    otherWords[c.word][3] = words[c.word][3];
    EXPECT_EQ(std::memcmp(&s, &others, sizeof s), 0) << c.what << ": another word changed";
  }
}

class PortSettingDialogTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    backend_ = &platform::headless::InstallHeadlessBackend();
  }
  void TearDown() override {
    platform::UninstallBackend();
    ProgramFolderTest::TearDown();
  }
  platform::headless::HeadlessBackend* backend_ = nullptr;
};

TEST_F(PortSettingDialogTest, AMissingFileShowsTheDefaultsAndCancelStoresTheChanges) {
  backend_->WhenDialogOpens(ps::kTemplateId, [](platform::headless::DialogDriver& d) {
    platform::Dialog& dialog = d.dialog();
    EXPECT_EQ(dialog.Title(), platform::Sjis("  ポートの設定[COM4] "));
    EXPECT_EQ(dialog.GetItemText(ps::kBaud, dialog.GetCurSel(ps::kBaud)), "9600");
    EXPECT_EQ(dialog.GetItemText(ps::kDataBits, dialog.GetCurSel(ps::kDataBits)), "8_Bit");
    EXPECT_EQ(dialog.GetItemText(ps::kParity, dialog.GetCurSel(ps::kParity)), platform::Sjis("なし"));
    EXPECT_EQ(dialog.GetItemText(ps::kFlow, dialog.GetCurSel(ps::kFlow)), "XON/XOFF");
    EXPECT_EQ(dialog.GetItemText(ps::kStopBits, dialog.GetCurSel(ps::kStopBits)), "1");
    EXPECT_EQ(dialog.GetCheck(ps::kLineEndCrLf), 1);
    d.Select(ps::kBaud, 7);
    d.Click(ps::kLineEndLf);
    d.PressEscape();
  });
  EXPECT_EQ(dorn::RunPortSettingDialog(0x23 & 0x0F), 1);
  handover::ComSettings stored{};
  ASSERT_TRUE(handover::ReadComSettings(home() / "$COM_DCB.@@@", stored).ok());
  EXPECT_EQ(stored.baud[3], 7);
  EXPECT_EQ(stored.stop[3], handover::ComSettings::kLineEndLf);
  EXPECT_EQ(stored.baud[2], 3) << "only the edited port changed";
}

TEST_F(PortSettingDialogTest, AnUnwritableFileIsNamedAndTheDialogStaysOpen) {
  fs::create_directories(home() / "$COM_DCB.@@@");  // a folder where the file belongs
  bool stillOpen = false;
  backend_->WhenDialogOpens(ps::kTemplateId, [&](platform::headless::DialogDriver& d) {
    d.Click(ps::kRegister);
    stillOpen = !d.dialog().HasEnded();
    fs::remove(home() / "$COM_DCB.@@@");
    d.Click(ps::kRegister);
  });
  EXPECT_EQ(dorn::RunPortSettingDialog(0), 1);
  EXPECT_TRUE(stillOpen);
  EXPECT_TRUE(backend_->WasShown("$COM_DCB.@@@"));
}

TEST_F(PortSettingDialogTest, AnIndexThatNamesNoPortOpensNothing) {
  EXPECT_EQ(dorn::RunPortSettingDialog(9), 0);
  EXPECT_TRUE(backend_->DialogRuns().empty());
  EXPECT_FALSE(fs::exists(home() / "$COM_DCB.@@@"));
}

}  // namespace
