// The headless run host's list deletion (the rest is inline).
#include "kelto_qup/engine/recording_host.h"

#include <utility>

namespace qup {

void RecordingHost::DeleteListLine(int index) {
  if (index >= 0 && index < static_cast<int>(listLines.size())) {
    listLines.erase(std::as_const(listLines).begin() + index);
  }
}

}  // namespace qup
