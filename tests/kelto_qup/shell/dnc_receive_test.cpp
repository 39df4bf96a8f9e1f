// Reception over a pseudo-terminal: the machine punches a program out, the
// file holds it less carriage returns and empty lines, ended as the chosen
// end mode says; a far side that hangs up keeps the old file.
#include "kelto_qup/shell/dnc_receive.h"

#include <chrono>
#include <fstream>
#include <future>
#include <sstream>

#include <gtest/gtest.h>

#include "kelto_qup/engine/recording_host.h"
#include "platform/text.h"
#include "shared/handover/com_settings.h"
#include "tests/kelto_qup/support/pty_far_side.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using qup::shell::ReceiveEnd;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class DncReceiveTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    testsupport::MapComPort("Kelto_qup", 3, far.path());
    run.job.Header.portByte = 2;  // COM3
    run.job.Header.startMode = 24;
    run.transfer.Com.SliceMs = 20;
    ASSERT_TRUE(handover::WriteComSettings(home() / "$COM_DCB.@@@", handover::DefaultComSettings()).ok());
  }
  qup::shell::ReceiveOutcome Receive(ReceiveEnd end, const std::string& punched, bool hangUp = false) {
    auto receiving = std::async(std::launch::async, [&] {
      return qup::shell::ReceiveNcProgram(run, Target(), end, [this](const std::string& s) { statuses.push_back(s); });
    });
    std::this_thread::sleep_for(150ms);  // the port opens
    far.Send(punched);
    if (hangUp) {
      std::this_thread::sleep_for(150ms);
      far.CloseSlave();
      far.HangUp();
    }
    EXPECT_EQ(receiving.wait_for(5s), std::future_status::ready);
    return receiving.get();
  }
  fs::path Target() const { return home() / "T1.RXD"; }

  testsupport::PtyFarSide far;
  qup::RecordingHost host;
  qup::RunContext run{host};
  std::vector<std::string> statuses;
};

TEST_F(DncReceiveTest, TheFileIsTheSentTextLessCarriageReturnsAndEmptyLines) {
  // Five header lines may hold "%" (a tape leader); "%" ends only from the sixth.
  const std::string head = "%\r\n%\r\n\r\nO0001\r\n(T1)\r\n";
  struct Case {
    ReceiveEnd end;
    std::string punched, expected;
  } cases[] = {
      // "%" ends the line at once: nothing after it is waited for.
      {ReceiveEnd::kPercent, head + "G00X1.\r\n%", "%\n%\nO0001\n(T1)\nG00X1.\n%\n"},
      {ReceiveEnd::kPercentLf, head + "G00X1.\r\n%\r\n", "%\n%\nO0001\n(T1)\nG00X1.\n%\n"},
      {ReceiveEnd::kEndOfFile, head + "G00X1.\r\n%\r\nM30\r\n\x1A", "%\n%\nO0001\n(T1)\nG00X1.\n%\nM30\n\x1A"},
  };
  for (const Case& c : cases) {
    const qup::shell::ReceiveOutcome outcome = Receive(c.end, c.punched);
    EXPECT_TRUE(outcome.complete) << static_cast<int>(c.end);
    EXPECT_EQ(ReadFile(Target()), c.expected) << static_cast<int>(c.end);
    EXPECT_FALSE(run.transfer.Com.Port);
  }
  EXPECT_TRUE(host.errorBoxes.empty());
  EXPECT_EQ(run.job.Header.startMode, 24) << "the start mode is the run's again";
}

TEST_F(DncReceiveTest, AFarSideThatHangsUpKeepsTheOldFileAndThePartialTextBesideIt) {
  std::ofstream(Target(), std::ios::binary) << "OLD\n";
  const qup::shell::ReceiveOutcome outcome = Receive(ReceiveEnd::kPercent, "%\r\nN1\r\nN2\r\n", true);
  EXPECT_FALSE(outcome.complete);
  EXPECT_EQ(ReadFile(Target()), "OLD\n");
  ASSERT_FALSE(outcome.kept.empty());
  EXPECT_EQ(ReadFile(outcome.kept), "%\nN1\nN2\n");
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_NE(host.errorBoxes[0].find(platform::Sjis("データ受信::入力_ERROR")), std::string::npos);
}

TEST_F(DncReceiveTest, AStopWhileNothingArrivesEndsTheReceptionWithinASlice) {
  std::ofstream(Target(), std::ios::binary) << "OLD\n";
  int pumps = 0;
  host.onPump = [&] {
    if (++pumps == 10) run.AbortFlag = qup::kStopRun;
  };
  const qup::shell::ReceiveOutcome outcome = Receive(ReceiveEnd::kPercent, "");
  EXPECT_FALSE(outcome.complete);
  EXPECT_EQ(ReadFile(Target()), "OLD\n");
  EXPECT_TRUE(host.errorBoxes.empty()) << "the user's stop is no error";
}

TEST(ReceiveNameTest, TypedNamesAreFileNamesOnly) {
  struct Case {
    const char* typed;
    const char* name;
  } cases[] = {{"T1.RXD", "T1.RXD"}, {".", ""}, {"../T1", ""}, {"A\\B", ""}, {"A/B", ""}, {"..", ""}, {"", ""},
               {"C:X", ""}, {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345"}};
  for (const Case& c : cases) EXPECT_EQ(qup::shell::CheckedReceiveName(c.typed), c.name) << c.typed;
}

}  // namespace
