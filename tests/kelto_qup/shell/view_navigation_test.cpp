// Looking round the paths after a run: the zoom box, zoom and pan by mouse
// drags, pan by the arrow keys, centring on the paths, arcs drawn as chords,
// and the machining information put into the list.
#include <algorithm>
#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "platform/key_codes.h"
#include "platform/text.h"
#include "shared/handover/nc_element.h"
#include "tests/end_to_end/four_hole_job.h"
#include "tests/kelto_qup/shell/shell_fixture.h"

namespace qup::shell::test {
namespace {

constexpr int kPlaneXYCommand = 32780;
constexpr int kCentreCommand = 32791;
constexpr int kProcessInfoCommand = 32807;

platform::Point Centre(const platform::Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// The four-hole job run and shown in one pane on the X-Y plane, fitted.
class ViewNavigationTest : public ShellTest {
 protected:
  Companion& RunFourHoles() {
    e2e::FourHoleJob().Write(home());
    Companion& c = Start();
    Dispatch();
    EXPECT_TRUE(Boxes().empty());
    c.app.panes.Graphic().paneWord = 0;
    EXPECT_TRUE(frame().Invoke(kPlaneXYCommand));
    view().Paint();
    return c;
  }
  void Mouse(platform::MouseAction action, platform::Point p, unsigned buttons) { view().Mouse({action, p, buttons}); }
};

TEST_F(ViewNavigationTest, TheZoomBoxShowsItsRubberBandAndFillsThePaneWithWhatItHeld) {
  Companion& c = RunFourHoles();
  PathPanes& panes = c.app.panes;
  const platform::Rect pane = panes.Pane(0).rect;
  const double scale = panes.Graphic().scale[0];
  // A box a quarter of the pane each way, of the pane's own proportions.
  const platform::Point a{pane.left + pane.Width() / 4, pane.top + pane.Height() / 4};
  const platform::Point b{a.x + pane.Width() / 4, a.y + pane.Height() / 4};
  const auto held = panes.PaneToModel(0, Centre({a.x, a.y, b.x, b.y}));

  view().Key(platform::kKeyF1);
  Mouse(platform::MouseAction::LeftDown, a, platform::mouse_buttons::kLeft);
  view().ClearPrimitives();
  Mouse(platform::MouseAction::Move, b, platform::mouse_buttons::kLeft);
  const auto& drawn = view().Primitives();
  EXPECT_TRUE(std::any_of(drawn.begin(), drawn.end(), [&](const platform::Primitive& p) {
    return p.kind == platform::PrimitiveKind::Polyline && p.rasterOp == platform::RasterOp::Xor &&
           p.points.size() == 5 && p.points[0] == a && p.points[2] == b;
  })) << "the rubber band from the first corner to the mouse";
  Mouse(platform::MouseAction::LeftDown, b, platform::mouse_buttons::kLeft);
  EXPECT_EQ(c.view->BoxMode, 0);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_NEAR(panes.Graphic().scale[0], scale * 4.0, scale * 0.1);
  view().Paint();
  const platform::Point centre = panes.ProjectPointToPane(held[0], held[1], 0.0);
  EXPECT_NEAR(centre.x, Centre(pane).x, 2);
  EXPECT_NEAR(centre.y, Centre(pane).y, 2);
  // F2 takes the zoom back.
  ASSERT_EQ(panes.zoomUndo.size(), 1u);
  view().Key(platform::FunctionKey(2));
  EXPECT_NEAR(panes.Graphic().scale[0], scale, 1e-9);
}

TEST_F(ViewNavigationTest, ARightDragPansWithTheMouseAndALeftDragZoomsWithoutAnUndoStep) {
  Companion& c = RunFourHoles();
  PathPanes& panes = c.app.panes;
  const platform::Point before = panes.ProjectPointToPane(30.0, 30.0, 0.0);
  const platform::Point from{200, 200};
  Mouse(platform::MouseAction::RightDown, from, platform::mouse_buttons::kRight);
  Mouse(platform::MouseAction::Move, {from.x + 40, from.y - 20}, platform::mouse_buttons::kRight);
  EXPECT_FALSE(view().listBox().IsVisible()) << "the list steps aside while the mouse drags";
  Mouse(platform::MouseAction::RightUp, {from.x + 40, from.y - 20}, 0);
  EXPECT_TRUE(view().listBox().IsVisible());
  view().Paint();
  const platform::Point after = panes.ProjectPointToPane(30.0, 30.0, 0.0);
  EXPECT_NEAR(after.x - before.x, 40, 1) << "the paths follow the mouse";
  EXPECT_NEAR(after.y - before.y, -20, 1);

  const double scale = panes.Graphic().scale[0];
  const std::size_t undo = panes.zoomUndo.size();
  Mouse(platform::MouseAction::LeftDown, from, platform::mouse_buttons::kLeft);
  Mouse(platform::MouseAction::Move, {from.x + 20, from.y}, platform::mouse_buttons::kLeft);
  Mouse(platform::MouseAction::LeftUp, {from.x + 20, from.y}, 0);
  EXPECT_GT(panes.Graphic().scale[0], scale) << "dragging right zooms in";
  EXPECT_EQ(panes.zoomUndo.size(), undo) << "a drag zoom leaves no undo step";
}

TEST_F(ViewNavigationTest, ArrowKeysPanByTheStepAndCentringFitsThePathsAgain) {
  Companion& c = RunFourHoles();
  PathPanes& panes = c.app.panes;
  const double step = panes.cgm.panStep;
  ASSERT_GT(step, 0.0);
  const platform::Point before = panes.ProjectPointToPane(30.0, 30.0, 0.0);
  view().Key(platform::kKeyLeft);
  view().Key(platform::kKeyUp);
  EXPECT_EQ(panes.panAccumulatorX, -step);
  EXPECT_EQ(panes.panAccumulatorY, step);
  view().Paint();
  const platform::Point after = panes.ProjectPointToPane(30.0, 30.0, 0.0);
  EXPECT_LT(after.x, before.x) << "left moves the paths left";
  EXPECT_LT(after.y, before.y) << "up moves them up";

  // Centring: no steps left over, the paths' middle in the pane's middle and
  // every path inside the pane.
  view().Key(platform::kKeyRight);
  ASSERT_TRUE(frame().Invoke(kCentreCommand));
  EXPECT_EQ(panes.panAccumulatorX, 0.0);
  EXPECT_EQ(panes.panAccumulatorY, 0.0);
  EXPECT_EQ(panes.zoomAccumulator, 0.0);
  view().Paint();
  const PathExtents3& e = panes.extents;
  ASSERT_TRUE(e.Exist());
  const platform::Rect pane = panes.Pane(0).rect;
  const platform::Point middle = panes.ProjectPointToPane((e.minX + e.maxX) / 2, (e.minY + e.maxY) / 2, 0.0);
  EXPECT_NEAR(middle.x, Centre(pane).x, 2);
  EXPECT_NEAR(middle.y, Centre(pane).y, 2);
  for (const auto& hole : e2e::kFourHoles) {
    const platform::Point p = panes.ProjectPointToPane(hole.x, hole.y, 0.0);
    EXPECT_TRUE(p.x > pane.left && p.x < pane.right && p.y > pane.top && p.y < pane.bottom) << hole.x << " " << hole.y;
  }
}

TEST_F(ViewNavigationTest, AnArcOnADisplayChannelIsDrawnAsChordsThatStayOnIt) {
  struct Case {
    const char* name;
    double radius;
    int code;  // 2 clockwise, 3 counter-clockwise
  };
  const Case cases[] = {{"small counter-clockwise", 10.0, 3}, {"large clockwise", 1000.0, 2}};
  WriteHeader(handover::DefaultDrawingHeader());
  Companion& c = Start();
  Dispatch();
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    const double r = k.radius;
    // A quarter circle about the origin from (r, 0), to (0, r) counter-
    // clockwise or to (0, -r) clockwise, at Z 0.
    handover::NcElement move;
    move.code = k.code;
    move.d1 = r;
    move.d6 = r;
    move.d7 = 0.0;
    move.d4 = 0.0;
    move.d5 = k.code == 3 ? r : -r;
    move.d8 = 0.0;
    c.app.run.output.CentreI = -r;
    c.app.run.output.CentreJ = 0.0;
    c.app.run.output.PrevZ = 0.0;
    const std::size_t first = c.doc.Records().size();
    c.view->DrawPathStep(64, move);
    const auto& records = c.doc.Records();
    std::vector<std::array<double, 2>> points;
    for (std::size_t i = first; i < records.size(); ++i) {
      if (records[i].kind == 1) points.push_back({records[i].x, records[i].y});
    }
    ASSERT_GE(points.size(), 18u) << "no chord longer than 5 degrees";
    EXPECT_NEAR(points.back()[0], move.d4, 1e-3);
    EXPECT_NEAR(points.back()[1], move.d5, 1e-3);
    std::array<double, 2> from{r, 0.0};
    double turned = 0.0;
    for (const auto& p : points) {
      EXPECT_NEAR(std::hypot(p[0], p[1]), r, r * 1e-6) << "every chord ends on the arc";
      const double cross = from[0] * p[1] - from[1] * p[0];
      const double angle = std::atan2(std::fabs(cross), from[0] * p[0] + from[1] * p[1]);
      EXPECT_LE(angle, 5.0 * std::numbers::pi / 180.0 + 1e-6);
      EXPECT_LE(r * (1.0 - std::cos(angle / 2.0)), 0.01 + 1e-4) << "a chord leaves the arc by 0.01 mm at most";
      EXPECT_EQ(cross > 0.0, k.code == 3) << "the chords turn the arc's way";
      turned += angle;
      from = p;
    }
    EXPECT_NEAR(turned, std::numbers::pi / 2.0, 1e-3);
  }
}

TEST_F(ViewNavigationTest, TheMachiningInformationIsListedAndAMissingListLosesNothing) {
  RunFourHoles();
  const std::vector<std::string> afterRun = ListLines();
  ASSERT_FALSE(afterRun.empty());
  // With the process list: its lines in the list, the first selected.
  const fs::path list = home() / "$PROCESS.LST";
  ASSERT_TRUE(fs::exists(list));
  ASSERT_TRUE(frame().Invoke(kProcessInfoCommand));
  const std::vector<std::string> shown = ListLines();
  ASSERT_FALSE(shown.empty());
  std::string firstLine = ReadFile(list).substr(0, ReadFile(list).find('\n'));
  if (!firstLine.empty() && firstLine.back() == '\r') firstLine.pop_back();
  EXPECT_EQ(shown[0], platform::Cp932ToUtf8(firstLine));
  EXPECT_EQ(view().listBox().GetCurSel(), 0);
  // Without it: nothing listed, and the list keeps what it showed.
  fs::remove(list);
  ASSERT_TRUE(frame().Invoke(kProcessInfoCommand));
  EXPECT_EQ(ListLines(), shown);
  EXPECT_TRUE(Boxes().empty());
}

}  // namespace
}  // namespace qup::shell::test
