// The command engines' entries: see command_engines.h.
#include "kelto_dorn/app/command_engines.h"

namespace dorn {

CommandEngines g_commandEngines;

void ResetCommandEngines() { g_commandEngines = CommandEngines{}; }

}  // namespace dorn
