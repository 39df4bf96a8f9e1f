// Start mode 22 over a pseudo-terminal: the files of the transfer list are
// sent one after another, each after its question; a cancelled file is
// skipped, a failed one is said and never reported as sent.
#include "kelto_qup/shell/dnc_send.h"

#include <chrono>
#include <fstream>
#include <future>

#include <gtest/gtest.h>

#include "kelto_qup/engine/recording_host.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/message_box.h"
#include "platform/text.h"
#include "shared/handover/com_settings.h"
#include "shared/handover/transfer_list.h"
#include "tests/kelto_qup/support/pty_far_side.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class DncSendTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    backend_ = &platform::headless::InstallHeadlessBackend();
    testsupport::MapComPort("Kelto_qup", 2, far.path());
    run.job.Header.startMode = 22;
    run.job.Header.portByte = 1;  // COM2, no drawing, no list
    run.transfer.Com.SliceMs = 20;
    ASSERT_TRUE(handover::WriteComSettings(home() / "$COM_DCB.@@@", handover::DefaultComSettings()).ok());
    fs::create_directories(home() / "DAT");
  }
  void TearDown() override {
    platform::UninstallBackend();
    ProgramFolderTest::TearDown();
  }
  // A program file and its path as the transfer list spells it.
  std::string Program(const std::string& name, const std::string& text) {
    std::ofstream(home() / "DAT" / name, std::ios::binary) << text;
    std::string path = platform::Utf8ToCp932((home() / "DAT" / name).string());
    for (char& c : path) c = c == '/' ? '\\' : c;
    return path;
  }
  int SendAll(std::string& received) {
    auto sending = std::async(std::launch::async, [this] { return qup::shell::DncSendAll(run); });
    received.clear();
    while (sending.wait_for(0ms) != std::future_status::ready) received += far.Receive(20ms);
    const int sent = sending.get();
    received += far.Receive(50ms);
    return sent;
  }

  platform::headless::HeadlessBackend* backend_ = nullptr;
  testsupport::PtyFarSide far;
  qup::RecordingHost host;
  qup::RunContext run{host};
};

TEST_F(DncSendTest, ThreeListedFilesWithTheSecondCancelledSendTheFirstAndTheThird) {
  const std::vector<std::string> list = {Program("A.NC", "%\nN1\n%\n"), Program("B.NC", "%\nN2\n%\n"),
                                         Program("C.NC", "%\nN3\n%\n")};
  ASSERT_TRUE(handover::WriteTransferList(home() / "$TXD.@@@", list).ok());
  backend_->AnswerMessageBox(platform::kIdOk);
  backend_->AnswerMessageBox(platform::kIdCancel);
  backend_->AnswerMessageBox(platform::kIdOk);
  std::string received;
  EXPECT_EQ(SendAll(received), 2);
  EXPECT_EQ(received, "%\r\nN1\r\n%%\r\nN3\r\n%");
  ASSERT_EQ(backend_->MessageBoxes().size(), 3u);
  EXPECT_NE(backend_->MessageBoxes()[1].request.text.find("[COM2]"), std::string::npos);
  EXPECT_NE(backend_->MessageBoxes()[1].request.text.find("B.NC"), std::string::npos);
  EXPECT_EQ(host.titleText, platform::Sjis("Kelto_Qup  :  データ転送終了しました......."));
}

TEST_F(DncSendTest, AFileThatFailsIsNamedAndTheListStopsThere) {
  const std::vector<std::string> list = {Program("A.NC", "%\nN1\n%\n"), Program("GONE.NC", "") + "X",
                                         Program("C.NC", "%\nN3\n%\n")};
  ASSERT_TRUE(handover::WriteTransferList(home() / "$TXD.@@@", list).ok());
  backend_->AnswerMessageBox(platform::kIdOk);
  backend_->AnswerMessageBox(platform::kIdOk);
  std::string received;
  EXPECT_EQ(SendAll(received), 1);
  EXPECT_EQ(received, "%\r\nN1\r\n%");
  EXPECT_NE(host.titleText.find("GONE.NCX"), std::string::npos);
  EXPECT_EQ(host.titleText.find(platform::Sjis("終了しました")), std::string::npos) << "never reported as sent";
  EXPECT_NE(host.listLines.back().find("GONE.NCX"), std::string::npos);
}

TEST_F(DncSendTest, ADamagedListIsNamedAndNothingIsSent) {
  std::ofstream(home() / "$TXD.@@@", std::ios::binary) << "short";
  std::string received;
  EXPECT_EQ(SendAll(received), -1);
  EXPECT_EQ(received, "");
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_NE(host.errorBoxes[0].find("$TXD.@@@"), std::string::npos);
}

}  // namespace
