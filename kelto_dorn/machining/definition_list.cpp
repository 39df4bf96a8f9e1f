#include "kelto_dorn/machining/definition_list.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/definition_slots.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {

namespace {

constexpr std::size_t kQuestionLimit = 300;
constexpr int kFullTable = 512;

DefinitionIndexRecord& Index(int i) { return g_machiningIndexTable.records[static_cast<std::size_t>(i)]; }

void ClearIndexRecord(DefinitionIndexRecord& r) {
  r.recordKind = 0;
  r.key = r.slot = r.kindCode = 0;
  std::memset(r.name, 0, sizeof r.name);
}

// Rewrites slots and index records in the order given by `order` (old
// positions), slot = position.
void Reorder(DefinitionSlots& slots, const std::vector<int>& order) {
  const int n = static_cast<int>(order.size());
  auto definitions = std::make_unique<MachiningDefinition[]>(static_cast<std::size_t>(n));
  std::vector<DefinitionIndexRecord> records(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    definitions[i] = slots.Slot(Index(order[i]).slot);
    records[static_cast<std::size_t>(i)] = Index(order[i]);
  }
  for (int i = 0; i < n; ++i) {
    slots.Slot(i) = definitions[i];
    Index(i) = records[static_cast<std::size_t>(i)];
    Index(i).slot = i;
  }
  MachiningOrderValid = 0;
}

}  // namespace

void DeleteMachiningDefinition(DefinitionSlots& slots, DocAtcTable& atc, int index) {
  if (index == kDeleteAll) {
    ClearMachiningTable(slots, atc);
    return;
  }
  const int count = g_machiningCount;
  if (index < 0 || index >= count) return;
  const int slot = std::clamp(Index(index).slot, 0, count - 1);
  for (int s = slot + 1; s < count; ++s) slots.Slot(s - 1) = slots.Slot(s);
  const MachiningDefinition working = g_curMachiningDef;
  ResetMachiningRecord(atc);
  slots.Slot(count - 1) = g_curMachiningDef;
  g_curMachiningDef = working;
  for (int i = index + 1; i < count; ++i) {
    DefinitionIndexRecord& to = Index(i - 1);
    const DefinitionIndexRecord& from = Index(i);
    to.key = from.key;
    to.kindCode = from.kindCode;
    std::memcpy(to.name, from.name, sizeof to.name);
  }
  g_machiningCount = std::max(count - 1, 0);
  ClearIndexRecord(Index(g_machiningCount));
  for (int i = 0; i < g_machiningCount; ++i) Index(i).slot = i;
  g_curDefinitionSlot = g_machiningCount;
}

bool DeleteMachiningDefinitions(DefinitionSlots& slots, DocAtcTable& atc, std::vector<int> list) {
  std::string text = platform::Sjis(" 加工定義を削除しますか ??\n");
  const bool all = !list.empty() && list[0] == kSelectionAll;
  if (all) {
    text += platform::Sjis("[ 全加工定義 ] ");
  } else {
    for (const int i : list) {
      if (i == kSelectionEnd) break;
      if (i < 0 || i >= g_machiningCount || text.size() > kQuestionLimit) continue;
      text += " [" + platform::FieldText(Index(i).name, sizeof Index(i).name) + "] ";
    }
  }
  const unsigned kYesNoQuestion = 0x24;
  if (platform::ShowMessageBox(text, "", kYesNoQuestion) != platform::kIdYes) return false;
  if (all) {
    DeleteMachiningDefinition(slots, atc, kDeleteAll);
    g_curDefinitionSlot = g_machiningCount;
  } else {
    for (std::size_t k = 0; k < list.size() && list[k] != kSelectionEnd; ++k) {
      const int deleted = list[k];
      DeleteMachiningDefinition(slots, atc, deleted);
      for (std::size_t later = k + 1; later < list.size() && list[later] != kSelectionEnd; ++later) {
        if (list[later] > deleted) --list[later];
      }
    }
  }
  MachiningOrderValid = 0;
  return true;
}

bool MoveDefinitionRows(DefinitionSlots& slots, std::span<const int> chosen, int position) {
  const int n = g_machiningCount;
  if (chosen.empty() || n >= kFullTable) return false;
  std::vector<bool> isChosen(static_cast<std::size_t>(n), false);
  for (const int c : chosen) {
    if (c >= 0 && c < n) isChosen[static_cast<std::size_t>(c)] = true;
  }
  std::vector<int> order;
  order.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < std::min(position, n); ++i) {
    if (!isChosen[static_cast<std::size_t>(i)]) order.push_back(i);
  }
  std::vector<bool> placed(static_cast<std::size_t>(n), false);
  for (const int c : chosen) {
    if (c < 0 || c >= n || placed[static_cast<std::size_t>(c)]) continue;
    placed[static_cast<std::size_t>(c)] = true;
    order.push_back(c);
  }
  for (int i = std::max(position, 0); i < n; ++i) {
    if (!isChosen[static_cast<std::size_t>(i)]) order.push_back(i);
  }
  Reorder(slots, order);
  return true;
}

bool SortDefinitionsByName(DefinitionSlots& slots) {
  const int n = g_machiningCount;
  if (n >= kFullTable) return false;
  std::vector<int> order(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) order[static_cast<std::size_t>(i)] = i;
  std::stable_sort(order.begin(), order.end(), [](int a, int b) {
    const DefinitionIndexRecord& ra = Index(a);
    const DefinitionIndexRecord& rb = Index(b);
    return std::strncmp(ra.name, rb.name, sizeof ra.name) < 0;
  });
  Reorder(slots, order);
  return true;
}

}  // namespace dorn
