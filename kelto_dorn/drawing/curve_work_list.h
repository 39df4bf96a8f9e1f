#pragma once
// Moving a curve's figures between figure table 90 and the work list
// (segment blocks): a curve command collects the figures of the current
// curve into blocks, edits them there and stores them back, and the curves
// behind it are packed again when the figure count changed.
namespace dorn {

// g_workCount = k, then the figures of the current curve are copied from
// table 90 into blocks k, k+1, ...; under command 32913 its start and end
// points (kind 1) are left out. Nothing is collected without a current
// curve; the copy stops at the last segment block.
void CollectCurveFigures(int k);

// Writes blocks k..g_workCount-1 over the current curve's figures from its
// first index on, each on the current layer and in the curve's colour; the
// record moves to the current layer and its end follows the new count. When
// the count changed (or repack is set) the curves behind it are packed again
// from a work copy taken before the write, so they are never overwritten.
// With repack no curve is current afterwards. Returns false, with nothing
// changed, when there is no current curve or table 90 would overflow.
bool StoreCurveFigures(int k, int repack);

// True when figure `i` of the current figure table is already one of the
// work figures 0..g_workCount-1 (their number field holds their table
// index during the auto-connect search).
bool SkipChainedFigure(int i);

}  // namespace dorn
