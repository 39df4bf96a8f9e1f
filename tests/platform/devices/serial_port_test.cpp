// Serial ports over a pseudo-terminal pair: the port under test is the slave
// side, the test plays the machine tool on the master side.
#include "platform/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <future>
#include <string>
#include <thread>

#include "platform/settings_store.h"
#include "tests/support/test_support.h"

namespace {

using namespace std::chrono_literals;
using platform::SerialStatus;

// One pseudo-terminal pair; the far side reads and writes raw bytes.
class PtyPair {
 public:
  PtyPair() {
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master_, &slave, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
    slave_ = slave;
    path_ = name;
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  }
  ~PtyPair() {
    CloseSlave();
    CloseFarSide();
  }
  const std::string& path() const { return path_; }
  // The test's own slave descriptor is only needed until the port has opened it.
  void CloseSlave() {
    if (slave_ >= 0) ::close(slave_);
    slave_ = -1;
  }
  void CloseFarSide() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }
  void Send(std::string_view bytes) { ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), ssize_t(bytes.size())); }
  // What arrives at the far side within `wait`.
  std::string Receive(std::chrono::milliseconds wait, std::size_t expected = SIZE_MAX) {
    std::string got;
    auto end = std::chrono::steady_clock::now() + wait;
    while (got.size() < expected && std::chrono::steady_clock::now() < end) {
      pollfd p{master_, POLLIN, 0};
      if (::poll(&p, 1, 10) <= 0) continue;
      char buf[256];
      ssize_t n = ::read(master_, buf, sizeof buf);
      if (n > 0) got.append(buf, std::size_t(n));
    }
    return got;
  }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string path_;
};

std::unique_ptr<platform::SerialPort> OpenOn(PtyPair& pty, const platform::SerialLineSettings& settings) {
  platform::SerialOpenResult opened = platform::OpenSerialDevice(pty.path());
  EXPECT_TRUE(opened.ok()) << opened.message;
  if (!opened.ok()) return nullptr;
  pty.CloseSlave();
  platform::SerialResult configured = opened.port->Configure(settings);
  EXPECT_TRUE(configured.ok) << configured.message;
  return std::move(opened.port);
}

platform::SerialLineSettings XonXoffLine() {
  platform::SerialLineSettings s;
  s.baud = 9600;
  s.xonXoff = true;
  return s;
}

std::string ReadAll(platform::SerialPort& port, std::size_t expected, int waitMs) {
  std::string got;
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  while (got.size() < expected && std::chrono::steady_clock::now() < end) {
    std::uint8_t buf[64];
    platform::SerialIoResult r = port.Read(buf, 50);
    if (r.status == SerialStatus::kClosed || r.status == SerialStatus::kError) break;
    got.append(reinterpret_cast<char*>(buf), r.count);
  }
  return got;
}

class SerialMapTest : public testsupport::ProgramFolderTest {};

TEST_F(SerialMapTest, PortNamesMapThroughTheSettingsTableWithDefaults) {
  platform::SettingsStore store = platform::SettingsStore::AtFile(home() / "ports.ini");
  store.SetString(platform::kSerialPortSection, "COM3", "/dev/ttyUSB0");
  struct Case {
    const char* name;
    const char* expected;
  } cases[] = {
      {"COM1", "/dev/ttyS0"},
      {"COM9", "/dev/ttyS8"},
      {"com2", "/dev/ttyS1"},
      {"COM3", "/dev/ttyUSB0"},
      {"Com3", "/dev/ttyUSB0"},
      {"COM0", ""},
      {"COM10", ""},
      {"LPT1", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::SerialDevicePath(store, c.name), c.expected) << c.name;
}

TEST_F(SerialMapTest, APortThatCannotBeOpenedGivesAClearErrorAtOnce) {
  platform::SettingsStore store = platform::SettingsStore::AtFile(home() / "ports.ini");
  const std::string missing = (home() / "no-such-tty").string();
  const std::string plainFile = (home() / "plain.txt").string();
  std::ofstream(plainFile) << "not a port";
  store.SetString(platform::kSerialPortSection, "COM4", missing);
  store.SetString(platform::kSerialPortSection, "COM5", plainFile);

  auto start = std::chrono::steady_clock::now();
  platform::SerialOpenResult r4 = platform::OpenSerialPort(store, "COM4");
  EXPECT_FALSE(r4.ok());
  EXPECT_NE(r4.message.find("COM4"), std::string::npos) << r4.message;
  EXPECT_NE(r4.message.find(missing), std::string::npos) << r4.message;
  EXPECT_NE(r4.message.find(std::strerror(ENOENT)), std::string::npos) << r4.message;

  platform::SerialOpenResult r5 = platform::OpenSerialPort(store, "COM5");
  EXPECT_FALSE(r5.ok());
  EXPECT_NE(r5.message.find("not a serial device"), std::string::npos) << r5.message;

  platform::SerialOpenResult bad = platform::OpenSerialPort(store, "COM12");
  EXPECT_FALSE(bad.ok());
  EXPECT_NE(bad.message.find("COM12"), std::string::npos) << bad.message;
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
}

TEST(SerialPortTest, ASecondOpenOfTheSameDeviceIsRefused) {
  PtyPair pty;
  auto port = OpenOn(pty, XonXoffLine());
  ASSERT_TRUE(port);
  platform::SerialOpenResult second = platform::OpenSerialDevice(pty.path());
  EXPECT_FALSE(second.ok());
  EXPECT_NE(second.message.find(pty.path()), std::string::npos) << second.message;
  port->Close();
  platform::SerialOpenResult again = platform::OpenSerialDevice(pty.path());
  EXPECT_TRUE(again.ok()) << again.message;
}

TEST(SerialPortTest, LineSettingsAreAppliedAndReadBack) {
  using platform::SerialParity;
  using platform::SerialStopBits;
  // A pseudo-terminal keeps speed, stop bits and flow flags but forces 8 data
  // bits without parity, so byte size and parity cannot be seen here.
  struct Case {
    int baud, byteSize;
    SerialParity parity;
    SerialStopBits stop;
    bool xonXoff, rtsCts;
  } cases[] = {
      {9600, 8, SerialParity::kNone, SerialStopBits::kOne, true, false},
      {1200, 8, SerialParity::kNone, SerialStopBits::kTwo, false, false},
      {4800, 8, SerialParity::kNone, SerialStopBits::kOne, false, true},
      {921600, 8, SerialParity::kNone, SerialStopBits::kTwo, true, false},
  };
  PtyPair pty;
  auto port = OpenOn(pty, XonXoffLine());
  ASSERT_TRUE(port);
  for (const Case& c : cases) {
    platform::SerialLineSettings s;
    s.baud = c.baud;
    s.byteSize = c.byteSize;
    s.parity = c.parity;
    s.stopBits = c.stop;
    s.xonXoff = c.xonXoff;
    s.rtsCts = c.rtsCts;
    ASSERT_TRUE(port->Configure(s).ok) << c.baud;
    platform::SerialLineSettings back;
    ASSERT_TRUE(port->ReadSettings(back).ok);
    EXPECT_EQ(back.baud, c.baud);
    EXPECT_EQ(back.byteSize, c.byteSize) << c.baud;
    EXPECT_EQ(back.parity, c.parity) << c.baud;
    EXPECT_EQ(back.stopBits, c.stop) << c.baud;
    EXPECT_EQ(back.xonXoff, c.xonXoff) << c.baud;
    EXPECT_EQ(back.rtsCts, c.rtsCts) << c.baud;
    EXPECT_EQ(back.xonChar, 0x11);
    EXPECT_EQ(back.xoffChar, 0x13);
  }
}

TEST(SerialPortTest, UnsupportedSettingsAreRefusedAndLeaveTheStateAlone) {
  PtyPair pty;
  auto port = OpenOn(pty, XonXoffLine());
  ASSERT_TRUE(port);
  platform::SerialLineSettings s = XonXoffLine();
  s.baud = 14400;
  EXPECT_FALSE(port->Configure(s).ok);
  s = XonXoffLine();
  s.byteSize = 9;
  EXPECT_FALSE(port->Configure(s).ok);
  platform::SerialLineSettings back;
  ASSERT_TRUE(port->ReadSettings(back).ok);
  EXPECT_EQ(back.baud, 9600);
  EXPECT_EQ(back.byteSize, 8);
}

TEST(SerialPortTest, OneAndAHalfStopBitsBecomeTwoAndAreReportedOnce) {
  PtyPair pty;
  auto port = OpenOn(pty, XonXoffLine());
  ASSERT_TRUE(port);
  platform::ResetSerialNotices();
  platform::SerialLineSettings s = XonXoffLine();
  s.stopBits = platform::SerialStopBits::kOneAndHalf;
  platform::SerialResult first = port->Configure(s);
  ASSERT_TRUE(first.ok);
  EXPECT_NE(first.notice.find("1.5"), std::string::npos) << first.notice;
  platform::SerialResult second = port->Configure(s);
  ASSERT_TRUE(second.ok);
  EXPECT_TRUE(second.notice.empty()) << second.notice;
  platform::SerialLineSettings back;
  ASSERT_TRUE(port->ReadSettings(back).ok);
  EXPECT_EQ(back.stopBits, platform::SerialStopBits::kTwo);
}

TEST(SerialPortTest, DtrDsrFlowOnADeviceWithoutModemLinesIsReportedAndDoesNotHoldOutput) {
  PtyPair pty;
  platform::SerialLineSettings s = XonXoffLine();
  s.xonXoff = false;
  s.dtrDsr = true;
  auto port = OpenOn(pty, XonXoffLine());
  ASSERT_TRUE(port);
  platform::SerialResult configured = port->Configure(s);
  ASSERT_TRUE(configured.ok) << configured.message;
  EXPECT_NE(configured.notice.find("modem lines"), std::string::npos) << configured.notice;
  platform::SerialLineSettings back;
  ASSERT_TRUE(port->ReadSettings(back).ok);
  EXPECT_TRUE(back.dtrDsr);
  EXPECT_FALSE(back.xonXoff);
  ASSERT_TRUE(port->WriteText("G04P1\r\n", 1000).ok());
  EXPECT_EQ(pty.Receive(2s, 7), "G04P1\r\n");
}

TEST(SerialPortTest, AJustOpenedPortIsRawBeforeItIsConfigured) {
  PtyPair pty;  // a fresh terminal edits lines and echoes
  platform::SerialOpenResult opened = platform::OpenSerialDevice(pty.path());
  ASSERT_TRUE(opened.ok()) << opened.message;
  pty.CloseSlave();
  pty.Send("%\r");  // no line feed: an editing terminal would hold it back
  EXPECT_EQ(ReadAll(*opened.port, 2, 1000), "%\r");
  EXPECT_EQ(pty.Receive(200ms), "");  // and nothing came back as echo
}

TEST(SerialPortTest, BytesPassBothWaysUnchanged) {
  PtyPair pty;
  auto port = OpenOn(pty, XonXoffLine());
  ASSERT_TRUE(port);
  // Raw bytes: CR, LF, NUL, EOF mark and CP932 text pass as they are.
  const std::string out = std::string("G01X10.\r\n%\x1a", 11) + std::string(1, '\0') + "\x83\x5c";
  platform::SerialIoResult w = port->WriteText(out, 1000);
  ASSERT_TRUE(w.ok()) << w.message;
  EXPECT_EQ(w.count, out.size());
  EXPECT_EQ(pty.Receive(2s, out.size()), out);

  const std::string in = "O1234\r\nM30\r\n\x1a";
  pty.Send(in);
  EXPECT_EQ(ReadAll(*port, in.size(), 2000), in);
}

TEST(SerialPortTest, AZeroWaitReadReturnsAtOnceWhenNothingArrived) {
  PtyPair pty;
  auto port = OpenOn(pty, XonXoffLine());
  ASSERT_TRUE(port);
  std::uint8_t byte = 0;
  auto start = std::chrono::steady_clock::now();
  platform::SerialIoResult r = port->ReadByte(byte, 0);
  EXPECT_EQ(r.status, SerialStatus::kTimedOut);
  EXPECT_EQ(r.count, 0u);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 100ms);

  r = port->ReadByte(byte, 60);
  EXPECT_EQ(r.status, SerialStatus::kTimedOut);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 50ms);
}

TEST(SerialPortTest, XoffFromTheFarSideHoldsTheSenderUntilXon) {
  PtyPair pty;
  auto port = OpenOn(pty, XonXoffLine());
  ASSERT_TRUE(port);
  pty.Send("\x13");
  std::this_thread::sleep_for(100ms);  // the line discipline takes the XOFF in the background

  auto sender = std::async(std::launch::async, [&] { return port->WriteText("N10G00X0\r\n", 5000); });
  EXPECT_EQ(pty.Receive(300ms), "");
  EXPECT_EQ(sender.wait_for(0ms), std::future_status::timeout) << "the sender was not held";

  pty.Send("\x11");
  EXPECT_EQ(pty.Receive(2s, 10), "N10G00X0\r\n");
  platform::SerialIoResult w = sender.get();
  EXPECT_TRUE(w.ok()) << w.message;
  EXPECT_EQ(w.count, 10u);
}

TEST(SerialPortTest, AHeldSenderGivesUpWhenItsWaitRunsOut) {
  PtyPair pty;
  auto port = OpenOn(pty, XonXoffLine());
  ASSERT_TRUE(port);
  ASSERT_TRUE(port->Escape(platform::SerialEscape::kSetXoff).ok);
  platform::SerialIoResult w = port->WriteText("M30\r\n", 150);
  EXPECT_EQ(w.status, SerialStatus::kTimedOut);
  EXPECT_EQ(w.count, 0u);
  EXPECT_EQ(pty.Receive(100ms), "");

  ASSERT_TRUE(port->Escape(platform::SerialEscape::kSetXon).ok);
  w = port->WriteText("M30\r\n", 1000);
  EXPECT_TRUE(w.ok()) << w.message;
  EXPECT_EQ(pty.Receive(2s, 5), "M30\r\n");
}

TEST(SerialPortTest, AClosedFarSideIsReportedNotWaitedFor) {
  PtyPair pty;
  auto port = OpenOn(pty, XonXoffLine());
  ASSERT_TRUE(port);
  pty.CloseFarSide();
  std::uint8_t byte = 0;
  auto start = std::chrono::steady_clock::now();
  platform::SerialIoResult r = port->ReadByte(byte, platform::kSerialWaitForever);
  EXPECT_EQ(r.status, SerialStatus::kClosed);
  EXPECT_NE(r.message.find(pty.path()), std::string::npos) << r.message;
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);

  platform::SerialIoResult w = port->WriteText("M30\r\n", platform::kSerialWaitForever);
  EXPECT_EQ(w.status, SerialStatus::kClosed) << w.message;
}

TEST(SerialPortTest, AZeroWaitReadTellsAClosedFarSideFromASilentOne) {
  PtyPair pty;
  auto port = OpenOn(pty, XonXoffLine());
  ASSERT_TRUE(port);
  std::uint8_t byte = 0;
  EXPECT_EQ(port->ReadByte(byte, 0).status, SerialStatus::kTimedOut);
  pty.CloseFarSide();
  EXPECT_EQ(port->ReadByte(byte, 0).status, SerialStatus::kClosed);
}

TEST(SerialPortTest, PurgeDropsWhatWasReceived) {
  PtyPair pty;
  auto port = OpenOn(pty, XonXoffLine());
  ASSERT_TRUE(port);
  pty.Send("stale");
  std::this_thread::sleep_for(100ms);
  ASSERT_TRUE(port->Purge(platform::SerialPurge::kReceive).ok);
  pty.Send("X");
  EXPECT_EQ(ReadAll(*port, 1, 1000), "X");
}

TEST(SerialPortTest, AClosedPortRefusesFurtherUseAndClosesTwiceSafely) {
  PtyPair pty;
  auto port = OpenOn(pty, XonXoffLine());
  ASSERT_TRUE(port);
  port->Close();
  port->Close();
  std::uint8_t byte = 0;
  EXPECT_EQ(port->ReadByte(byte, 0).status, SerialStatus::kError);
  EXPECT_EQ(port->WriteText("x", 0).status, SerialStatus::kError);
  EXPECT_FALSE(port->Configure(XonXoffLine()).ok);
}

}  // namespace
