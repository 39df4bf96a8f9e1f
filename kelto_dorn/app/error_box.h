#pragma once
// The numbered error box of Kelto_Dorn (ShowErrorCode) and the warning beep
// (SignalBeep). The texts are a data table keyed by code (error_texts.cpp);
// the box is a stop-icon OK box of the platform layer, and the beep is the
// platform's warning beep.
#include <string_view>

namespace dorn {

// Codes with a meaning of their own.
inline constexpr int kErrorDrawingTooLarge = -1;
inline constexpr int kErrorSegmentBlocks = 70;
inline constexpr int kErrorPens = 71;
inline constexpr int kErrorSurfacesFull = 480;
inline constexpr int kErrorMachiningFull = 490;

// Message-box style of the error box: stop icon, OK.
inline constexpr int kErrorBoxStyle = 16;

// Formats the text of code into g_textBuffer and shows it in the error box;
// returns the box's answer. A code without a text of its own (callers use
// -80 and 45) shows what the caller left in g_textBuffer.
int ShowErrorCode(int code);

// The text of a numbered error, UTF-8 as written in the source; empty for a
// code that shows the caller's text. Memory errors carry a %02d for the code.
std::string_view ErrorCodeText(int code);

// Sounds the warning beep unless an earlier beep failed (then returns 0 at
// once; a failure silences every later beep until the next start).
int SignalBeep();

}  // namespace dorn
