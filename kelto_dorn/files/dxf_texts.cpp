// The DXF reader's texts: TEXT and MTEXT with their special-character codes.
// The codes are single-byte characters: the second byte of a two-byte
// Shift-JIS character (表 and ソ end in 0x5C, the backslash) is never taken
// for one.
#include <cmath>
#include <cstdlib>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/files/dxf_reader_core.h"
#include "platform/text.h"

namespace dorn::dxf {

namespace {

constexpr std::size_t kTextOutputLimit = 61;
constexpr float kDefaultTextHeight = 5.0f;
constexpr int kDefaultTextColour = 1;
constexpr int kTextColourForZero = 7;
constexpr int kHighestTextColour = 24;
constexpr int kTextColourAbove = 17;

const std::string& PlusMinus() { return platform::Sjis("±"); }
const std::string& Degree() { return platform::Sjis("°"); }
const std::string& Diameter() { return platform::Sjis("φ"); }

bool StartsWith(std::string_view s, std::size_t at, std::string_view what) {
  return s.size() >= at + what.size() && s.compare(at, what.size(), what) == 0;
}

// "\U+XXXX": the character in CP932 when it has a form there, else nothing.
std::string UnicodeEscape(std::string_view hex) {
  char* end = nullptr;
  const std::string digits(hex);
  const unsigned long code = std::strtoul(digits.c_str(), &end, 16);
  if (end != digits.c_str() + digits.size() || code == 0 || code > 0x10FFFF) return {};
  std::string utf8;
  if (code < 0x80) {
    utf8 += static_cast<char>(code);
  } else if (code < 0x800) {
    utf8 += static_cast<char>(0xC0 | (code >> 6));
    utf8 += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    utf8 += static_cast<char>(0xE0 | (code >> 12));
    utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    utf8 += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    return {};
  }
  const std::string cp932 = platform::Utf8ToCp932(utf8);
  return cp932.find('?') == std::string::npos || utf8 == "?" ? cp932 : std::string();
}

// The "{\...`}" groups of nine characters that stand for one sign.
bool SignGroup(std::string_view s, std::size_t i, std::string& out) {
  if (!StartsWith(s, i, "{\\") || s.size() < i + 9) return false;
  const std::string_view tail = s.substr(i + 7, 2);
  if (tail == "`}") out += PlusMinus();
  else if (tail == "~}") out += Degree();
  else if (tail == "n}") out += Diameter();
  else if (tail == "rm") out += "r";
  else return false;
  return true;
}

}  // namespace

std::string Reader::TranslateText(std::string_view raw, bool mtext) const {
  std::string converted;
  if (utf8Texts_) {
    converted = platform::Utf8ToCp932(raw);
    raw = converted;
  }
  std::string out;
  std::size_t count = 0;  // output characters
  bool suppress = false;  // an MTEXT formatting code runs to ";" or "}"
  for (std::size_t i = 0; i < raw.size() && count < kTextOutputLimit;) {
    const unsigned char c = static_cast<unsigned char>(raw[i]);
    if (platform::IsCp932LeadByte(c) && i + 1 < raw.size()) {
      if (!suppress) out.append(raw.substr(i, 2)), ++count;
      i += 2;
      continue;
    }
    if (suppress) {
      suppress = c != ';' && c != '}';
      ++i;
      continue;
    }
    if (c == '%' && StartsWith(raw, i, "%%") && i + 2 < raw.size()) {
      const char k = static_cast<char>(std::tolower(static_cast<unsigned char>(raw[i + 2])));
      if (k == 'p') out += PlusMinus(), ++count;
      else if (k == 'd') out += Degree(), ++count;
      else if (k == 'c') out += Diameter(), ++count;
      i += 3;
      continue;
    }
    if (c == '\\' && StartsWith(raw, i, "\\U+") && raw.size() >= i + 7) {
      const std::string sign = UnicodeEscape(raw.substr(i + 3, 4));
      if (!sign.empty()) out += sign, ++count;
      i += 7;
      continue;
    }
    if (c == '{' && SignGroup(raw, i, out)) {
      ++count;
      i += 9;
      continue;
    }
    if (mtext && c == '\\' && i + 1 < raw.size()) {
      const char k = raw[i + 1];
      if (k == 'P' || k == 'p' || k == 'S' || k == 's') {
        i += 2;
        continue;
      }
      suppress = true;
      i += 1;
      continue;
    }
    if (mtext && c == '?') {
      out += Degree(), ++count;
      ++i;
      continue;
    }
    out += static_cast<char>(c), ++count;
    ++i;
  }
  return out;
}

void Reader::ReadText(bool mtext) {
  EntityHead head = NewHead();
  TextRecord text;
  text.size = kDefaultTextHeight;
  int colour = kDefaultTextColour;
  double angle = 0.0;
  std::string raw;
  int code = 0;
  while (NextCode(code) && code != 0) {
    if (!NextValue()) break;
    switch (code) {
      case 10: text.baseX = static_cast<float>(Real(head)); break;
      case 20: text.baseY = static_cast<float>(Real(head)); break;
      case 40: text.size = static_cast<float>(Real(head)); break;
      case 50: angle = Real(head); break;
      case 11: text.originX = static_cast<float>(Real(head)); break;  // MTEXT direction, taken below
      case 21: text.originY = static_cast<float>(Real(head)); break;
      case 62: colour = Integer(); break;
      case 1: raw = Raw(); break;
      default: CommonGroup(code, head);
    }
  }
  if (cut_ || head.bad) return;
  if (mtext && (text.originX != 0.0f || text.originY != 0.0f))
    angle = std::atan2(text.originY, text.originX) * kDegreesPerRadian;
  const std::string translated = TranslateText(raw, mtext);
  if (translated.empty() || curBlock_ == kSkippedBlock) return;
  if (colour == 0) colour = kTextColourForZero;
  if (colour > kHighestTextColour) colour = kTextColourAbove;
  text.colour = colour;
  text.angle = static_cast<float>(angle);
  text.layer = head.table;
  const Vec2 origin = CurrentLayerOrigin();
  text.originX = static_cast<float>(origin.x);
  text.originY = static_cast<float>(origin.y);
  SetTextRecordText(text, translated);
  if (curBlock_ >= 0) {
    const Vec2 base = blocks_[static_cast<std::size_t>(curBlock_)].base;
    text.baseX -= static_cast<float>(base.x);
    text.baseY -= static_cast<float>(base.y);
  }
  AddText(text);
}

}  // namespace dorn::dxf
