#pragma once
// The names the condition dialogs show for the keys a definition holds: a
// curve's name from the curve table, a surface's from the surface index.
#include <cstdint>
#include <optional>
#include <string>

namespace dorn {

// The CP932 name of the curve with that key; none when no curve has it.
std::optional<std::string> CurveNameOfKey(std::int32_t key);
// The CP932 name of the surface with that key; none when no surface has it.
std::optional<std::string> SurfaceNameOfKey(std::int32_t key);

}  // namespace dorn
