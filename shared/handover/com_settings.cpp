#include "shared/handover/com_settings.h"

#include <iterator>

#include "shared/handover/record_io.h"

namespace handover {

std::int32_t ComSettings::BaudRate(int port) const {
  return kBaudRates[baud[port] & kBaudIndexMask];  // CheckComSettings keeps the index in the list
}

LineEnd ComSettings::LineEndOf(int port) const {
  const std::int32_t word = stop[port];
  if (word & kLineEndCr) return LineEnd::Cr;
  if (word & kLineEndLf) return LineEnd::Lf;
  if (word & kLineEndNone) return LineEnd::None;
  if (word & kLineEndLfCrCr) return LineEnd::LfCrCr;
  return LineEnd::CrLf;
}

ComSettings DefaultComSettings() {
  ComSettings s;
  for (int i = 0; i < kComEntryCount; ++i) {
    s.baud[i] = 3;      // 9600
    s.dataBits[i] = 1;  // 8 bits
    s.parity[i] = 0;    // none
    s.flow[i] = 1;      // XON/XOFF
    s.stop[i] = 0;      // 1 stop bit, CR LF
  }
  return s;
}

std::string CheckComSettings(const ComSettings& s) {
  constexpr int kBaudCount = static_cast<int>(std::size(kBaudRates));
  for (int port = 0; port < kComPortCount; ++port) {
    const char* fault = nullptr;
    if ((s.baud[port] & ComSettings::kBaudIndexMask) >= kBaudCount)
      fault = "baud index";
    else if (s.dataBits[port] != 0 && s.dataBits[port] != 1)
      fault = "data-bits code";
    else if ((s.parity[port] & ComSettings::kLowCodeMask) > 2)
      fault = "parity code";
    else if (s.flow[port] < 0 || s.flow[port] > 3)
      fault = "flow code";
    else if ((s.stop[port] & ComSettings::kLowCodeMask) > 2)
      fault = "stop-bits code";
    if (fault) return std::string(fault) + " of COM" + std::to_string(port + 1) + " names no setting";
  }
  return {};
}

platform::FileResult ReadComSettings(const std::filesystem::path& path, ComSettings& settings) {
  ComSettings read;
  platform::FileResult result = platform::ReadRecord(path, read);
  if (result.missing()) {
    settings = DefaultComSettings();
    return result;
  }
  if (!result.ok()) return result;
  if (std::string fault = CheckComSettings(read); !fault.empty()) return DamagedFile(path, fault);
  settings = read;
  return result;
}

platform::FileResult WriteComSettings(const std::filesystem::path& path, const ComSettings& settings) {
  if (std::string fault = CheckComSettings(settings); !fault.empty()) return RefusedWrite(path, fault);
  return platform::WriteRecord(path, settings);
}

}  // namespace handover
