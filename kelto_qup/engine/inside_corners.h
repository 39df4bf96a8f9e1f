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

// Marks the elements of the range first..last (walked forwards, `offset`
// to the left of the contour as drawn) that the offset consumes: an element
// whose offset runs backwards between its crossings with its neighbours'
// offsets (a chamfer or step shorter than the tool can follow), or a line
// whose offset has crossed over the offset of an antiparallel neighbour (a
// notch narrower than the tool). Each consumed element takes the consumed
// mark in the low 16 bits of its flags, and its neighbours are looked at
// again, now meeting each other, so that a run of short elements is
// consumed as far as the offset reaches. A closed range wraps round.
// Returns how many lines and arcs it consumed and how many it left; a
// closed contour of which the offset consumed some and left two at most
// has no room for the tool anywhere along it.
struct OffsetConsumption {
  int consumed = 0;
  int left = 0;
};
OffsetConsumption MarkOffsetConsumed(ElementTable& elements, int first, int last, double offset, bool closed);

}  // namespace qup
