#pragma once
// The machining order: one OrderItem per process step of the drawing's
// machining definitions (OrderItemTable, kept with the drawing), and the
// order in which the CAM data builder walks them (MachiningOrderList).
//
// OrderItem, 104 bytes, stored whole after the texts of the ".KWD" file:
//
// | off | type     | field         | meaning                                     |
// |-----|----------|---------------|---------------------------------------------|
// |   0 | int32    | number        | 1-based running number; 0xFFFF ends the table|
// |   4 | int32    | id            | definition key + step index: the value kept |
// |     |          |               | in MachiningOrderList                       |
// |   8 | int32    | slot          | definition slot in the document             |
// |  12 | int32    | key           | key of the definition's index record        |
// |  16 | int32    | step          | step index in the definition (0 for wire)   |
// |  20 | int16    | mark          | star mark, 1 set                            |
// |  22 | int16    | m00           | M00 stop before the step, 1 set             |
// |  24 | int32    | orderPosition | 1-based place in the order list, 0 none     |
// |  28 | int32    | outputTool    | T number written for the step: the tool's   |
// |     |          |               | output T number, or its ATC number when 0   |
// |  32 | int32    | atcNumber     | ATC number of the step tool                 |
// |  36 | float    | diameter      | step tool diameter, mm                      |
// |  40 | char[64] | name          | definition name, CP932                      |
//
// Written by the machining order dialog and the builder (when the table is
// missing); read by the builder, the list lines and the drawing files.
//
// MachiningOrderList: up to 1023 item ids ending at the first 0. Its count
// word is the system record's word at +348: bit 0x800000 the list is in
// force; the low 20 bits, when non-zero, a definition key to run alone.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

namespace dorn {

class DefinitionSlots;
class DocAtcTable;

struct OrderItem {
  std::int32_t number = 0;
  std::int32_t id = 0;
  std::int32_t slot = 0;
  std::int32_t key = 0;
  std::int32_t step = 0;
  std::int16_t mark = 0;
  std::int16_t m00 = 0;
  std::int32_t orderPosition = 0;
  std::int32_t outputTool = 0;
  std::int32_t atcNumber = 0;
  float diameter = 0.0f;
  char name[64] = {};
};
static_assert(std::is_standard_layout_v<OrderItem> && std::is_trivially_copyable_v<OrderItem>);
static_assert(sizeof(OrderItem) == 104);
static_assert(offsetof(OrderItem, id) == 4);
static_assert(offsetof(OrderItem, slot) == 8);
static_assert(offsetof(OrderItem, key) == 12);
static_assert(offsetof(OrderItem, step) == 16);
static_assert(offsetof(OrderItem, mark) == 20);
static_assert(offsetof(OrderItem, m00) == 22);
static_assert(offsetof(OrderItem, orderPosition) == 24);
static_assert(offsetof(OrderItem, outputTool) == 28);
static_assert(offsetof(OrderItem, atcNumber) == 32);
static_assert(offsetof(OrderItem, diameter) == 36);
static_assert(offsetof(OrderItem, name) == 40);

inline constexpr int kOrderItemCount = 1024;
// The most items a table holds: the last record is kept for the end mark.
inline constexpr int kMaxOrderItems = kOrderItemCount - 1;
inline constexpr std::int32_t kOrderItemEnd = 0xFFFF;
using OrderItemTable = std::array<OrderItem, kOrderItemCount>;

// The list in force (bit of the count word) and the single key (low bits).
inline constexpr std::int32_t kOrderListInForce = 0x800000;
inline constexpr std::int32_t kOrderSingleKeyMask = 0xFFFFF;
inline constexpr int kMaxOrderIds = kOrderItemCount - 1;
using MachiningOrderList = std::array<std::int32_t, kOrderItemCount>;

extern OrderItemTable g_orderItems;
extern MachiningOrderList g_machiningOrderList;
// The count word: g_drawingHeader.machiningOrderCount under its order name.
extern std::int32_t& g_machiningOrderCount;

// Every item an end mark (the table is empty).
void ResetOrderItems();
// The items before the end mark.
int OrderItemCount();
// The ids before the first 0.
int OrderListLength();
// Clears the order list from entry `first` to its end, and its count word.
void TruncateMachiningOrder(int first);

// What BuildOrderItems left out.
struct OrderBuildResult {
  int items = 0;
  int leftOut = 0;          // steps beyond the table's 1023 items
  std::string leftOutName;  // the definition of the first step left out (CP932)
};

// Fills the table from the document's definitions, in the order of their
// index records: a wire definition gives one item (step 0, marks and tools
// 0); any other one item per step while the step's tool is in use. Items are
// numbered from 1. Each definition is loaded into g_curMachiningDef on the
// way, which afterwards holds the last one loaded. At most 1023 items are
// made; what did not fit is counted in the result.
OrderBuildResult BuildOrderItems(const DefinitionSlots& slots, DocAtcTable& atc);

// True when the table describes the stored definitions as BuildOrderItems
// would: every item names a definition in use by slot and key, a step whose
// tool is in use, and every such step has its item. A drawing loaded with
// such a table keeps its order and marks.
bool OrderItemsMatchDefinitions(const DefinitionSlots& slots);

// Rebuilds MachiningOrderList from the items' order positions (the item at
// position p goes to entry p - 1); positions outside the list or given twice
// are dropped. Returns the number of leading non-zero entries.
int RebuildOrderListFromPositions();

}  // namespace dorn
