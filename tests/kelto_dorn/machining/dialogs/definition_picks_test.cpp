// Ending a definition dialog for a pick: one more figure goes after the last
// item of the curve list, a full list keeps the dialog open and its state,
// and each dialog kind forgets only its own pick state.
#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/machining/dialogs/definition_picks.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/tooldb/tool_table.h"
#include "tests/kelto_dorn/machining/dialogs/definition_fixture.h"

namespace dorn::test {
namespace {

void SetPickState() {
  g_curContourItem = 1;
  g_definitionPickCount = 5;
  g_stepButtonNumber = g_curToolIndex = g_stepDeleteMode = g_stepInsertMode = 3;
  FocusedEditIndex = 4;
}

TEST_F(DefinitionFlowTest, PickEndsWithRoomAndForgetsOnlyItsOwnState) {
  struct Case {
    int code;
    PickStateReset reset;
    int figures;
    bool ends;
    int item;  // g_curContourItem after
  };
  const Case cases[] = {
      {kPickMore, PickStateReset::HoleSteps, 3, true, 3},
      {kPickMore, PickStateReset::ContourPicks, kCurveItemCount - 1, true, kCurveItemCount - 1},
      {kPickRepick, PickStateReset::HoleSteps, kCurveItemCount, true, 1},  // a fresh pick needs no room
      {kPickMore, PickStateReset::HoleSteps, kCurveItemCount, false, 1},
      {kPickMore, PickStateReset::ContourPicks, kCurveItemCount, false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.figures);
    SetPickState();
    MachiningDefinition d{};
    for (int i = 0; i < c.figures; ++i) d.curves[i].key = 700 + i;
    platform::Dialog dialog(299, "", {});
    EXPECT_EQ(EndDefinitionForPick(dialog, d, c.code, c.reset), c.ends);
    EXPECT_EQ(dialog.HasEnded(), c.ends);
    if (c.ends) {
      EXPECT_EQ(dialog.EndCode(), c.code);
    }
    EXPECT_EQ(g_curContourItem, c.item);
    const bool hole = c.ends && c.reset == PickStateReset::HoleSteps;
    const bool contour = c.ends && c.reset == PickStateReset::ContourPicks;
    EXPECT_EQ(g_definitionPickCount, contour ? 0 : 5);
    EXPECT_EQ(g_stepButtonNumber + g_curToolIndex + g_stepDeleteMode + g_stepInsertMode, hole ? 0 : 12);
    EXPECT_EQ(FocusedEditIndex, c.ends ? 0 : 4);
  }
}

}  // namespace
}  // namespace dorn::test
