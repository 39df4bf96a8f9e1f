// How dialogs open, take the focus, commit fields, nest and end; timers and
// PumpMessages re-entrancy.
#include <string>
#include <vector>

#include "platform/application.h"
#include "platform/dialog.h"
#include "platform/text.h"
#include "window_test_support.h"

namespace {

using platform::ControlKind;
using platform::Dialog;
using platform::Sjis;
using platform::headless::DialogDriver;

// A numeric settings dialog in the system's manner: an edit commits when
// another edit gains the focus, Enter commits and moves to the next field,
// and the register button commits and closes with OK.
class FieldDialog : public Dialog {
 public:
  FieldDialog()
      : Dialog(293, Sjis("  ワーク設定"),
               {{ControlKind::StaticText, -1, Sjis("横幅(X)")},
                {ControlKind::Edit, 1066},
                {ControlKind::StaticText, -1, Sjis("縦幅(Y)")},
                {ControlKind::Edit, 1067},
                {ControlKind::StaticText, -1, Sjis("厚み(Z)")},
                {ControlKind::Edit, 1068},
                {ControlKind::PushButton, 1020, Sjis("登 録")}}) {}

  std::vector<std::string> log;
  double width = 0, depth = 0, thickness = 0;

 protected:
  bool OnInit() override {
    log.push_back("init");
    return true;
  }
  void OnShow() override { log.push_back("show"); }
  void OnFocusGained(int id) override {
    Commit();
    focusField_ = (id >= 1066 && id <= 1068) ? id : 0;
    log.push_back("gain " + std::to_string(id));
  }
  void OnFocusLost(int id) override { log.push_back("lost " + std::to_string(id)); }
  void OnClick(int id) override {
    if (id == 1020) {
      Commit();
      EndDialog(platform::kIdOk);
    }
  }
  void OnOk() override {  // Enter: commit and go on, never close
    Commit();
    NextControl();
  }

 private:
  void Commit() {
    if (focusField_ == 0) return;
    const std::string t = GetText(focusField_);
    if (!t.empty()) {
      const double v = std::stod(t);
      if (focusField_ == 1066) width = v;
      if (focusField_ == 1067) depth = v;
      if (focusField_ == 1068) thickness = v;
    }
    focusField_ = 0;
  }
  int focusField_ = 0;
};

using DialogFlowTest = windowtest::HeadlessTest;

TEST_F(DialogFlowTest, InitGivesTheFirstFieldTheFocusBeforeShow) {
  FieldDialog dlg;
  backend().WhenDialogOpens(293, [](DialogDriver& d) { d.Click(1020); });
  EXPECT_EQ(dlg.DoModal(), platform::kIdOk);
  ASSERT_GE(dlg.log.size(), 3u);
  EXPECT_EQ(dlg.log[0], "init");
  EXPECT_EQ(dlg.log[1], "gain 1066");
  EXPECT_EQ(dlg.log[2], "show");
}

TEST_F(DialogFlowTest, EnterCommitsAndMovesToTheNextFieldWithoutClosing) {
  FieldDialog dlg;
  backend().WhenDialogOpens(293, [](DialogDriver& d) {
    d.Type(1066, "100");
    EXPECT_TRUE(d.PressEnter());
    EXPECT_EQ(d.dialog().FocusedControl(), 1067);
    EXPECT_FALSE(d.dialog().HasEnded());
    d.Type(1067, "60");
    d.Focus(1068);  // leaving the field commits it too
    d.Type(1068, "25.5");
    d.Click(1020);
  });
  EXPECT_EQ(dlg.DoModal(), platform::kIdOk);
  EXPECT_DOUBLE_EQ(dlg.width, 100);
  EXPECT_DOUBLE_EQ(dlg.depth, 60);
  EXPECT_DOUBLE_EQ(dlg.thickness, 25.5);
}

TEST_F(DialogFlowTest, EscapeEndsWithCancelAndLaterInputIsRefused) {
  FieldDialog dlg;
  backend().WhenDialogOpens(293, [](DialogDriver& d) {
    EXPECT_TRUE(d.PressEscape());
    EXPECT_FALSE(d.Click(1020));
    EXPECT_FALSE(d.Type(1066, "5"));
  });
  EXPECT_EQ(dlg.DoModal(), platform::kIdCancel);
  EXPECT_DOUBLE_EQ(dlg.width, 0);
}

// A dialog that ends from a focus-lost event: the field that was about to
// gain the focus must not see its event.
class EndOnLeaveDialog : public Dialog {
 public:
  EndOnLeaveDialog() : Dialog(161, "pick", {{ControlKind::Edit, 10}, {ControlKind::Edit, 11}}) {}
  std::vector<int> gained;

 protected:
  void OnFocusGained(int id) override { gained.push_back(id); }
  void OnFocusLost(int id) override {
    if (id == 10) EndDialog(401);
  }
};

TEST_F(DialogFlowTest, ADialogEndsFromAFocusEvent) {
  EndOnLeaveDialog dlg;
  backend().WhenDialogOpens(161, [](DialogDriver& d) { d.Focus(11); });
  EXPECT_EQ(dlg.DoModal(), 401);
  EXPECT_EQ(dlg.gained, std::vector<int>{10});
  EXPECT_TRUE(backend().Problems().empty());
}

// Each level opens the next from a click; the innermost ends first.
class NestingDialog : public Dialog {
 public:
  NestingDialog(int level, std::vector<int>& ends)
      : Dialog(700 + level, "level", {{ControlKind::PushButton, 5, "open"}}), level_(level), ends_(ends) {}

 protected:
  void OnClick(int) override {
    if (level_ < 4) {
      NestingDialog inner(level_ + 1, ends_);
      EXPECT_EQ(platform::ModalDialogDepth(), level_);
      const int code = inner.DoModal();
      ends_.push_back(inner.TemplateId());
      EndDialog(code * 10 + level_);
    } else {
      EndDialog(level_);
    }
  }

 private:
  int level_;
  std::vector<int>& ends_;
};

TEST_F(DialogFlowTest, NestedModalDialogsEndInTheRightOrder) {
  std::vector<int> ends;
  for (int level = 1; level <= 4; ++level) backend().WhenDialogOpens(700 + level, [](DialogDriver& d) { d.Click(5); });
  NestingDialog outer(1, ends);
  EXPECT_EQ(outer.DoModal(), 4321) << "each level saw the inner one's code";
  EXPECT_EQ(ends, (std::vector<int>{704, 703, 702}));
  ASSERT_EQ(backend().DialogRuns().size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(backend().DialogRuns()[static_cast<std::size_t>(i)].templateId, 704 - i);
    EXPECT_EQ(backend().DialogRuns()[static_cast<std::size_t>(i)].depth, 4 - i);
  }
  EXPECT_EQ(platform::ModalDialogDepth(), 0);
}

TEST_F(DialogFlowTest, ScriptedAnswersAreTakenInOrderAndMissingOnesAreReported) {
  backend().WhenDialogOpens(293, [](DialogDriver& d) { d.dialog().EndDialog(321); });
  backend().WhenDialogOpens(293, [](DialogDriver& d) { d.dialog().EndDialog(345); });
  std::vector<int> codes;
  for (int i = 0; i < 3; ++i) {
    FieldDialog dlg;
    codes.push_back(dlg.DoModal());
  }
  EXPECT_EQ(codes, (std::vector<int>{321, 345, platform::kIdCancel}));
  ASSERT_EQ(backend().Problems().size(), 1u);
  EXPECT_NE(backend().Problems()[0].find("293"), std::string::npos);
}

TEST_F(DialogFlowTest, AnAnswerThatLeavesTheDialogOpenIsAProblem) {
  backend().WhenDialogOpens(293, [](DialogDriver& d) { d.Type(1066, "1"); });
  FieldDialog dlg;
  EXPECT_EQ(dlg.DoModal(), platform::kIdCancel);
  EXPECT_EQ(backend().Problems().size(), 1u);
}

// The resume protocol of the definition dialogs: a one-shot timer set when
// the dialog is shown reopens a sub-dialog when it fires.
class ResumeDialog : public Dialog {
 public:
  ResumeDialog() : Dialog(299, "def", {{ControlKind::Edit, 1}}) {}
  int fired = 0;
  int repeats = 0;

 protected:
  void OnShow() override {
    SetTimer(1, 400, platform::TimerKind::OneShot);
    SetTimer(2, 100);
  }
  void OnTimer(int id) override {
    if (id == 1) ++fired;
    if (id == 2 && ++repeats == 3) KillTimer(2);
  }
};

TEST_F(DialogFlowTest, OneShotAndRepeatingTimers) {
  ResumeDialog dlg;
  backend().WhenDialogOpens(299, [](DialogDriver& d) {
    EXPECT_TRUE(d.TickTimer(1));
    EXPECT_FALSE(d.TickTimer(1)) << "a one-shot timer fires once";
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(d.TickTimer(2));
    EXPECT_FALSE(d.TickTimer(2)) << "killed by the handler";
    EXPECT_FALSE(d.TickTimer(7)) << "never set";
    d.PressEscape();
  });
  dlg.DoModal();
  EXPECT_EQ(dlg.fired, 1);
  EXPECT_EQ(dlg.repeats, 3);
}

TEST_F(DialogFlowTest, TimersStopWhenTheDialogEnds) {
  ResumeDialog dlg;
  backend().WhenDialogOpens(299, [](DialogDriver& d) { d.PressEscape(); });
  dlg.DoModal();
  EXPECT_FALSE(dlg.HasTimer(1));
  EXPECT_FALSE(dlg.HasTimer(2));
}

TEST_F(DialogFlowTest, AHandlerThatPumpsRunsThePendingEventInside) {
  std::vector<std::string> order;
  int stopWord = 0;
  backend().Post([&] {
    order.push_back("long work starts");
    // The long computation polls: the event queued behind it runs now.
    for (int step = 0; step < 100 && stopWord == 0; ++step) platform::PumpMessages();
    order.push_back(stopWord == 0xFFFF ? "stopped" : "ran to the end");
  });
  backend().Post([&] {
    order.push_back("stop pressed");
    stopWord = 0xFFFF;
  });
  platform::PumpMessages();
  EXPECT_EQ(order, (std::vector<std::string>{"long work starts", "stop pressed", "stopped"}));
  EXPECT_EQ(backend().PendingEvents(), 0u);
}

TEST_F(DialogFlowTest, APumpedEventMayOpenADialog) {
  int code = 0;
  backend().WhenDialogOpens(293, [](DialogDriver& d) { d.Click(1020); });
  backend().Post([&] {
    FieldDialog dlg;
    code = dlg.DoModal();
  });
  platform::PumpMessages();
  EXPECT_EQ(code, platform::kIdOk);
}

TEST_F(DialogFlowTest, DialogColoursComeFromTheProgramWideSetting) {
  class Colored : public Dialog {
   public:
    Colored() : Dialog(1, "", {}) {}
    platform::DialogColors Colors() override {
      platform::SetDialogBkColor(0x406575, 0xFFFFFF);  // the dialog's own colour style
      return Dialog::Colors();
    }
  };
  platform::SetDialogBkColor(0x123456, 0x654321);
  Dialog plain(2, "", {});
  EXPECT_EQ(plain.Colors(), (platform::DialogColors{0x123456, 0x654321}));
  Colored colored;
  EXPECT_EQ(colored.Colors(), (platform::DialogColors{0x406575, 0xFFFFFF}));
}

TEST_F(DialogFlowTest, WaitCursorNestsAndIgnoresAStrayEnd) {
  platform::EndWaitCursor();
  EXPECT_EQ(platform::WaitCursorDepth(), 0);
  {
    platform::WaitCursor outer;
    {
      platform::WaitCursor inner;
      EXPECT_EQ(platform::WaitCursorDepth(), 2);
    }
    EXPECT_TRUE(backend().WaitCursorShown());
  }
  EXPECT_FALSE(backend().WaitCursorShown());
}

TEST_F(DialogFlowTest, TitleAndModelessDialogsOwnedByAFrame) {
  auto frame = platform::CreateFrame();
  FieldDialog modeless;
  modeless.SetTitle(Sjis("[ 1/3 ]"));
  EXPECT_TRUE(modeless.CreateModeless(frame.get()));
  EXPECT_TRUE(modeless.IsOpen());
  EXPECT_EQ(modeless.Title(), Sjis("[ 1/3 ]"));
  EXPECT_EQ(backend().ModelessDialogs().size(), 1u);
  frame->RequestClose();
  EXPECT_FALSE(modeless.IsOpen()) << "the owner's close takes its modeless dialogs along";
  EXPECT_TRUE(backend().ModelessDialogs().empty());
}

}  // namespace
