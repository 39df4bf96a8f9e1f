#pragma once
// Number text of the companion's settings dialogs.
#include <optional>
#include <string>
#include <string_view>

namespace qup::shell {

// A typed expression: numbers joined by "*", "/", "+" and "-", combined
// strictly from left to right without precedence (2+3*4 gives 20). A sign
// at the start belongs to the first number; a blank or a comma ends the
// expression; a number behind "R" or "A" is read and left out. Empty when
// the text holds no number where one belongs or the result is not finite.
std::optional<double> EvaluateExpression(std::string_view text);

// "%4.3f" with the zeros at the end removed down to one digit after the
// point: 25 gives "25.0", 0.125 gives "0.125".
std::string FormatFixed3(double value);

}  // namespace qup::shell
