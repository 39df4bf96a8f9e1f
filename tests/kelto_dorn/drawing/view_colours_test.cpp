// What the view shows of a drawing through the road a machinist takes:
// automatic connection, hole points, a hole and a contour definition, save
// and reopen. Every figure stays in a colour that stands out from the
// background (the fixture's palette: colour 0 and the background are both
// near-black), a contour definition shows its curve's direction, and the
// reopened drawing is painted as it was before.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_record.h"
#include "kelto_dorn/app/view_transform.h"
#include "kelto_dorn/drawing/curve_register_dialog.h"
#include "kelto_dorn/machining/dialogs/contour_define_dialog.h"
#include "kelto_dorn/machining/dialogs/hole_define_dialog.h"
#include "platform/headless/dialog_driver.h"
#include "platform/recording_context.h"
#include "tests/kelto_dorn/drawing/figure_script.h"

namespace dorn::test {
namespace {

constexpr int kAutoConnect = 32905;
constexpr int kHolePoints = 32908;
constexpr int kDefineHole = 32960;
constexpr int kDefineContour = 32959;
constexpr int kContourDialog = 299;  // the plane contour definition

class ViewColoursTest : public FigureScriptTest {
 protected:
  void SetUp() override {
    FigureScriptTest::SetUp();
    backend().WhenDialogOpensAlways(kCurveRegisterDialogId,
                                    [](platform::headless::DialogDriver& d) { d.Click(kCurveRegisterButton); });
  }
  // The two touching lines of the fixture become a curve (the start and end
  // point question that follows is left with Esc).
  void ConnectTheLines() {
    Start(kAutoConnect);
    ClickAt(50, 0);
    ClickAt(-150, -120);  // empty space: the pick is confirmed
    Escape();
  }
  const std::vector<platform::Primitive>& Log() { return surface().Primitives(); }
  // The lines and arcs drawn from entry `from` of the log on whose pen
  // cannot be told from the background.
  std::vector<std::string> InvisibleLines(std::size_t from = 0) {
    std::vector<std::string> invisible;
    const platform::Color background = surface().BackgroundColor();
    for (std::size_t i = from; i < Log().size(); ++i) {
      const platform::Primitive& p = Log()[i];
      if (p.kind != platform::PrimitiveKind::Line && p.kind != platform::PrimitiveKind::Polyline) continue;
      if (p.pen.color == background || p.pen.color == 0) invisible.push_back(platform::Describe(p));
    }
    return invisible;
  }
  // The direction arrows: small filled triangles.
  int Arrows() {
    int n = 0;
    for (const platform::Primitive& p : Log()) n += p.kind == platform::PrimitiveKind::Polygon && p.points.size() == 3;
    return n;
  }
  std::vector<std::string> Painted() {
    surface().Paint();
    std::vector<std::string> lines;
    for (const platform::Primitive& p : Log()) lines.push_back(platform::Describe(p));
    return lines;
  }
};

// The chain of the automatic connection is drawn on a device context of its
// own as it is found: in its highlight colour, not in that context's black.
TEST_F(ViewColoursTest, TheChainBeingConnectedStandsOutFromTheBackground) {
  ASSERT_NE(surface().BackgroundColor(), PaletteColors[1]);
  Start(kAutoConnect);
  ClickAt(50, 0);
  const std::size_t before = Log().size();
  ClickAt(-150, -120);
  ASSERT_GT(Log().size(), before) << "the chain was drawn";
  EXPECT_EQ(InvisibleLines(before), std::vector<std::string>{});
}

// A contour definition: while its dialog is open (and the window repaints)
// the picked curve is highlighted, never painted in the background colour,
// and the curves show their directions; after the store they are painted in
// their own colours, and the reopened drawing looks exactly as it did.
TEST_F(ViewColoursTest, DefinitionsKeepTheCurvesVisibleAndTheReopenedDrawingLooksTheSame) {
  ConnectTheLines();
  Start(kHolePoints);
  ClickAt(60, 30);  // the circle
  RightClickAt(-150, -120);
  ASSERT_EQ(g_curveCount, 2);
  backend().WhenDialogOpens(kHoleDefineDialogId,
                            [](platform::headless::DialogDriver& d) { d.MenuCommand(hole_ctl::kMenuStore); });
  Start(kDefineHole);
  ClickAt(50, 30);  // the hole
  RightClickAt(-150, -120);

  Painted();
  EXPECT_EQ(Arrows(), 0) << "no directions while no contour is defined";
  std::vector<std::string> invisibleDuring;
  int arrowsDuring = 0;
  backend().WhenDialogOpens(kContourDialog, [&](platform::headless::DialogDriver& d) {
    Painted();
    invisibleDuring = InvisibleLines();
    arrowsDuring = Arrows();
    d.MenuCommand(contour_ctl::kMenuStore);
  });
  Start(kDefineContour);
  ClickAt(50, 0);
  RightClickAt(-150, -120);
  EXPECT_EQ(invisibleDuring, std::vector<std::string>{});
  EXPECT_GE(arrowsDuring, 1) << "the picked curve's direction is drawn";

  const std::vector<std::string> saved = Painted();
  EXPECT_EQ(InvisibleLines(), std::vector<std::string>{});
  Restart();
  EXPECT_EQ(Painted(), saved);
}

}  // namespace
}  // namespace dorn::test
