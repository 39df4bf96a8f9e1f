// The defaults dialog: built-in values, the corrections it shows, and the
// file written however it closes.
#include <gtest/gtest.h>

#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/machining/definition_defaults.h"
#include "kelto_dorn/machining/dialogs/defaults_dialog.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/headless/dialog_driver.h"
#include "tests/kelto_dorn/machining/dialogs/definition_fixture.h"

namespace dorn::test {
namespace {

using platform::headless::DialogDriver;
namespace c = defaults_ctl;

class DefaultsDialogTest : public DefinitionFlowTest {};

TEST_F(DefaultsDialogTest, ShowsTheBuiltInValuesAndWritesTheFileOnEsc) {
  backend().WhenDialogOpens(kDefineDefaultsDialogId, [](DialogDriver& d) {
    const std::pair<int, const char*> shown[] = {
        {c::kOriginZ, " 100.0"}, {c::kHoleR, " 5.0"},  {c::kThrough, " 3.0"}, {c::kFeedCode, " 180.0"},
        {c::kWireStock, " 0.3"}, {c::kRest, " 1.0"},   {c::kArcFeed, " 100"}, {c::kReturnFeed, " 100"}};
    for (const auto& [id, text] : shown) EXPECT_EQ(d.dialog().GetText(id), text) << id;
    d.Type(c::kArcFeed, "0");
    d.PressEnter();  // committed, shown and stored as 100
    EXPECT_EQ(d.dialog().GetText(c::kArcFeed), " 100");
    EXPECT_FALSE(d.dialog().HasEnded());
    d.Click(c::kG01Return);
    d.Type(c::kMoveZ, "50");  // typed last: kept by the close
    d.PressEscape();
  });
  CDefineDefaultsDlg dialog;
  EXPECT_EQ(RunModalDialog(dialog), 1);
  EXPECT_EQ(g_machiningDefaults.arcFeedPercent, 100);
  EXPECT_EQ(g_machiningDefaults.deepHoleReturn, 1);
  EXPECT_EQ(g_machiningDefaults.moveZ, 50.0);
  g_machiningDefaults = handover::MachiningDefaults{};
  ASSERT_TRUE(ReadMachiningDefaults().ok());
  EXPECT_EQ(g_machiningDefaults.moveZ, 50.0);
  EXPECT_EQ(g_machiningDefaults.deepHoleReturn, 1);
}

}  // namespace
}  // namespace dorn::test
