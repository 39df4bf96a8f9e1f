#include "kelto_dorn/camdata/camdata_state.h"

#include "kelto_dorn/camdata/cam_builder.h"
#include "kelto_dorn/camdata/cam_services.h"
#include "kelto_dorn/camdata/order_items.h"
#include "kelto_dorn/camdata/post_table.h"

namespace dorn {

int g_ncOutputRequest = 0;

void ResetCamDataState() {
  ResetOrderItems();
  TruncateMachiningOrder(0);
  ResetPostTableState();
  g_atcRenumbering = AtcRenumbering{};
  g_ncOutputRequest = 0;
}

bool CanBuild(const CamServices& services) {
  return services.definitions != nullptr && services.atc != nullptr && services.surfaces != nullptr &&
         services.finishPass != nullptr;
}

}  // namespace dorn
