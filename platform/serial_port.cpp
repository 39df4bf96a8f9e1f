// Serial ports over POSIX termios. The descriptor stays non-blocking for its
// whole life; every wait is a poll() with the caller's limit, so no call can
// hang on a silent line, a missing carrier or a held flow control.
#include "platform/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/settings_store.h"

namespace platform {
namespace {

std::string SystemReason(int error) { return std::strerror(error); }

std::string Failure(const std::string& device, std::string_view what, int error) {
  std::string text = device + ": " + std::string(what);
  if (error != 0) text += ": " + SystemReason(error);
  return text;
}

// The port number 1..9 of "COM1".."COM9" (any case), or 0.
int PortNumber(std::string_view name) {
  if (name.size() != 4) return 0;
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
  if (upper(name[0]) != 'C' || upper(name[1]) != 'O' || upper(name[2]) != 'M') return 0;
  if (name[3] < '1' || name[3] > '9') return 0;
  return name[3] - '0';
}

struct BaudEntry {
  int baud;
  speed_t speed;
};
constexpr BaudEntry kBaudTable[] = {
    {1200, B1200},   {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

bool SpeedOfBaud(int baud, speed_t& speed) {
  for (const BaudEntry& e : kBaudTable) {
    if (e.baud == baud) {
      speed = e.speed;
      return true;
    }
  }
  return false;
}

int BaudOfSpeed(speed_t speed) {
  for (const BaudEntry& e : kBaudTable) {
    if (e.speed == speed) return e.baud;
  }
  return 0;  // a speed outside the table (set by another program)
}

tcflag_t ByteSizeFlag(int byteSize) {
  switch (byteSize) {
    case 5:
      return CS5;
    case 6:
      return CS6;
    case 7:
      return CS7;
    default:
      return CS8;
  }
}

int ByteSizeOfFlags(tcflag_t cflag) {
  switch (cflag & CSIZE) {
    case CS5:
      return 5;
    case CS6:
      return 6;
    case CS7:
      return 7;
    default:
      return 8;
  }
}

// A serial line carries bytes as they are: no line editing, echo, signals,
// CR/LF translation or output processing, and reads that return at once with
// what has arrived (zero time-outs). The line settings (speed, size, parity,
// stop bits, flow control) are left as they are.
void MakeRaw(termios& t) {
  t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXANY);
  t.c_oflag &= ~OPOST;
  t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  // CLOCAL: a missing carrier never blocks an open or a read.
  t.c_cflag |= CLOCAL | CREAD;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
}

// Linux has no 1.5 stop bits; the nearest it has is 2. Said once per process,
// not at every open of every transfer.
std::atomic<bool> g_toldOneAndHalfStopBits{false};

// Milliseconds left of a wait that started at `start`; kSerialWaitForever stays.
int RemainingMs(int waitMs, std::chrono::steady_clock::time_point start) {
  if (waitMs < 0) return kSerialWaitForever;
  auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  return spent >= waitMs ? 0 : int(waitMs - spent);
}

bool IsHangUp(int error) { return error == EIO || error == ENXIO || error == ENODEV; }

class TermiosPort final : public SerialPort {
 public:
  TermiosPort(int fd, std::string device) : fd_(fd), device_(std::move(device)) {}
  ~TermiosPort() override { Close(); }

  const std::string& DevicePath() const override { return device_; }

  SerialResult ReadSettings(SerialLineSettings& out) const override {
    termios t{};
    if (fd_ < 0) return {false, device_ + ": the port is closed", {}};
    if (::tcgetattr(fd_, &t) != 0) return {false, Failure(device_, "cannot read the port state", errno), {}};
    out.baud = BaudOfSpeed(::cfgetospeed(&t));
    out.byteSize = ByteSizeOfFlags(t.c_cflag);
    out.parity = !(t.c_cflag & PARENB)  ? SerialParity::kNone
                 : (t.c_cflag & PARODD) ? SerialParity::kOdd
                                        : SerialParity::kEven;
    out.stopBits = (t.c_cflag & CSTOPB) ? SerialStopBits::kTwo : SerialStopBits::kOne;
    out.xonXoff = (t.c_iflag & IXON) != 0;
    out.rtsCts = (t.c_cflag & CRTSCTS) != 0;
    out.dtrDsr = dtrDsr_;
    out.xonChar = t.c_cc[VSTART];
    out.xoffChar = t.c_cc[VSTOP];
    return {true, {}, {}};
  }

  SerialResult Configure(const SerialLineSettings& s) override {
    if (fd_ < 0) return {false, device_ + ": the port is closed", {}};
    speed_t speed{};
    if (!SpeedOfBaud(s.baud, speed))
      return {false, device_ + ": speed " + std::to_string(s.baud) + " baud is not supported", {}};
    if (s.byteSize < 5 || s.byteSize > 8)
      return {false, device_ + ": byte size " + std::to_string(s.byteSize) + " is not supported", {}};

    termios t{};
    if (::tcgetattr(fd_, &t) != 0) return {false, Failure(device_, "cannot read the port state", errno), {}};
    MakeRaw(t);
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    t.c_cflag |= ByteSizeFlag(s.byteSize);
    t.c_iflag &= ~(INPCK | IXON | IXOFF | IXANY);
    if (s.parity != SerialParity::kNone) {
      t.c_cflag |= PARENB;
      if (s.parity == SerialParity::kOdd) t.c_cflag |= PARODD;
      t.c_iflag |= INPCK;
    }
    SerialResult result{true, {}, {}};
    if (s.stopBits != SerialStopBits::kOne) t.c_cflag |= CSTOPB;
    if (s.stopBits == SerialStopBits::kOneAndHalf && !g_toldOneAndHalfStopBits.exchange(true))
      result.notice = device_ + ": 1.5 stop bits are not available on this system; 2 stop bits are used";
    if (s.xonXoff) t.c_iflag |= IXON | IXOFF;
    if (s.rtsCts) t.c_cflag |= CRTSCTS;
    t.c_cc[VSTART] = s.xonChar;
    t.c_cc[VSTOP] = s.xoffChar;
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);
    if (::tcsetattr(fd_, TCSANOW, &t) != 0) return {false, Failure(device_, "cannot set the port state", errno), {}};

    dtrDsr_ = s.dtrDsr;
    if (s.dtrDsr) {
      // DTR handshake: raised while the port is open. DSR output flow is
      // checked before each write; a device without modem lines (a
      // pseudo-terminal) has neither, which the notice says.
      int dtr = TIOCM_DTR;
      modemLines_ = ::ioctl(fd_, TIOCMBIS, &dtr) == 0;
      if (!modemLines_) {
        std::string note = device_ + ": the device has no modem lines; DTR/DSR flow control is not applied";
        result.notice = result.notice.empty() ? note : result.notice + "\n" + note;
      }
    }
    return result;
  }

  SerialResult Escape(SerialEscape function) override {
    if (fd_ < 0) return {false, device_ + ": the port is closed", {}};
    int rc = 0;
    int line = 0;
    switch (function) {
      case SerialEscape::kSetXon:
        rc = ::tcflow(fd_, TCOON);
        break;
      case SerialEscape::kSetXoff:
        rc = ::tcflow(fd_, TCOOFF);
        break;
      case SerialEscape::kSetDtr:
        line = TIOCM_DTR;
        rc = ::ioctl(fd_, TIOCMBIS, &line);
        break;
      case SerialEscape::kClearDtr:
        line = TIOCM_DTR;
        rc = ::ioctl(fd_, TIOCMBIC, &line);
        break;
      case SerialEscape::kSetRts:
        line = TIOCM_RTS;
        rc = ::ioctl(fd_, TIOCMBIS, &line);
        break;
      case SerialEscape::kClearRts:
        line = TIOCM_RTS;
        rc = ::ioctl(fd_, TIOCMBIC, &line);
        break;
    }
    if (rc != 0) return {false, Failure(device_, "escape function failed", errno), {}};
    return {true, {}, {}};
  }

  SerialResult Purge(SerialPurge what) override {
    if (fd_ < 0) return {false, device_ + ": the port is closed", {}};
    int queue = what == SerialPurge::kReceive ? TCIFLUSH : what == SerialPurge::kTransmit ? TCOFLUSH : TCIOFLUSH;
    if (::tcflush(fd_, queue) != 0) return {false, Failure(device_, "cannot purge", errno), {}};
    return {true, {}, {}};
  }

  SerialIoResult Read(std::span<std::uint8_t> buffer, int waitMs) override {
    if (fd_ < 0) return {SerialStatus::kError, 0, device_ + ": the port is closed"};
    if (buffer.empty()) return {};
    auto start = std::chrono::steady_clock::now();
    for (;;) {
      ssize_t n = ::read(fd_, buffer.data(), buffer.size());
      if (n > 0) return {SerialStatus::kOk, std::size_t(n), {}};
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno != EAGAIN) return IoFailure("read failed", errno, 0);
      // Nothing there yet (0 with zero time-outs, EAGAIN without them). The
      // poll runs even when no time is left: a hung-up line also reads as
      // empty, and only the poll tells the two apart.
      SerialIoResult waited = WaitFor(POLLIN, RemainingMs(waitMs, start));
      if (!waited.ok()) return waited;
    }
  }

  SerialIoResult Write(std::span<const std::uint8_t> bytes, int waitMs) override {
    if (fd_ < 0) return {SerialStatus::kError, 0, device_ + ": the port is closed"};
    auto start = std::chrono::steady_clock::now();
    std::size_t done = 0;
    while (done < bytes.size()) {
      if (!DsrAllowsSending()) {
        if (RemainingMs(waitMs, start) == 0) return {SerialStatus::kTimedOut, done, {}};
        std::this_thread::sleep_for(std::chrono::milliseconds(kDsrPollMs));
        continue;
      }
      ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n > 0) {
        done += std::size_t(n);
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno != EAGAIN) return IoFailure("write failed", errno, done);
      // The driver takes nothing while flow control holds the output.
      SerialIoResult waited = WaitFor(POLLOUT, RemainingMs(waitMs, start));
      if (!waited.ok()) {
        waited.count = done;
        return waited;
      }
    }
    return {SerialStatus::kOk, done, {}};
  }

  void Close() override {
    if (fd_ < 0) return;
    ::ioctl(fd_, TIOCNXCL);  // the exclusive mark outlives us when others hold the device
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
  }

 private:
  // How often a write held by a low DSR line looks again.
  static constexpr int kDsrPollMs = 10;

  bool DsrAllowsSending() const {
    if (!dtrDsr_ || !modemLines_) return true;
    int lines = 0;
    if (::ioctl(fd_, TIOCMGET, &lines) != 0) return true;
    return (lines & TIOCM_DSR) != 0;
  }

  SerialIoResult IoFailure(std::string_view what, int error, std::size_t count) const {
    if (IsHangUp(error))
      return {SerialStatus::kClosed, count, Failure(device_, "the line was closed at the far side", error)};
    return {SerialStatus::kError, count, Failure(device_, what, error)};
  }

  // Waits for the descriptor to become ready; kTimedOut when the time ran out.
  SerialIoResult WaitFor(short events, int waitMs) const {
    pollfd p{fd_, events, 0};
    auto start = std::chrono::steady_clock::now();
    for (;;) {
      int rc = ::poll(&p, 1, RemainingMs(waitMs, start));
      if (rc > 0) {
        // Only called when nothing was there to read or no room to write, so a
        // hang-up here means no more data will come (a hung-up terminal reads
        // as empty for ever).
        if ((p.revents & POLLHUP) != 0)
          return {SerialStatus::kClosed, 0, device_ + ": the line was closed at the far side"};
        if ((p.revents & POLLNVAL) != 0) return {SerialStatus::kError, 0, device_ + ": invalid descriptor"};
        if ((p.revents & POLLERR) != 0) return {SerialStatus::kError, 0, device_ + ": the device reports an error"};
        return {};
      }
      if (rc == 0) return {SerialStatus::kTimedOut, 0, {}};
      if (errno != EINTR) return {SerialStatus::kError, 0, Failure(device_, "wait failed", errno)};
    }
  }

  int fd_ = -1;
  std::string device_;
  bool dtrDsr_ = false;
  bool modemLines_ = false;
};

}  // namespace

std::string SerialDevicePath(const SettingsStore& settings, std::string_view portName) {
  int number = PortNumber(portName);
  if (number == 0) return {};
  std::string key = "COM" + std::to_string(number);
  std::string fallback = "/dev/ttyS" + std::to_string(number - 1);
  return settings.GetString(kSerialPortSection, key, fallback);
}

void ResetSerialNotices() { g_toldOneAndHalfStopBits = false; }

SerialOpenResult OpenSerialDevice(const std::string& devicePath) {
  if (devicePath.empty()) return {nullptr, "no device path is set for the port"};
  // O_NONBLOCK: the open must not wait for a carrier; it stays set so that
  // every later wait is a poll with a limit.
  int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {nullptr, Failure(devicePath, "cannot open the port", errno)};
  if (!::isatty(fd)) {
    ::close(fd);
    return {nullptr, devicePath + ": not a serial device"};
  }
  // Not shared: a second open of the same device, by this program or another
  // one that locks the same way, fails instead of interleaving bytes.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) return {nullptr, devicePath + ": the port is in use by another program"};
    return {nullptr, Failure(devicePath, "cannot lock the port", error)};
  }
  ::ioctl(fd, TIOCEXCL);  // also keeps out programs that do not lock
  // Raw from the start, so that nothing is echoed or held back for a line
  // end even before the caller configures the line.
  termios t{};
  if (::tcgetattr(fd, &t) != 0) {
    int error = errno;
    ::close(fd);
    return {nullptr, Failure(devicePath, "cannot read the port state", error)};
  }
  MakeRaw(t);
  if (::tcsetattr(fd, TCSANOW, &t) != 0) {
    int error = errno;
    ::close(fd);
    return {nullptr, Failure(devicePath, "cannot set the port state", error)};
  }
  return {std::make_unique<TermiosPort>(fd, devicePath), {}};
}

SerialOpenResult OpenSerialPort(const SettingsStore& settings, std::string_view portName) {
  std::string device = SerialDevicePath(settings, portName);
  if (device.empty()) return {nullptr, std::string(portName) + ": not a serial port name (COM1 to COM9)"};
  SerialOpenResult result = OpenSerialDevice(device);
  if (!result.ok()) result.message = std::string(portName) + " (" + result.message + ")";
  return result;
}

}  // namespace platform
