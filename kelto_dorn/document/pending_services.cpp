#include "kelto_dorn/document/pending_services.h"

#include "kelto_dorn/app/app_state.h"

namespace dorn {

void TruncateMachiningOrder(int /*from*/) { g_drawingHeader.machiningOrderCount = 0; }

void ReadDornPostTable() {}

void UpdateDimensionArrowShape() {}

}  // namespace dorn
