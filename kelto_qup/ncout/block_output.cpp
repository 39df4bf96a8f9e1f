// Word and block output: every line of the NC program passes through here.
// Emitters compose a block in BlockBuffer word by word (numbers only through
// the word writers, so rounding and notation follow the post's number rules);
// EndBlock applies the block rules (quoting, sequence words, even length),
// echoes the block to the message list and appends it to the NC file with a
// CR LF line end.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <system_error>

#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"

namespace qup {

namespace {

// WordFormat bits read here.
constexpr int kIncrementMask = 0xC000;
constexpr int kIncrementHundredth = 0x8000;  // least increment 0.01, else 0.001
constexpr int kDecimalPoint = 0x2000;
constexpr int kSequenceWords = 0x0008;

// Column to which every block is indented in the listing mode (EffectiveMode 1).
constexpr int kListingColumn = 38;
// Room kept at the end of the buffer for ";", the closing quote, an even-length
// blank, CR LF and a terminating zero.
constexpr int kClosingRoom = 8;

// Echo list layout: the first 101 lines stay, five separators follow, then a
// rolling window whose oldest line sits at index 106; at most 207 counted lines.
constexpr int kListHeadLines = 101;
constexpr int kListMaxLines = 207;
constexpr int kListOldestRolling = 106;
constexpr int kMonitorHidden = 0x8000;
constexpr int kMonitorDone = 15;

// The fixed-point text of a value with the given decimals, rounded exactly
// as printf's "%.Nf" rounds (the post's words have always been written so),
// without going through the locale-aware printf machinery for every word.
// The buffer holds the longest case: "%.3f" of the largest double needs 313
// characters.
class FixedText {
 public:
  FixedText(double value, int decimals) {
    const std::to_chars_result r =
        std::to_chars(text_, text_ + sizeof text_, value, std::chars_format::fixed, decimals);
    length_ = r.ec == std::errc{} ? static_cast<std::size_t>(r.ptr - text_) : 0;
  }
  std::string_view View() const { return {text_, length_}; }
  // The characters before the decimal point ("-12" of "-12.500").
  std::string_view Whole() const { return View().substr(0, View().find('.')); }

 private:
  char text_[400];
  std::size_t length_ = 0;
};

}  // namespace

int RunContext::PutBlockChar(char ch) {
  BlockBuffer& b = output.Block;
  // A block never grows into the room its closing characters need. No sound
  // block comes near the limit: one that reaches it has lost its line ends,
  // and a cut block would send the tool somewhere nobody asked for, so it is
  // refused like a value that is not a number and the run stops.
  if (b.Position < BlockBuffer::kSize - kClosingRoom) {
    b.Text[static_cast<std::size_t>(b.Position++)] = ch;
  } else if (output.BlockRefused == 0) {
    output.BlockRefused = 1;
    ShowErrorCode(kErrorBlockTooLong);
  }
  return b.Position;
}

void RunContext::PutClosingChar(char ch) {
  // The closing characters use the room that PutBlockChar keeps free.
  BlockBuffer& b = output.Block;
  if (b.Position < BlockBuffer::kSize - 1) b.Text[static_cast<std::size_t>(b.Position++)] = ch;
}

void RunContext::PutBlockText(std::string_view text) {
  for (char ch : text) {
    if (ch == '\0') break;
    PutBlockChar(ch);
  }
}

bool RunContext::RefuseNotFinite(double value) {
  if (std::isfinite(value)) return false;
  // Nothing that is not a number may reach the NC file: the block that would
  // carry it is dropped by EndBlock and the run stops with its error.
  output.BlockRefused = 1;
  ShowErrorCode(kErrorNotFiniteValue);
  return true;
}

void RunContext::PutWordValue(char letter, double value) {
  if (RefuseNotFinite(value)) return;
  // A small negative result prints as a positive zero word, never as "-0".
  if (value > -0.000999 && value < 0.0) value = 0.00001;
  // A value of 0.000001 or less is no word at all; callers that must write a
  // zero coordinate pass 0.00001, which prints as zero.
  if (std::fabs(value) <= 0.000001) return;
  const bool hundredths = (output.WordFormat & kIncrementMask) == kIncrementHundredth;
  if (hundredths) value = RoundTo2Decimals(value);
  PutBlockChar(letter);
  if ((output.WordFormat & kDecimalPoint) == 0) {
    // Integer notation in least increments.
    PutBlockText(FixedText(value * (hundredths ? 100.0 : 1000.0), 0).View());
    return;
  }
  // Decimal notation: the point always, trailing zeros of the decimals never.
  const FixedText fixed(value, 3);
  const std::string_view text = fixed.View();
  const std::size_t point = text.find('.');
  PutBlockText(text.substr(0, point + 1));
  std::string_view decimals = text.substr(point + 1, 3);
  while (!decimals.empty() && decimals.back() == '0') decimals.remove_suffix(1);
  PutBlockText(decimals);
}

void RunContext::PutValueOneDecimal(double value) {
  if (RefuseNotFinite(value)) return;
  // The digits and sign before the point of the one-decimal form: "F100".
  PutBlockText(FixedText(RoundTo3Decimals(value), 1).Whole());
}

void RunContext::PutModeLetter() {
  // The letter of the cycle the block repeats; a block without one carries
  // the cycle's default address.
  const char letter = output.Cycle.Letter != 0 ? output.Cycle.Letter : 'P';
  PutBlockChar(letter);
}

void RunContext::PutValueThreeDecimals(double value) {
  if (RefuseNotFinite(value)) return;
  const FixedText fixed(RoundTo3Decimals(value), 3);
  std::string_view text = fixed.View();
  while (!text.empty() && text.back() == '0') text.remove_suffix(1);  // 12.500 -> 12.5, 12.000 -> 12.
  PutBlockText(text);
}

int RunContext::PutPaddedInteger(double value, int digits) {
  if (digits < 1 || digits > 6) return StopWithError(kErrorDigitCount);
  if (RefuseNotFinite(value)) return kStopRun;
  const FixedText fixed(value, 2);
  const std::string_view whole = fixed.Whole();
  for (int n = static_cast<int>(whole.size()); n < digits; ++n) PutBlockChar('0');
  PutBlockText(whole);
  return 0;
}

int RunContext::BarePrefixLength() const {
  int length = output.QuotedBlockMode ? 8 : 5;  // [quote] L#### [; quote]
  if (output.EffectiveMode == 1) length += kListingColumn;
  return length;
}

int RunContext::OpenedPrefixLength() const {
  if (output.BlockOpenCount == 0) return 0;
  const int quote = output.QuotedBlockMode != 0 ? 1 : 0;
  if ((output.WordFormat & kSequenceWords) == 0) return quote;
  return quote + 5 + (output.EffectiveMode == 1 ? kListingColumn : 0);  // [quote] L####
}

void RunContext::OpenBlock() {
  const bool quoted = output.QuotedBlockMode != 0;
  if ((output.WordFormat & kSequenceWords) != 0 && output.BlockOpenCount == 0) {
    if (output.EffectiveMode == 1) {
      while (output.Block.Position < kListingColumn) PutBlockChar(' ');
    }
    if (quoted) PutBlockChar('"');
    output.BlockSequenceNumber += 1.0;
    PutBlockChar('L');
    PutPaddedInteger(output.BlockSequenceNumber, 4);
    // Four digits: L9999 is followed by L0001.
    if (output.BlockSequenceNumber >= 9999.0) output.BlockSequenceNumber = 0.0;
    ++output.BlockOpenCount;
  } else if (output.BlockOpenCount == 0 && quoted) {
    PutBlockChar('"');
  }
  ++output.BlockOpenCount;
}

void RunContext::EchoBlock(std::string_view text) {
  if (output.MonitorFlags == 0) {
    if (output.ListLineCount == kListHeadLines) {
      for (int i = 0; i < 5; ++i) host.SelectListLine(host.AddListLine(platform::Sjis("    ･ ")));
    }
    int last = host.AddListLine(text);
    ++output.ListLineCount;
    if (output.ListLineCount > kListMaxLines) {
      host.DeleteListLine(kListOldestRolling);
      --output.ListLineCount;
      --last;
    }
    host.SelectListLine(last);
  } else if ((output.MonitorFlags & kMonitorHidden) != 0) {
    host.AddListLine(platform::Sjis("    ･ "));
    host.SelectListLine(host.AddListLine(platform::Sjis(" *** 計算中 *** ")));
    host.AddListLine(platform::Sjis("    ･ "));
    output.ListLineCount += 3;
    output.MonitorFlags = kMonitorDone;
  }
}

int RunContext::WriteNcLine(std::string_view text) {
  NcOutputFile& file = output.NcFile;
  // The line with CR LF (two bytes in the count, as the file holds them).
  output.NcByteCount += static_cast<int>(text.size()) + 2;
  const bool written = std::fwrite(text.data(), 1, text.size(), file.Stream) == text.size() &&
                       std::fwrite("\r\n", 1, 2, file.Stream) == 2 && !std::ferror(file.Stream);
  if (!written) {
    // A failed write (a full disk) shows its error once and stops the run,
    // so a cut NC file never passes for a finished one.
    ErrorPath = file.Path;
    ShowErrorCode(kErrorFileWrite);
    AbortFlag = kStopRun;
    return kStopRun;
  }
  // A stop the poll had noticed becomes a stop of the output as well.
  if (AbortFlag != 0) AbortFlag = kStopRun;
  return 0;
}

void RunContext::RestartBlock() {
  output.Block.Position = 0;
  output.BlockOpenCount = 0;
  OpenBlock();
}

int RunContext::EndBlock() {
  BlockBuffer& b = output.Block;
  const bool quoted = output.QuotedBlockMode != 0;
  if (output.BlockRefused != 0) {
    // The block carried a value that is not a number: it is never written.
    output.BlockRefused = 0;
    RestartBlock();
    return kStopRun;
  }
  if (quoted) {
    if (b.Position < 2) {  // at most the opening quote: an empty block
      b.Position = 0;
      PutBlockChar('"');
      return 0;
    }
    PutClosingChar(';');
    PutClosingChar('"');
  } else if (b.Position == 0) {
    return 0;
  }
  if ((output.WordFormat & kSequenceWords) != 0 && b.Position == BarePrefixLength()) {
    // Nothing but the sequence word: the block stays open for the next words.
    if (quoted) b.Position -= 2;
    return 0;
  }
  if (output.HeldTextLinePending != 0) {
    // A held code line joins this block and ends it.
    if (quoted) b.Position -= 2;
    output.HeldTextLinePending = 0;
    const int status = EmitTextLine(1);
    if (b.Position == 0) {
      output.BlockOpenCount = 0;
      OpenBlock();
    }
    return status == kStopRun ? kStopRun : 0;
  }
  if (!quoted && b.Position % 2 != 0) PutClosingChar(' ');  // every unquoted block has even length

  const std::string_view text(b.Text.data(), static_cast<std::size_t>(b.Position));
  EchoBlock(text);
  int status = 0;
  if (output.NcFileOutputOff == 0 && output.NcFile.IsOpen()) status = WriteNcLine(text);
  RestartBlock();
  return status;
}

int RunContext::OpenNcOutput(const std::string& nativePath) {
  CloseNcOutput();
  output.BlockRefused = 0;  // a refusal of an earlier run does not reach this file
  output.NcFile.Path = nativePath;
  // Binary: the line ends are written as CR LF here, whatever the system.
  output.NcFile.Stream = std::fopen(nativePath.c_str(), "wb");
  if (output.NcFile.Stream == nullptr) {
    ErrorPath = nativePath;
    return ShowErrorCode(kErrorFileOpen);
  }
  return 0;
}

int RunContext::CloseNcOutput() {
  NcOutputFile& file = output.NcFile;
  if (!file.IsOpen()) return 0;
  // The last buffered lines reach the disk here: a failure is a write error.
  const bool flushed = std::fflush(file.Stream) == 0 && !std::ferror(file.Stream);
  const bool closed = std::fclose(file.Stream) == 0;
  file.Stream = nullptr;
  if (!flushed || !closed) {
    ErrorPath = file.Path;
    ShowErrorCode(kErrorFileWrite);
    AbortFlag = kStopRun;
    return kStopRun;
  }
  return 0;
}

}  // namespace qup
