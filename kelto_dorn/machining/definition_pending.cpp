#include "kelto_dorn/machining/definition_pending.h"

namespace dorn {

std::array<int, 1024> SelectSurfaces() {
  std::array<int, 1024> chosen;
  chosen.fill(0xFFFF);
  return chosen;
}

void PromptZValue(int) {}

bool PickScrewBaseSurface() { return false; }
bool PickScrewPocketSurface() { return false; }

}  // namespace dorn
