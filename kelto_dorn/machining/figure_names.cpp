#include "kelto_dorn/machining/figure_names.h"

#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/record_resets.h"

namespace dorn {

namespace {
constexpr int kNotFound = 0xFFFF;

template <std::size_t N>
std::string NameOf(const char (&name)[N]) {
  return std::string(name, strnlen(name, N));
}
}  // namespace

std::optional<std::string> CurveNameOfKey(std::int32_t key) {
  if (key <= 0) return std::nullopt;
  const int index = FindCurveByKey(key);
  if (index == kNotFound) return std::nullopt;
  return NameOf(g_curveTable[static_cast<std::size_t>(index)].name);
}

std::optional<std::string> SurfaceNameOfKey(std::int32_t key) {
  if (key <= 0) return std::nullopt;
  const int index = FindSurfaceByKey(key);
  if (index == kNotFound) return std::nullopt;
  return NameOf(g_surfaceIndexTable.records[static_cast<std::size_t>(index)].name);
}

}  // namespace dorn
