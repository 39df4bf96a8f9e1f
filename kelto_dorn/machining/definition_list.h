#pragma once
// Managing the stored definitions from the definition list: deleting one,
// several (chosen rows in g_selectionList) or all, moving chosen rows in
// front of a row, and sorting by name. Slots and index records stay packed
// with slot = position.
#include <span>
#include <vector>

namespace dorn {

class DefinitionSlots;
class DocAtcTable;

inline constexpr int kSelectionEnd = 0xFFFF;
inline constexpr int kSelectionAll = 0x9999;
inline constexpr int kDeleteAll = 0xFFFF;

// Deletes definition `index` (kDeleteAll: every definition): the later
// slots and index records move down one, the freed last slot takes a reset
// record, the count drops by one.
void DeleteMachiningDefinition(DefinitionSlots& slots, DocAtcTable& atc, int index);

// Asks " 加工定義を削除しますか ??" with the names, and on Yes deletes the
// listed definitions (in list order, later indices following each deletion)
// or all of them for kSelectionAll. True when deleted.
bool DeleteMachiningDefinitions(DefinitionSlots& slots, DocAtcTable& atc, std::vector<int> list);

// The chosen rows, in the order chosen, move in front of row `position`;
// false (nothing changed) without a choice or with 512 definitions.
bool MoveDefinitionRows(DefinitionSlots& slots, std::span<const int> chosen, int position);

// 並替: a stable sort by the name bytes; false with 512 definitions.
bool SortDefinitionsByName(DefinitionSlots& slots);

}  // namespace dorn
