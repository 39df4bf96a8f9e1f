// The 加工名 button of the definition dialogs: the capsule name list's choice
// prefixes the current slot's name, and the name field shows the slot's name
// whatever the list answered.
#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/machining/dialogs/condition_openers.h"
#include "kelto_dorn/machining/dialogs/definition_dialog_parts.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/text.h"
#include "tests/kelto_dorn/machining/dialogs/definition_fixture.h"

namespace dorn::test {
namespace {

TEST_F(DefinitionFlowTest, NameButtonShowsTheSlotsNameAfterTheNameList) {
  constexpr int kNameField = 1001;
  struct Case {
    bool opener;
    int answer;
    const char* shown;
  };
  const Case cases[] = {{false, 1, "HOLE_7"}, {true, 2, "HOLE_7"}, {true, 1, "TAP_7"}};
  const std::function<int()> installed = g_conditionOpeners.capsuleNames;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    g_curDefinitionSlot = 3;
    platform::SetFieldText(g_machiningIndexTable.records[3].name, "HOLE_7");
    platform::SetFieldText(g_textBuffer, "TAP");
    g_conditionOpeners.capsuleNames = {};
    if (c.opener) g_conditionOpeners.capsuleNames = [answer = c.answer] { return answer; };
    platform::Dialog dialog(299, "", {{platform::ControlKind::Edit, kNameField}});
    ChooseNameFromCapsuleList(dialog, kNameField);
    EXPECT_EQ(dialog.GetText(kNameField), c.shown);
    EXPECT_EQ(platform::FieldText(g_machiningIndexTable.records[3].name), c.shown);
  }
  g_conditionOpeners.capsuleNames = installed;
}

}  // namespace
}  // namespace dorn::test
