#pragma once
// Number text: the parser of every numeric field (ParseNumber), the number
// formatters that write into the shared text buffer, rounding to thousandths,
// and a few small string helpers.
//
// The formatters write into g_textBuffer (app_state.h); callers copy the
// result out before the next formatting call.
#include <cstddef>

namespace dorn {

// The longest input ParseNumber reads: its work buffer is 256 bytes with a
// terminator, so text beyond 255 bytes is ignored.
inline constexpr std::size_t kParseNumberMaxInput = 255;

// Reads a number or a left-to-right expression: numbers, + - * / without
// precedence (2+3*4 is 20), PI, SQRT(...), and the pair separators R and F
// (10R20, 10F20), which leave the pair in g_valuePairA/B and count it in
// g_valuePairCount. Never fails: text that is no number gives 0; a minus sign
// after the first character is an operator, so 1e-5 reads as 1 - 5.
double ParseNumber(const char* text);

// Writes value with four decimals into g_textBuffer, trailing zeros removed
// (12 -> "12.0", or "12" while g_dropBarePoint is 1; 0.25 -> "0.25").
void FormatNumber4(double value);

// As FormatNumber4 with the decimals chosen by type: 0 and 4 -> 4, 1 -> 1,
// 2 -> 2, 3 -> 3, 5 -> 5; any other type leaves the buffer empty.
void FormatNumber(int type, double value);

// Removes the trailing zeros of a formatted number in place, keeping one zero
// after the point (or dropping the point while g_dropBarePoint is 1).
void StripTrailingZeros(char* buffer);

// Clears all of g_textBuffer.
void ClearTextBuffer();

// Rounds to 0.001 by the fourth decimal digit (half away from zero); digits
// beyond the fourth are ignored. Values beyond the int range, and values that
// are not finite, give 0.
double Round3(double x);

// The number of leading blanks of g_textBuffer (at most its size).
int SkipBlanks();

// Every blank of the NUL-terminated text becomes '_', in place.
void BlanksToUnderscores(char* text);

}  // namespace dorn
