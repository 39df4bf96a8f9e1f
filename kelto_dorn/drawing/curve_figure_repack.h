#pragma once
// The bookkeeping that keeps the figure ranges of the curves contiguous and
// in record order in figure table 90: before an edit the whole table is
// copied into the work copy (table 99); after a curve changed its figure
// count the curves behind it are copied back from the work copy, packed
// right behind it.
namespace dorn {

// Empties table 99 and copies every figure of table 90 into it, unchanged.
// Returns false when table 99 could not hold them (reported by the store).
bool ClearCurveWorkTable();

// Copies figures first..end-1 of the work copy (table 99) to table 90 from
// index `to` on, without stamping the current layer.
void CopyFigureRange(int first, int end, int to);

// Re-packs the curves from `from` to the last: each one's figures are copied
// from its old range in the work copy to table 90, right behind the end of
// curve from - 1 (or from 0), and its first and end indexes follow. A range
// that leaves the work copy is cut to what it holds.
void RenumberCurveFigures(int from);

}  // namespace dorn
