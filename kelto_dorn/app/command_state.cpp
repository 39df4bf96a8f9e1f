// The command state words: see command_state.h.
#include "kelto_dorn/app/command_state.h"

#include "kelto_dorn/app/app_state.h"

namespace dorn {

int g_curCommand = 0;
int g_commandStep = 0;
int g_pickState = 0;
int g_snapMode = 0;
Vec2 g_pickPoint;
int g_pickIndex = 0;
int g_pickResult = 0;
int g_returnPickState = 0;
int g_pickExcludeIndex = -1;
int g_pickTestIndex = -1;
std::int32_t& g_autoIntersection = g_drawingHeader.autoIntersection;
int g_abortCount = 0;
int g_workCount = 0;
std::int32_t& g_continuousMode = g_drawingHeader.continuousMode;
int g_copyMode = 0;
int g_returnCommand = 0;
int g_lineType = 0;
char g_pathBuf[kPathBufSize] = {};

void ResetCommandState() {
  g_curCommand = 0;
  g_commandStep = 0;
  g_pickState = 0;
  g_snapMode = 0;
  g_pickPoint = Vec2{};
  g_pickIndex = 0;
  g_pickResult = 0;
  g_returnPickState = 0;
  g_pickExcludeIndex = -1;
  g_pickTestIndex = -1;
  g_abortCount = 0;
  g_workCount = 0;
  g_copyMode = 0;
  g_returnCommand = 0;
  g_lineType = 0;
  g_pathBuf[0] = '\0';
}

}  // namespace dorn
