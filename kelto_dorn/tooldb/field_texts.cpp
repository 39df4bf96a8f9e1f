#include "kelto_dorn/tooldb/field_texts.h"

#include <cstdint>
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

// What the fields show when they hold nothing, and what an on flag shows:
// the list lines show dashes, the CSV lines a zero or nothing.
struct EmptyFieldForms {
  std::string noLength;   // lengths and angles
  std::string noCount;    // feeds, speeds, codes and cycle numbers
  std::string noTNumber;  // the output T number
  std::string noFlag;     // an off flag, a coolant outside 1..4
  std::string flagOn;
};

const EmptyFieldForms kListForms{kNoNumber, kNoNumber, kNoFlag, kNoFlag, "  ON"};
const EmptyFieldForms kCsvForms{"0.0", "0", "0", "", "ON"};

std::string FlagText(std::int32_t flag, const EmptyFieldForms& f) { return flag == 1 ? f.flagOn : f.noFlag; }

std::string TNumberText(std::int32_t tNumber, const EmptyFieldForms& f) {
  return tNumber != 0 ? Integer(tNumber) : f.noTNumber;
}

// The fields a tool record and an ATC record hold under the same names.
template <class Record, class Texts>
void FormatSharedFields(Record& r, const EmptyFieldForms& f, Texts& t) {
  t.diameter = PositiveNumber(r.diameter, f.noLength);
  t.cornerRadius = PositiveNumber(r.cornerRadius, f.noLength);
  t.flatRadius = PositiveNumber(r.flatRadius, f.noLength);
  t.tipAngle = PositiveNumber(r.tipAngle, f.noLength);
  t.tipLength = PositiveNumber(r.tipLength, f.noLength);
  t.fluteLength = PositiveNumber(r.fluteLength, f.noLength);
  t.feed = PositiveNumber(r.feed, f.noCount);
  t.spindleSpeed = PositiveInteger(r.spindleSpeed, f.noCount);
  t.mCode = PositiveInteger(r.mCode, f.noCount);
  t.hCode = PositiveInteger(r.hCode, f.noCount);
  t.dCode = PositiveInteger(r.dCode, f.noCount);
  t.coolant = CoolantField(r.coolant, f.noFlag);
}

ToolFieldTexts FormatToolTexts(ToolRecord& r, const EmptyFieldForms& f) {
  ToolFieldTexts t;
  FormatSharedFields(r, f, t);
  t.secName = platform::FieldText(r.secName);
  t.qValue = PositiveNumber(r.qValue, f.noCount);
  t.pValue = PositiveNumber(r.pValue, f.noCount);
  t.fixedCycle = PositiveInteger(r.fixedCycle, f.noCount);
  t.g84Twice = FlagText(r.g84Twice, f);
  t.tNumber = TNumberText(r.tNumber, f);
  return t;
}

// All but the two names, whose widths differ between list and CSV.
AtcFieldTexts FormatAtcTexts(AtcRecord& r, const EmptyFieldForms& f) {
  AtcFieldTexts t;
  FormatSharedFields(r, f, t);
  t.peckDepth = PositiveNumber(r.peckDepth, f.noLength);
  t.pCode = PositiveNumber(r.pCode, f.noCount);
  t.cannedCycle = PositiveInteger(r.cannedCycle, f.noCount);
  t.tapTwice = FlagText(r.tapTwice, f);
  t.outputTNumber = TNumberText(r.outputTNumber, f);
  return t;
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

ToolFieldTexts FormatToolRecordCsv(ToolRecord& r) { return FormatToolTexts(r, kCsvForms); }

ToolFieldTexts FormatToolFields(ToolRecord& r) { return FormatToolTexts(r, kListForms); }

AtcFieldTexts FormatAtcFields(AtcRecord& r) {
  AtcFieldTexts t = FormatAtcTexts(r, kListForms);
  t.toolName = Prefix(platform::FieldText(r.toolName), kListToolNameWidth);
  t.secName = ListSecName(r.secName);
  return t;
}

AtcFieldTexts FormatAtcFieldsCsv(AtcRecord& r) {
  AtcFieldTexts t = FormatAtcTexts(r, kCsvForms);
  t.toolName = Prefix(platform::FieldText(r.toolName), kCsvToolNameWidth);
  // The whole SEC name: a re-imported row must still match its tool record.
  t.secName = platform::FieldText(r.secName);
  return t;
}

std::string ColumnHeading(std::initializer_list<ColumnTitle> titles) {
  std::string heading;
  for (const ColumnTitle& t : titles) {
    const std::string& text = platform::Sjis(t.utf8);
    const std::size_t start = t.end > text.size() ? t.end - text.size() : 0;
    if (start > heading.size()) {
      heading.append(start - heading.size(), ' ');
    } else if (!heading.empty()) {
      heading += ' ';
    }
    heading += text;
  }
  return heading;
}

}  // namespace dorn
