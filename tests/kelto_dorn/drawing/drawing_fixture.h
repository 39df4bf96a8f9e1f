#pragma once
// A fresh kernel, view and drawing-command state for each test of the
// drawing commands: the view of ViewTest (800 x 600 at 100 percent), the
// picking entries installed, and a way back to the view that counts the
// ends of picks and the redraws and hands out recording device contexts
// that share one log; the program folder is a fresh temporary folder.
#include <memory>
#include <vector>

#include "kelto_dorn/app/figure_record.h"
#include "platform/recording_context.h"
#include "tests/support/test_support.h"
#include "tests/kelto_dorn/app/view_fixture.h"

namespace dorn::test {

class DrawingTest : public ViewTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  static FigureRecord Line(Vec2 start, Vec2 end);
  static FigureRecord Arc(Vec2 centre, double radius, double fromDegrees, double toDegrees);
  static FigureRecord Circle(Vec2 centre, double radius);
  static FigureRecord Point(Vec2 at, int kind = kKindPoint);
  // Puts a figure into segment block i.
  static void SetBlock(int i, const FigureRecord& f);
  // Registers a curve of the given figures on layer `layer` (no dialog):
  // its figures are appended to table 90 and the record filled.
  static int AddCurve(const std::vector<FigureRecord>& figures, int layer = 0, int kind = 0);

  // What the drawing commands drew through the view's device contexts.
  const std::vector<platform::Primitive>& ViewLog() const { return *viewLog_; }

  int endPicks = 0;
  int redraws = 0;

 private:
  std::shared_ptr<std::vector<platform::Primitive>> viewLog_;
  // The program folder (undo snapshots go there).
  std::unique_ptr<testsupport::TempFolder> home_;
};

}  // namespace dorn::test
