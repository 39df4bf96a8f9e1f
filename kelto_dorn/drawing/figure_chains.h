#pragma once
// Automatic connection of loose figures: the lines and arcs of the current
// layer that lie inside the selection region are chained end to end into
// the segment blocks, chain after chain, each figure marked with its chain
// id (its group word). The character command registers the chains of text
// strokes as one curve of character figures.
#include <cstdint>

#include "kelto_dorn/drawing/figure_operations.h"

namespace dorn {

// The first chain id is one above this; ids only grow.
inline constexpr std::int32_t kChainIdBase = 400000;

// The chain id given last (0 before the first connection).
std::int32_t LastChainId();

// Chains the lines and arcs of the current layer whose start and end are
// both inside `region` into segment blocks 0..n-1 and returns n
// (g_workCount is set to n). Lines shorter and arcs smaller than 0.001 never
// join; a figure lying on the chain's last figure in the same sense extends
// it. A stack past the segment blocks, or a chain that empties itself, ends
// the connection with error box 4 keeping what was chained; Esc (the abort
// count) ends a long one.
int AutoConnectFigures(const SelectionRegion& region);

}  // namespace dorn
