#pragma once
// The range words (RangeStart, RangeEnd, RangeStep, RangeOptions) that an
// engine routine keeps on entry and gives back on every exit, also a failed
// one.
#include "kelto_qup/engine/run_context.h"

namespace qup {

struct KeptRangeWords {
  explicit KeptRangeWords(RunContext& r)
      : run(r), start(r.RangeStart), end(r.RangeEnd), step(r.RangeStep), options(r.RangeOptions) {}
  void Restore() const {
    run.RangeStart = start;
    run.RangeEnd = end;
    run.RangeStep = step;
    run.RangeOptions = options;
  }
  RunContext& run;
  int start, end, step, options;
};

}  // namespace qup
