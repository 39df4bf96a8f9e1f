#include "kelto_dorn/tooldb/field_texts.h"

#include <cstdio>
#include <string_view>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/number_text.h"
#include "platform/text.h"

namespace dorn {
namespace {

const std::string kNoNumber = "  -----";
const std::string kNoFlag = "  --";

// Widths of the names in the list lines, in bytes (never splitting a
// double-byte character): the tool name shows 24, the SEC name 12 up to its
// first blank; the CSV keeps 46 of the tool name.
constexpr std::size_t kListToolNameWidth = 24;
constexpr std::size_t kListSecNameWidth = 12;
constexpr std::size_t kCsvToolNameWidth = 46;

std::string Number4(double value) {
  FormatNumber4(value);
  return std::string(g_textBuffer);
}

std::string Integer(long long value) {
  char text[24];
  std::snprintf(text, sizeof text, "%lld", value);
  return text;
}

// A length or angle: the number when above 0, else `none`.
std::string PositiveNumber(float value, const std::string& none) { return value > 0.0f ? Number4(value) : none; }

std::string PositiveInteger(long long value, const std::string& none) { return value >= 1 ? Integer(value) : none; }

std::string Prefix(std::string_view text, std::size_t width) {
  return std::string(text.substr(0, platform::Cp932PrefixLength(text, width)));
}

std::string ListSecName(const char (&field)[24]) {
  std::string name = platform::FieldText(field);
  const std::size_t blank = name.find(' ');  // 0x20 is never the second byte of a character
  if (blank != std::string::npos) name.resize(blank);
  return Prefix(name, kListSecNameWidth);
}

template <class Coolant>
std::string CoolantField(Coolant& coolant, const std::string& none) {
  if (coolant < 1 || coolant > kCoolantLast) {
    coolant = kCoolantNone;
    return none;
  }
  return CoolantText(coolant);
}

}  // namespace

const std::string& CoolantText(int coolant) {
  static const std::string kNone;
  switch (coolant) {
    case 1:
      return platform::Sjis("油");
    case 2:
      return platform::Sjis("エア");
    case 3:
      return platform::Sjis("Ｓ油");
    case 4:
      return platform::Sjis("Ｓエア");
    default:
      return kNone;
  }
}

int CoolantFromText(std::string_view text, int current) {
  using platform::Sjis;
  if (text == Sjis("油")) return 1;
  if (text == Sjis("エア")) return 2;
  if (text == Sjis("Ｓ油") || text == "S" + Sjis("油")) return 3;
  if (text == Sjis("Ｓエア") || text == "S" + Sjis("エア")) return 4;
  return current;
}

ToolFieldTexts FormatToolRecordCsv(ToolRecord& r) {
  static const std::string kZeroLength = "0.0";
  static const std::string kZero = "0";
  static const std::string kEmpty;
  ToolFieldTexts t;
  t.secName = platform::FieldText(r.secName);
  t.diameter = PositiveNumber(r.diameter, kZeroLength);
  t.cornerRadius = PositiveNumber(r.cornerRadius, kZeroLength);
  t.flatRadius = PositiveNumber(r.flatRadius, kZeroLength);
  t.tipAngle = PositiveNumber(r.tipAngle, kZeroLength);
  t.tipLength = PositiveNumber(r.tipLength, kZeroLength);
  t.fluteLength = PositiveNumber(r.fluteLength, kZeroLength);
  t.feed = PositiveNumber(r.feed, kZero);
  t.qValue = PositiveNumber(r.qValue, kZero);
  t.pValue = PositiveNumber(r.pValue, kZero);
  t.spindleSpeed = PositiveInteger(r.spindleSpeed, kZero);
  t.fixedCycle = PositiveInteger(r.fixedCycle, kZero);
  t.mCode = PositiveInteger(r.mCode, kZero);
  t.hCode = PositiveInteger(r.hCode, kZero);
  t.dCode = PositiveInteger(r.dCode, kZero);
  t.g84Twice = r.g84Twice == 1 ? "ON" : kEmpty;
  t.tNumber = r.tNumber != 0 ? Integer(r.tNumber) : kZero;
  t.coolant = CoolantField(r.coolant, kEmpty);
  return t;
}

ToolFieldTexts FormatToolFields(ToolRecord& r) {
  ToolFieldTexts t;
  t.secName = platform::FieldText(r.secName);
  t.diameter = PositiveNumber(r.diameter, kNoNumber);
  t.cornerRadius = PositiveNumber(r.cornerRadius, kNoNumber);
  t.flatRadius = PositiveNumber(r.flatRadius, kNoNumber);
  t.tipAngle = PositiveNumber(r.tipAngle, kNoNumber);
  t.tipLength = PositiveNumber(r.tipLength, kNoNumber);
  t.feed = PositiveNumber(r.feed, kNoNumber);
  t.qValue = PositiveNumber(r.qValue, kNoNumber);
  t.pValue = PositiveNumber(r.pValue, kNoNumber);
  t.fluteLength = PositiveNumber(r.fluteLength, kNoNumber);
  t.spindleSpeed = PositiveInteger(r.spindleSpeed, kNoNumber);
  t.fixedCycle = PositiveInteger(r.fixedCycle, kNoNumber);
  t.mCode = PositiveInteger(r.mCode, kNoNumber);
  t.hCode = PositiveInteger(r.hCode, kNoNumber);
  t.dCode = PositiveInteger(r.dCode, kNoNumber);
  t.g84Twice = r.g84Twice == 1 ? "  ON" : kNoFlag;
  t.tNumber = r.tNumber != 0 ? Integer(r.tNumber) : kNoFlag;
  t.coolant = CoolantField(r.coolant, kNoFlag);
  return t;
}

AtcFieldTexts FormatAtcFields(AtcRecord& r) {
  AtcFieldTexts t;
  t.toolName = Prefix(platform::FieldText(r.toolName), kListToolNameWidth);
  t.secName = ListSecName(r.secName);
  t.diameter = PositiveNumber(r.diameter, kNoNumber);
  t.cornerRadius = PositiveNumber(r.cornerRadius, kNoNumber);
  t.flatRadius = PositiveNumber(r.flatRadius, kNoNumber);
  t.tipAngle = PositiveNumber(r.tipAngle, kNoNumber);
  t.tipLength = PositiveNumber(r.tipLength, kNoNumber);
  t.feed = PositiveNumber(r.feed, kNoNumber);
  t.peckDepth = PositiveNumber(r.peckDepth, kNoNumber);
  t.pCode = PositiveNumber(r.pCode, kNoNumber);
  t.fluteLength = PositiveNumber(r.fluteLength, kNoNumber);
  t.spindleSpeed = PositiveInteger(r.spindleSpeed, kNoNumber);
  t.cannedCycle = PositiveInteger(r.cannedCycle, kNoNumber);
  t.mCode = PositiveInteger(r.mCode, kNoNumber);
  t.hCode = PositiveInteger(r.hCode, kNoNumber);
  t.dCode = PositiveInteger(r.dCode, kNoNumber);
  t.tapTwice = r.tapTwice == 1 ? "  ON" : kNoFlag;
  t.outputTNumber = r.outputTNumber != 0 ? Integer(r.outputTNumber) : kNoFlag;
  t.coolant = CoolantField(r.coolant, kNoFlag);
  return t;
}

AtcFieldTexts FormatAtcFieldsCsv(AtcRecord& r) {
  static const std::string kZeroLength = "0.0";
  static const std::string kZero = "0";
  static const std::string kEmpty;
  AtcFieldTexts t;
  t.toolName = Prefix(platform::FieldText(r.toolName), kCsvToolNameWidth);
  // The whole SEC name: a re-imported row must still match its tool record.
  t.secName = platform::FieldText(r.secName);
  t.diameter = PositiveNumber(r.diameter, kZeroLength);
  t.cornerRadius = PositiveNumber(r.cornerRadius, kZeroLength);
  t.flatRadius = PositiveNumber(r.flatRadius, kZeroLength);
  t.tipAngle = PositiveNumber(r.tipAngle, kZeroLength);
  t.tipLength = PositiveNumber(r.tipLength, kZeroLength);
  t.feed = PositiveNumber(r.feed, kZero);
  t.peckDepth = PositiveNumber(r.peckDepth, kZeroLength);
  t.pCode = PositiveNumber(r.pCode, kZero);
  t.fluteLength = PositiveNumber(r.fluteLength, kZeroLength);
  t.spindleSpeed = PositiveInteger(r.spindleSpeed, kZero);
  t.cannedCycle = PositiveInteger(r.cannedCycle, kZero);
  t.mCode = PositiveInteger(r.mCode, kZero);
  t.hCode = PositiveInteger(r.hCode, kZero);
  t.dCode = PositiveInteger(r.dCode, kZero);
  t.tapTwice = r.tapTwice == 1 ? "ON" : kEmpty;
  t.outputTNumber = r.outputTNumber != 0 ? Integer(r.outputTNumber) : kZero;
  t.coolant = CoolantField(r.coolant, kEmpty);
  return t;
}

}  // namespace dorn
