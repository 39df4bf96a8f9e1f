// Number text: see number_text.h.
#include "kelto_dorn/app/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "kelto_dorn/app/app_state.h"

namespace dorn {
namespace {

constexpr double kPi = 3.141592653589793;
// Leading blanks the parser skips before the first number.
constexpr int kMaxLeadingBlanks = 16;

enum class Operator { None = 0, Multiply = 1, Divide = 2, Add = 3, Subtract = 4, PairR = 5, PairF = 6 };

struct Token {
  std::size_t end = 0;  // where the token ended (the operator's position when it has one)
  Operator op = Operator::None;
  bool squareRoot = false;
  bool pi = false;
};

bool IsLetter(char c, char upper) { return c == upper || c == upper + ('a' - 'A'); }

Operator OperatorOf(char c) {
  switch (c) {
    case '*':
      return Operator::Multiply;
    case '/':
      return Operator::Divide;
    case '+':
      return Operator::Add;
    case '-':
      return Operator::Subtract;
    case 'R':
      return Operator::PairR;  // lower-case r and f are never operators
    case 'F':
      return Operator::PairF;
    default:
      return Operator::None;
  }
}

// Marks PI (also spelt PAI) starting at pos; returns true when found.
bool IsPiAt(const char* buf, std::size_t pos) {
  if (!IsLetter(buf[pos], 'P')) return false;
  if (IsLetter(buf[pos + 1], 'I')) return true;
  return IsLetter(buf[pos + 1], 'A') && IsLetter(buf[pos + 2], 'I');
}

// Overwrites S, and SQRT( , with zero digits so that the number behind them
// reads as it stands; returns the position after what was overwritten.
std::size_t OverwriteSquareRoot(char* buf, std::size_t pos, Token& token) {
  buf[pos] = '0';
  ++pos;
  if (IsLetter(buf[pos], 'Q') && IsLetter(buf[pos + 1], 'R') && IsLetter(buf[pos + 2], 'T')) {
    buf[pos] = buf[pos + 1] = buf[pos + 2] = '0';
    pos += 3;
    if (buf[pos] == '(') buf[pos++] = '0';
    token.squareRoot = true;
  }
  return pos;
}

// Reads one token from start, changing the work buffer in place: the
// character that ends the token becomes NUL.
Token ReadToken(char* buf, std::size_t start) {
  Token token;
  std::size_t pos = start;
  while (buf[pos] != '\0') {
    const char c = buf[pos];
    if (pos != start) {
      if (c == ' ' || c == ',') {
        buf[pos] = '\0';
        token.end = pos;
        return token;
      }
      if (c == ')') {
        buf[pos++] = '\0';
        continue;
      }
      const Operator op = OperatorOf(c);
      if (op != Operator::None) {
        buf[pos] = '\0';
        token.end = pos;
        token.op = op;
        return token;
      }
    }
    if (IsPiAt(buf, pos)) token.pi = true;
    if (IsLetter(c, 'S')) {
      pos = OverwriteSquareRoot(buf, pos, token);
      continue;
    }
    ++pos;
  }
  token.end = pos;
  return token;
}

double TokenValue(const char* buf, std::size_t start, const Token& token) {
  if (token.pi) return kPi;
  const double value = std::atof(buf + start);
  return token.squareRoot ? std::sqrt(value) : value;
}

}  // namespace

double ParseNumber(const char* text) {
  g_valuePairCount = 0;
  char buf[kParseNumberMaxInput + 1] = {};
  if (text != nullptr) {
    // Bounded copy: a longer text is cut, never written past the buffer.
    std::size_t n = 0;
    while (n < kParseNumberMaxInput && text[n] != '\0') {
      buf[n] = text[n];
      ++n;
    }
  }
  std::size_t pos = 0;
  while (pos < kMaxLeadingBlanks && buf[pos] == ' ') ++pos;

  Token token = ReadToken(buf, pos);
  double result = TokenValue(buf, pos, token);
  while (token.op != Operator::None) {
    const Operator op = token.op;
    const std::size_t next = token.end + 1;
    token = ReadToken(buf, next);
    const double value = TokenValue(buf, next, token);
    switch (op) {
      case Operator::Multiply:
        result *= value;
        break;
      case Operator::Divide:
        result /= value;
        break;
      case Operator::Add:
        result += value;
        break;
      case Operator::Subtract:
        result -= value;
        break;
      case Operator::PairR:
        g_valuePairB = result;
        g_valuePairA = value;
        ++g_valuePairCount;
        return result;
      case Operator::PairF:
        g_valuePairA = result;
        g_valuePairB = value;
        ++g_valuePairCount;
        return result;
      case Operator::None:
        break;
    }
  }
  return result;
}

void ClearTextBuffer() { std::memset(g_textBuffer, 0, sizeof g_textBuffer); }

void StripTrailingZeros(char* buffer) {
  // Work back from the last written character to the second one. (A fixed
  // start at the 20th character would clear digits of the integer part of
  // numbers of 15 digits and more.)
  const std::size_t length = std::strlen(buffer);
  std::size_t i = length;
  while (i > 1) {
    --i;
    const char c = buffer[i];
    if (c == '.') {
      if (g_dropBarePoint == 1) {
        buffer[i] = '\0';
      } else if (i + 1 < length) {
        // One zero stays where a digit stood; a text that ends in its point
        // has no room known behind it and is left as it is.
        buffer[i + 1] = '0';
        buffer[i + 2] = '\0';
      }
      return;
    }
    if (c > '0') return;
    buffer[i] = '\0';
  }
}

void FormatNumber(int type, double value) {
  const char* format = nullptr;
  switch (type) {
    case 0:
    case 4:
      format = "%4.4f";
      break;
    case 1:
      format = "%4.1f";
      break;
    case 2:
      format = "%4.2f";
      break;
    case 3:
      format = "%4.3f";
      break;
    case 5:
      format = "%4.5f";
      break;
    default:
      break;
  }
  ClearTextBuffer();
  if (format == nullptr) return;
  std::snprintf(g_textBuffer, sizeof g_textBuffer, format, value);
  StripTrailingZeros(g_textBuffer);
}

void FormatNumber4(double value) { FormatNumber(4, value); }

double Round3(double x) {
  double a = std::fabs(x);
  // Beyond the int range the original arithmetic has no meaning: 0.
  if (!(a <= 2147483647.0)) a = 0.0;
  const double f = std::floor(a);
  const int q = static_cast<int>(std::trunc((a - f) * 10000.0));
  const int r = q % 10;
  const double rounded = f + static_cast<double>((q / 10 + (r >= 5 ? 1 : 0)) * 10) * 0.0001;
  return x < 0.0 ? -rounded : rounded;
}

int SkipBlanks() {
  int n = 0;
  while (n < static_cast<int>(sizeof g_textBuffer) && g_textBuffer[n] == ' ') ++n;
  return n;
}

void BlanksToUnderscores(char* text) {
  for (; *text != '\0'; ++text) {
    if (*text == ' ') *text = '_';
  }
}

}  // namespace dorn
