#pragma once
// A headless run context with a hand-built element table: lines, arcs,
// points and commands in the layout the job load leaves (line: direction
// d2/d3, end d4/d5, start d6/d7; arc: signed radius d1, end d4/d5, centre
// d6/d7), and element ranges packed as FixedPointPair values.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"

namespace qup::testing {

inline constexpr double kPi = 3.14159265358979323846;

class ElementBuilder {
 public:
  // Appends a line from (x0, y0) to (x1, y1); returns its index.
  int Line(double x0, double y0, double x1, double y1) {
    NcElement e{};
    e.number = Next();
    e.code = 0x1200;
    const double length = std::hypot(x1 - x0, y1 - y0);
    e.d2 = (x1 - x0) / length;
    e.d3 = (y1 - y0) / length;
    e.d4 = x1;
    e.d5 = y1;
    e.d6 = x0;
    e.d7 = y0;
    return Add(e);
  }
  // Appends an arc ending at (x1, y1) about (cx, cy); radius > 0 turns
  // counter-clockwise, < 0 clockwise.
  int Arc(double radius, double x1, double y1, double cx, double cy) {
    NcElement e{};
    e.number = Next();
    e.code = 0x1300;
    e.d1 = radius;
    e.d4 = x1;
    e.d5 = y1;
    e.d6 = cx;
    e.d7 = cy;
    return Add(e);
  }
  int Point(double x, double y) {
    NcElement e{};
    e.number = Next();
    e.code = 0x1100;
    e.d4 = e.d6 = x;
    e.d5 = e.d7 = y;
    return Add(e);
  }
  // A command whose value 4 packs the range first.last.
  int Command(int code, int first, int last, double offset = 0.0) {
    NcElement e{};
    e.number = Next();
    e.code = code;
    e.d1 = offset;
    e.d4 = JoinFixedPoint(static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(last));
    return Add(e);
  }
  int Add(const NcElement& e) {
    records.push_back(e);
    return static_cast<int>(records.size()) - 1;
  }
  std::vector<NcElement> records;

 private:
  int Next() { return static_cast<int>(records.size()) + 1; }
};

class EngineCoreTest : public ::testing::Test {
 protected:
  EngineCoreTest() : run(host) {}

  // Loads the built records into the run's element table.
  void LoadTable() {
    ASSERT_TRUE(run.elements.Grow(static_cast<int>(table.records.size()) + 8));
    for (std::size_t i = 0; i < table.records.size(); ++i) run.elements[static_cast<int>(i)] = table.records[i];
    run.elements.ElementCount = static_cast<int>(table.records.size());
  }

  // Sets a range walked forwards with the command's offset in R2's d1.
  void SetRange(int first, int last, double offset, int offsetMode = 1) {
    run.RangeStart = first;
    run.RangeEnd = last;
    run.RangeStep = 1;
    run.R2 = NcElement{};
    run.R2.d1 = offset;
    run.core.OffsetMode = offsetMode;
  }

  bool Consumed(int index) { return (run.elements[index].flags & 0xFFFF) == 0xFFFF; }

  RecordingHost host;
  RunContext run;
  ElementBuilder table;
};

}  // namespace qup::testing
