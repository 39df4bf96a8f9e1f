// The view's first paint, the start timer and the one dispatch of the start
// mode; the run drawing into the panes and the document; keys.
#include <algorithm>

#include <gtest/gtest.h>

#include "platform/key_codes.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/record_file.h"
#include "platform/text.h"
#include "shared/handover/display_record.h"
#include "shared/handover/nc_element.h"
#include "tests/end_to_end/four_hole_job.h"
#include "tests/kelto_qup/shell/shell_fixture.h"
#include "tests/kelto_qup/support/rs274.h"

namespace qup::shell::test {
namespace {

// Polylines and lines drawn in a colour since the view's last repaint.
int DrawnInColour(const std::vector<platform::Primitive>& primitives, platform::Color colour) {
  return static_cast<int>(std::count_if(primitives.begin(), primitives.end(), [&](const platform::Primitive& p) {
    return p.pen.color == colour &&
           (p.kind == platform::PrimitiveKind::Polyline || p.kind == platform::PrimitiveKind::Line);
  }));
}

TEST_F(ShellTest, StartMode99CreatesTheListAndRunsNothing) {
  WriteHeader(handover::DefaultDrawingHeader());
  Start();
  view().Paint();
  EXPECT_TRUE(companion().view->ListCreated());
  EXPECT_EQ(companion().view->ListTop(), view().ClientSize().cy - 30);
  EXPECT_FALSE(view().TickTimer(99));
  // The timer runs the start mode only once the window is shown.
  companion().view->SetWindowShown(false);
  view().TickTimer(kStartTimer);
  EXPECT_EQ(view().listBox().GetCount(), 0);
  companion().view->SetWindowShown(true);
  view().TickTimer(kStartTimer);
  EXPECT_FALSE(view().HasTimer(kStartTimer));
  EXPECT_EQ(ListLines(), std::vector<std::string>{"【実行終了】"});
  EXPECT_EQ(view().listBox().GetCurSel(), 0);
  EXPECT_TRUE(companion().view->IsIdle());
}

TEST_F(ShellTest, StartMode39ReloadsTheDisplayListAndDrawsIt) {
  handover::DrawingHeader header = handover::DefaultDrawingHeader();
  header.startMode = 39;
  header.subMode = 0;
  WriteHeader(header);
  std::vector<handover::CDisplayRecord> records(3);
  records[0].kind = 0;
  records[1].kind = 1;
  records[1].colorWord = 3;
  records[1].x = 40.0f;
  records[2].kind = 1;
  records[2].colorWord = 3;
  records[2].x = 40.0f;
  records[2].y = 30.0f;
  ASSERT_TRUE(handover::WriteDisplayList(home() / handover::kDisplayListFileName, records, 0).ok());

  Companion& c = Start();
  EXPECT_EQ(c.app.Header().displayListReload, 1);
  Dispatch();
  EXPECT_EQ(c.doc.Records().size(), 3u);
  EXPECT_FALSE(fs::exists(home() / "$NC_EXE.@@@")) << "nothing ran";
  view().Paint();
  EXPECT_GE(DrawnInColour(view().Primitives(), c.app.colors.palette[3]), 1);
}

TEST_F(ShellTest, AFourHoleJobRunsDrawsListsItsBlocksAndWritesItsProgram) {
  e2e::FourHoleJob().Write(home());
  Companion& c = Start();
  Dispatch();
  EXPECT_TRUE(Boxes().empty());
  const std::string nc = ReadFile(testsupport::DatFolder(home()) / "HOLE.NC");
  EXPECT_NE(nc.find("G98G81X10.Y15.Z-10.R2.F100"), std::string::npos) << nc;
  std::int32_t busy = -1;
  ASSERT_TRUE(platform::ReadRecord(home() / "$NC_EXE.@@@", busy).ok());
  EXPECT_EQ(busy, 0);
  const std::vector<std::string> lines = ListLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "G98G81X10.Y15.Z-10.R2.F100"), lines.end());
  EXPECT_EQ(lines.back(), "【実行終了】");
  EXPECT_EQ(view().listBox().GetCurSel(), static_cast<int>(lines.size()) - 1);
  // Each hole is a plunge in the display list, drawn as the run drew it, and
  // the list was saved with the reports.
  const auto& records = c.doc.Records();
  EXPECT_EQ(std::count_if(records.begin(), records.end(), [](const auto& r) { return r.kind == 1 && r.z == -10.0f; }),
            4);
  std::vector<handover::CDisplayRecord> saved;
  ASSERT_TRUE(handover::ReadDisplayList(home() / handover::kDisplayListFileName, saved).ok());
  EXPECT_EQ(saved.size(), records.size());
  const platform::Color toolColour = c.app.colors.palette[5];
  EXPECT_GE(DrawnInColour(view().Primitives(), toolColour), 4) << "tool 5 draws in colour 5";
  EXPECT_EQ(c.app.run.output.OutputSuppress, 64);
  EXPECT_EQ(c.app.panes.colorOffset, 0);
  // The program the shell wrote: a machine may run it, and it drills the
  // four holes from R2 and the start level 50.
  const testsupport::MotionCheck check = testsupport::CheckNcMotion(
      testsupport::DatFolder(home()) / "HOLE.NC", home(), {.rLevel = 2.0, .startLevel = 50.0, .lengthOffsets = {}});
  if (!check.ran) return;
  EXPECT_TRUE(check.violations.empty()) << testsupport::Describe(check.violations) << nc;
  int drilled = 0;
  for (const testsupport::CanonMove& m : check.moves)
    drilled += m.kind == testsupport::CanonMove::Kind::kFeed && m.z == -10.0;
  EXPECT_EQ(drilled, 4) << check.trace;
}

TEST_F(ShellTest, AHandoverWithoutMachiningIsNamedAndWritesNoProgram) {
  struct Case {
    const char* name;
    bool points;
  } cases[] = {{"empty stream", false}, {"figures only", true}};
  for (const Case& k : cases) {
    testsupport::HandoverBuilder job;
    if (k.points) {
      job.Begin();
      job.Point(100, 10.0, 10.0);
      job.End();
    }
    job.Write(home());
    fs::remove(home() / "$NC_EXE.@@@");
    Start();
    Dispatch();
    ASSERT_FALSE(Boxes().empty()) << k.name;
    EXPECT_NE(Boxes().back().find("$DORN_DAT.@@@"), std::string::npos) << k.name;
    EXPECT_FALSE(fs::exists(testsupport::DatFolder(home()) / "HOLE.NC")) << k.name;
    EXPECT_FALSE(fs::exists(home() / "$NC_EXE.@@@")) << k.name;
    EXPECT_EQ(ListLines().back(), "【実行終了】");
  }
}

TEST_F(ShellTest, ModesOfSubsystemsNotYetBuiltStopWithABoxNamingThem) {
  struct Case {
    int mode;
    const char* entry;
  } cases[] = {{40, "BuildMachiningModel"}};
  for (const Case& k : cases) {
    e2e::FourHoleJob(k.mode, 0).Write(home());
    const std::size_t before = backend().MessageBoxes().size();
    Companion& c = Start();
    Dispatch();
    ASSERT_EQ(backend().MessageBoxes().size(), before + 1) << k.mode;
    EXPECT_NE(Boxes().back().find(k.entry), std::string::npos) << k.mode;
    EXPECT_EQ(ListLines().back(), "【実行終了】") << k.mode;
    EXPECT_EQ(c.app.run.AbortFlag, 0);
  }
}

TEST_F(ShellTest, EscWhileIdleClosesTheProgramAndDuringARunAsksFirst) {
  e2e::FourHoleJob().Write(home());
  Start();
  // During the run: the question, answered No; the run goes on to its end.
  backend().Post([this] { view().Key(platform::kKeyEscape); });
  backend().AnswerMessageBox(platform::kIdNo);
  Dispatch();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0], "強制終了しますか....???");
  EXPECT_FALSE(frame().IsClosed());
  EXPECT_NE(ReadFile(testsupport::DatFolder(home()) / "HOLE.NC").find("M30"), std::string::npos);
  // Idle: Esc closes.
  view().Key(platform::kKeyEscape);
  EXPECT_TRUE(frame().IsClosed());
}

TEST_F(ShellTest, KeysShiftTheColoursAndAKeyDuringARunReleasesTheStepPause) {
  WriteHeader(handover::DefaultDrawingHeader());
  Companion& c = Start();
  Dispatch();
  int& offset = c.app.panes.colorOffset;
  struct Step {
    int digit;
    int offset;
  } steps[] = {{3, 3}, {3, 6}, {5, 5}, {9, 9}, {9, 18}, {9, 27}, {9, 31}};
  for (const Step& s : steps) {
    view().Key(platform::NumpadKey(s.digit));
    EXPECT_EQ(offset, s.offset) << s.digit;
  }
  c.view->RunState = kRunning;
  c.app.run.output.StepPause = 1;
  view().Key(platform::FunctionKey(5));
  EXPECT_EQ(c.app.run.output.StepPause, 0);
  EXPECT_EQ(c.app.Header().ncDisplayFlags & 0x8000, 0x8000) << "F5 switches the read-out";
}

}  // namespace
}  // namespace qup::shell::test

namespace qup::shell::test {
namespace {

TEST_F(ShellTest, MovesOfTheNcTextCheckAreDrawnAndRecordedWithAnUpwardDirection) {
  WriteHeader(handover::DefaultDrawingHeader());
  Companion& c = Start();
  Dispatch();
  c.app.run.output.CurrentTool = 4;
  c.view->DrawCheckSegment(10.0, 0.0, 0.0, 0, true);
  c.view->DrawCheckSegment(10.0, 20.0, -1.0, 1, true);
  c.view->DrawCheckSegment(30.0, 20.0, 5.0, -1, false);
  c.view->FlushPanes();
  const auto& r = c.doc.Records();
  ASSERT_EQ(r.size(), 2u) << "the last move was not to be recorded";
  EXPECT_EQ(r[1].kind, 1);
  EXPECT_EQ(r[1].colorWord, 4);
  EXPECT_EQ(r[1].y, 20.0f);
  EXPECT_EQ(r[1].dir[2], 1.0f);
  EXPECT_EQ(c.app.panes.CurrentPoint()[0], 30.0);
  EXPECT_GE(DrawnInColour(view().Primitives(), c.app.colors.palette[4]), 1);
}

}  // namespace
}  // namespace qup::shell::test
