#include "kelto_dorn/machining/dialogs/condition_openers.h"

namespace dorn {

ConditionOpeners g_conditionOpeners;

}  // namespace dorn
