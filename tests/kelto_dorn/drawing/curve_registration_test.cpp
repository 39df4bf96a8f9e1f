// Registration of a work list as a curve: keys, the dialog's proposals and
// fields, duplicate names, cancelling, and the turn flags of the joints.
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/drawing/curve_register_dialog.h"
#include "kelto_dorn/drawing/curve_registration.h"
#include "platform/headless/headless_backend.h"
#include "platform/text.h"
#include "tests/kelto_dorn/drawing/drawing_fixture.h"

namespace dorn {
namespace {

using platform::headless::DialogDriver;

class CurveRegistrationTest : public test::DrawingTest {
 protected:
  void FillWorkList() {
    SetBlock(0, Point({0, 0}));
    SetBlock(1, Line({0, 0}, {10, 0}));
    SetBlock(2, Point({10, 0}));
    g_workCount = 3;
  }
  void AnswerRegister() {
    backend().WhenDialogOpens(kCurveRegisterDialogId, [](DialogDriver& d) { d.Click(kCurveRegisterButton); });
  }
};

TEST_F(CurveRegistrationTest, TheFirstCurveGetsKey10AndTheProposedName) {
  FillWorkList();
  std::string name;
  backend().WhenDialogOpens(kCurveRegisterDialogId, [&](DialogDriver& d) {
    name = d.dialog().GetText(kCurveNameEdit);
    d.Click(kCurveRegisterButton);
  });
  ASSERT_EQ(RegisterCurveEntry(kRegisterPlain, 1, nullptr), kCurveRegisteredNew);
  EXPECT_EQ(name, "N_0010");
  EXPECT_EQ(g_curveCount, 1);
  EXPECT_EQ(g_curCurveIndex, 0);
  const CurveRecord& c = g_curveTable[0];
  EXPECT_EQ(c.key, 10);
  EXPECT_EQ(c.first, 0);
  EXPECT_EQ(c.end, 3);
  EXPECT_EQ(c.colour, g_colorTable.curveColor);
  EXPECT_EQ(GetFigureCount(kTableCurves), 3);
  EXPECT_EQ(g_figureStore.SegmentBlock(1)->kind, kKindEmpty) << "the work list is reset";
}

TEST_F(CurveRegistrationTest, KeysJumpOverTheGapTo250000) {
  AddCurve({Line({0, 0}, {1, 0})});
  g_curveTable[0].key = 3990;
  FillWorkList();
  AnswerRegister();
  ASSERT_EQ(RegisterCurveEntry(kRegisterPlain, 1, nullptr), kCurveRegisteredNew);
  EXPECT_EQ(g_curveTable[1].key, 250000);
  EXPECT_EQ(g_curveTable[1].first, 1);
  FillWorkList();
  AnswerRegister();
  ASSERT_EQ(RegisterCurveEntry(kRegisterPlain, 1, nullptr), kCurveRegisteredNew);
  EXPECT_EQ(g_curveTable[2].key, 250010);
}

TEST_F(CurveRegistrationTest, ADuplicateNameAsksAgainAndCancellingRegistersNothing) {
  AddCurve({Line({0, 0}, {1, 0})});
  platform::SetFieldText(g_curveTable[0].name, "N_0020");
  FillWorkList();
  AnswerRegister();  // the proposal N_0020 is taken
  backend().WhenDialogOpens(kCurveRegisterDialogId, [](DialogDriver& d) { d.Click(platform::kIdCancel); });
  EXPECT_EQ(RegisterCurveEntry(kRegisterPlain, 1, nullptr), kCurveRegistrationRefused);
  EXPECT_TRUE(backend().WasShown(platform::Sjis(" 曲線の登録名が重複しています ")));
  EXPECT_EQ(backend().DialogsOpened().size(), 2u);
  EXPECT_EQ(g_curveCount, 1);
  EXPECT_EQ(g_curveTable[1].layer, kCurveEntryEmpty) << "the new record is cleared";
  EXPECT_EQ(GetFigureCount(kTableCurves), 1);
}

// Registrations inside a batch (copies of curves) give the keys and ask
// again for the duplicate names exactly as registrations one by one: the
// largest key counts emptied entries too, names and keys in use do not, and
// a copy registered earlier in the batch is in use.
TEST_F(CurveRegistrationTest, ABatchGivesTheKeysAndRefusesTheNamesOfSingleRegistrations) {
  struct Outcome {
    std::vector<int> keys;
    std::vector<std::string> names;
    std::size_t dialogs = 0;
  };
  const auto run = [this](bool batch) {
    ResetCurveTable();
    g_figureStore.Table(kTableCurves)->set_count(0);
    for (const char* name : {"A", "B", "GONE"}) {
      const int c = AddCurve({Line({0, 0}, {1, 0})});
      platform::SetFieldText(g_curveTable[static_cast<std::size_t>(c)].name, name);
    }
    g_curveTable[1].key = 40;
    g_curveTable[2].key = 70;
    g_curveTable[2].layer = kCurveEntryEmpty;
    const auto answer = [this](const char* name) {
      backend().WhenDialogOpens(kCurveRegisterDialogId, [name](DialogDriver& d) {
        d.Type(kCurveNameEdit, name);
        d.Click(kCurveRegisterButton);
      });
    };
    const std::size_t dialogsBefore = backend().DialogsOpened().size();
    std::optional<CurveRegistrationBatch> copies;
    if (batch) copies.emplace();
    for (const char* name : {"A", "C1"}) answer(name);  // A is taken
    FillWorkList();
    EXPECT_EQ(RegisterCurveEntry(kRegisterPlain, 1, nullptr), kCurveRegisteredNew);
    for (const char* name : {"C1", "GONE"}) answer(name);  // C1 was just registered
    FillWorkList();
    EXPECT_EQ(RegisterCurveEntry(kRegisterPlain, 1, nullptr), kCurveRegisteredNew);
    Outcome o;
    for (int c = 3; c < g_curveCount; ++c) {
      o.keys.push_back(g_curveTable[static_cast<std::size_t>(c)].key);
      o.names.emplace_back(g_curveTable[static_cast<std::size_t>(c)].name);
    }
    o.dialogs = backend().DialogsOpened().size() - dialogsBefore;
    return o;
  };
  const Outcome single = run(false);
  EXPECT_EQ(single.keys, (std::vector<int>{80, 90}));
  EXPECT_EQ(single.names, (std::vector<std::string>{"C1", "GONE"}));
  EXPECT_EQ(single.dialogs, 4u);
  const Outcome batched = run(true);
  EXPECT_EQ(batched.keys, single.keys);
  EXPECT_EQ(batched.names, single.names);
  EXPECT_EQ(batched.dialogs, single.dialogs);
}

TEST_F(CurveRegistrationTest, AnEmptyWorkListOpensNoDialog) {
  g_workCount = 0;
  EXPECT_EQ(RegisterCurveEntry(kRegisterPlain, 1, nullptr), kCurveRegistrationRefused);
  EXPECT_TRUE(backend().DialogsOpened().empty());
}

TEST_F(CurveRegistrationTest, TheDialogHidesTheIpPointOfAHoleCurveAndEditsTheOthers) {
  FillWorkList();
  g_curveTable[0].kind = 1;  // hole points
  std::string ipX;
  bool continueEnabled = true;
  backend().WhenDialogOpens(kCurveRegisterDialogId, [&](DialogDriver& d) {
    ipX = d.dialog().GetText(kCurveIpXEdit);
    continueEnabled = d.dialog().IsEnabled(kCurveContinueButton);
    d.Type(kCurveTopZEdit, "2.5");
    d.Focus(kCurveIpXEdit);  // skipped: the focus moves on
    d.Click(kCurveRegisterButton);
  });
  ASSERT_EQ(RegisterCurveEntry(kRegisterPlain, 1, nullptr), kCurveRegisteredNew);
  EXPECT_EQ(ipX, " -----");
  EXPECT_FALSE(continueEnabled);
  EXPECT_DOUBLE_EQ(g_curveTable[0].topZ, 2.5);
  EXPECT_DOUBLE_EQ(g_curveTable[0].ipX, 0.0);

  FillWorkList();
  g_curveTable[1].kind = 7;  // a pocket shows its IP point
  g_curCommand = 32907;
  backend().WhenDialogOpens(kCurveRegisterDialogId, [&](DialogDriver& d) {
    continueEnabled = d.dialog().IsEnabled(kCurveContinueButton);
    d.Type(kCurveIpXEdit, "12");
    d.Click(kCurveContinueButton);
  });
  EXPECT_EQ(RegisterCurveEntry(kRegisterPlain, 1, nullptr), 50);
  EXPECT_TRUE(continueEnabled);
}

TEST_F(CurveRegistrationTest, TheTurnFlagGivesTheJointBackWhenIntersectedAgain) {
  const FigureRecord line = Line({-20, 0}, {-8, 0});
  // The arc starts where the line ends; the line's carrier meets its circle
  // twice, at x = -8 and x = 8.
  for (double radius : {10.0, -10.0}) {
    FigureRecord arc = Arc({0, -6}, radius, 143.13010235415598, 36.86989764584402);
    arc.start = {-8, 0};
    FigureRecord second = arc;
    second.choice = ComputeJoinSide(line, arc);
    const FigureRecord hit = IntersectFigures(line, second);
    EXPECT_NEAR(hit.start.x, -8.0, 1e-9) << radius;
  }
  EXPECT_EQ(ComputeJoinSide(Point({0, 0}), line), 0);
}

}  // namespace
}  // namespace dorn
