#pragma once
// Whole curve entries of g_curveTable.
namespace dorn {

// Copies curve entry `from` over entry `to` (all 256 bytes) and loads it as
// the current curve record. Nothing happens for an index outside the table.
void CopyCurveEntry(int from, int to);

}  // namespace dorn
