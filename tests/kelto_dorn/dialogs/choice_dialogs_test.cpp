// The small choice and input dialogs: which code each button gives, that
// closing chooses nothing, and the X/Y and slope inputs.
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/dialogs/choice_dialogs.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "platform/text.h"
#include "tests/kelto_dorn/dialogs/dialogs_fixture.h"

namespace dorn::test {
namespace {

using platform::Sjis;
using platform::headless::DialogDriver;

template <class D>
int RunClicking(platform::headless::HeadlessBackend& backend, int templateId, int button) {
  backend.WhenDialogOpens(templateId, [button](DialogDriver& d) {
    if (button == 0)
      d.PressEscape();
    else
      d.Click(button);
  });
  D dialog;
  return dialog.DoModal();
}

TEST_F(DialogsTest, ChoiceDialogsAnswerWithTheirButtonsCodes) {
  struct Case {
    int (*run)(platform::headless::HeadlessBackend&, int, int);
    int templateId;
    int button;  // 0: closed with Esc
    int code;
  };
  const Case cases[] = {
      {RunClicking<CLineWidthDlg>, kLineWidthDialogId, 1554, CLineWidthDlg::kNormal},
      {RunClicking<CLineWidthDlg>, kLineWidthDialogId, 1555, CLineWidthDlg::kThick},
      {RunClicking<CLineTypePickDlg>, kLineTypeDialogId, 1000, 0},
      {RunClicking<CLineTypePickDlg>, kLineTypeDialogId, 1002, 2},
      {RunClicking<CLineTypePickDlg>, kLineTypeDialogId, 1003, 3},
      // Closing must not read as the one-dot chain (2).
      {RunClicking<CLineTypePickDlg>, kLineTypeDialogId, 0, CLineTypePickDlg::kClosed},
      {RunClicking<CResolutionPickDlg>, kResolutionDialogId, 1000, 101},
      {RunClicking<CResolutionPickDlg>, kResolutionDialogId, 1006, 107},
      {RunClicking<CResolutionPickDlg>, kResolutionDialogId, 0, platform::kIdCancel},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.templateId << " button " << c.button);
    EXPECT_EQ(c.run(backend(), c.templateId, c.button), c.code);
  }
}

TEST_F(DialogsTest, PointInputEndsOnlyWithTwoNumbers) {
  PointInputValue = {9.0, 9.0};
  CPointInputDlg dialog;
  dialog.xLabel = Sjis("中心 CX = ");
  dialog.yLabel = Sjis("中心 CY = ");
  dialog.xText = "1.5";
  OpenDialog d(dialog);
  EXPECT_EQ(dialog.GetText(1048), Sjis("中心 CX = "));
  EXPECT_EQ(dialog.GetText(1008), "1.5");
  d->Click(1000);  // Y is empty: the focus moves on
  EXPECT_FALSE(dialog.HasEnded());
  EXPECT_EQ(PointInputValue.x, 9.0);
  d->Type(1029, "-2");
  d->PressEnter();  // Enter registers as the button does
  ASSERT_TRUE(dialog.HasEnded());
  EXPECT_EQ(dialog.EndCode(), 1);
  EXPECT_EQ(PointInputValue.x, 1.5);
  EXPECT_EQ(PointInputValue.y, -2.0);
}

TEST_F(DialogsTest, NumberFieldsTakeAtMost32Characters) {
  CPointInputDlg dialog;
  OpenDialog d(dialog);
  d->Type(1008, std::string(40, '1'));
  EXPECT_EQ(dialog.GetText(1008), std::string(32, '1'));
}

TEST_F(DialogsTest, SlopeAngleIsWrittenOnOkOnly) {
  g_curSurface.x[0] = 15.0;
  {
    CSlopeAngleDlg dialog;
    OpenDialog d(dialog);
    EXPECT_EQ(dialog.GetText(1008), "15.0");
    d->Type(1008, "30");
    d->PressEscape();
    EXPECT_EQ(g_curSurface.x[0], 15.0);
  }
  CSlopeAngleDlg dialog;
  OpenDialog d(dialog);
  d->Type(1008, "22.5");
  d->Click(platform::kIdOk);
  EXPECT_EQ(dialog.EndCode(), 1);
  EXPECT_EQ(g_curSurface.x[0], 22.5);
}

}  // namespace
}  // namespace dorn::test
