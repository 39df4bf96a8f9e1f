#include "kelto_dorn/document/pending_services.h"

#include "kelto_dorn/app/app_state.h"

namespace dorn {

}  // namespace dorn
