// The serial port of the companion's transfers: opened from the port
// settings of "$COM_DCB.@@@", lines written and read in short slices with
// the event queue drained between them, so a far side that holds XOFF, stops
// sending or hangs up never freezes the program, and a stop ends the
// transfer at once.
#include <algorithm>
#include <cstring>

#include "kelto_qup/engine/run_context.h"
#include "platform/paths.h"
#include "platform/record_file.h"
#include "platform/settings_store.h"
#include "platform/text.h"

namespace qup {

namespace {

constexpr int kBaudCodeCount = static_cast<int>(std::size(handover::kBaudRates));
constexpr int kFlowXonXoff = 1;
constexpr int kFlowRtsCts = 2;
constexpr int kFlowDtrDsr = 3;
constexpr int kMaxReadLine = 1020;
constexpr std::size_t kCheckFileNameBytes = 256;
constexpr char kCheckFileName[] = "$com_dat.@@@";
constexpr char kProgramName[] = "Kelto_qup";

// The port's line state changed by the codes of one port; a code outside its
// column leaves that part as the system reported it.
platform::SerialLineSettings DecodeLine(platform::SerialLineSettings line, const handover::ComSettings& c, int port) {
  const int baud = c.baud[port] & handover::ComSettings::kLowCodeMask;
  if (baud < kBaudCodeCount) line.baud = handover::kBaudRates[baud];
  if (c.dataBits[port] == 0) line.byteSize = 7;
  if (c.dataBits[port] == 1) line.byteSize = 8;
  switch (c.parity[port] & handover::ComSettings::kLowCodeMask) {
    case 0: line.parity = platform::SerialParity::kNone; break;
    case 1: line.parity = platform::SerialParity::kEven; break;
    case 2: line.parity = platform::SerialParity::kOdd; break;
    default: break;
  }
  line.xonXoff = c.flow[port] == kFlowXonXoff;
  line.rtsCts = c.flow[port] == kFlowRtsCts;
  line.dtrDsr = c.flow[port] == kFlowDtrDsr;
  line.xonChar = 0x11;
  line.xoffChar = 0x13;
  switch (c.stop[port] & handover::ComSettings::kLowCodeMask) {
    case 0: line.stopBits = platform::SerialStopBits::kOne; break;
    case 1: line.stopBits = platform::SerialStopBits::kOneAndHalf; break;
    case 2: line.stopBits = platform::SerialStopBits::kTwo; break;
    default: break;
  }
  return line;
}

}  // namespace

int RunContext::ComPortIndex() const {
  if (job.Header.startMode == 22) {
    const int index = job.Header.portByte & 0x0F;
    return index < platform::kSerialPortCount ? index : -1;
  }
  return transfer.Plot.PortWord == 0 ? 0 : 1;
}

int RunContext::OpenComPort() {
  ComPortState& com = transfer.Com;
  CloseComPort();
  const platform::fs::path settingsPath =
      platform::ResolvePath(platform::ProgramFolder(), handover::kComSettingsFileName);
  const platform::FileResult read = handover::ReadComSettings(settingsPath, com.Settings);
  if (!read.ok() && !read.missing()) {
    // Damaged settings never drive a machine: the port stays shut.
    host.AddListLine(platform::Utf8ToCp932(read.message));
    ShowErrorCode(kErrorComOpen);
    return -1;
  }
  const int index = ComPortIndex();
  if (index < 0) {
    ShowErrorCode(kErrorComOpen);
    return -1;
  }
  const platform::SettingsStore store(kProgramName);
  platform::SerialOpenResult opened = platform::OpenSerialPort(store, "COM" + std::to_string(index + 1));
  platform::SerialLineSettings line;
  platform::SerialResult state;
  if (opened.ok()) state = opened.port->ReadSettings(line);
  if (opened.ok() && state.ok) state = opened.port->Configure(DecodeLine(line, com.Settings, index));
  if (!opened.ok() || !state.ok) {
    host.AddListLine(platform::Utf8ToCp932(opened.ok() ? state.message : opened.message));
    ShowErrorCode(kErrorComOpen);
    return -1;
  }
  com.Port = std::move(opened.port);
  com.PortIndex = index;
  com.XoffHeld = false;
  ApplyXonXoffState();
  return 0;
}

void RunContext::ApplyXonXoffState() {
  ComPortState& com = transfer.Com;
  if (!com.Port || com.Settings.flow[com.PortIndex] != kFlowXonXoff) return;
  const bool startHeld = (com.Settings.baud[com.PortIndex] & handover::ComSettings::kStartXoff) != 0;
  com.Port->Escape(startHeld ? platform::SerialEscape::kSetXoff : platform::SerialEscape::kSetXon);
}

int RunContext::ComWriteLine() {
  const auto end = std::find(Block.Text.begin(), Block.Text.end(), '\0');
  return ComWriteBytes(std::string_view(Block.Text.data(), static_cast<std::size_t>(end - Block.Text.begin())));
}

int RunContext::ComWriteBytes(std::string_view bytes) {
  ComPortState& com = transfer.Com;
  if (!com.Port) return ShowErrorCode(kErrorComWrite);
  std::size_t done = 0;
  while (done < bytes.size()) {
    if (AbortFlag != 0) return kStopRun;
    const platform::SerialIoResult r = com.Port->WriteText(bytes.substr(done), com.SliceMs);
    done += r.count;
    if (r.status == platform::SerialStatus::kTimedOut) {
      // Held by flow control: a machine may hold for minutes, so there is no
      // limit, but the title says why nothing moves and a stop ends it.
      if (r.count == 0 && !com.XoffHeld) {
        com.XoffHeld = true;
        host.SetTitleText(platform::Sjis("Kelto_Qup : 受信側の XOFF で送信を保留中です（中止は Esc）"));
      }
      DrainEvents();
      continue;
    }
    if (!r.ok()) {
      host.AddListLine(platform::Utf8ToCp932(r.message));
      return ShowErrorCode(kErrorComWrite);
    }
    if (com.XoffHeld) {
      com.XoffHeld = false;
      host.SetTitleText(com.Title);
    }
  }
  return 0;
}

int RunContext::ComReadLine(int endMode) {
  ComPortState& com = transfer.Com;
  Block.Text.fill('\0');
  int count = 0;
  auto store = [&](char c) { Block.Text[static_cast<std::size_t>(count++)] = c; };
  while (com.Port && AbortFlag == 0 && count < kMaxReadLine) {
    std::uint8_t byte = 0;
    const platform::SerialIoResult r = com.Port->ReadByte(byte, com.SliceMs);
    if (r.status == platform::SerialStatus::kTimedOut || (r.ok() && r.count == 0)) {
      DrainEvents();
      continue;
    }
    if (!r.ok()) {
      host.AddListLine(platform::Utf8ToCp932(r.message));
      ShowErrorCode(kErrorComRead);
      break;
    }
    if (byte == '\r' || byte == 0) continue;
    store(static_cast<char>(byte));
    if (byte == '\n' || byte == 0x1A) break;
    if (byte == '%' && endMode == 0) {
      store('\n');
      break;
    }
  }
  Block.Position = count;
  return count;
}

void RunContext::CloseComPort() {
  ComPortState& com = transfer.Com;
  if (com.Port) com.Port->Close();
  com.Port.reset();
  com.PortIndex = -1;
  com.XoffHeld = false;
}

void RunContext::ReadCheckFileName() {
  ComPortState& com = transfer.Com;
  com.PathBuffer.clear();
  std::vector<std::uint8_t> bytes;
  const platform::FileResult read =
      platform::ReadWholeFile(platform::ResolvePath(platform::ProgramFolder(), kCheckFileName), bytes);
  if (!read.ok()) return;
  bytes.resize(std::min(bytes.size(), kCheckFileNameBytes));
  const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
  com.PathBuffer.assign(bytes.begin(), end);
}

}  // namespace qup
