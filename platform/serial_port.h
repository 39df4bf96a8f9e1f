#pragma once
// Serial ports by their system names "COM1" to "COM9". Each name maps to a
// device path through the [SerialPorts] section of the settings store
// (COM1=/dev/ttyS0 ... COM9=/dev/ttyS8 unless the user points one elsewhere,
// e.g. COM3=/dev/ttyUSB0). The port is driven through POSIX termios.
//
// Reads and writes never block without limit: each call says how long it may
// wait (0 = return at once with what is there, the behaviour of the port's
// zero time-outs; kSerialWaitForever = until done). A machine that sends XOFF
// and never XON therefore cannot freeze the caller unless it asks for that.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace platform {

class SettingsStore;

constexpr int kSerialPortCount = 9;  // COM1 .. COM9
inline constexpr std::string_view kSerialPortSection = "SerialPorts";

// The device path of a port name ("COM1" .. "COM9", any case), from the
// settings table or its default. Empty for any other name.
std::string SerialDevicePath(const SettingsStore& settings, std::string_view portName);

enum class SerialParity { kNone, kEven, kOdd };
enum class SerialStopBits { kOne, kOneAndHalf, kTwo };

// The line state of a port, in plain values.
struct SerialLineSettings {
  int baud = 9600;                            // one of kSerialBaudRates
  int byteSize = 8;                           // 5 .. 8
  SerialParity parity = SerialParity::kNone;  // even/odd switch parity checking on
  SerialStopBits stopBits = SerialStopBits::kOne;
  bool xonXoff = false;          // software flow control, both directions
  bool rtsCts = false;           // CTS holds our output, RTS tells the far side to hold
  bool dtrDsr = false;           // DSR holds our output, DTR raised while the port is open
  std::uint8_t xonChar = 0x11;   // DC1
  std::uint8_t xoffChar = 0x13;  // DC3
};

inline constexpr int kSerialBaudRates[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600};

// The escape functions of the port.
enum class SerialEscape {
  kSetXon,   // resume our output as if XON had been received
  kSetXoff,  // hold our output as if XOFF had been received
  kSetDtr,
  kClearDtr,
  kSetRts,
  kClearRts,
};

enum class SerialPurge { kReceive, kTransmit, kBoth };

constexpr int kSerialWaitForever = -1;

enum class SerialStatus {
  kOk,
  kTimedOut,  // the wait ran out; count says how much passed
  kClosed,    // the far side hung up (or the device went away)
  kError,
};

struct SerialIoResult {
  SerialStatus status = SerialStatus::kOk;
  std::size_t count = 0;  // bytes read or written
  std::string message;    // device path and the system's reason on failure
  bool ok() const { return status == SerialStatus::kOk; }
};

struct SerialResult {
  bool ok = false;
  std::string message;  // why it failed (device path and reason)
  std::string notice;   // a setting the system cannot give exactly (said once)
};

class SerialPort {
 public:
  virtual ~SerialPort() = default;

  virtual const std::string& DevicePath() const = 0;

  // The port's current line state as the system reports it.
  virtual SerialResult ReadSettings(SerialLineSettings& out) const = 0;
  // Applies a whole line state. 1.5 stop bits are set as 2 (the notice says so,
  // the first time in the process).
  virtual SerialResult Configure(const SerialLineSettings& settings) = 0;
  virtual SerialResult Escape(SerialEscape function) = 0;
  virtual SerialResult Purge(SerialPurge what) = 0;

  // Reads up to buffer.size() bytes, waiting at most waitMs for the first.
  virtual SerialIoResult Read(std::span<std::uint8_t> buffer, int waitMs) = 0;
  // Writes all bytes, waiting at most waitMs in all while flow control holds them.
  virtual SerialIoResult Write(std::span<const std::uint8_t> bytes, int waitMs) = 0;

  SerialIoResult ReadByte(std::uint8_t& byte, int waitMs) { return Read({&byte, 1}, waitMs); }
  SerialIoResult WriteText(std::string_view text, int waitMs) {
    return Write({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, waitMs);
  }

  // Drops DTR and RTS as the system does and closes the device. Safe to repeat.
  virtual void Close() = 0;
};

struct SerialOpenResult {
  std::unique_ptr<SerialPort> port;  // null on failure
  std::string message;
  bool ok() const { return port != nullptr; }
};

// Forgets that the 1.5-stop-bits notice was given (tests).
void ResetSerialNotices();

// Opens a port by its system name for reading and writing, not shared with
// other programs; the device must exist. Never waits for a carrier.
SerialOpenResult OpenSerialPort(const SettingsStore& settings, std::string_view portName);
// Opens a device path directly (tests, and the settings dialog's own checks).
SerialOpenResult OpenSerialDevice(const std::string& devicePath);

}  // namespace platform
