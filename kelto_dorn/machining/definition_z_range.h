#pragma once
// The machining range of a step (加工範囲, " %s ～ %s") that the definition
// dialogs and the machining-order lines show. A Z repeat of the step also
// sets the step's depth: the upper end of the range.
#include <functional>
#include <optional>
#include <string>

#include "kelto_dorn/machining/machining_definition.h"

namespace dorn {

struct ZRangeText {
  std::string left;   // CP932
  std::string right;  // CP932
  // " left ～ right" as the field shows it.
  std::string Whole() const;
};

// The surface's name (CP932) by key; absent when the key no longer resolves.
using SurfaceNameLookup = std::function<std::optional<std::string>(std::int32_t key)>;

// The range of step `step` of d. postOption1328 is the option int at 1328 of
// the definition's post (0 lets the tool-radius Z switch add the corner
// radius).
ZRangeText FormatDefinitionZRange(MachiningDefinition& d, int step, int postOption1328,
                                  const SurfaceNameLookup& surfaceName);

}  // namespace dorn
