// Deleting, moving and sorting stored definitions: slots and index records
// move together and stay packed.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/machining/definition_list.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/text.h"
#include "tests/kelto_dorn/machining/dialogs/definition_fixture.h"

namespace dorn::test {
namespace {

class DefinitionListTest : public DefinitionFlowTest {
 protected:
  // Definitions numbered 1..n (index i has number i + 1), named by `names`.
  void Store(const std::vector<std::string>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
      MachiningDefinition& d = document().definitions.Slot(static_cast<int>(i));
      d.kind = 0xA000;
      d.number = static_cast<int>(i) + 1;
      DefinitionIndexRecord& r = g_machiningIndexTable.records[i];
      r.key = d.number;
      r.slot = static_cast<int>(i);
      r.kindCode = 0xA000;
      platform::SetFieldText(r.name, names[i]);
    }
    g_machiningCount = static_cast<int>(names.size());
  }
  void StoreNumbered(int n) {
    std::vector<std::string> names;
    for (int i = 1; i <= n; ++i) names.push_back("D" + std::to_string(i));
    Store(names);
  }
  // The numbers in slot order, checked against their index records.
  std::vector<int> Numbers() {
    std::vector<int> v;
    for (int i = 0; i < g_machiningCount; ++i) {
      const DefinitionIndexRecord& r = g_machiningIndexTable.records[static_cast<std::size_t>(i)];
      EXPECT_EQ(r.slot, i);
      EXPECT_EQ(document().definitions.Slot(i).number, r.key);
      v.push_back(r.key);
    }
    return v;
  }
};

TEST_F(DefinitionListTest, DeletingTwoListedRowsDeletesTheRowsTheyWereBefore) {
  StoreNumbered(6);
  backend().AnswerMessageBox(platform::kIdYes);
  ASSERT_TRUE(DeleteMachiningDefinitions(document().definitions, document().atc, {1, 4, kSelectionEnd}));
  EXPECT_EQ(Numbers(), (std::vector<int>{1, 3, 4, 6}));
  EXPECT_EQ(g_machiningIndexTable.records[4].key, 0);
  EXPECT_EQ(document().definitions.Slot(4).kind, 0);
  EXPECT_EQ(g_curDefinitionSlot, 4);

  StoreNumbered(1);
  DeleteMachiningDefinition(document().definitions, document().atc, 0);
  EXPECT_EQ(g_machiningCount, 0);
  EXPECT_EQ(g_machiningIndexTable.records[0].key, 0);
  EXPECT_EQ(g_machiningIndexTable.records[0].name[0], '\0');
}

TEST_F(DefinitionListTest, ChosenRowsMoveInFrontOfARowInTheOrderChosen) {
  StoreNumbered(8);
  const std::vector<int> chosen = {6, 2};  // rows 7 and 3
  ASSERT_TRUE(MoveDefinitionRows(document().definitions, chosen, 0));
  EXPECT_EQ(Numbers(), (std::vector<int>{7, 3, 1, 2, 4, 5, 6, 8}));
  EXPECT_FALSE(MoveDefinitionRows(document().definitions, std::vector<int>{}, 0));
}

TEST_F(DefinitionListTest, SortingIsByNameBytes) {
  Store({"B", "A", "a"});
  ASSERT_TRUE(SortDefinitionsByName(document().definitions));
  EXPECT_EQ(Numbers(), (std::vector<int>{2, 1, 3}));
  EXPECT_EQ(platform::FieldText(g_machiningIndexTable.records[2].name, 64), "a");
}

}  // namespace
}  // namespace dorn::test
