#include "kelto_dorn/machining/omit_rules.h"

#include <algorithm>

namespace dorn {

void ClearOmitRow(MachiningFigureEntry& row) {
  row.word0 = row.figureKey = row.word8 = row.word12 = row.word16 = 0;
  row.value = 0.0;
}

void DeleteOmitRow(MachiningDefinition& d, int row) {
  if (row < 0 || row >= kOmitRowCount) return;
  std::copy(d.figures + row + 1, d.figures + kOmitSpareEntry + 1, d.figures + row);
  ClearOmitRow(d.figures[kOmitSpareEntry]);
}

void InsertOmitRow(MachiningDefinition& d, int row) {
  if (row < 0 || row >= kOmitRowCount) return;
  std::copy_backward(d.figures + row, d.figures + kOmitRowCount - 1, d.figures + kOmitRowCount);
  ClearOmitRow(d.figures[row]);
}

void CompactOmitRows(MachiningDefinition& d) {
  int to = 0;
  for (int from = 0; from < kOmitRowCount; ++from) {
    if (d.figures[from].figureKey == 0) continue;
    d.figures[to] = d.figures[from];
    d.figures[to].word0 |= kOmitRegistered;
    ++to;
  }
  for (; to < kOmitRowCount; ++to) ClearOmitRow(d.figures[to]);
}

void ResetOmitRows(MachiningDefinition& d) {
  for (int i = 0; i <= kDrawSwitchEntry - 1; ++i) ClearOmitRow(d.figures[i]);
  OmitStock(d) = 0.0;
}

int FirstEmptyOmitRow(const MachiningDefinition& d) {
  for (int i = 0; i < kOmitRowCount; ++i) {
    if (d.figures[i].figureKey == 0) return i;
  }
  return -1;
}

bool OmitRowPickable(const MachiningDefinition& d, int row) {
  if (row < 0 || row >= kOmitRowCount) return false;
  return row == 0 || d.figures[row - 1].figureKey != 0;
}

}  // namespace dorn
