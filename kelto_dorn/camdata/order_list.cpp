// The machining order's list and its operations: see order_list.h.
#include "kelto_dorn/camdata/order_list.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/camdata/spindle_code_dialog.h"
#include "kelto_dorn/machining/definition_slots.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {

namespace {

// Lines of "M00SET.txt" are read up to this many characters.
constexpr std::size_t kM00LineLimit = 127;
// Where the parts of a list line start (0-based characters).
constexpr std::size_t kCoordinateColumn = 5;
constexpr std::size_t kNameColumn = 11;
constexpr std::size_t kStarColumn = 107;
// Names compared by the sort.
constexpr std::size_t kSortNameBytes = 5;

std::string Number4(double value) {
  FormatNumber4(value);
  return std::string(g_textBuffer, strnlen(g_textBuffer, sizeof g_textBuffer));
}

void PutAt(std::string& line, std::size_t column, const std::string& text) {
  line.resize(column, ' ');
  line += text;
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

bool IsWireKind(std::int32_t kind) { return kind == 0xC000 || kind == 0xC100; }

std::string MarkColumn(const OrderItem& item) {
  if (item.mark != 0 && item.m00 != 0) return platform::Sjis("☆M");
  if (item.m00 != 0) return "M00";
  if (item.mark != 0) return platform::Sjis("☆ ");
  return "   ";
}

int ItemCount() { return OrderItemCount(); }

}  // namespace

std::vector<int> ReadM00Settings() {
  std::vector<int> tools;
  std::ifstream in(platform::ProgramFolder() / kM00SettingsFileName, std::ios::binary);
  std::string line;
  while (tools.size() < static_cast<std::size_t>(kMaxM00Entries) && std::getline(in, line)) {
    if (line.size() > kM00LineLimit) line.resize(kM00LineLimit);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t t = line.find('T');
    const std::string number = t == std::string::npos ? line : line.substr(t + 1);
    const std::size_t first = number.find_first_not_of(" +-");
    if (first == std::string::npos || number[first] < '0' || number[first] > '9') continue;
    tools.push_back(LeadingInteger(number));
  }
  return tools;
}

std::string OrderItemLine(const DefinitionSlots& slots, int n) {
  const OrderItem& item = g_orderItems[static_cast<std::size_t>(n)];
  const int position = OrderPositionOf(n);
  std::string line = position > 0 ? Format("N%03d           ", position) : " ---          ";
  const MachiningDefinition& d = slots.Slot(item.slot);
  const int coordinate = d.generalB >= 0 && d.generalB <= 5 ? d.generalB : 0;
  PutAt(line, kCoordinateColumn, Format(" G%d  ", 54 + coordinate));
  const std::string name = platform::FieldText(item.name);
  const bool surfaceItem = d.kind >= 0xE300 || d.kind == 0xC000;
  const int found = surfaceItem ? FindSurfaceByKey(d.curves[0].key) : FindCurveByKey(d.curves[0].key);
  std::string rest;
  if (found == kNone) {
    rest = Format(" %-18s   ", name.c_str()) + platform::Sjis("図面名が見つかりません ??");
  } else {
    const std::string figure =
        surfaceItem ? platform::FieldText(g_surfaceIndexTable.records[static_cast<std::size_t>(found)].name)
                    : platform::FieldText(g_curveTable[static_cast<std::size_t>(found)].name);
    int curves = 0;
    while (curves < kCurveItemCount && d.curves[curves].key != 0) ++curves;
    const std::string count = curves > 1 ? Format("->%d", curves) + platform::Sjis("図面") : "  ";
    const int step = item.step >= 0 && item.step < kStepCount ? item.step : 0;
    const AtcRecord& tool = d.stepTools[step];
    const StepCondition& c = d.steps[step];
    const std::string toolName = platform::FieldText(tool.toolName);
    if (IsWireKind(d.kind)) {
      int steps = 0;
      while (steps < kStepCount && d.stepTools[steps].inUse != 0) ++steps;
      rest = Format("%-19s  %3d", name.c_str(), steps) + platform::Sjis("回   補正１) = ") +
             Format("%-3d", d.steps[0].compensationD) + platform::Sjis("   補正２) = ") +
             Format("%-3d  ", d.steps[1].compensationD) + Format("                   %s    ", figure.c_str());
    } else if (d.kind == 0xB400 || tool.tipAngle != 0.0f) {
      rest = Format("%-19s %02d  %s T%03d %-14s %6s", name.c_str(), step + 1, MarkColumn(item).c_str(), item.outputTool,
                    toolName.c_str(), Number4(tool.diameter).c_str()) +
             platform::Sjis("φ         ") + Format("Z%s", Number4(c.depth).c_str()) + platform::Sjis("～") +
             Format("%s             ", Number4(c.endDepth).c_str()) +
             Format("%s%s                       ", figure.c_str(), count.c_str());
    } else {
      rest = Format("%-19s %02d  %s T%03d %-14s(%6sR %6sF) ", name.c_str(), step + 1, MarkColumn(item).c_str(),
                    item.outputTool, toolName.c_str(), Number4(tool.cornerRadius).c_str(), Number4(tool.feed).c_str()) +
             Number4(c.depth) + platform::Sjis("～") + Format("%s                 ", Number4(c.endDepth).c_str()) +
             Format("%s%s                       ", figure.c_str(), count.c_str());
    }
  }
  PutAt(line, kNameColumn, rest);
  if (item.mark != 0) {
    // The star at a fixed column, moved right to a character boundary.
    const std::size_t column = std::max(kStarColumn, platform::Cp932PrefixLength(line, kStarColumn));
    PutAt(line, column, platform::Sjis("☆"));
  }
  return line;
}

// The item's own position, when the list agrees with it (the operations
// here keep the two in step).
int OrderPositionOf(int n) {
  const OrderItem& item = g_orderItems[static_cast<std::size_t>(n)];
  const int p = item.orderPosition;
  if (p < 1 || p > kMaxOrderIds || g_machiningOrderList[static_cast<std::size_t>(p - 1)] != item.id) return 0;
  return p;
}

void ClearOrderPositions() {
  const std::int32_t word = g_machiningOrderCount;
  TruncateMachiningOrder(0);
  g_machiningOrderCount = word;
  const int items = ItemCount();
  for (int n = 0; n < items; ++n) g_orderItems[static_cast<std::size_t>(n)].orderPosition = 0;
}

void ToggleOrdered(int n) {
  OrderItem& item = g_orderItems[static_cast<std::size_t>(n)];
  const int position = OrderPositionOf(n);
  const int length = OrderListLength();
  if (position > 0) {
    std::copy(g_machiningOrderList.begin() + position, g_machiningOrderList.begin() + length,
              g_machiningOrderList.begin() + position - 1);
    g_machiningOrderList[static_cast<std::size_t>(length - 1)] = 0;
    item.orderPosition = 0;
    const int items = ItemCount();
    for (int i = 0; i < items; ++i) {
      OrderItem& other = g_orderItems[static_cast<std::size_t>(i)];
      if (other.orderPosition > position) --other.orderPosition;
    }
    return;
  }
  if (length >= kMaxOrderIds) return;  // the list is full: the end mark keeps its place
  g_machiningOrderList[static_cast<std::size_t>(length)] = item.id;
  item.orderPosition = length + 1;
}

void OrderAllInTableOrder() {
  if (OrderListLength() > 0) return;
  const int items = std::min(ItemCount(), kMaxOrderIds);
  for (int n = 0; n < items; ++n) {
    g_machiningOrderList[static_cast<std::size_t>(n)] = g_orderItems[static_cast<std::size_t>(n)].id;
    g_orderItems[static_cast<std::size_t>(n)].orderPosition = n + 1;
  }
}

namespace {

void Renumber(std::vector<OrderItem>& items) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    items[i].number = static_cast<std::int32_t>(i) + 1;
    items[i].orderPosition = 0;
    g_orderItems[i] = items[i];
  }
  g_orderItems[items.size()] = OrderItem{};
  g_orderItems[items.size()].number = kOrderItemEnd;
  ClearOrderPositions();
}

}  // namespace

void MoveSelectedItems(const std::vector<int>& selected, int beforeIndex) {
  const int count = ItemCount();
  std::vector<bool> chosen(static_cast<std::size_t>(count), false);
  std::vector<int> picks;
  for (int n : selected) {
    if (n >= 0 && n < count && !chosen[static_cast<std::size_t>(n)]) {
      chosen[static_cast<std::size_t>(n)] = true;
      picks.push_back(n);
    }
  }
  if (picks.empty()) return;
  std::vector<OrderItem> result;
  result.reserve(static_cast<std::size_t>(count));
  auto addUnselected = [&](int from, int to) {
    for (int n = from; n < to; ++n) {
      if (!chosen[static_cast<std::size_t>(n)]) result.push_back(g_orderItems[static_cast<std::size_t>(n)]);
    }
  };
  const int split = std::clamp(beforeIndex, 0, count);
  addUnselected(0, split);
  for (int n : picks) result.push_back(g_orderItems[static_cast<std::size_t>(n)]);
  addUnselected(split, count);
  Renumber(result);
}

void SortOrderItems() {
  const int count = ItemCount();
  std::vector<OrderItem> items(g_orderItems.begin(), g_orderItems.begin() + count);
  std::stable_sort(items.begin(), items.end(), [](const OrderItem& a, const OrderItem& b) {
    const int c = std::strncmp(a.name, b.name, kSortNameBytes);  // bytes compared unsigned
    if (c != 0) return c < 0;
    return a.step < b.step;
  });
  Renumber(items);
}

}  // namespace dorn
