#include "kelto_qup/shell/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace qup::shell {

namespace {

// Reads a decimal number at pos; false when none starts there.
bool ReadNumber(const std::string& text, std::size_t& pos, double& value) {
  const char* begin = text.c_str() + pos;
  char* end = nullptr;
  value = std::strtod(begin, &end);
  if (end == begin) return false;
  pos += static_cast<std::size_t>(end - begin);
  return true;
}

}  // namespace

std::optional<double> EvaluateExpression(std::string_view input) {
  const std::string text(input);
  std::size_t pos = 0;
  double result = 0.0;
  if (!ReadNumber(text, pos, result)) return std::nullopt;
  while (pos < text.size()) {
    const char c = text[pos];
    if (c == ' ' || c == ',') break;
    ++pos;
    double value = 0.0;
    if (!ReadNumber(text, pos, value)) return std::nullopt;
    switch (c) {
      case '*':
        result *= value;
        break;
      case '/':
        result /= value;
        break;
      case '+':
        result += value;
        break;
      case '-':
        result -= value;
        break;
      case 'R':
      case 'A':
        break;  // a radius or angle word: read, not counted
      default:
        return std::nullopt;
    }
  }
  if (!std::isfinite(result)) return std::nullopt;
  return result;
}

std::string FormatFixed3(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%4.3f", value);
  std::string text = buffer;
  const std::size_t point = text.find('.');
  if (point == std::string::npos) return text;
  while (text.size() > point + 2 && text.back() == '0') text.pop_back();
  return text;
}

}  // namespace qup::shell
