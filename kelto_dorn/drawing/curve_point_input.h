#pragma once
// The interactive input of a curve through points (command 32821): points
// typed or clicked one after another, each with an optional tangent angle
// (typed, or the direction of a line or arc picked in the drawing), stored
// as point figures of one number; when the input ends the curve is
// laid through them.

namespace dorn {

// At most this many points go into one curve.
inline constexpr int kCurveInputPoints = 500;

// One step of 32821, re-entered by the figure engine after every input.
int InputCurvePoints();

// The points of the point-group curve being edited (work blocks 20 on with
// a tangent) are stored again under a new number as the beginning of a new
// input, and 32821 goes on from them: more points are added at the end.
void CommitPointGroup();

}  // namespace dorn
