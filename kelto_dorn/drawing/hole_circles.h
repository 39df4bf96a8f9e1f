#pragma once
// The hole circles inside the selection region, collected into segment
// blocks as hole records (kind 8) in drilling order, by the BOX hole
// settings (g_boxHoleSettings): all circles or those of the reference
// diameters, optionally of the reference colour, ordered along X or Y
// columns in one direction or back and forth.
#include <cstdint>

#include "kelto_dorn/drawing/figure_operations.h"

namespace dorn {

// The pair mark of a hole record's choice word.
inline constexpr std::int32_t kHolePairMark = 17185;
// The last block a hole record may take.
inline constexpr int kLastHoleBlock = 29999;

// A reference circle picked before the collection: radius 0 means none.
struct HoleReference {
  double radius = 0.0;
  std::int32_t colour = 0;
};

// Collects the circles of the current layer that meet the region into
// blocks from `start` on and orders them; the number of records. With both
// references set only concentric pairs of the two diameters are kept.
int CollectHoleCircles(int start, const HoleReference& first, const HoleReference& second,
                       const SelectionRegion& region);
// Orders segment blocks first..end-1 by start X (or Y), descending when
// `descending` is set; equal keys keep their order.
void SortBlocksByX(bool descending, int end, int first);
void SortBlocksByY(bool descending, int end, int first);

}  // namespace dorn
