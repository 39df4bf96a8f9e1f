// What the prompts share with the commands: see prompt_state.h.
#include "kelto_dorn/dialogs/prompt_state.h"

namespace dorn {

std::string g_inputTitle;
std::string g_valueLabel;
std::string g_valueDefault = "0";
std::string g_pointLabelX;
std::string g_pointLabelY;
std::string g_pointDefaultX = "0";
std::string g_pointDefaultY = "0";
double ValueInputValue = 0.0;
Vec2 PointInputValue;
int g_repeatCount = 1;
int g_promptResult = 0;
int g_pointMode = 0;

void ResetPromptState() {
  g_inputTitle.clear();
  g_valueLabel.clear();
  g_valueDefault = "0";
  g_pointLabelX.clear();
  g_pointLabelY.clear();
  g_pointDefaultX = "0";
  g_pointDefaultY = "0";
  ValueInputValue = 0.0;
  PointInputValue = Vec2{};
  g_repeatCount = 1;
  g_promptResult = 0;
  g_pointMode = 0;
}

}  // namespace dorn
