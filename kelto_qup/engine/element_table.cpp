// The element table's storage and its growth with the capacity limit.
#include "kelto_qup/engine/element_table.h"

#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"

namespace qup {

bool ElementTable::Grow(int newCapacity) {
  if (newCapacity > kMaxCapacity) return false;
  if (newCapacity > Capacity()) records_.resize(static_cast<std::size_t>(newCapacity));
  return true;
}

void ElementTable::ReserveRoom(int records) {
  if (records > kMaxCapacity) records = kMaxCapacity;
  if (records > 0) records_.reserve(static_cast<std::size_t>(records));
}

void ElementTable::Clear() {
  records_.clear();
  records_.shrink_to_fit();
  ElementCount = 0;
}

void ElementTable::ThrowOutOfRange(int index) const {
  throw EngineInvariantError("element table index " + std::to_string(index) + " outside 0.." +
                             std::to_string(Capacity() - 1));
}

int RunContext::AllocElementTable(int count, int wanted) {
  // The last 120 slots are the contour routines' working room: a table that
  // already reaches into them has overflowed; otherwise growth to the limit
  // stops 8 short of it.
  constexpr int kWorkingRoom = 120;
  constexpr int kLimitedCapacity = 98552;
  bool overflow = false;
  if (wanted >= ElementTable::kMaxCapacity) {
    if (count + kWorkingRoom > ElementTable::kMaxCapacity) {
      overflow = true;
      wanted = count;
    } else {
      wanted = kLimitedCapacity;
    }
  }
  if (!overflow && !elements.Grow(wanted)) overflow = true;
  if (overflow) {
    host.ShowErrorBox(platform::Sjis("MEMORY_Over_ERROR... DORN_MAX98560 !"));
    AbortFlag = kStopRun;
    return 1;
  }
  return 0;
}

}  // namespace qup
