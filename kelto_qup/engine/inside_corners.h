#pragma once
// The inside corner of a closed contour's offset path at the joint of its
// last and first elements (kelto_qup/engine/inside_corners.cpp).
#include <array>

#include "kelto_qup/engine/element_table.h"

namespace qup {

// The lead through the TO point (toX, toY) meets the contour's first
// element (end 0) or leaves its last (end 1) square to it; the range
// first..last (table order, walked backwards when `reversed`) is cut with
// `offset`, to the left of the contour as drawn. When the joint there is an
// inside corner and the TO point's foot lies beyond the corner of the
// offset path, the TO point is moved onto that corner.
void KeepLeadOffInsideCorner(const ElementTable& elements, int first, int last, int end, bool reversed, double offset,
                             double& toX, double& toY);

// Whether (x, y) is the inside corner of the offset path where the contour
// is entered.
bool OnInsideCornerAtStart(const ElementTable& elements, int first, int last, bool reversed, double offset, double x,
                           double y);

}  // namespace qup
