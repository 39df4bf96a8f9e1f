// The value and point prompts: what each way of ending the dialog leaves for
// the command (result, pick state, step flags, point mode), the re-entry after
// a pick, and the count field.
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/dialogs/prompts.h"
#include "kelto_dorn/document/system_state.h"
#include "platform/text.h"
#include "tests/kelto_dorn/dialogs/dialogs_fixture.h"

namespace dorn::test {
namespace {

using platform::Sjis;
using platform::headless::DialogDriver;

constexpr int kXEdit = 1015, kYEdit = 1016, kPointCount = 1477;
constexpr int kMouse = 1002, kIntersection = 1000, kEndPoint = 1003, kBasePoint = 1603, kOkButton = 1178;
constexpr int kValueEdit = 1008, kValueCount = 1029, kPickValue = 1001;

class PromptTest : public DialogsTest {
 protected:
  void SetUp() override {
    DialogsTest::SetUp();
    g_commandStep = 0x0002;  // two inputs taken
    g_curCurveIndex = 5;
    g_pickExcludeIndex = 7;
    g_pickTestIndex = 8;
    ModalDepth = 3;
  }
  void AnswerPoint(std::function<void(DialogDriver&)> answer) {
    backend().WhenDialogOpens(kPointPickDialogId, std::move(answer));
  }
};

struct PointCase {
  const char* name;
  int command;
  std::function<void(DialogDriver&)> answer;
  int result;
  int pickState;
  int step;
  int pointMode;
  int returnPickState;
  int curve;
};

TEST_F(PromptTest, EachEndOfThePointDialogLeavesItsPickStateForTheCommand) {
  const PointCase cases[] = {
      {"typed", 0,
       [](DialogDriver& d) {
         d.Type(kXEdit, "10");
         d.PressEnter();
         d.Type(kYEdit, "2*3");
         d.PressEnter();
       },
       0, 0, 0x0002, 0, 0, 5},
      {"cancel", 0, [](DialogDriver& d) { d.PressEscape(); }, -2, 0, 0, 0, 0, 0xFFFF},
      {"mouse", 0, [](DialogDriver& d) { d.Click(kMouse); }, 1, 4, 0x8002, 1, 0, 5},
      {"intersection", 0, [](DialogDriver& d) { d.Click(kIntersection); }, 2, 6, 0x2002, 2, 4, 5},
      {"end point", 0, [](DialogDriver& d) { d.Click(kEndPoint); }, 3, 80, 0x4002, 3, 0, 5},
      {"base point taken back", 32873, [](DialogDriver& d) { d.Click(kBasePoint); }, 2, 616, 0x2002, 2, 32873, 5},
      {"base point elsewhere cancels", 32871, [](DialogDriver& d) { d.Click(kBasePoint); }, -2, 0, 0, 0, 0, 0xFFFF},
      {"closed without a point", 32843,
       [](DialogDriver& d) {
         d.Type(kXEdit, "");
         d.Click(kOkButton);
       },
       99, 99, 99, 0, 0, 0xFFFF},
  };
  for (const PointCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    g_curCommand = c.command;
    PointInputValue = {1.0, 1.0};
    AnswerPoint(c.answer);
    EXPECT_EQ(PromptPoint(), c.result);
    EXPECT_EQ(g_promptResult, c.result);
    EXPECT_EQ(g_pickState, c.pickState);
    EXPECT_EQ(g_commandStep, c.step);
    EXPECT_EQ(g_pointMode, c.pointMode);
    EXPECT_EQ(g_returnPickState, c.returnPickState);
    EXPECT_EQ(g_curCurveIndex, c.curve);
    EXPECT_EQ(ModalDepth, 0);
    // A pick that is set starts with no excluded or tested figure.
    EXPECT_EQ(g_pickExcludeIndex, c.pickState != 0 ? -1 : 7);
    EXPECT_EQ(g_pickTestIndex, c.pickState != 0 ? -1 : 8);
    if (c.result == 0) {
      EXPECT_EQ(PointInputValue.x, 10.0);
      EXPECT_EQ(PointInputValue.y, 6.0);
    }
    if (c.result == -2) {
      EXPECT_EQ(PointInputValue.x, 0.0);
      EXPECT_EQ(PointInputValue.y, 0.0);
    }
  }
}

TEST_F(PromptTest, AfterAPickThePromptTakesThePickStateWithoutADialog) {
  g_pickState = 4;  // the mouse click came
  EXPECT_EQ(PromptPoint(), 1);
  EXPECT_EQ(g_pointMode, 1);
  g_pickState = 37;  // a state without a row of its own
  EXPECT_EQ(PromptPoint(), 1);
  EXPECT_EQ(g_pickState, 37);
  g_pickState = 3;  // the value was picked
  EXPECT_EQ(PromptValue(), 1);
  EXPECT_TRUE(backend().DialogsOpened().empty());
}

TEST_F(PromptTest, OneEnterInTheXFieldNeverEndsThePointDialog) {
  g_pointDefaultX = "5";
  g_pointDefaultY = "7";
  AnswerPoint([](DialogDriver& d) {
    EXPECT_EQ(d.dialog().GetText(kXEdit), "5");
    EXPECT_EQ(d.dialog().FocusedControl(), kXEdit);
    d.PressEnter();
    EXPECT_FALSE(d.dialog().HasEnded());
    EXPECT_EQ(d.dialog().FocusedControl(), kYEdit);
    d.Type(kYEdit, "");
    d.PressEnter();  // the second press, but Y is empty
    EXPECT_FALSE(d.dialog().HasEnded());
    d.Type(kYEdit, "8");
    d.Click(kOkButton);  // the button takes the point at once
  });
  EXPECT_EQ(PromptPoint(), 0);
  EXPECT_EQ(PointInputValue.x, 5.0);
  EXPECT_EQ(PointInputValue.y, 8.0);
}

TEST_F(PromptTest, ThePointDialogShowsItsTextsAndTheButtonsOfTheCommand) {
  g_inputTitle = Sjis("[ 平行移動 ] : 移動量を入力して下さい ...");
  g_pointLabelX = Sjis("［dX］");
  g_pointLabelY = Sjis("［dY］");
  g_curCommand = 32921;
  AnswerPoint([](DialogDriver& d) {
    EXPECT_EQ(d.dialog().Title(), g_inputTitle);
    EXPECT_EQ(d.dialog().GetText(1009), g_pointLabelX);
    EXPECT_EQ(d.dialog().GetText(1017), g_pointLabelY);
    EXPECT_EQ(d.dialog().GetText(kBasePoint), Sjis("取消"));
    EXPECT_EQ(d.dialog().GetText(kOkButton), Sjis("ＯＫ"));
    d.PressEscape();
  });
  PromptPoint();
  g_curCommand = 32843;
  AnswerPoint([](DialogDriver& d) {
    EXPECT_EQ(d.dialog().GetText(kBasePoint), Sjis("基点"));
    EXPECT_EQ(d.dialog().GetText(kOkButton), Sjis("閉じる"));
    d.Click(kOkButton);  // both fields hold text: the button does nothing
    EXPECT_FALSE(d.dialog().HasEnded());
    d.PressEscape();
  });
  PromptPoint();
}

TEST_F(PromptTest, TheCountFieldIsOfferedOnlyWhenTheCommandAsksForIt) {
  g_repeatCount = 3;
  FocusedEditIndex = kOfferCountField;
  AnswerPoint([](DialogDriver& d) {
    EXPECT_TRUE(d.dialog().IsEnabled(kPointCount));
    EXPECT_EQ(d.dialog().GetText(kPointCount), "3");
    d.Type(kPointCount, "2+3");
    d.PressEnter();  // applies the count and stays
    EXPECT_FALSE(d.dialog().HasEnded());
    EXPECT_EQ(d.dialog().GetText(kPointCount), "5");
    d.Type(kXEdit, "1");
    d.Type(kYEdit, "2");
    d.PressEnter();
    d.PressEnter();
  });
  EXPECT_EQ(PromptPoint(), 0);
  EXPECT_EQ(g_repeatCount, 5);
  EXPECT_EQ(FocusedEditIndex, 0);  // the offer is used once

  AnswerPoint([](DialogDriver& d) {
    EXPECT_FALSE(d.dialog().IsEnabled(kPointCount));
    d.Click(kMouse);
  });
  g_repeatCount = 0;
  EXPECT_EQ(PromptPoint(), 1);
  EXPECT_EQ(g_repeatCount, 1);  // never below 1 after a prompt
}

TEST_F(PromptTest, ACountTypedBeforeAPickButtonIsKept) {
  FocusedEditIndex = kOfferCountField;
  AnswerPoint([](DialogDriver& d) {
    d.Type(kPointCount, "4");
    d.Click(kEndPoint);
  });
  EXPECT_EQ(PromptPoint(), 3);
  EXPECT_EQ(g_repeatCount, 4);
}

TEST_F(PromptTest, ValuePromptResults) {
  struct Case {
    const char* name;
    int command;
    std::function<void(DialogDriver&)> answer;
    int result;
    int pickState;
    double value;
  };
  const Case cases[] = {
      {"typed", 0,
       [](DialogDriver& d) {
         d.Type(kValueEdit, "12.5");
         d.PressEnter();
       },
       0, 0, 12.5},
      {"empty is a cancel", 0,
       [](DialogDriver& d) {
         d.Type(kValueEdit, "");
         d.Click(platform::kIdOk);
       },
       -2, 0, 4.0},
      {"cancel", 0, [](DialogDriver& d) { d.Click(platform::kIdCancel); }, -2, 0, 4.0},
      {"picked in the drawing", 0, [](DialogDriver& d) { d.Click(kPickValue); }, 1, 3, 4.0},
      {"zero is no answer under 32915", 32915,
       [](DialogDriver& d) {
         d.Type(kValueEdit, "0");
         d.PressEnter();
         EXPECT_FALSE(d.dialog().HasEnded());
         d.Click(kPickValue);  // no pick of the value there either
         EXPECT_FALSE(d.dialog().HasEnded());
         d.Type(kValueEdit, "3");
         d.PressEnter();
       },
       0, 0, 3.0},
      {"no pick under 33200", 33200,
       [](DialogDriver& d) {
         d.Click(kPickValue);
         EXPECT_FALSE(d.dialog().HasEnded());
         d.PressEscape();
       },
       -2, 0, 4.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    g_curCommand = c.command;
    ValueInputValue = 4.0;
    backend().WhenDialogOpens(kValueInputDialogId, c.answer);
    EXPECT_EQ(PromptValue(), c.result);
    EXPECT_EQ(g_pickState, c.pickState);
    EXPECT_EQ(ValueInputValue, c.value);
    EXPECT_EQ(ModalDepth, 0);
    if (c.pickState) {
      EXPECT_EQ(g_commandStep & 0x8000, 0x8000);
    }
  }
}

TEST_F(PromptTest, TheValueDialogShowsTheCurrentValueAndItsCount) {
  ValueInputValue = 2.5;
  g_inputTitle = Sjis("[ OFFSET ] : OFFSET量を入力して下さい...");
  g_valueLabel = Sjis("［OFF] ＝ ");
  FocusedEditIndex = kOfferCountField;
  g_repeatCount = 2;
  backend().WhenDialogOpens(kValueInputDialogId, [](DialogDriver& d) {
    EXPECT_EQ(d.dialog().Title(), g_inputTitle);
    EXPECT_EQ(d.dialog().GetText(1009), g_valueLabel);
    EXPECT_EQ(d.dialog().GetText(kValueEdit), "2.5");
    EXPECT_EQ(d.dialog().GetText(kValueCount), "2");
    d.Type(kValueCount, "6");
    d.Click(platform::kIdOk);  // the count entry is applied, the dialog stays
    EXPECT_FALSE(d.dialog().HasEnded());
    d.Type(kValueEdit, "1");
    d.Click(platform::kIdOk);
  });
  EXPECT_EQ(PromptValue(), 0);
  EXPECT_EQ(g_repeatCount, 6);
  EXPECT_EQ(ValueInputValue, 1.0);
}

}  // namespace
}  // namespace dorn::test
