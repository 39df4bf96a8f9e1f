#pragma once
// Definitions as the drawing and capsule files hold them: the current 16096-
// byte form, and the older 13968-byte form that is converted on loading.
#include <cstddef>
#include <cstdint>
#include <span>

#include "kelto_dorn/machining/machining_definition.h"

namespace dorn {

class DocAtcTable;

// Converts an older definition into `definition`, which the caller has just
// reset: bytes 0-5519 keep their offsets, curve-list items 0-31, the 12 steps,
// the 12 step tools, both names and the three trailing integers move to their
// current offsets; curve-list items 32-79 and the reserved integers keep what
// `definition` held. Names are terminated within their fields.
void ConvertOldMachiningDefinition(const MachiningDefinitionV1& old, MachiningDefinition& definition);

// Takes one stored definition of either form: 16096 bytes are copied, 13968
// bytes are converted into a freshly reset record (through the working record
// and the blank tool record of `atc`; the working record keeps its content).
// Text fields are terminated within their fields. Any other size is refused
// (false) and `definition` is left as it was.
bool LoadStoredDefinition(std::span<const std::uint8_t> bytes, MachiningDefinition& definition, DocAtcTable& atc);

}  // namespace dorn
