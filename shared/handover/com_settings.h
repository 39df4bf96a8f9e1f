#pragma once
// ComSettings: the 200-byte serial line settings "$COM_DCB.@@@" in the program
// folder, one entry per port COM1..COM9 (entry i is COM(i + 1); entry 9 is
// never used).
//
// Written by Kelto_Dorn's port settings dialog; read by Kelto_Dorn's pen
// plotter output and by Kelto_qup's serial send, receive and the NC text
// check's drip feed, which open their port with these settings.
//
// | off | type      | field     | low bits                      | high bits          |
// |-----|-----------|-----------|-------------------------------|--------------------|
// |   0 | int32[10] | baud      | 0-5: index into kBaudRates    | 0x8000 start XOFF  |
// |  40 | int32[10] | dataBits  | 0 = 7 bits, 1 = 8 bits        |                    |
// |  80 | int32[10] | parity    | 0-3: 0 none, 1 even, 2 odd    | 0x8000 send 0x1A   |
// |     |           |           |                               | after the last line|
// | 120 | int32[10] | flow      | 0 none, 1 XON/XOFF, 2 RTS/CTS,|                    |
// |     |           |           | 3 DTR/DSR                     |                    |
// | 160 | int32[10] | stop      | 0-3: 0 = 1, 1 = 1.5, 2 = 2    | line end: 0x8000 CR|
// |     |           |           | stop bits                     | 0x4000 LF, 0x2000  |
// |     |           |           |                               | none, 0x1000 LF CR |
// |     |           |           |                               | CR, else CR LF     |
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/record_file.h"

namespace handover {

inline constexpr int kComPortCount = 9;    // COM1..COM9
inline constexpr int kComEntryCount = 10;  // entries per array in the file

// Baud rate of each baud index.
inline constexpr std::int32_t kBaudRates[] = {1200,  2400,   4800,   9600,   19200, 38400,
                                              57600, 115200, 230400, 460800, 921600};

enum class LineEnd { CrLf, Cr, Lf, None, LfCrCr };

struct ComSettings {
  std::int32_t baud[kComEntryCount] = {};
  std::int32_t dataBits[kComEntryCount] = {};
  std::int32_t parity[kComEntryCount] = {};
  std::int32_t flow[kComEntryCount] = {};
  std::int32_t stop[kComEntryCount] = {};

  static constexpr std::int32_t kBaudIndexMask = 0x3F;
  static constexpr std::int32_t kLowCodeMask = 0x0F;
  static constexpr std::int32_t kStartXoff = 0x8000;      // in baud
  static constexpr std::int32_t kSendEndOfFile = 0x8000;  // in parity
  static constexpr std::int32_t kLineEndCr = 0x8000;      // in stop
  static constexpr std::int32_t kLineEndLf = 0x4000;
  static constexpr std::int32_t kLineEndNone = 0x2000;
  static constexpr std::int32_t kLineEndLfCrCr = 0x1000;

  // Decoded values of port 0..8 (the caller checks the port index).
  std::int32_t BaudRate(int port) const;
  int DataBitCount(int port) const { return dataBits[port] == 1 ? 8 : 7; }
  LineEnd LineEndOf(int port) const;
};

static_assert(sizeof(ComSettings) == 200);
static_assert(offsetof(ComSettings, baud) == 0);
static_assert(offsetof(ComSettings, dataBits) == 40);
static_assert(offsetof(ComSettings, parity) == 80);
static_assert(offsetof(ComSettings, flow) == 120);
static_assert(offsetof(ComSettings, stop) == 160);
static_assert(platform::FileRecord<ComSettings>);

inline constexpr char kComSettingsFileName[] = "$COM_DCB.@@@";

// Every port: 9600 baud, 8 data bits, no parity, XON/XOFF, 1 stop bit,
// CR LF, no XOFF start, no end-of-file character.
ComSettings DefaultComSettings();

// Empty when every code of ports COM1..COM9 names a setting that exists,
// else what is wrong.
std::string CheckComSettings(const ComSettings& settings);

// Reads the 200 bytes. Missing: `settings` becomes DefaultComSettings() and
// the status is Missing. A short or long file, or a code that names no
// setting: damaged, `settings` is left as it was.
platform::FileResult ReadComSettings(const std::filesystem::path& path, ComSettings& settings);

// Writes the 200 bytes atomically; codes that name no setting are refused.
platform::FileResult WriteComSettings(const std::filesystem::path& path, const ComSettings& settings);

}  // namespace handover
