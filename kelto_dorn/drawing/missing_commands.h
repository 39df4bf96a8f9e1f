#pragma once
// Ids handed on to another family whose engine is not installed: each says
// so in a box and changes nothing.
#include <functional>

namespace dorn {

// Calls `entry` with the id when it is installed; otherwise reports the id as
// missing. True in both cases (the id was handled).
bool CallOtherFamily(int id, const std::function<void(int)>& entry);

}  // namespace dorn
