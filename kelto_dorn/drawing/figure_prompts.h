#pragma once
// The numbered prompts of the interactive commands and the user-error boxes
// of the drawing commands. A prompt is composed into the caption (CP932):
// the head "Kelto_Dorn  " (12 bytes), the text from byte 12 and, where the
// prompt has one, the mouse-button legend from byte 54. The caption becomes
// the main frame's title.
#include <string>

namespace dorn {

struct PromptText {
  int code;
  const char* text;  // UTF-8 source text, as the system shows it
  int legend;        // -1: none
};

// The table row of a code, or null.
const PromptText* FindPromptText(int code);
const char* PromptLegendText(int legend);
const char* ErrorBoxText(int code);

inline constexpr int kPromptCleared = 0;
inline constexpr std::size_t kCaptionTextAt = 12;
inline constexpr std::size_t kCaptionLegendAt = 54;

// Composes and shows prompt `code`; a code not in the table leaves the
// caption as it is. The same code twice does not touch the title again,
// except the live ones (911, 2000, 3979). A pick prompt returns a side view
// to XY. Returns the caption's length.
int ShowPrompt(int code);
// Writes legend `legend` at byte 54 of the caption (legend 0 becomes 6 while a
// dimension command runs). Returns the caption's length.
int ShowPromptLegend(int legend);
// A note of the program's own in the title (CP932), in place of a prompt,
// until the next prompt replaces it.
void ShowTitleNote(const std::string& cp932);
// The caption as composed last (CP932).
const std::string& PromptCaption();

// The stop box of a user error (codes 0-5); returns the box's answer.
int ShowErrorBox(int code);

// Fills the prompt hooks of the painters with the calls above.
void InstallPromptHooks();

}  // namespace dorn
