#pragma once
// The job load's two pre-passes over the element table: element-number range
// references become table-index references, and marked 3-D surface elements
// are expanded into connecting lines.
#include <cstdint>

#include "shared/handover/nc_element.h"

namespace qup {

// The doubles of an element that hold element-number range references
// (first + last x 0.000001), as a mask: bit n set for d<n>. The fields are
// those that the CAM data writers fill with a key or number pair and that
// the command handlers unpack as a range.
std::uint32_t RangeFieldMask(const handover::NcElement& element);

}  // namespace qup
