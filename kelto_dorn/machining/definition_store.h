#pragma once
// Numbering and naming a new definition, storing the working definition into
// its slot, and the defaults that a stored definition leaves for the next one.
#include <cstdint>
#include <functional>
#include <optional>

#include "kelto_dorn/machining/machining_definition.h"

namespace dorn {

class DocAtcTable;
class DefinitionSlots;

// The kind and flag byte of the surface a fillet definition was picked on.
struct FilletSurface {
  std::int32_t surfaceKind = 0;  // 0x7400 names a P-fillet
  std::int32_t flagByte = 0;     // bit 0x10 names a pencil path
};

// Loads the surface with that key as the working surface (surfaces
// subsystem); nothing when no surface has the key.
using FilletSurfaceLookup = std::function<std::optional<FilletSurface>(std::int32_t key)>;

// The name pattern of a new definition of `kind` ("%d" takes its number), or
// nullptr for a kind without one. The fillet kind's pattern depends on its
// surface.
const char* DefaultNamePatternUtf8(std::int32_t kind, const FilletSurface& surface);

// The number of a new definition: 10000 for the first; else the highest key of
// the stored index records (compared unsigned) + 1000, with 200000 given as
// 300000.
std::int32_t NextDefinitionNumber();

// Gives g_curMachiningDef its number and prepares its index record (record
// g_machiningCount, when the table has room for it) with the number, the slot
// g_curDefinitionSlot, the kind and the kind's default name; sets the
// kind-dependent first values of step 1 and makes its colour the current
// curve's colour + 1, which is returned (it may be 32 after colour 31; colour
// lookups accept any value).
int AssignDefinitionNumber(const FilletSurfaceLookup& lookupFilletSurface = {});

// Copies the values of a stored definition into g_machiningDefaults, so that
// the next definition starts from them. Values that are not finite are not
// taken.
void UpdateDefaultsFromDefinition(const MachiningDefinition& definition);

// What storing needs from the subsystems around the definitions.
struct StoreServices {
  std::function<void()> registerWireSurface;  // surface index record + RegisterSurface
  std::function<void()> resetFigureAndSurface;
  std::function<void()> saveDrawing;
};

// Stores g_curMachiningDef after its dialog ended with `result` (positive =
// store) into g_curDefinitionSlot. Re-editing a stored slot (edit mode 1)
// always stores into that slot. A new definition, or one at slot
// g_machiningCount, is appended and counted; once 512 definitions exist an
// append is refused with error 490. Whatever happened, the working records are
// reset, the next index record cleared and the drawing saved. Returns true
// when the definition was stored.
bool StoreMachiningDefinition(int result, DefinitionSlots& slots, DocAtcTable& atc, const StoreServices& services = {});

}  // namespace dorn
