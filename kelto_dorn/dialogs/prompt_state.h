#pragma once
// What the value and point prompts share with the commands that ask: the
// texts a command sets before asking, the values typed, the repeat count, and
// how the last prompt ended.
//
// Declared here, defined in prompt_state.cpp; ResetPromptState() brings it
// back to the state before start-up.
#include <string>

#include "kelto_dorn/app/figure_record.h"

namespace dorn {

// --- Set by the command before each prompt (CP932) --------------------------
extern std::string g_inputTitle;    // the dialog's title: what is asked
extern std::string g_valueLabel;    // label of the value field
extern std::string g_valueDefault;  // the command's preset text of the value (it hands it over as ValueInputValue)
extern std::string g_pointLabelX;   // labels of the X and Y fields
extern std::string g_pointLabelY;
extern std::string g_pointDefaultX;  // preset texts of the X and Y fields
extern std::string g_pointDefaultY;

// --- Values typed --------------------------------------------------------------
// The value of the value prompt; its text is preset from it.
extern double ValueInputValue;
// The point of the point prompt and of the X/Y point input dialog (mm).
extern Vec2 PointInputValue;
// Copies the active command makes (the point prompt's count field); at least
// 1 after every prompt.
extern int g_repeatCount;

// --- How the last prompt ended ------------------------------------------------
extern int g_promptResult;  // the last result of PromptValue or PromptPoint
// How the point is to come: 0 typed or none, 1 mouse, 2 intersection, 3 end point.
extern int g_pointMode;

void ResetPromptState();

}  // namespace dorn
