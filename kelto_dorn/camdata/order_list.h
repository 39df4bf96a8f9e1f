#pragma once
// The machining order's list and its operations, apart from the dialog that
// shows them: the text of an item's list line, the M00 settings file, the
// order list kept as a mirror of the items' order positions, and the
// reordering and sorting of the items.
#include <string>
#include <vector>

#include "kelto_dorn/camdata/order_items.h"

namespace dorn {

class DefinitionSlots;

inline constexpr char kM00SettingsFileName[] = "M00SET.txt";
inline constexpr int kMaxM00Entries = 128;

// The tool numbers of "M00SET.txt" in the program folder: per line the
// number after its first "T" (or the line's own number when it has no "T");
// lines without a number are passed over; at most 128. A missing or
// unreadable file gives an empty list.
std::vector<int> ReadM00Settings();

// The list line of item `n` (CP932), from the definition in its slot.
std::string OrderItemLine(const DefinitionSlots& slots, int n);

// The order list from the items' positions (order_items.h) is the order in
// force; these keep the two in step.
void ClearOrderPositions();   // empty order, every position 0
void ToggleOrdered(int n);    // append item n, or take it out
void OrderAllInTableOrder();  // an empty order becomes every item
int OrderPositionOf(int n);   // 1-based place of item n, 0 none

// Moves the selected items (indexes, in selection order) before the item at
// `beforeIndex` of the unselected ones: the unselected items before it, the
// selected ones, then the rest; items renumbered from 1. The order is
// cleared. Nothing happens without a selection.
void MoveSelectedItems(const std::vector<int>& selected, int beforeIndex);

// One stable sort by the first five bytes of the name, then the step; items
// renumbered from 1; the order cleared.
void SortOrderItems();

}  // namespace dorn
