// The machining order's items and list: see order_items.h.
#include "kelto_dorn/camdata/order_items.h"

#include <algorithm>
#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/machining/definition_slots.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/text.h"

namespace dorn {

OrderItemTable g_orderItems{};
MachiningOrderList g_machiningOrderList{};
std::int32_t& g_machiningOrderCount = g_drawingHeader.machiningOrderCount;

namespace {

bool IsWireKind(std::int32_t kind) {
  return kind == static_cast<std::int32_t>(MachiningKind::FourAxisWire) ||
         kind == static_cast<std::int32_t>(MachiningKind::TwoAxisWire);
}

// The steps of a definition that get an item: step 0 alone for a wire, else
// the leading steps whose tool is in use.
int ItemSteps(const MachiningDefinition& d) {
  if (IsWireKind(d.kind)) return 1;
  int steps = 0;
  while (steps < kStepCount && d.stepTools[steps].inUse != 0) ++steps;
  return steps;
}

OrderItem MakeItem(const MachiningDefinition& d, const DefinitionIndexRecord& index, int slot, int step) {
  OrderItem item;
  item.id = index.key + step;
  item.slot = slot;
  item.key = index.key;
  item.step = step;
  if (!IsWireKind(d.kind)) {
    const AtcRecord& tool = d.stepTools[step];
    item.atcNumber = tool.atcNumber;
    item.outputTool = tool.outputTNumber != 0 ? tool.outputTNumber : tool.atcNumber;
    item.diameter = tool.diameter;
  }
  std::memcpy(item.name, index.name, sizeof item.name);
  platform::TerminateField(item.name);
  return item;
}

}  // namespace

void ResetOrderItems() {
  for (OrderItem& item : g_orderItems) {
    item = OrderItem{};
    item.number = kOrderItemEnd;
  }
}

int OrderItemCount() {
  int n = 0;
  while (n < kOrderItemCount && g_orderItems[static_cast<std::size_t>(n)].number != kOrderItemEnd) ++n;
  return n;
}

int OrderListLength() {
  int n = 0;
  while (n < kOrderItemCount && g_machiningOrderList[static_cast<std::size_t>(n)] != 0) ++n;
  return n;
}

void TruncateMachiningOrder(int first) {
  first = std::clamp(first, 0, kOrderItemCount);
  std::fill(g_machiningOrderList.begin() + first, g_machiningOrderList.end(), 0);
  g_machiningOrderCount = 0;
}

OrderBuildResult BuildOrderItems(const DefinitionSlots& slots, DocAtcTable& atc) {
  ResetOrderItems();
  OrderBuildResult result;
  const int count = std::clamp(g_machiningCount, 0, kMachiningSlotCount);
  for (int i = 0; i < count; ++i) {
    const DefinitionIndexRecord& index = g_machiningIndexTable.records[static_cast<std::size_t>(i)];
    if (!GetMachiningDefinition(slots, index.slot, atc)) continue;
    const int steps = ItemSteps(g_curMachiningDef);
    for (int step = 0; step < steps; ++step) {
      if (result.items >= kMaxOrderItems) {
        if (result.leftOut++ == 0) result.leftOutName = platform::FieldText(index.name);
        continue;
      }
      OrderItem item = MakeItem(g_curMachiningDef, index, index.slot, step);
      item.number = result.items + 1;
      g_orderItems[static_cast<std::size_t>(result.items++)] = item;
    }
  }
  return result;
}

bool OrderItemsMatchDefinitions(const DefinitionSlots& slots) {
  const int count = std::clamp(g_machiningCount, 0, kMachiningSlotCount);
  int expected = 0;
  for (int i = 0; i < count; ++i) {
    const int slot = g_machiningIndexTable.records[static_cast<std::size_t>(i)].slot;
    if (slot < 0 || slot >= kMachiningSlotCount) return false;
    expected += ItemSteps(slots.Slot(slot));
  }
  const int items = OrderItemCount();
  if (items == 0 || items != std::min(expected, kMaxOrderItems)) return false;
  for (int n = 0; n < items; ++n) {
    const OrderItem& item = g_orderItems[static_cast<std::size_t>(n)];
    // Index record i describes slot i.
    if (item.slot < 0 || item.slot >= count || item.step < 0 || item.step >= kStepCount) return false;
    const DefinitionIndexRecord& index = g_machiningIndexTable.records[static_cast<std::size_t>(item.slot)];
    if (index.slot != item.slot || index.key != item.key || item.id != item.key + item.step) return false;
    if (item.step >= ItemSteps(slots.Slot(item.slot))) return false;
  }
  return true;
}

int RebuildOrderListFromPositions() {
  // The item at each position; positions out of range or given twice are
  // dropped, and gaps are closed so that every ordered item is in force.
  std::array<int, kMaxOrderIds> itemAt;
  itemAt.fill(-1);
  const int items = OrderItemCount();
  for (int n = 0; n < items; ++n) {
    OrderItem& item = g_orderItems[static_cast<std::size_t>(n)];
    const int p = item.orderPosition;
    if (p < 1 || p > kMaxOrderIds || itemAt[static_cast<std::size_t>(p - 1)] >= 0) {
      item.orderPosition = 0;
      continue;
    }
    itemAt[static_cast<std::size_t>(p - 1)] = n;
  }
  std::fill(g_machiningOrderList.begin(), g_machiningOrderList.end(), 0);
  int length = 0;
  for (int n : itemAt) {
    if (n < 0) continue;
    OrderItem& item = g_orderItems[static_cast<std::size_t>(n)];
    g_machiningOrderList[static_cast<std::size_t>(length++)] = item.id;
    item.orderPosition = length;
  }
  return length;
}

}  // namespace dorn
