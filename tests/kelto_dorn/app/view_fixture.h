#pragma once
// A fresh kernel and view for each painting test: program, view and hook
// state reset, the default palette and pens, an 800 x 600 client area at a
// scale of 100 percent with no pan, and a recording device context.
#include <vector>

#include "kelto_dorn/app/figure_record.h"
#include "platform/recording_context.h"
#include "tests/kelto_dorn/app/kernel_fixture.h"

namespace dorn::test {

class ViewTest : public KernelTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Appends a figure to layer table 0 (colour word `attribute`).
  static void AddLine(double x1, double y1, double x2, double y2, int attribute = 2);
  static void AddArc(double cx, double cy, double r, double a0, double a1, int attribute = 3);
  static void AddFigure(const FigureRecord& f);

  // The primitives of one kind recorded so far.
  std::vector<platform::Primitive> Recorded(platform::PrimitiveKind kind) const;

  platform::RecordingContext dc{{800, 600}};
};

}  // namespace dorn::test
